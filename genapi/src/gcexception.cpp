#include <Base/GCException.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace GenICam
{

std::string FormatExceptionText(const char* apFormat, va_list aArgs)
{
    if (!apFormat)
        return std::string();
    va_list cCopy;
    va_copy(cCopy, aArgs);
    const int nLength = std::vsnprintf(nullptr, 0, apFormat, cCopy);
    va_end(cCopy);
    if (nLength <= 0)
        return std::string();
    std::vector<char> cBuffer(static_cast<size_t>(nLength) + 1);
    std::vsnprintf(cBuffer.data(), cBuffer.size(), apFormat, aArgs);
    return std::string(cBuffer.data(), static_cast<size_t>(nLength));
}

namespace
{
// Only the file name: the build folder says nothing to a user.
const char* baseName(const char* apPath)
{
    if (!apPath)
        return "";
    const char* pSlash = std::strrchr(apPath, '/');
    const char* pBackslash = std::strrchr(apPath, '\\');
    const char* pLast = pSlash > pBackslash ? pSlash : pBackslash;
    return pLast ? pLast + 1 : apPath;
}
} // namespace

GenericException::GenericException(const char* apDescription, const char* apSourceFileName,
                                   unsigned int anSourceLine)
    : msDescription(apDescription ? apDescription : ""), msSourceFileName(baseName(apSourceFileName)),
      mnSourceLine(anSourceLine)
{
    assemble("GenericException");
}

GenericException::GenericException(const char* apDescription, const char* apSourceFileName,
                                   unsigned int anSourceLine, const char* apExceptionType)
    : msDescription(apDescription ? apDescription : ""), msSourceFileName(baseName(apSourceFileName)),
      mnSourceLine(anSourceLine)
{
    assemble(apExceptionType);
}

GenericException::~GenericException() noexcept = default;

void GenericException::assemble(const char* apExceptionType)
{
    // Descriptions raised inside a node already name their type and node.
    if (msDescription.find(" thrown in node '") != std::string::npos)
        msWhat = msDescription;
    else
        msWhat = msDescription + " : " + (apExceptionType ? apExceptionType : "GenericException");
    msWhat += " (file '" + msSourceFileName + "', line " + std::to_string(mnSourceLine) + ")";
}

const char* GenericException::GetDescription() const noexcept
{
    return msDescription.c_str();
}

const char* GenericException::GetSourceFileName() const noexcept
{
    return msSourceFileName.c_str();
}

unsigned int GenericException::GetSourceLine() const noexcept
{
    return mnSourceLine;
}

const char* GenericException::what() const noexcept
{
    return msWhat.c_str();
}

} // namespace GenICam
