#pragma once

#include <cstddef>

// The camera descriptions, embedded at build time from the XML files beside
// this header (the colour camera's as a zip archive).
namespace simcam
{
extern const unsigned char gcSimCamMonoXml[];
extern const size_t gnSimCamMonoXmlSize;
extern const unsigned char gcSimCamColorZip[];
extern const size_t gnSimCamColorZipSize;
extern const unsigned char gcSimCamCmvXml[];
extern const size_t gnSimCamCmvXmlSize;
} // namespace simcam
