#pragma once
#include <GenApi/IBase.h>

namespace GenApi
{

// The transport to the device's registers. The application implements it;
// Port nodes of the node map also offer it and forward to the attached one.
class IPort : virtual public IBase
{
public:
    virtual void Read(void* pBuffer, int64_t Address, int64_t Length) = 0;
    virtual void Write(const void* pBuffer, int64_t Address, int64_t Length) = 0;
};

} // namespace GenApi
