#pragma once

#include "framecore_export.h"

#include <QList>
#include <QtGlobal>

#include <functional>
#include <memory>

class tcImageBuffer;

namespace PixelFormats
{
class tcPixelFormat;

// The map from 32-bit pixel-format code to the factory that makes a format
// object for a frame. It is filled while the library loads and only read
// afterwards, so lookups take no lock.
class FRAMECORE_EXPORT tcPixelFormatRegistry
{
public:
    // Makes a new format object for the frame; the caller owns it.
    using tpFactory = std::function<tcPixelFormat*(const tcImageBuffer&)>;

    // Registers a factory for a code. A code that is already registered keeps
    // its first factory; the call then warns and returns false.
    static bool registerFormat(quint32 anCode, tpFactory apFactory);

    // The format object for the frame's code, or the Null format (with a
    // warning) for a code nobody registered. Never null.
    static std::unique_ptr<tcPixelFormat> create(quint32 anCode, const tcImageBuffer& arImage);

    static bool isRegistered(quint32 anCode);
    // All registered codes in ascending order.
    static QList<quint32> registeredCodes();

    // Registers class T under a code; T is constructed with (code, frame).
    template <class T> static bool registerClass(quint32 anCode)
    {
        return registerFormat(anCode,
                              [anCode](const tcImageBuffer& arImage) -> tcPixelFormat*
                              { return new T(anCode, arImage); });
    }

    tcPixelFormatRegistry() = delete;
};
} // namespace PixelFormats
