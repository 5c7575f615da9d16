#pragma once
#include "integerbase.h"
#include "registeraccess.h"

namespace GenApi
{

// IntReg and MaskedIntReg: an integer stored in register bytes, either the
// whole register or a bit field of it.
class tcIntReg : public tcIntegerBase, public tcRawRegister
{
public:
    tcIntReg(tcNodeMap& arMap, std::string asName, bool abMasked)
        : tcIntegerBase(arMap, std::move(asName)), mbMasked(abMasked)
    {
    }
    void finishLoad() override;
    void invalidateCache() override;
    const tcRegisterAccess* registerInfo() const override { return &mcRegister; }

protected:
    tcNode& rawNode() override { return *this; }
    const tcRegisterAccess& rawAccess() const override { return mcRegister; }
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker) override;
    EAccessMode naturalAccessMode() override { return mcRegister.accessMode(*this); }
    int64_t readValue(bool abVerify, bool abIgnoreCache) override;
    void writeValue(int64_t anValue, bool abVerify) override;
    bool valueAfterWrite(int64_t anWritten, int64_t& arValue) override;
    int64_t naturalMin() override;
    int64_t naturalMax() override;

private:
    int64_t fieldWidth() const { return mnMsb - mnLsb + 1; }
    void readBytes();
    int64_t decode() const;

    tcRegisterAccess mcRegister;
    bool mbMasked;
    bool mbSigned = false;
    int64_t mnLsb = 0; // conventional numbering: bit 0 is the least significant
    int64_t mnMsb = 63;
    int64_t mnRawLsb = -1;
    int64_t mnRawMsb = -1;
    std::vector<uint8_t> mcBytes; // whole register, for read-modify-write
    bool mbBytesValid = false;
};

} // namespace GenApi
