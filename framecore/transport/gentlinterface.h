#pragma once

#include "debugsource.h"
#include "framecore_export.h"
#include "genapifuncs.h"
#include "gentlexcept.h"

#include <QByteArray>
#include <QLibrary>
#include <QString>

#include <memory>

namespace GenApi
{
class CNodeMapRef;
}
class tcCameraInterface;
class tcGenTLPort;

// The binding to one GenTL producer, loaded by path at run time. It resolves
// every entry point up to GenTL 1.5 (a producer that lacks one is refused and
// unloaded), opens the transport layer, one interface, one device and its
// remote port, and keeps the handles that the camera and its acquisition
// thread work with.
class FRAMECORE_EXPORT tcGenTLInterface : public QLibrary, public tcDebugSource
{
    Q_OBJECT

public:
    tcGenTLInterface(const QString& arPath, QObject* apParent);
    ~tcGenTLInterface() override;

    bool initialize();
    bool OpenDevice(int anInterfaceIndex, const QString& arDeviceId);
    QByteArray loadXMLFromDevice();

    // Attaches the camera's node map to the device port and opens the
    // camera. GenICam exceptions of the connection pass to the caller.
    bool open(tcCameraInterface* apCamera);
    // Makes the port object over the device's port and connects the node
    // map's "Device" port to it. GenICam exceptions of the connection pass.
    bool attachPort(GenApi::CNodeMapRef& arNodeMap);
    void close();

    // The level the producer reached while its functions were resolved.
    unsigned resolvedLevel() const { return mnLevel; }
    // Why the library is not loaded: the first GenTL function it lacks when it
    // is no (complete) producer, else the loader's own error.
    QString loadError() const;

    void* handle() const { return mpTL; }
    void* iface() const { return mpIface; }
    void* device() const { return mpDevice; }
    void* port() const { return mpPort; }
    tcGenTLPort* genTLPort() const { return mpGenTLPort.get(); }
    const GenAPIFuncs& functions() const { return mcFunctions; }
    void*& rIface() { return mpIface; }
    void*& rDevice() { return mpDevice; }
    void*& rPort() { return mpPort; }

signals:
    void Message(QString txt);
    void Error(QString err);

private:
    unsigned resolveFunctions();
    QString callFailure(const char* apFunction, GenTL::GC_ERROR anResult) const;
    void reportFailure(const QString& arText);
    QByteArray readDescription();
    QByteArray readDescriptionFile();

    GenAPIFuncs mcFunctions;
    void* mpTL = nullptr;
    void* mpIface = nullptr;
    void* mpDevice = nullptr;
    void* mpPort = nullptr;
    std::unique_ptr<tcGenTLPort> mpGenTLPort;
    unsigned mnLevel = 0;
    QString msFirstMissing;
};
