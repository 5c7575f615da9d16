#pragma once

#include "framecore_export.h"

#include <QtGlobal>

#include <vector>

namespace PixelFormats
{
// Names of the 32-bit pixel-format codes that cameras report, legacy GigE
// Vision names included. Code 0 is "InvalidPixelFormat"; a code that is not in
// the table is "UnknownPixelFormat". The returned text is plain ASCII with
// static lifetime.
FRAMECORE_EXPORT const char* pfncName(quint32 anCode);

// Every named code except 0, in ascending order.
FRAMECORE_EXPORT std::vector<quint32> pfncCodes();
} // namespace PixelFormats
