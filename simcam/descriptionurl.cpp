#include "descriptionurl.h"

#include "gentlerror.h"
#include "infowriter.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace simcam
{

namespace
{

// Version of the description files (their MajorVersion etc. attributes) and the schema they follow.
constexpr int32_t FileVersion[3] = {1, 2, 0};
constexpr int32_t SchemaVersion[2] = {1, 1};

std::string hex(uint64_t anValue)
{
    char lcText[24];
    std::snprintf(lcText, sizeof lcText, "%llX", static_cast<unsigned long long>(anValue));
    return lcText;
}

// Percent-encodes what may not stand in a URL path as it is.
std::string encodedPath(const std::string& arPath)
{
    std::string lcOut;
    for (const unsigned char lnChar : arPath)
    {
        if (std::isalnum(lnChar) || std::string("/-._~").find(static_cast<char>(lnChar)) != std::string::npos)
        {
            lcOut.push_back(static_cast<char>(lnChar));
        }
        else
        {
            char lcEscape[4];
            std::snprintf(lcEscape, sizeof lcEscape, "%%%02X", lnChar);
            lcOut += lcEscape;
        }
    }
    return lcOut;
}

} // namespace

tcDescriptionUrl tcDescriptionUrl::local(const std::string& arName, uint64_t anAddress, uint64_t anSize)
{
    tcDescriptionUrl lcUrl;
    lcUrl.mnScheme = GenTL::URL_SCHEME_LOCAL;
    lcUrl.msFileName = arName;
    lcUrl.mnAddress = anAddress;
    lcUrl.mnSize = anSize;
    lcUrl.msUrl = "local:///" + arName + ";" + hex(anAddress) + ";" + hex(anSize) +
                  "?SchemaVersion=" + std::to_string(SchemaVersion[0]) + "." +
                  std::to_string(SchemaVersion[1]) + ".0";
    return lcUrl;
}

tcDescriptionUrl tcDescriptionUrl::file(const std::string& arPath)
{
    tcDescriptionUrl lcUrl;
    lcUrl.mnScheme = GenTL::URL_SCHEME_FILE;
    lcUrl.msFileName = arPath;
    lcUrl.msUrl = "file://" + encodedPath(arPath); // the path is absolute: file:///...
    return lcUrl;
}

namespace
{

// The description file SIMCAM_XML_FILE names, as an absolute path (a relative
// one counts from the working directory, as a shell user means it); empty when
// the variable is unset or names anything but a readable regular file.
std::string overrideFile()
{
    const char* lpFile = std::getenv("SIMCAM_XML_FILE");
    if (lpFile == nullptr || *lpFile == '\0')
    {
        return std::string();
    }
    std::error_code lcError;
    const std::filesystem::path lcPath = std::filesystem::absolute(lpFile, lcError).lexically_normal();
    if (lcError || !std::filesystem::is_regular_file(lcPath, lcError) || !std::ifstream(lcPath).good())
    {
        return std::string();
    }
    return lcPath.string();
}

} // namespace

std::vector<tcDescriptionUrl> tcDescriptionUrl::forCamera(const tcCamera& arCamera)
{
    std::vector<tcDescriptionUrl> lcUrls;
    const std::string lcFile = overrideFile();
    if (!lcFile.empty())
    {
        lcUrls.push_back(file(lcFile));
    }
    const tcCameraModel& lrModel = arCamera.model();
    lcUrls.push_back(
        local(lrModel.msDescriptionName, tcCamera::DescriptionAddress, lrModel.mnDescriptionSize));
    return lcUrls;
}

void tcDescriptionUrl::info(GenTL::URL_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType, void* apBuffer,
                            size_t* apSize) const
{
    tcInfoWriter lcOut(apType, apBuffer, apSize);
    const bool lbLocal = mnScheme == GenTL::URL_SCHEME_LOCAL;
    switch (anCmd)
    {
    case GenTL::URL_INFO_URL:
        lcOut.string(msUrl);
        break;
    case GenTL::URL_INFO_SCHEMA_VER_MAJOR:
    case GenTL::URL_INFO_SCHEMA_VER_MINOR:
        lcOut.int32(SchemaVersion[anCmd - GenTL::URL_INFO_SCHEMA_VER_MAJOR]);
        break;
    case GenTL::URL_INFO_FILE_VER_MAJOR:
    case GenTL::URL_INFO_FILE_VER_MINOR:
    case GenTL::URL_INFO_FILE_VER_SUBMINOR:
        // A foreign file's own version is unknown here.
        require(lbLocal, GenTL::GC_ERR_NOT_AVAILABLE, "the file's version is not known");
        lcOut.int32(FileVersion[anCmd - GenTL::URL_INFO_FILE_VER_MAJOR]);
        break;
    case GenTL::URL_INFO_FILE_SHA1_HASH:
        throw tcGenTLError(GenTL::GC_ERR_NOT_AVAILABLE, "no hash is published for the description");
    case GenTL::URL_INFO_FILE_REGISTER_ADDRESS:
        require(lbLocal, GenTL::GC_ERR_NOT_AVAILABLE, "a file URL has no register address");
        lcOut.uint64(mnAddress);
        break;
    case GenTL::URL_INFO_FILE_SIZE:
        require(lbLocal, GenTL::GC_ERR_NOT_AVAILABLE, "a file URL has no register size");
        lcOut.uint64(mnSize);
        break;
    case GenTL::URL_INFO_SCHEME:
        lcOut.int32(mnScheme);
        break;
    case GenTL::URL_INFO_FILENAME:
        lcOut.string(msFileName);
        break;
    default:
        throw tcGenTLError(GenTL::GC_ERR_NOT_IMPLEMENTED,
                           "unknown URL info command " + std::to_string(anCmd));
    }
}

} // namespace simcam
