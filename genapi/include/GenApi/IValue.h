#pragma once
#include <GenApi/INode.h>

namespace GenApi
{

// Anything with a value that can be shown and entered as text.
class IValue : virtual public IBase
{
public:
    virtual INode* GetNode() = 0;
    virtual gcstring ToString(bool Verify = false, bool IgnoreCache = false) = 0;
    virtual void FromString(const gcstring& ValueStr, bool Verify = true) = 0;
    virtual bool IsValueCacheValid() const = 0;
};

} // namespace GenApi
