// The plugin as the program meets it: loaded by the plugin manager from the
// plugins folder of the build, seen only through the plugin interfaces, and
// handed a simulated camera.
#include "gentlplugin.h"
#include "imagefilterinterface.h"
#include "opencamera.h"
#include "pluginmanager.h"

#include <QGroupBox>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>

class tst_Displaytuner : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void loadsFromThePluginsFolder();
    void cameraReachesThePanel();
    void panelDrivesTheFilter();

private:
    tcPluginManager* manager() { return tcPluginManager::getInstance(); }
    tcGenTLPlugin* load();
};

void tst_Displaytuner::initTestCase()
{
    tcSimcamFixture::useTemporarySettings();
    tcImageBuffer::registerMetaType();
}

void tst_Displaytuner::cleanup()
{
    manager()->setCamera(nullptr);
    manager()->unloadPlugins();
}

tcGenTLPlugin* tst_Displaytuner::load()
{
    const QString lsFolder = qEnvironmentVariable("KESTRIX_BIN_DIR") + QStringLiteral("/plugins");
    if (!manager()->loadPlugins(nullptr, lsFolder))
        return nullptr;
    for (tcGenTLPlugin* lpPlugin : manager()->getAllPlugins())
        if (QLatin1String(lpPlugin->metaObject()->className()) == QLatin1String("tcDisplaytuner"))
            return lpPlugin;
    return nullptr;
}

void tst_Displaytuner::loadsFromThePluginsFolder()
{
    tcGenTLPlugin* lpPlugin = load();
    QVERIFY2(lpPlugin, qPrintable(manager()->skippedFiles().join(QLatin1Char('\n'))));
    QCOMPARE(lpPlugin->name(), QStringLiteral("Video Settings"));
    QCOMPARE(lpPlugin->version(), QStringLiteral("version 0.0.1"));
    QVERIFY(!lpPlugin->title().isEmpty());
    QVERIFY(lpPlugin->isDefaultEnabled());
    QCOMPARE(lpPlugin->interfaceNames(),
             (QStringList{QStringLiteral("Video Settings"), QStringLiteral("Brightness And Gain Filter")}));
    QCOMPARE(lpPlugin->interfaceTypes(),
             (QStringList{QStringLiteral("tcGenTLPlugin"), QStringLiteral("tcImageFilterInterface")}));
    QCOMPARE(lpPlugin->findInterface(QStringLiteral("Brightness And Gain Filter"))->typeName(),
             QStringLiteral("tcImageFilterInterface"));
    QCOMPARE(lpPlugin->findInterface(QStringLiteral("Video Settings")), lpPlugin);
    QVERIFY(!lpPlugin->findInterface(QStringLiteral("Histogram")));
    QCOMPARE(lpPlugin->interfacesOfType(QStringLiteral("tcImageFilterInterface")).count(), 1);

    QWidget* lpPanel = lpPlugin->controlWidget();
    QVERIFY(lpPanel);
    QCOMPARE(lpPanel->property("ControlWidgetType").toString(), QStringLiteral("CWTypeTab"));
    QCOMPARE(lpPanel->windowTitle(), QStringLiteral("Video Settings"));
    QCOMPARE(lpPanel->actions().count(), 2);
    // The manager counts it among the filters of the program.
    QVERIFY(manager()
                ->allInterfaces(QStringLiteral("tcImageFilterInterface"))
                .contains(lpPlugin->findInterface(QStringLiteral("Brightness And Gain Filter"))));
}

void tst_Displaytuner::cameraReachesThePanel()
{
    tcGenTLPlugin* lpPlugin = load();
    QVERIFY(lpPlugin);
    QWidget* lpPanel = lpPlugin->controlWidget();
    auto* lpWidth = lpPanel->findChild<QSpinBox*>(QStringLiteral("sbWidth"));
    QVERIFY(lpWidth);
    QVERIFY(!lpWidth->isEnabled());

    tcOpenCamera lcCamera(tnSimcam::kMonoId);
    QVERIFY(lcCamera.mbOpen);
    QVERIFY(manager()->setCamera(&lcCamera.mcCamera) >= 1);
    QVERIFY(lpWidth->isEnabled());
    QCOMPARE(qint64(lpWidth->value()), lcCamera.get("Width").toLongLong());
    QCOMPARE(lpPanel->findChild<QGroupBox*>(QStringLiteral("gbROI"))->title(),
             QStringLiteral("ROI [ 2048 x 1536 Sensor ]"));

    // The panel's errors reach the program through the plugin and manager.
    QSignalSpy lcErrors(manager(), &tcPluginManager::Error);
    lcCamera.mcCamera.startVideo();
    QTRY_VERIFY_WITH_TIMEOUT(lcCamera.mcCamera.IsRunning(), 10000);
    lpWidth->setValue(lpWidth->value() - 64);
    emit lpWidth->editingFinished();
    QCOMPARE(qint64(lpWidth->value()), lcCamera.get("Width").toLongLong());
    QCOMPARE(lcErrors.count(), 1);
    QVERIFY(lcErrors.first().first().toString().contains(QLatin1String("Width")));
    lcCamera.mcCamera.stopVideo();
    QTRY_VERIFY_WITH_TIMEOUT(!lcCamera.mcCamera.IsRunning(), 10000);

    manager()->setCamera(nullptr);
    QVERIFY(!lpWidth->isEnabled());
}

void tst_Displaytuner::panelDrivesTheFilter()
{
    tcGenTLPlugin* lpPlugin = load();
    QVERIFY(lpPlugin);
    auto* lpFilter = qobject_cast<tcImageFilterInterface*>(
        lpPlugin->findInterface(QStringLiteral("Brightness And Gain Filter")));
    QVERIFY(lpFilter);
    QWidget* lpPanel = lpPlugin->controlWidget();
    QSignalSpy lcChanged(lpFilter, &tcImageFilterInterface::SettingsChanged);

    std::vector<uchar> lsPixels{10, 20, 30, 200};
    const tpImageBuffer lpFrame = tcImageBuffer::newImage(lsPixels.data(), 4, 1, quint64(0x01080001));
    QCOMPARE(lpFilter->filterImage(lpFrame), lpFrame);
    QCOMPARE(int(lpFrame->getFilteredData(false).at<uchar>(0, 1)), 20);

    lpPanel->findChild<QGroupBox*>(QStringLiteral("gbGain"))->setChecked(true);
    lpPanel->findChild<QSlider*>(QStringLiteral("hsGainR"))->setValue(200);
    QVERIFY(lcChanged.count() >= 2);
    lpFrame->getFilteredData(true);
    lpFilter->filterImage(lpFrame);
    const cv::Mat& lrFiltered = lpFrame->getFilteredData(false);
    QCOMPARE(int(lrFiltered.at<uchar>(0, 1)), 40);
    QCOMPARE(int(lrFiltered.at<uchar>(0, 3)), 255);
}

QTEST_MAIN(tst_Displaytuner)
#include "tst_displaytuner.moc"
