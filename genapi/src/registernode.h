#pragma once
#include "node.h"
#include "registeraccess.h"

#include <GenApi/IRegister.h>

namespace GenApi
{

// Register: a raw block of bytes (look-up tables, file buffers).
class tcRegister : public tcValueNode, public virtual IRegister
{
public:
    tcRegister(tcNodeMap& arMap, std::string asName) : tcValueNode(arMap, std::move(asName), intfIRegister) {}
    void finishLoad() override { mcRegister.finish(*this); }
    const tcRegisterAccess* registerInfo() const override { return &mcRegister; }

    void Set(const uint8_t* pBuffer, int64_t Length, bool Verify = true) override;
    void Get(uint8_t* pBuffer, int64_t Length, bool Verify = false, bool IgnoreCache = false) override;
    int64_t GetLength() override;
    int64_t GetAddress() override;
    gcstring ToString(bool Verify = false, bool IgnoreCache = false) override;
    void FromString(const gcstring& ValueStr, bool Verify = true) override;

protected:
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker) override;
    EAccessMode naturalAccessMode() override { return mcRegister.accessMode(*this); }

private:
    void checkLength(int64_t anLength);
    void read(uint8_t* apBuffer, int64_t anLength, bool abIgnoreCache);
    void write(const uint8_t* apBuffer, int64_t anLength);

    tcRegisterAccess mcRegister;
    std::vector<uint8_t> mcCache;
};

} // namespace GenApi
