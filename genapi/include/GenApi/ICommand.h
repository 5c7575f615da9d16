#pragma once
#include <GenApi/IValue.h>

namespace GenApi
{

class ICommand : virtual public IValue
{
public:
    virtual void Execute(bool Verify = true) = 0;
    virtual bool IsDone(bool Verify = true) = 0;

    void operator()() { Execute(); }
};

} // namespace GenApi
