#pragma once

#include "modulemap.h"

namespace simcam
{

class tcSystem;
class tcInterface;
class tcDevice;
class tcStream;

// The register maps of the modules' own ports, each laid out as the module's
// description (descriptions/SimCam<Module>.xml) names its registers. The
// module must outlive its map, as it does when it holds the map itself.
tcModuleMap systemRegisters(tcSystem& arSystem);
tcModuleMap interfaceRegisters(tcInterface& arInterface);
tcModuleMap deviceRegisters(tcDevice& arDevice);
tcModuleMap streamRegisters(tcStream& arStream);

} // namespace simcam
