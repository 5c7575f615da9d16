#pragma once

#include "producerbinding.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// The simulated producer, loaded and initialised through the application's
// binding for one test, with optional fault injection and description file.
// Settings go to a temporary INI file, never to the user's own.
class tcSimcamFixture
{
public:
    explicit tcSimcamFixture(const QByteArray& arFaults = QByteArray(),
                             const QByteArray& arXmlFile = QByteArray());
    ~tcSimcamFixture();

    tcGenTLInterface& binding() const { return *mcProducer.binding(); }
    bool initialized() const { return mbInitialized; }

    // Opens the device with its interface and port, as the main window does.
    bool openDevice(const QString& arDeviceId, int anInterfaceIndex = 0);
    // Closes what openDevice opened (the camera does this in the program).
    void closeDevice();

    static QString simcamPath();
    static QString stubPath(const char* apVariant);
    // Points the settings store at a fresh temporary INI file.
    static void useTemporarySettings();

private:
    tcProducerBinding mcProducer;
    bool mbInitialized = false;
};

// Device ids and models of the simulated cameras, all on the first interface.
namespace tnSimcam
{
const char* const kMonoId = "SimCam-Mono-0001";
const char* const kColorId = "SimCam-Color-0002";
const char* const kSensorId = "SimCam-CMV50000-0003";
const char* const kMonoModel = "SimCam Mono 2048";
const char* const kColorModel = "SimCam Color 1936";
const char* const kSensorModel = "CMV50000 Evaluation";
} // namespace tnSimcam
