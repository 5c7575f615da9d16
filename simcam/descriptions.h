#pragma once

#include <cstddef>

// The camera and module descriptions, embedded at build time from the XML
// files in descriptions/ (the colour camera's as a zip archive).
namespace simcam
{
extern const unsigned char gcSimCamMonoXml[];
extern const size_t gnSimCamMonoXmlSize;
extern const unsigned char gcSimCamColorZip[];
extern const size_t gnSimCamColorZipSize;
extern const unsigned char gcSimCamCmvXml[];
extern const size_t gnSimCamCmvXmlSize;
// The modules' own descriptions.
extern const unsigned char gcSimCamSystemXml[];
extern const size_t gnSimCamSystemXmlSize;
extern const unsigned char gcSimCamInterfaceXml[];
extern const size_t gnSimCamInterfaceXmlSize;
extern const unsigned char gcSimCamDeviceXml[];
extern const size_t gnSimCamDeviceXmlSize;
extern const unsigned char gcSimCamStreamXml[];
extern const size_t gnSimCamStreamXmlSize;
} // namespace simcam
