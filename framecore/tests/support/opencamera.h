#pragma once

#include "camerainterface.h"
#include "debugsource.h"
#include "descriptionloader.h"
#include "genicamiface.h"
#include "gentlinterface.h"
#include "simcamfixture.h"

#include <QTemporaryDir>
#include <QVariant>

// A simulated camera opened the way the main window opens one: device, port,
// description into the node map, then the camera object itself. A description
// file, when given, replaces the camera's built-in one.
class tcOpenCamera
{
public:
    explicit tcOpenCamera(const char* apDeviceId, const QByteArray& arFaults = QByteArray(),
                          const QByteArray& arXmlFile = QByteArray())
        : mcSim(arFaults, arXmlFile)
    {
        if (!mcSim.openDevice(QString::fromLatin1(apDeviceId)))
            return;
        tcLoadTracer lcTracer;
        if (!tcDescriptionLoader::load(mcSim.binding(), mcCamera.nodeMap(), mcCache.path(), lcTracer)
                 .mbLoaded)
            return;
        mbOpen = mcSim.binding().open(&mcCamera);
    }
    ~tcOpenCamera() { close(); }
    tcOpenCamera(const tcOpenCamera&) = delete;
    tcOpenCamera& operator=(const tcOpenCamera&) = delete;

    void close()
    {
        if (!mbOpen)
            return;
        mcCamera.close(&mcSim.binding());
        mcSim.binding().close();
        mbOpen = false;
    }

    void set(const char* apName, const QVariant& arValue)
    {
        tcGenICamIface::setData(mcCamera.getGenICamIface()->getNode(QString::fromLatin1(apName)), arValue);
    }
    QVariant get(const char* apName) { return mcCamera.getGenICamIface()->data(QString::fromLatin1(apName)); }

    QTemporaryDir mcCache;
    tcSimcamFixture mcSim;
    tcCameraInterface mcCamera;
    bool mbOpen = false;

private:
    class tcLoadTracer : public tcDebugSource
    {
    public:
        tcLoadTracer() : tcDebugSource(QStringLiteral("tracer"), 0) {}
    };
};
