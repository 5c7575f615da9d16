#include "producerlibrary.h"

#include <cstdlib>
#include <dlfcn.h>

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
