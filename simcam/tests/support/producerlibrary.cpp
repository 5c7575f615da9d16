#include "producerlibrary.h"

#include <cstring>
#include <dlfcn.h>
#include <vector>

std::string tcProducerLibrary::defaultPath()
{
    return SIMCAM_PRODUCER_PATH;
}

tcProducerLibrary::tcProducerLibrary(const std::string& arPath)
{
    mpHandle = dlopen(arPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (mpHandle == nullptr)
    {
        const char* lpError = dlerror();
        msError = lpError != nullptr ? lpError : "dlopen failed";
        return;
    }
#define SIMCAM_RESOLVE(name)                                                                                 \
    name = reinterpret_cast<GenTL::P##name>(dlsym(mpHandle, #name));                                         \
    if (name == nullptr)                                                                                     \
    {                                                                                                        \
        mcMissing.push_back(#name);                                                                          \
    }
    SIMCAM_GENTL_FUNCTIONS(SIMCAM_RESOLVE)
#undef SIMCAM_RESOLVE
}

tcProducerLibrary::~tcProducerLibrary()
{
    if (mpHandle != nullptr)
    {
        dlclose(mpHandle);
    }
}

void* tcProducerLibrary::symbol(const char* apName) const
{
    return mpHandle != nullptr ? dlsym(mpHandle, apName) : nullptr;
}

std::string tcProducerLibrary::lastError() const
{
    GenTL::GC_ERROR lnCode = 0;
    char lcText[1024] = {};
    size_t lnSize = sizeof lcText;
    if (GCGetLastError == nullptr || GCGetLastError(&lnCode, lcText, &lnSize) != GenTL::GC_ERR_SUCCESS)
    {
        return "(no error text)";
    }
    return std::to_string(lnCode) + " " + lcText;
}

std::string infoString(const tcInfoQuery& afQuery, GenTL::GC_ERROR* apResult)
{
    GenTL::INFO_DATATYPE lnType = 0;
    size_t lnSize = 0;
    GenTL::GC_ERROR lnResult = afQuery(&lnType, nullptr, &lnSize);
    std::string lcText;
    if (lnResult == GenTL::GC_ERR_SUCCESS)
    {
        std::vector<char> lcBuffer(lnSize);
        lnResult = afQuery(&lnType, lcBuffer.data(), &lnSize);
        if (lnResult == GenTL::GC_ERR_SUCCESS && lnType == GenTL::INFO_DATATYPE_STRING && lnSize > 0 &&
            lcBuffer[lnSize - 1] == '\0')
        {
            lcText = lcBuffer.data();
        }
    }
    if (apResult != nullptr)
    {
        *apResult = lnResult;
    }
    return lcText;
}

std::string infoText(const tcInfoQuery& afQuery)
{
    GenTL::INFO_DATATYPE lnType = 0;
    size_t lnSize = 0;
    GenTL::GC_ERROR lnResult = afQuery(&lnType, nullptr, &lnSize);
    std::vector<char> lcBuffer(lnSize + 1);
    if (lnResult == GenTL::GC_ERR_SUCCESS)
    {
        lnResult = afQuery(&lnType, lcBuffer.data(), &lnSize);
    }
    if (lnResult != GenTL::GC_ERR_SUCCESS)
    {
        return "(failed " + std::to_string(lnResult) + ")";
    }
    const auto lfAs = [&lcBuffer](auto anValue)
    {
        std::memcpy(&anValue, lcBuffer.data(), sizeof anValue);
        return std::to_string(anValue);
    };
    switch (lnType)
    {
    case GenTL::INFO_DATATYPE_STRING:
        return lcBuffer.data();
    case GenTL::INFO_DATATYPE_INT32:
        return lfAs(int32_t(0));
    case GenTL::INFO_DATATYPE_UINT32:
        return lfAs(uint32_t(0));
    case GenTL::INFO_DATATYPE_INT64:
        return lfAs(int64_t(0));
    case GenTL::INFO_DATATYPE_UINT64:
        return lfAs(uint64_t(0));
    case GenTL::INFO_DATATYPE_SIZET:
        return lfAs(size_t(0));
    case GenTL::INFO_DATATYPE_BOOL8:
        return lcBuffer[0] != 0 ? "1" : "0";
    default:
        return "(type " + std::to_string(lnType) + ")";
    }
}
