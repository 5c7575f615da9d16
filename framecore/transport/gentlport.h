#pragma once

#include "debugsource.h"
#include "framecore_export.h"

#include <GenApi/IPort.h>
#include <GenTL/GenTL.h>

class QLibrary;

// The node map's way to the device registers: reads and writes on the
// device's remote port through the producer's GCReadPort and GCWritePort.
// A failed access is logged and raised as a GenICam runtime error, so the
// feature access that caused it fails instead of seeing stale bytes.
class FRAMECORE_EXPORT tcGenTLPort : public GenApi::IPort, public tcDebugSource
{
public:
    tcGenTLPort(void* apPortHandle, QLibrary* apLibrary);
    tcGenTLPort(const tcGenTLPort& arOther);
    tcGenTLPort& operator=(const tcGenTLPort& arOther);
    ~tcGenTLPort() override;

    GenApi::EAccessMode GetAccessMode() const override;
    void Read(void* apBuffer, int64_t anAddress, int64_t anLength) override;
    void Write(const void* apBuffer, int64_t anAddress, int64_t anLength) override;

private:
    GenTL::PGCReadPort readFunction();
    GenTL::PGCWritePort writeFunction();

    void* mpPortHandle;
    QLibrary* mpLibrary;
    // Looked up once, on first use, instead of on every register access.
    GenTL::PGCReadPort mpRead = nullptr;
    GenTL::PGCWritePort mpWrite = nullptr;
};
