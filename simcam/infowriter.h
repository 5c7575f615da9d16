#pragma once

#include <GenTL/GenTL.h>

#include <cstdint>
#include <string>
#include <vector>

namespace simcam
{

// Answers one info query under the GenTL conventions: the type is always
// reported, a null buffer asks for the size, a small buffer is refused without
// partial output, strings count their terminating NUL.
class tcInfoWriter
{
public:
    tcInfoWriter(GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize);

    void string(const std::string& arValue);
    void stringList(const std::vector<std::string>& arValues);
    void int32(int32_t anValue);
    void uint32(uint32_t anValue);
    void uint64(uint64_t anValue);
    void int64(int64_t anValue);
    void float64(double adValue);
    void sizeT(size_t anValue);
    void pointer(const void* apValue);
    void bool8(bool abValue);
    void bytes(const void* apData, size_t anSize);

private:
    void put(GenTL::INFO_DATATYPE anType, const void* apData, size_t anSize);

    GenTL::INFO_DATATYPE* mpType;
    void* mpBuffer;
    size_t* mpSize;
};

// The same convention for calls that return a bare string (IDs, last error, URLs).
void writeString(const std::string& arValue, char* apBuffer, size_t* apSize);

} // namespace simcam
