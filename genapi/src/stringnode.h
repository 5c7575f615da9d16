#pragma once
#include "node.h"
#include "registeraccess.h"

#include <GenApi/IString.h>

namespace GenApi
{

// Common text handling of String and StringReg.
class tcStringBase : public tcValueNode, public virtual IString
{
public:
    tcStringBase(tcNodeMap& arMap, std::string asName) : tcValueNode(arMap, std::move(asName), intfIString) {}

    void SetValue(const gcstring& Value, bool Verify = true) override;
    gcstring GetValue(bool Verify = false, bool IgnoreCache = false) override;
    int64_t GetMaxLength() override;
    gcstring ToString(bool Verify = false, bool IgnoreCache = false) override;
    void FromString(const gcstring& ValueStr, bool Verify = true) override;

protected:
    std::string doGetString(bool abVerify, bool abIgnoreCache) override;
    void doSetString(const std::string& arValue, bool abVerify) override;
    virtual std::string readText(bool abVerify, bool abIgnoreCache) = 0;
    virtual void writeText(const std::string& arValue, bool abVerify) = 0;
    virtual int64_t maxLength() = 0;

    std::string msCache;
};

// String: a text variable, or the text of another string node.
class tcString : public tcStringBase
{
public:
    using tcStringBase::tcStringBase;
    // A text variable has no fixed size: it reports what it holds now.
    int64_t GetMaxLength() override;

protected:
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker) override;
    EAccessMode naturalAccessMode() override { return mpValue ? mpValue->accessMode() : RW; }
    std::string readText(bool abVerify, bool abIgnoreCache) override;
    void writeText(const std::string& arValue, bool abVerify) override;
    int64_t maxLength() override;

private:
    std::string msValue;
    tcNode* mpValue = nullptr;
};

// StringReg: text stored in register bytes, ended by a NUL unless it fills
// the register.
class tcStringReg : public tcStringBase, public tcRawRegister
{
public:
    using tcStringBase::tcStringBase;
    void finishLoad() override { mcRegister.finish(*this); }
    const tcRegisterAccess* registerInfo() const override { return &mcRegister; }

protected:
    tcNode& rawNode() override { return *this; }
    const tcRegisterAccess& rawAccess() const override { return mcRegister; }
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker) override;
    EAccessMode naturalAccessMode() override { return mcRegister.accessMode(*this); }
    std::string readText(bool abVerify, bool abIgnoreCache) override;
    void writeText(const std::string& arValue, bool abVerify) override;
    int64_t maxLength() override { return mcRegister.length(); }

private:
    tcRegisterAccess mcRegister;
};

} // namespace GenApi
