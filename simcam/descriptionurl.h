#pragma once

#include "camera.h"

#include <GenTL/GenTL.h>

#include <string>
#include <vector>

namespace simcam
{

// Where a consumer finds a port's description: in the port's register map,
// or, for a camera, in a file on this machine when SIMCAM_XML_FILE names one.
class tcDescriptionUrl
{
public:
    // The URLs the remote port offers, the preferred one first.
    static std::vector<tcDescriptionUrl> forCamera(const tcCamera& arCamera);
    // The URL of a description lying in a port's register map.
    static tcDescriptionUrl local(const std::string& arName, uint64_t anAddress, uint64_t anSize);

    const std::string& text() const { return msUrl; }
    void info(GenTL::URL_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize) const;

private:
    static tcDescriptionUrl file(const std::string& arPath);

    GenTL::URL_SCHEME_ID mnScheme = GenTL::URL_SCHEME_LOCAL;
    std::string msUrl;
    std::string msFileName;
    uint64_t mnAddress = 0;
    uint64_t mnSize = 0;
};

} // namespace simcam
