#pragma once
#include "valueref.h"

#include <GenApi/IRegister.h>

#include <vector>

namespace GenApi
{

class tcPort;

// The register elements shared by every register-backed node: where the
// bytes are (a sum of constant and computed address parts), how many, on
// which port, what the device allows, and their byte order.
class tcRegisterAccess
{
public:
    bool parseElement(tcNode& arOwner, const char* apName, const pugi::xml_node& arElement,
                      tcLinker& arLinker);
    void finish(tcNode& arOwner);

    int64_t address() const;
    int64_t length() const { return mcLength.get(); }
    bool hasConstantLength() const { return mcLength.isSet() && !mcLength.node(); }
    EAccessMode accessMode(tcNode& arOwner) const;
    EEndianess endianess() const { return meEndianess; }
    tcPort* port() const { return mpPort; }

    void read(const tcNode& arOwner, uint8_t* apBuffer, int64_t anLength) const;
    void write(const tcNode& arOwner, const uint8_t* apBuffer, int64_t anLength) const;

    // Registers whose addresses differ only in the constant part can be
    // compared for overlap while loading.
    struct tsKey
    {
        tcPort* mpPort;
        std::vector<std::pair<const tcNode*, int64_t>> mcParts;
        bool operator<(const tsKey& arOther) const
        {
            return mpPort != arOther.mpPort ? mpPort < arOther.mpPort : mcParts < arOther.mcParts;
        }
    };
    tsKey key() const;
    int64_t constantAddress() const { return mnConstant; }

private:
    struct tsPart
    {
        tcNode* mpNode = nullptr;       // pAddress, embedded knife, or pIndex
        tcNode* mpOffsetNode = nullptr; // pIndex pOffset
        int64_t mnOffset = 0;           // pIndex Offset
        bool mbIndex = false;
        bool mbDefaultOffset = false;
    };

    int64_t mnConstant = 0;
    std::vector<tsPart> mcParts;
    tcIntRef mcLength;
    tcPort* mpPort = nullptr;
    EAccessMode meDeviceAccess = RO;
    EEndianess meEndianess = LittleEndian;
};

// The raw-bytes view (IRegister) that integer, float and string registers
// offer besides their value: bytes in address order, no caching.
class tcRawRegister : public virtual IRegister
{
public:
    void Set(const uint8_t* pBuffer, int64_t Length, bool Verify = true) override;
    void Get(uint8_t* pBuffer, int64_t Length, bool Verify = false, bool IgnoreCache = false) override;
    int64_t GetLength() override;
    int64_t GetAddress() override;

protected:
    virtual tcNode& rawNode() = 0;
    virtual const tcRegisterAccess& rawAccess() const = 0;
};

// Integer <-> bytes in the register's byte order.
uint64_t bytesToUnsigned(const uint8_t* apBytes, int64_t anLength, EEndianess aeOrder);
void unsignedToBytes(uint64_t anValue, uint8_t* apBytes, int64_t anLength, EEndianess aeOrder);

} // namespace GenApi
