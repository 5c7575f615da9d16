#include "infowriter.h"

#include "gentlerror.h"

#include <cstring>

namespace simcam
{

namespace
{

void copyOut(const void* apData, size_t anSize, void* apBuffer, size_t* apSize)
{
    require(apSize != nullptr, GenTL::GC_ERR_INVALID_PARAMETER, "size pointer is NULL");
    if (apBuffer == nullptr)
    {
        *apSize = anSize;
        return;
    }
    require(*apSize >= anSize, GenTL::GC_ERR_BUFFER_TOO_SMALL,
            "buffer of " + std::to_string(*apSize) + " bytes is too small, " + std::to_string(anSize) +
                " bytes needed");
    if (anSize > 0)
    {
        std::memcpy(apBuffer, apData, anSize);
    }
    *apSize = anSize;
}

} // namespace

void writeString(const std::string& arValue, char* apBuffer, size_t* apSize)
{
    copyOut(arValue.c_str(), arValue.size() + 1, apBuffer, apSize);
}

tcInfoWriter::tcInfoWriter(GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize)
    : mpType(apType), mpBuffer(apBuffer), mpSize(apSize)
{
    require(apSize != nullptr, GenTL::GC_ERR_INVALID_PARAMETER, "size pointer is NULL");
    require(apType != nullptr, GenTL::GC_ERR_INVALID_PARAMETER, "type pointer is NULL");
}

void tcInfoWriter::put(GenTL::INFO_DATATYPE anType, const void* apData, size_t anSize)
{
    copyOut(apData, anSize, mpBuffer, mpSize);
    *mpType = anType;
}

void tcInfoWriter::string(const std::string& arValue)
{
    put(GenTL::INFO_DATATYPE_STRING, arValue.c_str(), arValue.size() + 1);
}

void tcInfoWriter::stringList(const std::vector<std::string>& arValues)
{
    std::string lcJoined;
    for (const std::string& lrValue : arValues)
    {
        lcJoined += lrValue;
        lcJoined.push_back('\0');
    }
    lcJoined.push_back('\0');
    put(GenTL::INFO_DATATYPE_STRINGLIST, lcJoined.data(), lcJoined.size());
}

void tcInfoWriter::int32(int32_t anValue)
{
    put(GenTL::INFO_DATATYPE_INT32, &anValue, sizeof anValue);
}
void tcInfoWriter::uint32(uint32_t anValue)
{
    put(GenTL::INFO_DATATYPE_UINT32, &anValue, sizeof anValue);
}
void tcInfoWriter::uint64(uint64_t anValue)
{
    put(GenTL::INFO_DATATYPE_UINT64, &anValue, sizeof anValue);
}
void tcInfoWriter::int64(int64_t anValue)
{
    put(GenTL::INFO_DATATYPE_INT64, &anValue, sizeof anValue);
}
void tcInfoWriter::float64(double adValue)
{
    put(GenTL::INFO_DATATYPE_FLOAT64, &adValue, sizeof adValue);
}
void tcInfoWriter::sizeT(size_t anValue)
{
    put(GenTL::INFO_DATATYPE_SIZET, &anValue, sizeof anValue);
}
void tcInfoWriter::pointer(const void* apValue)
{
    put(GenTL::INFO_DATATYPE_PTR, &apValue, sizeof apValue);
}

void tcInfoWriter::bool8(bool abValue)
{
    const uint8_t lnValue = abValue ? 1 : 0;
    put(GenTL::INFO_DATATYPE_BOOL8, &lnValue, sizeof lnValue);
}

void tcInfoWriter::bytes(const void* apData, size_t anSize)
{
    put(GenTL::INFO_DATATYPE_BUFFER, apData, anSize);
}

} // namespace simcam
