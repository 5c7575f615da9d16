#pragma once

#include <GenTL/GenTL.h>

#include <stdexcept>
#include <string>

namespace simcam
{

// A refused GenTL call: the code the caller receives and the text GCGetLastError
// describes it with. Thrown inside the producer and turned into the return value
// at the exported function, never further.
class tcGenTLError : public std::runtime_error
{
public:
    tcGenTLError(GenTL::GC_ERROR anCode, const std::string& arText)
        : std::runtime_error(arText), mnCode(anCode)
    {
    }

    GenTL::GC_ERROR code() const { return mnCode; }

private:
    GenTL::GC_ERROR mnCode;
};

// Throws unless acCondition holds; keeps the many argument checks one line each.
inline void require(bool abCondition, GenTL::GC_ERROR anCode, const std::string& arText)
{
    if (!abCondition)
    {
        throw tcGenTLError(anCode, arText);
    }
}

} // namespace simcam
