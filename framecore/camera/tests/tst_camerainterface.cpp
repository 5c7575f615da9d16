#include "camerainterface.h"
#include "descriptionloader.h"
#include "genicamiface.h"
#include "gentlinterface.h"
#include "messagecapture.h"
#include "opencamera.h"
#include "simcamfixture.h"

#include "descriptionbuilder.h"
#include "memoryport.h"

#include <QtTest>

#include <memory>

using namespace GenApi;

namespace
{
// Counts what reaches a consumer of the camera's frames and, when asked,
// holds on to them.
class tcFrameSink : public QObject
{
    Q_OBJECT
public:
    int mnFrames = 0;
    int mnNull = 0;
    int mnEmpty = 0;
    QList<quint64> mcIds;
    QSize mcLastSize;
    QPoint mcLastTopLeft;
    bool mbLastTimeValid = false;
    bool mbHold = false;
    QList<tpImageBuffer> mcHeld;

public slots:
    void onFrame(tpImageBuffer apFrame)
    {
        if (!apFrame)
        {
            ++mnNull;
            return;
        }
        if (apFrame->isNull())
        {
            ++mnEmpty;
            return;
        }
        ++mnFrames;
        mcIds << apFrame->getFrameId();
        mcLastSize = apFrame->getSize();
        mcLastTopLeft = apFrame->getTopLeft();
        mbLastTimeValid = apFrame->getAcquireTime().isValid();
        if (mbHold)
            mcHeld << apFrame;
    }
};

// The shared simulated camera, with a sink that sees every frame it emits.
class tcSinkCamera : public tcOpenCamera
{
public:
    explicit tcSinkCamera(const char* apDeviceId, const QByteArray& arFaults = QByteArray())
        : tcOpenCamera(apDeviceId, arFaults)
    {
        QObject::connect(&mcCamera, &tcCameraInterface::NewFrame, &mcSink, &tcFrameSink::onFrame);
    }
    // Closed while the sink still listens, so it sees the final empty frame.
    ~tcSinkCamera() { close(); }

    tcFrameSink mcSink;
};

// Small, fast frames keep the tests quick.
void makeSmallAndFast(tcOpenCamera& arCamera, int anWidth = 256, int anHeight = 64)
{
    arCamera.set("Width", anWidth);
    arCamera.set("Height", anHeight);
    CFloatPtr lpRate = arCamera.mcCamera.nodeMap()._GetNode("AcquisitionFrameRate");
    arCamera.set("AcquisitionFrameRate", qMin(200.0, lpRate->GetMax()));
    arCamera.set("ExposureTime", 100.0);
}
} // namespace

class tst_CameraInterface : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { tcSimcamFixture::useTemporarySettings(); }

    void waitTime_data()
    {
        QTest::addColumn<double>("period");
        QTest::addColumn<double>("exposure");
        QTest::addColumn<quint64>("wait");
        QTest::newRow("25 fps, 10 ms") << 40.0 << 10.0 << quint64(80);
        QTest::newRow("rate 0, no exposure") << 1.0 << 1.0 << quint64(2);
        QTest::newRow("both zero") << 0.0 << 0.0 << quint64(1000);
        QTest::newRow("long exposure") << 5.0 << 250.5 << quint64(501);
    }

    void waitTime()
    {
        QFETCH(double, period);
        QFETCH(double, exposure);
        QFETCH(quint64, wait);
        QCOMPARE(tcCameraInterface::waitTimeMs(period, exposure), wait);
    }

    void unopenedCamera()
    {
        tcCameraInterface lcCamera;
        QCOMPARE(lcCamera.describe(), QStringLiteral("No Camera Connected"));
        QVERIFY(!lcCamera.IsRunning());
        QCOMPARE(lcCamera.GetFramesCaptured(), quint64(0));
        QVERIFY(!lcCamera.open());
        QCOMPARE(lcCamera.sensorSize(), QSize(-1, -1));
        tcMessageCapture lcMessages;
        QCOMPARE(lcCamera.getModel(), QStringLiteral("No Camera Connected"));
        lcCamera.startVideo(); // nothing loaded: warned, nothing started
        lcCamera.stopVideo();
        lcCamera.close(nullptr);
        QCOMPARE(lcCamera.describe(), QStringLiteral("No Camera Connected"));
    }

    void identityFromTheSimulatedCamera()
    {
        tcSinkCamera lcCamera(tnSimcam::kMonoId);
        QVERIFY(lcCamera.mbOpen);
        QCOMPARE(lcCamera.mcCamera.describe(), QStringLiteral("SimCam Mono 2048 - version: 1.4.0"));
        QCOMPARE(lcCamera.mcCamera.getModel(), QString::fromLatin1(tnSimcam::kMonoModel));
        const QSize lcSensor(
            static_cast<int>(CIntegerPtr(lcCamera.mcCamera.nodeMap()._GetNode("SensorWidth"))->GetValue()),
            static_cast<int>(CIntegerPtr(lcCamera.mcCamera.nodeMap()._GetNode("SensorHeight"))->GetValue()));
        QCOMPARE(lcCamera.mcCamera.sensorSize(), lcSensor);
        QCOMPARE(lcCamera.mcCamera.genTLIface(), &lcCamera.mcSim.binding());
        lcCamera.close();
        QCOMPARE(lcCamera.mcCamera.describe(), QStringLiteral("No Camera Connected"));
        QVERIFY(lcCamera.mcCamera.nodeMap()._Ptr == nullptr);
    }

    // A description without sensor features takes the size from the image.
    void sensorSizeFromImageSize()
    {
        tcMemoryPort lcPort;
        tcCameraInterface lcCamera;
        lcCamera.nodeMap()._LoadXMLFromString(describeNodes(R"(
            <Integer Name="Width"><Value>640</Value></Integer>
            <Integer Name="Height"><Value>480</Value></Integer>
            <String Name="DeviceModelName"><Value>Memory</Value></String>)")
                                                  .c_str());
        QVERIFY(lcCamera.nodeMap()._Connect(&lcPort, "Device"));
        tcGenTLInterface lcBinding(tcSimcamFixture::stubPath("full"), nullptr);
        lcCamera.setGenTLIface(&lcBinding);
        QVERIFY(lcCamera.open());
        QCOMPARE(lcCamera.sensorSize(), QSize(640, 480));
        QCOMPARE(lcCamera.describe(), QStringLiteral("Memory"));
        lcCamera.close(nullptr);
        QCOMPARE(lcCamera.describe(), QStringLiteral("No Camera Connected"));
    }

    void streamsStopsAndRestarts()
    {
        tcSinkCamera lcCamera(tnSimcam::kMonoId);
        QVERIFY(lcCamera.mbOpen);
        makeSmallAndFast(lcCamera);
        QSignalSpy lcAcquiring(&lcCamera.mcCamera, &tcCameraInterface::acquiring);
        QSignalSpy lcErrors(&lcCamera.mcCamera, &tcCameraInterface::Error);
        QSignalSpy lcMessages(&lcCamera.mcCamera, &tcCameraInterface::Message);

        lcCamera.mcCamera.startVideo();
        QVERIFY(lcCamera.mcCamera.IsRunning()); // returns only once the stream runs
        QCOMPARE(lcMessages.value(0).value(0).toString(),
                 QStringLiteral("Camera starting acquisition, pixel format = Mono8"));
        QTRY_VERIFY(lcCamera.mcSink.mnFrames >= 10);
        QCOMPARE(lcCamera.mcSink.mcLastSize, QSize(256, 64));
        QVERIFY(lcCamera.mcSink.mbLastTimeValid);
        for (int i = 1; i < lcCamera.mcSink.mcIds.size(); ++i)
            QVERIFY(lcCamera.mcSink.mcIds[i] > lcCamera.mcSink.mcIds[i - 1]);
        QVERIFY(lcCamera.mcCamera.currentFrame());
        QCOMPARE(lcAcquiring.value(0).value(0).toBool(), true);

        lcCamera.mcCamera.stopVideo();
        QVERIFY(!lcCamera.mcCamera.currentFrame());
        QTRY_VERIFY_WITH_TIMEOUT(!lcCamera.mcCamera.IsRunning(), 1000);
        QTRY_COMPARE(lcAcquiring.last().value(0).toBool(), false);
        const quint64 lnCaptured = lcCamera.mcCamera.GetFramesCaptured();
        QVERIFY(lnCaptured >= 10);

        // Same payload: the run reuses its buffers; a larger one renews them.
        for (const QSize& lcSize : {QSize(256, 64), QSize(512, 128), QSize(128, 32)})
        {
            makeSmallAndFast(lcCamera, lcSize.width(), lcSize.height());
            const int lnBefore = lcCamera.mcSink.mnFrames;
            lcCamera.mcCamera.startVideo();
            QTRY_VERIFY(lcCamera.mcSink.mnFrames >= lnBefore + 5);
            QCOMPARE(lcCamera.mcSink.mcLastSize, lcSize);
            lcCamera.mcCamera.stopVideo();
            QTRY_VERIFY(!lcCamera.mcCamera.IsRunning());
        }
        QVERIFY(lcCamera.mcCamera.GetFramesCaptured() > lnCaptured);
        QVERIFY2(lcErrors.isEmpty(), qPrintable(lcErrors.value(0).value(0).toString()));
    }

    void heldFramesStallTheStream()
    {
        tcSinkCamera lcCamera(tnSimcam::kMonoId);
        QVERIFY(lcCamera.mbOpen);
        makeSmallAndFast(lcCamera);
        lcCamera.mcSink.mbHold = true;
        lcCamera.mcCamera.startVideo();
        // The camera keeps the latest frame too: four frames in all.
        QTRY_COMPARE(lcCamera.mcSink.mnFrames, 4);
        QTest::qWait(200);
        QCOMPARE(lcCamera.mcSink.mnFrames, 4);

        lcCamera.mcSink.mbHold = false;
        lcCamera.mcSink.mcHeld.clear();
        QTRY_VERIFY(lcCamera.mcSink.mnFrames > 8);
        lcCamera.mcCamera.stopVideo();
    }

    void largerPayloadWhileFramesAreHeld()
    {
        tcSinkCamera lcCamera(tnSimcam::kMonoId);
        QVERIFY(lcCamera.mbOpen);
        makeSmallAndFast(lcCamera);
        lcCamera.mcSink.mbHold = true;
        lcCamera.mcCamera.startVideo();
        QTRY_VERIFY(lcCamera.mcSink.mnFrames >= 2);
        lcCamera.mcCamera.stopVideo();
        QTRY_VERIFY(!lcCamera.mcCamera.IsRunning());
        lcCamera.mcSink.mbHold = false;
        QVERIFY(!lcCamera.mcSink.mcHeld.isEmpty());
        const QByteArray lcBefore(reinterpret_cast<const char*>(lcCamera.mcSink.mcHeld.first()->data()),
                                  256 * 64);

        // The new run needs larger buffers; the held frames keep their memory.
        makeSmallAndFast(lcCamera, 512, 128);
        const int lnBefore = lcCamera.mcSink.mnFrames;
        lcCamera.mcCamera.startVideo();
        QTRY_VERIFY(lcCamera.mcSink.mnFrames >= lnBefore + 10);
        QCOMPARE(lcCamera.mcSink.mcLastSize, QSize(512, 128));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(lcCamera.mcSink.mcHeld.first()->data()), 256 * 64),
                 lcBefore);
        lcCamera.mcSink.mcHeld.clear();
        QTRY_VERIFY(lcCamera.mcSink.mnFrames >= lnBefore + 20);
        lcCamera.mcCamera.stopVideo();
    }

    void closeWithFramesStillHeld()
    {
        auto lpCamera = std::make_unique<tcSinkCamera>(tnSimcam::kMonoId);
        QVERIFY(lpCamera->mbOpen);
        makeSmallAndFast(*lpCamera);
        lpCamera->mcSink.mbHold = true;
        lpCamera->mcCamera.startVideo();
        QTRY_VERIFY(lpCamera->mcSink.mnFrames >= 2);
        QSignalSpy lcErrors(&lpCamera->mcCamera, &tcCameraInterface::Error);
        QList<tpImageBuffer> lcHeld = lpCamera->mcSink.mcHeld.mid(0, 2);
        lpCamera->mcSink.mcHeld.clear();
        lpCamera->mcSink.mbHold = false;
        lpCamera->close();
        QVERIFY(lpCamera->mcSink.mnEmpty >= 1); // displays were told to drop their frame
        QVERIFY(!lcErrors.isEmpty());
        QCOMPARE(lcErrors.last().value(0).toString(),
                 QStringLiteral("Unable to clean up all outstanding image buffers.. 2 left"));
        // Frames released after the stream closed touch nothing of it.
        lcHeld.clear();
        lpCamera.reset();
    }

    // Frames a display lets go after the stop put their buffers back in the
    // stream's queue; renewing the buffers for a larger payload, and closing,
    // still revoke every one, so no small buffer is filled with a large frame.
    void framesReleasedAfterTheStop()
    {
        auto lpCamera = std::make_unique<tcSinkCamera>(tnSimcam::kMonoId);
        QVERIFY(lpCamera->mbOpen);
        QSignalSpy lcErrors(&lpCamera->mcCamera, &tcCameraInterface::Error);
        tcMessageCapture lcMessages;
        makeSmallAndFast(*lpCamera);
        lpCamera->mcSink.mbHold = true;
        lpCamera->mcCamera.startVideo();
        QTRY_VERIFY(lpCamera->mcSink.mnFrames >= 2);
        lpCamera->mcCamera.stopVideo();
        QTRY_VERIFY(!lpCamera->mcCamera.IsRunning());
        lpCamera->mcSink.mbHold = false;
        lpCamera->mcSink.mcHeld.clear();

        makeSmallAndFast(*lpCamera, 512, 128);
        const int lnBefore = lpCamera->mcSink.mnFrames;
        lpCamera->mcCamera.startVideo();
        QTRY_VERIFY(lpCamera->mcSink.mnFrames >= lnBefore + 10);
        QCOMPARE(lpCamera->mcSink.mcLastSize, QSize(512, 128));
        lpCamera->mcCamera.stopVideo();
        lpCamera->close();
        QVERIFY2(lcMessages.warnings().isEmpty(), qPrintable(lcMessages.warnings().join('\n')));
        QVERIFY2(lcErrors.isEmpty(), qPrintable(lcErrors.value(0).value(0).toString()));
    }

    void faultyBuffers()
    {
        tcSinkCamera lcCamera(tnSimcam::kMonoId, "incomplete@2,namespace@4");
        QVERIFY(lcCamera.mbOpen);
        makeSmallAndFast(lcCamera);
        tcMessageCapture lcMessages;
        QSignalSpy lcIncomplete(&lcCamera.mcCamera, &tcCameraInterface::IncompleteFrame);
        lcCamera.mcCamera.startVideo();
        QTRY_VERIFY(lcCamera.mcSink.mnFrames >= 6);
        lcCamera.mcCamera.stopVideo();
        QTRY_VERIFY(!lcCamera.mcCamera.IsRunning());
        QCOMPARE(lcCamera.mcSink.mnNull, 1);
        // The incomplete second frame is reported by its id, the one between
        // the first and the third frame.
        QCOMPARE(lcIncomplete.size(), 1);
        QCOMPARE(lcIncomplete.first().first().toULongLong(), lcCamera.mcSink.mcIds[0] + 1);
        QCOMPARE(lcCamera.mcSink.mcIds[1], lcCamera.mcSink.mcIds[0] + 2);
        const QStringList lsWarnings = lcMessages.warnings();
        QVERIFY2(lsWarnings
                         .filter(QStringLiteral(
                             "Error retrieving buffer info from genTL: -1013 incomplete buffer"))
                         .size() == 1,
                 qPrintable(lsWarnings.join('\n')));
        QCOMPARE(lsWarnings.filter(QStringLiteral("Error making QImage")).size(), 1);
    }

    void eventFailureEndsTheRun()
    {
        tcSinkCamera lcCamera(tnSimcam::kMonoId, "EventGetData=-1010@3");
        QVERIFY(lcCamera.mbOpen);
        makeSmallAndFast(lcCamera);
        QSignalSpy lcErrors(&lcCamera.mcCamera, &tcCameraInterface::Error);
        QSignalSpy lcAcquiring(&lcCamera.mcCamera, &tcCameraInterface::acquiring);
        lcCamera.mcCamera.startVideo();
        QTRY_VERIFY(!lcCamera.mcCamera.IsRunning());
        QTRY_COMPARE(lcErrors.size(), 1);
        QCOMPARE(lcErrors.first().value(0).toString(),
                 QStringLiteral("Acquisition Failure (EventGetData) : Error -1010"));
        QTRY_COMPARE(lcAcquiring.last().value(0).toBool(), false);
        // The calls before the failing third one delivered a frame each, or
        // timed out on a busy machine: never a frame after the failure.
        QVERIFY(lcCamera.mcSink.mnFrames <= 2);
    }

    void openStreamCloseRepeatedly()
    {
        for (int i = 0; i < 10; ++i)
        {
            tcSinkCamera lcCamera(i % 2 ? tnSimcam::kColorId : tnSimcam::kMonoId);
            QVERIFY(lcCamera.mbOpen);
            makeSmallAndFast(lcCamera);
            if (i % 3 == 0)
                lcCamera.mcSink.mbHold = true;
            lcCamera.mcCamera.startVideo();
            QTRY_VERIFY(lcCamera.mcSink.mnFrames >= 2);
            if (i % 2 == 0)
                lcCamera.mcCamera.stopVideo();
            lcCamera.mcSink.mcHeld.clear();
        }
    }
};

QTEST_MAIN(tst_CameraInterface)
#include "tst_camerainterface.moc"
