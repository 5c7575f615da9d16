#pragma once

#include "descriptionurl.h"

#include <GenTL/GenTL.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace simcam
{

// The register map behind a module's own port (system, interface, local device,
// data stream): the module's description at DescriptionAddress and the
// registers its features name. Every register shows the answer of one of the
// module's info queries, so features and *GetInfo answers cannot disagree.
class tcModuleMap
{
public:
    static constexpr uint64_t DescriptionAddress = 0x10000;
    // One info query of the module, in the shape of the GenTL *GetInfo calls.
    using tcQuery = std::function<void(GenTL::INFO_DATATYPE*, void*, size_t*)>;

    tcModuleMap(std::string acDescriptionName, const unsigned char* apDescription, size_t anDescriptionSize);

    // A read-only register of anLength bytes holding the query's string, NUL-padded.
    void addString(uint64_t anAddress, uint32_t anLength, tcQuery afQuery);
    // A read-only 8-byte little-endian register holding the query's number.
    void addNumber(uint64_t anAddress, tcQuery afQuery);
    // A writable 8-byte little-endian register; afWrite throws tcGenTLError to refuse a value.
    void addControl(uint64_t anAddress, std::function<uint64_t()> afRead,
                    std::function<void(uint64_t)> afWrite);

    // Port access; throws tcGenTLError.
    void read(uint64_t anAddress, void* apBuffer, size_t anLength) const;
    void write(uint64_t anAddress, const void* apBuffer, size_t anLength);

    tcDescriptionUrl url() const;

private:
    struct tcRegister
    {
        uint64_t mnAddress;
        uint32_t mnLength;
        std::function<std::vector<uint8_t>()> mfRead;
        std::function<void(uint64_t)> mfWrite; // empty for read-only registers
    };
    const tcRegister* find(uint64_t anAddress, size_t anLength) const;

    const std::string msDescriptionName;
    const unsigned char* const mpDescription;
    const size_t mnDescriptionSize;
    std::vector<tcRegister> mcRegisters;
};

} // namespace simcam
