#pragma once
#include <GenApi/Types.h>

namespace GenApi
{

// Root of every node interface: all of them can tell how they may be used.
class IBase
{
public:
    virtual EAccessMode GetAccessMode() const = 0;
    virtual ~IBase() = default;
};

inline bool IsReadable(const IBase* apBase)
{
    return apBase && IsReadable(apBase->GetAccessMode());
}
inline bool IsWritable(const IBase* apBase)
{
    return apBase && IsWritable(apBase->GetAccessMode());
}
inline bool IsImplemented(const IBase* apBase)
{
    return apBase && IsImplemented(apBase->GetAccessMode());
}
inline bool IsAvailable(const IBase* apBase)
{
    return apBase && IsAvailable(apBase->GetAccessMode());
}

} // namespace GenApi
