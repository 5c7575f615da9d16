#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace simcam
{

// What distinguishes one simulated camera from another: identity, sensor,
// formats, limits and its description file as served through the port.
struct tcCameraModel
{
    std::string msId;
    std::string msVendor;
    std::string msModel;
    std::string msSerialNumber;
    std::string msFirmware;
    std::string msDisplayName;
    uint32_t mnSensorWidth;
    uint32_t mnSensorHeight;
    uint32_t mnWidthIncrement;
    uint32_t mnHeightIncrement;
    std::vector<uint32_t> mcPixelFormats; // PFNC codes, the first is the default
    double mdMaxFrameRate;
    double mdDefaultFrameRate;
    bool mbColorBars;              // colour sensor: offers the colour-bar pattern, and uses it by default
    bool mbRegisterAccess;         // sensor register banks and the HDMI output
    std::string msDescriptionName; // file name in the URL, .xml or .zip
    const unsigned char* mpDescription;
    size_t mnDescriptionSize;
};

// The cameras on the first interface, in enumeration order.
const std::vector<tcCameraModel>& cameraModels();

} // namespace simcam
