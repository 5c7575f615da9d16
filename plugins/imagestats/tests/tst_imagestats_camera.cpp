#include "imagestatssource.h"
#include "opencamera.h"
#include "pluginmanager.h"
#include "simcamfixture.h"

#include "gentlplugin.h"
#include "imagesinkinterface.h"
#include "plotchooserwidget.h"

#include <GenApi/GenApi.h>

#include <QtTest>

namespace
{
// Hands every frame of the camera to the statistics, as the main window
// hands frames to the image sinks, and notes the last frame seen.
class tcFeed : public QObject
{
    Q_OBJECT
public:
    explicit tcFeed(tcImageStatsSource& arSource) : mrSource(arSource) {}
    tcImageStatsSource& mrSource;
    quint64 mnLastId = 0;
    int mnBits = 0;
    QList<quint64> mcIds;

public slots:
    void onFrame(tpImageBuffer apFrame)
    {
        if (apFrame && !apFrame->isNull())
        {
            mnLastId = apFrame->getFrameId();
            mnBits = apFrame->bitsPerPixel();
            mcIds << mnLastId;
        }
        mrSource.takeFrame(apFrame);
    }
};

void smallFrames(tcOpenCamera& arCamera, double adRate)
{
    arCamera.set("Width", 256);
    arCamera.set("Height", 64);
    arCamera.set("OffsetX", 8);
    arCamera.set("OffsetY", 4);
    arCamera.set("ExposureTime", 100.0);
    arCamera.set("AcquisitionFrameRate", adRate);
}

// The mono camera's test pattern at sensor position (x, y) of frame f.
double rampSample(int anX, int anY, quint64 anFrame, int anBits)
{
    const quint64 lnT = (static_cast<quint64>(anX + anY) + anFrame) % 4096;
    if (anBits == 8)
        return static_cast<double>(lnT >> 4);
    if (anBits == 16)
        return static_cast<double>((lnT << 4) | (lnT >> 8));
    return static_cast<double>(lnT);
}
} // namespace

class tst_ImageStatsCamera : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { tcSimcamFixture::useTemporarySettings(); }

    void lineProfilesOfTheTestPattern_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("Mono8") << "Mono8";
        QTest::newRow("Mono12p") << "Mono12p";
        QTest::newRow("Mono16") << "Mono16";
    }
    void lineProfilesOfTheTestPattern()
    {
        QFETCH(QString, format);
        tcOpenCamera lcCamera(tnSimcam::kMonoId);
        QVERIFY(lcCamera.mbOpen);
        lcCamera.set("PixelFormat", format);
        smallFrames(lcCamera, 50.0);
        tcImageStatsSource lcSource;
        lcSource.setMinimumInterval(0);
        tcFeed lcFeed(lcSource);
        QObject::connect(&lcCamera.mcCamera, &tcCameraInterface::NewFrame, &lcFeed, &tcFeed::onFrame);
        tcPlotArray lcX, lcY;
        lcSource.getData(QStringLiteral("hprofile:40:0"), lcX, lcY);
        lcSource.getData(QStringLiteral("vprofile:100:0"), lcX, lcY);
        lcCamera.mcCamera.startVideo();
        QTRY_VERIFY(lcFeed.mcIds.size() >= 3);
        lcCamera.mcCamera.stopVideo();
        QTRY_VERIFY(!lcCamera.mcCamera.IsRunning());

        QVERIFY(lcSource.getData(QStringLiteral("hprofile:40:0"), lcX, lcY));
        QCOMPARE(lcY.size(), 256);
        for (int lnX = 0; lnX < 256; ++lnX)
            QCOMPARE(lcY[lnX], rampSample(lnX + 8, 40 + 4, lcFeed.mnLastId, lcFeed.mnBits));
        QVERIFY(lcSource.getData(QStringLiteral("vprofile:100:0"), lcX, lcY));
        QCOMPARE(lcY.size(), 64);
        // Below the frame-id stamp in the top-left corner.
        for (int lnY = 20; lnY < 64; ++lnY)
            QCOMPARE(lcY[lnY], rampSample(100 + 8, lnY + 4, lcFeed.mnLastId, lcFeed.mnBits));
    }

    // simcam loses frames 3, 6 and 7 of the stream on the way and delivers
    // frames 4 and 9 incomplete, which the acquisition gives back unseen:
    // the monitor counts exactly three lost and two incomplete.
    void droppedAndIncompleteFramesAreCountedExactly()
    {
        tcOpenCamera lcCamera(tnSimcam::kMonoId, "drop@3,drop@6-7,incomplete@4,incomplete@9");
        QVERIFY(lcCamera.mbOpen);
        smallFrames(lcCamera, 40.0);
        tcImageStatsSource lcSource;
        tcFeed lcFeed(lcSource);
        QObject::connect(&lcCamera.mcCamera, &tcCameraInterface::NewFrame, &lcFeed, &tcFeed::onFrame);
        QObject::connect(&lcCamera.mcCamera, &tcCameraInterface::IncompleteFrame, &lcSource,
                         &tcImageStatsSource::takeIncomplete);
        lcCamera.mcCamera.startVideo();
        QTRY_VERIFY(lcSource.integrity().frames() >= 10);
        lcCamera.mcCamera.stopVideo();
        QTRY_VERIFY(!lcCamera.mcCamera.IsRunning());

        QCOMPARE(lcSource.integrity().lost(), quint64(3));
        QCOMPARE(lcSource.integrity().incomplete(), quint64(2));
        QCOMPARE(lcSource.integrity().sequences(), 1);
        // Frames 1 2 5 8 10 11 ... arrive: 3 and 4 (incomplete) missing
        // before 5, 6 and 7 before 8, 9 (incomplete) before 10.
        QList<quint64> lcGaps;
        for (const auto& lrRecord : lcSource.integrity().history())
            lcGaps << lrRecord.mnGap;
        QCOMPARE(lcGaps.mid(0, 6), (QList<quint64>{0, 0, 1, 2, 0, 0}));
        QCOMPARE(lcFeed.mcIds[2] - lcFeed.mcIds[1], quint64(3));
        // Frames come at 40 per second: 25 ms apart, 75 ms over two missing.
        const auto& lrThird = lcSource.integrity().history()[2];
        QVERIFY2(lrThird.mdIntervalMs >= 65 && lrThird.mdIntervalMs <= 85,
                 qPrintable(QString::number(lrThird.mdIntervalMs)));
        tcPlotArray lcX, lcY;
        QVERIFY(lcSource.getData(QStringLiteral("lost"), lcX, lcY));
        QCOMPARE(lcY.last(), 3.0);
        QVERIFY(lcSource.getData(QStringLiteral("incomplete"), lcX, lcY));
        QCOMPARE(lcY.last(), 2.0);
    }

    void loadedByThePluginManager()
    {
        tcPluginManager* lpManager = tcPluginManager::getInstance();
        QVERIFY(lpManager->loadPlugins(nullptr, QStringLiteral(KX_PLUGIN_DIR)));
        tcGenTLPlugin* lpPlugin = nullptr;
        for (tcGenTLPlugin* lpEach : lpManager->getAllPlugins())
            if (lpEach->objectName() == QLatin1String("Image Statistics Plugin"))
                lpPlugin = lpEach;
        QVERIFY2(lpPlugin, qPrintable(lpManager->skippedFiles().join('\n')));
        QCOMPARE(lpPlugin->interfaceTypes(), (QStringList{"tcGenTLPlugin", "tcPlottableInterface",
                                                          "tcImageSinkInterface", "tcImgRectInterface"}));

        QList<tcViewerInterface*> lsPlottables;
        for (tcViewerInterface* lpEach : lpManager->allInterfaces(QStringLiteral("tcPlottableInterface")))
            if (lpEach->objectName() == QLatin1String("Image Statistics"))
                lsPlottables << lpEach;
        QCOMPARE(lsPlottables.size(), 1);
        auto* lpSource = qobject_cast<tcPlottableInterface*>(lsPlottables.first());
        QVERIFY(lpSource);
        auto* lpSink = qobject_cast<tcImageSinkInterface*>(
            lpPlugin->interfacesOfType(QStringLiteral("tcImageSinkInterface")).value(0));
        QVERIFY(lpSink);

        // A frame through the sink reaches the plottable side.
        std::vector<uchar> lsBytes(16, 3);
        tpImageBuffer lpFrame = tcImageBuffer::newImage(lsBytes.data(), 4, 4, quint64(0x01080001u));
        lpFrame->setFrameId(1);
        tcPlotArray lcX, lcY;
        lpSource->getData(QStringLiteral("histogram:0:0"), lcX, lcY);
        QSignalSpy lcReady(lpSource, &tcPlottableInterface::PlotReady);
        lpSink->NewFrame(lpFrame);
        QCOMPARE(lcReady.size(), 1);
        QVERIFY(lpSource->getData(QStringLiteral("histogram:0:0"), lcX, lcY));
        QCOMPARE(lcY[3], 16.0);
        std::unique_ptr<tcPlotChooserWidget> lpChooser(
            lpSource->createChooserWidget(QStringLiteral("idgap")));
        QMap<QString, QVariant> lcAttributes;
        QCOMPARE(lpChooser->GetKey(lcAttributes), QStringLiteral("idgap"));
        const QList<QWidget*> lsIndicators = lpPlugin->getIndicators();
        QCOMPARE(lsIndicators.size(), 1);
        QCOMPARE(lsIndicators.first()->property("text").toString(),
                 QStringLiteral("Frames 1, lost 0, incomplete 0"));
        // Incomplete frames reach the monitor from the camera the plugin got.
        tcOpenCamera lcCamera(tnSimcam::kMonoId);
        QVERIFY(lcCamera.mbOpen);
        lpManager->setCamera(&lcCamera.mcCamera);
        emit lcCamera.mcCamera.IncompleteFrame(2);
        QCOMPARE(lsIndicators.first()->property("text").toString(),
                 QStringLiteral("Frames 1, lost 0, incomplete 1"));
        lpManager->setCamera(nullptr);
        emit lcCamera.mcCamera.IncompleteFrame(3);
        QCOMPARE(lsIndicators.first()->property("text").toString(),
                 QStringLiteral("Frames 1, lost 0, incomplete 1"));
        delete lsIndicators.first();
        lpManager->unloadPlugins();
    }
};

QTEST_MAIN(tst_ImageStatsCamera)
#include "tst_imagestats_camera.moc"
