#include "floatnode.h"

#include "integerbase.h"
#include "registeraccess.h"

#include <Base/GCException.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

namespace GenApi
{

namespace
{
// Beyond the single-precision range the nearest value is infinity.
float toSingle(double adValue)
{
    if (std::isfinite(adValue) && std::fabs(adValue) > FLT_MAX)
        return adValue > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
    return static_cast<float>(adValue);
}
} // namespace

bool tcFloat::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    auto is = [apName](const char* apWhat) { return std::strcmp(apName, apWhat) == 0; };
    if (mcSource.parseElement(*this, apName, arElement, arLinker))
        return true;
    if (is("Min") || is("pMin"))
        mcMin.parse(*this, apName, arElement, arLinker);
    else if (is("Max") || is("pMax"))
        mcMax.parse(*this, apName, arElement, arLinker);
    else if (is("Inc") || is("pInc"))
        mcInc.parse(*this, apName, arElement, arLinker);
    else
        return tcFloatBase::parseElement(apName, arElement, arLinker);
    return true;
}

double tcFloat::naturalMin()
{
    if (mcMin.isSet())
        return mcMin.get();
    tcNode* pSource = mcSource.node();
    return pSource ? pSource->getFloatMin() : -DBL_MAX_VALUE;
}

double tcFloat::naturalMax()
{
    if (mcMax.isSet())
        return mcMax.get();
    tcNode* pSource = mcSource.node();
    return pSource ? pSource->getFloatMax() : DBL_MAX_VALUE;
}

void tcFloat::writeValue(double adValue, bool abVerify)
{
    // An integer underneath takes the nearest of its valid values rather
    // than refusing one between its steps.
    tcNode* pTarget = mcSource.current().node();
    if (auto* pInteger = dynamic_cast<tcIntegerBase*>(pTarget))
        adValue = static_cast<double>(pInteger->nearestValid(adValue));
    mcSource.write(adValue, abVerify);
}

bool tcFloatReg::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    if (mcRegister.parseElement(*this, apName, arElement, arLinker))
        return true;
    return tcFloatBase::parseElement(apName, arElement, arLinker);
}

void tcFloatReg::finishLoad()
{
    // A wrong length is reported when the register is used: the rest of
    // the description stays usable.
    mcRegister.finish(*this);
}

int64_t tcFloatReg::checkedLength()
{
    const int64_t nLength = mcRegister.length();
    if (nLength != 4 && nLength != 8)
        KX_FAIL(OutOfRangeException, "A float register must be 4 or 8 bytes long, not %lld",
                static_cast<long long>(nLength));
    return nLength;
}

EAccessMode tcFloatReg::naturalAccessMode()
{
    return mcRegister.accessMode(*this);
}

double tcFloatReg::readValue(bool, bool)
{
    const int64_t nLength = checkedLength();
    uint8_t cBytes[8] = {};
    mcRegister.read(*this, cBytes, nLength);
    const uint64_t nBits = bytesToUnsigned(cBytes, nLength, mcRegister.endianess());
    if (nLength == 4)
    {
        const uint32_t nBits32 = static_cast<uint32_t>(nBits);
        float fValue;
        std::memcpy(&fValue, &nBits32, 4);
        return fValue;
    }
    double dValue;
    std::memcpy(&dValue, &nBits, 8);
    return dValue;
}

void tcFloatReg::writeValue(double adValue, bool)
{
    const int64_t nLength = checkedLength();
    uint64_t nBits = 0;
    if (nLength == 4)
    {
        const float fValue = toSingle(adValue);
        uint32_t nBits32;
        std::memcpy(&nBits32, &fValue, 4);
        nBits = nBits32;
    }
    else
        std::memcpy(&nBits, &adValue, 8);
    uint8_t cBytes[8] = {};
    unsignedToBytes(nBits, cBytes, nLength, mcRegister.endianess());
    mcRegister.write(*this, cBytes, nLength);
}

bool tcFloatReg::valueAfterWrite(double adWritten, double& arValue)
{
    // A single-precision register keeps only what a float can hold.
    arValue = mcRegister.length() == 4 ? static_cast<double>(toSingle(adWritten)) : adWritten;
    return std::isfinite(arValue) || !std::isfinite(adWritten);
}

} // namespace GenApi
