#include "cameramodel.h"

#include "descriptions.h"

namespace simcam
{

const std::vector<tcCameraModel>& cameraModels()
{
    static const std::vector<tcCameraModel> scModels = {
        {"SimCam-Mono-0001",
         "Kestrix Simulation",
         "SimCam Mono 2048",
         "SM2048-0001",
         "1.4.0",
         "SimCam Mono 2048 (SM2048-0001)",
         2048,
         1536,
         4,
         1,
         {0x01080001, 0x010C0047, 0x01100007},
         200.0,
         30.0,
         false,
         false,
         "SimCamMono.xml",
         gcSimCamMonoXml,
         gnSimCamMonoXmlSize},
        {"SimCam-Color-0002",
         "Kestrix Simulation",
         "SimCam Color 1936",
         "SC1936-0002",
         "1.4.0",
         "SimCam Color 1936 (SC1936-0002)",
         1936,
         1216,
         16,
         2,
         {0x01080009, 0x01080008, 0x0108000A, 0x0108000B, 0x01100011, 0x01100010, 0x01100012, 0x01100013,
          0x010C0059, 0x010C0057, 0x010C0055, 0x010C0053, 0x02180014},
         200.0,
         30.0,
         true,
         false,
         "SimCamColor.zip",
         gcSimCamColorZip,
         gnSimCamColorZipSize},
        {"SimCam-CMV50000-0003",
         "Kestrix Simulation",
         "CMV50000 Evaluation",
         "CMV50-0003",
         "2.1.7",
         "CMV50000 Evaluation (CMV50-0003)",
         7920,
         6004,
         16,
         2,
         {0x010C0057, 0x01080008, 0x01100010},
         30.0,
         10.0,
         true,
         true,
         "SimCamCMV50000.xml",
         gcSimCamCmvXml,
         gnSimCamCmvXmlSize},
    };
    return scModels;
}

} // namespace simcam
