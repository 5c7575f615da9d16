#include "featuresteps.h"

using namespace GenApi;

namespace tnFeatureSteps
{
int64_t step(const CNodeMapRef& arMap, const char* apName)
{
    CIntegerPtr lpNode = arMap._GetNode(apName);
    if (!IsReadable(lpNode))
        return 1;
    const int64_t lnStep = lpNode->GetInc();
    return lnStep > 0 ? lnStep : 1;
}

int snap(int anValue, int64_t anStep)
{
    return static_cast<int>(anStep * (anValue / anStep));
}

void execute(const CNodeMapRef& arMap, const char* apName)
{
    CCommandPtr lpCommand = arMap._GetNode(apName);
    if (lpCommand.IsValid())
        lpCommand->Execute(true);
}

void write(const CNodeMapRef& arMap, const char* apName, int64_t anValue)
{
    CIntegerPtr lpNode = arMap._GetNode(apName);
    if (IsWritable(lpNode))
        lpNode->SetValue(anValue, true);
}

int64_t value(const CNodeMapRef& arMap, const char* apName)
{
    CIntegerPtr lpNode = arMap._GetNode(apName);
    return IsReadable(lpNode) ? lpNode->GetValue() : 0;
}
} // namespace tnFeatureSteps
