// The video settings panel against the simulated cameras: acquisition modes
// and their stops, snapshot, "Set to Full", the ROI title, the gain controls
// per pixel format, refused feature writes, and the display controls that
// steer the filter.
#include "displayfilter.h"
#include "genicombobox.h"
#include "genidoublespinbox.h"
#include "genispinbox.h"
#include "opencamera.h"
#include "videosettingscontrolwidget.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace
{
// A description of the mono camera changed by a regular expression, in a
// file the simulated producer serves instead of its own.
class tcChangedDescription
{
public:
    tcChangedDescription(const QString& arPattern, const QString& arReplacement)
    {
        QFile lcSource(qEnvironmentVariable("KESTRIX_SOURCE_DIR") +
                       QStringLiteral("/simcam/descriptions/SimCamMono.xml"));
        if (!lcSource.open(QIODevice::ReadOnly))
            return;
        QString lsXml = QString::fromUtf8(lcSource.readAll());
        const QRegularExpression lcPattern(arPattern, QRegularExpression::DotMatchesEverythingOption);
        if (!lcPattern.match(lsXml).hasMatch())
            return;
        lsXml.replace(lcPattern, arReplacement);
        QFile lcTarget(mcDir.filePath(QStringLiteral("changed.xml")));
        if (lcTarget.open(QIODevice::WriteOnly) && lcTarget.write(lsXml.toUtf8()) > 0)
            msPath = lcTarget.fileName().toLocal8Bit();
    }
    QByteArray path() const { return msPath; }

private:
    QTemporaryDir mcDir;
    QByteArray msPath;
};
} // namespace

class tst_VideoSettingsControlWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void multiFrame_stopsAtTheLastFrame();
    void continuous_neverStopsByItself();
    void snapshot_takesOneFrame();
    void setToFull_leavesReadOnlyOffsetAndMaximisesTheSize();
    void roiTitle_showsTheSensorSize();
    void monoFormats_hideGreenAndBlueGain();
    void comboBoxes_followChangesMadeElsewhere();
    void refusedWrite_whileAcquiring_restoresTheControl();
    void refusedWrite_byTheCamera_restoresTheControl();
    void withoutCamera_controlsAreUnbound();
    void displayControls_steerTheFilter();
    void sameGain_appliesRedToAllChannels();

private:
    template <class T> T* child(const char* apName)
    {
        T* lpChild = mpPanel->findChild<T*>(QLatin1String(apName));
        if (!lpChild)
            qFatal("no child %s", apName);
        return lpChild;
    }
    // Waits until Play is off again and the camera has stopped.
    bool waitForStop(tcOpenCamera& arCamera, int anTimeoutMs = 10000);

    std::unique_ptr<tcVideoSettingsControlWidget> mpPanel;
};

void tst_VideoSettingsControlWidget::initTestCase()
{
    tcSimcamFixture::useTemporarySettings();
    tcImageBuffer::registerMetaType();
}

void tst_VideoSettingsControlWidget::init()
{
    mpPanel = std::make_unique<tcVideoSettingsControlWidget>(nullptr);
}

void tst_VideoSettingsControlWidget::cleanup()
{
    if (mpPanel)
        mpPanel->setCamera(nullptr);
    mpPanel.reset();
}

bool tst_VideoSettingsControlWidget::waitForStop(tcOpenCamera& arCamera, int anTimeoutMs)
{
    QElapsedTimer lcTimer;
    lcTimer.start();
    while (lcTimer.elapsed() < anTimeoutMs)
    {
        if (!mpPanel->playAction()->isChecked() && !arCamera.mcCamera.IsRunning())
            return true;
        QTest::qWait(10);
    }
    return false;
}

void tst_VideoSettingsControlWidget::multiFrame_stopsAtTheLastFrame()
{
    tcOpenCamera lcCamera(tnSimcam::kMonoId);
    QVERIFY(lcCamera.mbOpen);
    // Slow enough that no frame finds all four buffers still held by the
    // queue to this thread, even when a sanitizer build stalls it: the camera
    // then drops that frame, and the panel, which stops on the last frame's
    // id, would wait for it in vain.
    lcCamera.set("AcquisitionFrameRate", 5.0);
    // Recorded before the panel sees each frame.
    QList<quint64> lsIds;
    connect(&lcCamera.mcCamera, &tcCameraInterface::NewFrame, this,
            [&lsIds](tpImageBuffer apImage)
            {
                if (apImage && !apImage->isNull())
                    lsIds.append(apImage->getFrameId());
            });
    mpPanel->setCamera(&lcCamera.mcCamera);
    QVERIFY(!mpPanel->playAction()->isChecked());

    mpPanel->setAcquireFrames(5);
    QCOMPARE(child<QComboBox>("comboBoxAcquireMode")->currentText(), QStringLiteral("MultiFrame"));
    QCOMPARE(lcCamera.get("AcquisitionMode").toString(), QStringLiteral("MultiFrame"));
    QCOMPARE(lcCamera.get("AcquisitionFrameCount").toLongLong(), 5);
    QCOMPARE(mpPanel->framesToAcquire(), 5);
    QVERIFY(child<QSpinBox>("sbNumberOfFrames")->isEnabled());

    quint64 lnStoppedAt = 0;
    connect(mpPanel.get(), &tcVideoSettingsControlWidget::acquisitionStopped, this,
            [&] { lnStoppedAt = lsIds.isEmpty() ? 99 : lsIds.last(); });
    QSignalSpy lcStopped(mpPanel.get(), &tcVideoSettingsControlWidget::acquisitionStopped);
    mpPanel->playAction()->setChecked(true);
    QVERIFY(!mpPanel->snapshotAction()->isEnabled());
    QVERIFY(!child<QComboBox>("comboBoxPixelFormat")->isEnabled());
    QVERIFY(!child<QSpinBox>("sbNumberOfFrames")->isEnabled());
    QVERIFY2(waitForStop(lcCamera), qPrintable(QStringLiteral("frames %1, play %2, running %3")
                                                   .arg(lsIds.size())
                                                   .arg(mpPanel->playAction()->isChecked())
                                                   .arg(lcCamera.mcCamera.IsRunning())));
    QCOMPARE(lcStopped.count(), 1);
    QCOMPARE(lnStoppedAt, quint64(4));
    QVERIFY(mpPanel->snapshotAction()->isEnabled());
    QVERIFY(child<QComboBox>("comboBoxPixelFormat")->isEnabled());
    QVERIFY(child<QComboBox>("comboBoxAcquireMode")->isEnabled());
}

void tst_VideoSettingsControlWidget::continuous_neverStopsByItself()
{
    tcOpenCamera lcCamera(tnSimcam::kMonoId);
    QVERIFY(lcCamera.mbOpen);
    lcCamera.set("AcquisitionFrameRate", 100.0);
    mpPanel->setCamera(&lcCamera.mcCamera);
    mpPanel->setAcquireFrames(5);
    mpPanel->setAcquireFrames(-1);
    QCOMPARE(child<QComboBox>("comboBoxAcquireMode")->currentText(), QStringLiteral("Continuous"));
    QCOMPARE(mpPanel->framesToAcquire(), 0);
    QVERIFY(!child<QSpinBox>("sbNumberOfFrames")->isEnabled());

    int lnFrames = 0;
    connect(&lcCamera.mcCamera, &tcCameraInterface::NewFrame, this, [&lnFrames] { ++lnFrames; });
    QSignalSpy lcStopped(mpPanel.get(), &tcVideoSettingsControlWidget::acquisitionStopped);
    mpPanel->playAction()->setChecked(true);
    QTRY_VERIFY_WITH_TIMEOUT(lnFrames >= 12, 10000);
    QVERIFY(mpPanel->playAction()->isChecked());
    QVERIFY(lcCamera.mcCamera.IsRunning());
    QCOMPARE(lcStopped.count(), 0);

    // Pause stops the camera.
    mpPanel->playAction()->setChecked(false);
    QVERIFY(waitForStop(lcCamera));
    QCOMPARE(lcStopped.count(), 0);
}

void tst_VideoSettingsControlWidget::snapshot_takesOneFrame()
{
    tcOpenCamera lcCamera(tnSimcam::kMonoId);
    QVERIFY(lcCamera.mbOpen);
    mpPanel->setCamera(&lcCamera.mcCamera);
    mpPanel->setAcquireFrames(-1);

    QList<quint64> lsIds;
    connect(&lcCamera.mcCamera, &tcCameraInterface::NewFrame, this,
            [&lsIds](tpImageBuffer apImage)
            {
                if (apImage && !apImage->isNull())
                    lsIds.append(apImage->getFrameId());
            });
    QSignalSpy lcStopped(mpPanel.get(), &tcVideoSettingsControlWidget::acquisitionStopped);
    QElapsedTimer lcTimer;
    lcTimer.start();
    mpPanel->snapshotAction()->trigger();
    QCOMPARE(child<QComboBox>("comboBoxAcquireMode")->currentText(), QStringLiteral("SingleFrame"));
    QCOMPARE(lcCamera.get("AcquisitionMode").toString(), QStringLiteral("SingleFrame"));
    QCOMPARE(child<QSpinBox>("sbNumberOfFrames")->value(), 1);
    QCOMPARE(lcCamera.get("AcquisitionFrameCount").toLongLong(), 1);
    QCOMPARE(mpPanel->framesToAcquire(), 1);
    // The video starts a second later.
    QVERIFY(!mpPanel->playAction()->isChecked());
    QTRY_VERIFY_WITH_TIMEOUT(lcStopped.count() == 1, 10000);
    QVERIFY(lcTimer.elapsed() >= 1000);
    QVERIFY(waitForStop(lcCamera));
    QCOMPARE(lsIds, QList<quint64>{0});
}

void tst_VideoSettingsControlWidget::setToFull_leavesReadOnlyOffsetAndMaximisesTheSize()
{
    const tcChangedDescription lcXml(
        QStringLiteral(
            "(<Integer Name=\"OffsetX\" NameSpace=\"Standard\">.*?<Visibility>Beginner</Visibility>)"),
        QStringLiteral("\\1<ImposedAccessMode>RO</ImposedAccessMode>"));
    QVERIFY(!lcXml.path().isEmpty());
    tcOpenCamera lcCamera(tnSimcam::kMonoId, QByteArray(), lcXml.path());
    QVERIFY(lcCamera.mbOpen);
    lcCamera.set("Width", 1000);
    lcCamera.set("Height", 500);
    // The register behind the read-only feature still takes a value.
    lcCamera.set("OffsetXReg", 16);
    lcCamera.set("OffsetY", 8);
    QCOMPARE(lcCamera.get("OffsetX").toLongLong(), 16);
    mpPanel->setCamera(&lcCamera.mcCamera);
    QVERIFY(!child<QSpinBox>("sbXOffset")->isEnabled() || child<QSpinBox>("sbXOffset")->value() == 16);

    QTest::mouseClick(child<QPushButton>("pushButtonRoiFull"), Qt::LeftButton);
    QCOMPARE(lcCamera.get("OffsetX").toLongLong(), 16);
    QCOMPARE(lcCamera.get("OffsetY").toLongLong(), 0);
    QCOMPARE(lcCamera.get("Width").toLongLong(), 2048 - 16);
    QCOMPARE(lcCamera.get("Height").toLongLong(), 1536);
    QCOMPARE(child<QSpinBox>("sbWidth")->value(), 2048 - 16);
    QCOMPARE(child<QSpinBox>("sbHeight")->value(), 1536);
    QCOMPARE(child<QSpinBox>("sbYOffset")->value(), 0);
}

void tst_VideoSettingsControlWidget::roiTitle_showsTheSensorSize()
{
    {
        tcOpenCamera lcCamera(tnSimcam::kMonoId);
        QVERIFY(lcCamera.mbOpen);
        mpPanel->setCamera(&lcCamera.mcCamera);
        QCOMPARE(child<QGroupBox>("gbROI")->title(), QStringLiteral("ROI [ 2048 x 1536 Sensor ]"));
        mpPanel->setCamera(nullptr);
        QCOMPARE(child<QGroupBox>("gbROI")->title(), QStringLiteral("ROI"));
    }
    const tcChangedDescription lcXml(
        QStringLiteral("<IntReg Name=\"Sensor(Width|Height)\" NameSpace=\"Standard\">.*?</IntReg>"),
        QStringLiteral("<Integer Name=\"Sensor\\1\" NameSpace=\"Standard\"><Value>0</Value></Integer>"));
    QVERIFY(!lcXml.path().isEmpty());
    tcOpenCamera lcCamera(tnSimcam::kMonoId, QByteArray(), lcXml.path());
    QVERIFY(lcCamera.mbOpen);
    QCOMPARE(lcCamera.mcCamera.sensorSize(), QSize(0, 0));
    mpPanel->setCamera(&lcCamera.mcCamera);
    QCOMPARE(child<QGroupBox>("gbROI")->title(), QStringLiteral("ROI"));
}

void tst_VideoSettingsControlWidget::monoFormats_hideGreenAndBlueGain()
{
    const char* const lsHidden[] = {"dsbGainG", "hsGainG",        "labelG",         "dsbGainB",  "hsGainB",
                                    "labelB",   "pbDefaultGainG", "pbDefaultGainB", "cbSameGain"};
    {
        tcOpenCamera lcColour(tnSimcam::kColorId);
        QVERIFY(lcColour.mbOpen);
        mpPanel->setCamera(&lcColour.mcCamera);
        QVERIFY(!child<QComboBox>("comboBoxPixelFormat")->currentText().contains(QLatin1String("Mono")));
        for (const char* lpName : lsHidden)
            QVERIFY2(!child<QWidget>(lpName)->isHidden(), lpName);
        QCOMPARE(child<QLabel>("labelR")->text(), QStringLiteral("R"));
        mpPanel->setCamera(nullptr);
    }
    tcOpenCamera lcMono(tnSimcam::kMonoId);
    QVERIFY(lcMono.mbOpen);
    mpPanel->setCamera(&lcMono.mcCamera);
    auto* lpFormats = child<QComboBox>("comboBoxPixelFormat");
    QCOMPARE(lpFormats->currentText(), QStringLiteral("Mono8"));
    for (const char* lpName : lsHidden)
        QVERIFY2(child<QWidget>(lpName)->isHidden(), lpName);
    QCOMPARE(child<QLabel>("labelR")->text(), QString());

    // Choosing another format writes it and keeps the mono layout.
    lpFormats->setCurrentIndex(lpFormats->findText(QStringLiteral("Mono12p")));
    QCOMPARE(lcMono.get("PixelFormat").toString(), QStringLiteral("Mono12p"));
    QVERIFY(child<QWidget>("hsGainG")->isHidden());
}

void tst_VideoSettingsControlWidget::comboBoxes_followChangesMadeElsewhere()
{
    tcOpenCamera lcCamera(tnSimcam::kColorId);
    QVERIFY(lcCamera.mbOpen);
    mpPanel->setCamera(&lcCamera.mcCamera);
    QVERIFY(!child<QWidget>("hsGainG")->isHidden());
    // As a script would: straight to the features.
    lcCamera.set("AcquisitionMode", QStringLiteral("MultiFrame"));
    QCOMPARE(child<QComboBox>("comboBoxAcquireMode")->currentText(), QStringLiteral("MultiFrame"));
    QVERIFY(child<QSpinBox>("sbNumberOfFrames")->isEnabled());
    lcCamera.set("PixelFormat", QStringLiteral("BayerGR12p"));
    QCOMPARE(child<QComboBox>("comboBoxPixelFormat")->currentText(), QStringLiteral("BayerGR12p"));
    QCOMPARE(lcCamera.get("PixelFormat").toString(), QStringLiteral("BayerGR12p"));
}

void tst_VideoSettingsControlWidget::refusedWrite_whileAcquiring_restoresTheControl()
{
    tcOpenCamera lcCamera(tnSimcam::kMonoId);
    QVERIFY(lcCamera.mbOpen);
    mpPanel->setCamera(&lcCamera.mcCamera);
    mpPanel->setAcquireFrames(-1);
    QSignalSpy lcErrors(mpPanel.get(), &tcVideoSettingsControlWidget::Error);
    mpPanel->playAction()->setChecked(true);
    QTRY_VERIFY_WITH_TIMEOUT(lcCamera.mcCamera.IsRunning(), 10000);

    // Width is locked while the camera acquires.
    auto* lpWidth = child<tcGenISpinBox>("sbWidth");
    const qint64 lnWidth = lcCamera.get("Width").toLongLong();
    lpWidth->setValue(int(lnWidth) - 64);
    emit lpWidth->editingFinished();
    QCOMPARE(lcCamera.get("Width").toLongLong(), lnWidth);
    QCOMPARE(qint64(lpWidth->value()), lnWidth);
    QCOMPARE(lcErrors.count(), 1);
    QVERIFY2(lcErrors.last().first().toString().contains(QLatin1String("Width")),
             qPrintable(lcErrors.last().first().toString()));

    // A choice the camera cannot take now (the combo box is disabled while
    // playing, but a script may start the camera behind the panel's back).
    auto* lpFormats = child<tcGenIComboBox>("comboBoxPixelFormat");
    lpFormats->setCurrentIndex(lpFormats->findText(QStringLiteral("Mono16")));
    QCOMPARE(lcCamera.get("PixelFormat").toString(), QStringLiteral("Mono8"));
    QCOMPARE(lpFormats->currentText(), QStringLiteral("Mono8"));
    QCOMPARE(lcErrors.count(), 2);
    QVERIFY(lcErrors.last().first().toString().contains(QLatin1String("PixelFormat")));

    // An edit that does not change the value reports nothing.
    emit lpWidth->editingFinished();
    QCOMPARE(lcErrors.count(), 2);
    mpPanel->playAction()->setChecked(false);
    QVERIFY(waitForStop(lcCamera));
}

void tst_VideoSettingsControlWidget::refusedWrite_byTheCamera_restoresTheControl()
{
    // Every register write of the camera fails with "access denied".
    tcOpenCamera lcCamera(tnSimcam::kMonoId, "GCWritePort=-1005@*");
    QVERIFY(lcCamera.mbOpen);
    mpPanel->setCamera(&lcCamera.mcCamera);
    QSignalSpy lcErrors(mpPanel.get(), &tcVideoSettingsControlWidget::Error);
    auto* lpExposure = child<tcGenIDoubleSpinBox>("dsbExposureTime");
    const double ldExposure = lcCamera.get("ExposureTime").toDouble();
    QVERIFY(lpExposure->isEnabled());
    lpExposure->setValue(ldExposure / 1000 + 5);
    emit lpExposure->editingFinished();
    QCOMPARE(lcCamera.get("ExposureTime").toDouble(), ldExposure);
    QCOMPARE(lpExposure->value(), ldExposure / 1000);
    QVERIFY(lcErrors.count() >= 1);
    QVERIFY(!lcErrors.first().first().toString().isEmpty());

    auto* lpFrames = child<tcGenISpinBox>("sbNumberOfFrames");
    mpPanel->setAcquireFrames(7);
    QCOMPARE(qint64(lpFrames->value()), lcCamera.get("AcquisitionFrameCount").toLongLong());
    QCOMPARE(child<QComboBox>("comboBoxAcquireMode")->currentText(),
             lcCamera.get("AcquisitionMode").toString());
}

void tst_VideoSettingsControlWidget::withoutCamera_controlsAreUnbound()
{
    for (const char* lpName : {"sbXOffset", "sbYOffset", "sbWidth", "sbHeight", "dsbExposureTime",
                               "dsbFrameRateHz", "comboBoxPixelFormat", "comboBoxAcquireMode"})
        QVERIFY2(!child<QWidget>(lpName)->isEnabled(), lpName);
    QCOMPARE(mpPanel->property("ControlWidgetType").toString(), QStringLiteral("CWTypeTab"));
    QCOMPARE(mpPanel->windowTitle(), QStringLiteral("Video Settings"));
    QCOMPARE(mpPanel->actions(), (QList<QAction*>{mpPanel->playAction(), mpPanel->snapshotAction()}));
    QCOMPARE(mpPanel->playAction()->text(), QStringLiteral("Play"));
    QVERIFY(mpPanel->playAction()->isCheckable());
    QCOMPARE(mpPanel->snapshotAction()->text(), QStringLiteral("Snapshot"));
    QVERIFY(!mpPanel->playAction()->icon().isNull());
    QVERIFY(!mpPanel->snapshotAction()->icon().isNull());
    // Setting-to-full and frame counts without a camera touch nothing.
    mpPanel->setMaxRoi();
    mpPanel->setAcquireFrames(3);
    QCOMPARE(mpPanel->framesToAcquire(), 3);
}

void tst_VideoSettingsControlWidget::displayControls_steerTheFilter()
{
    tcDisplayFilter* lpFilter = mpPanel->displayFilter();
    QVERIFY(!lpFilter->correction().anyEnabled());
    QSignalSpy lcChanged(lpFilter, &tcImageFilterInterface::SettingsChanged);

    child<QGroupBox>("gbBrightness")->setChecked(true);
    QVERIFY(lpFilter->correction().mbBrightnessEnabled);
    QCOMPARE(lcChanged.count(), 1);
    child<QSlider>("hsBrightness")->setValue(50);
    QCOMPARE(child<QDoubleSpinBox>("dsbBrightness")->value(), 0.5);
    QCOMPARE(lpFilter->correction().mcBrightness, cv::Scalar(0.5, 0.5, 0.5, 0));
    QCOMPARE(lcChanged.count(), 2);
    // Typed values keep their hundredths on the slider (0.29 × 100 = 28.99…).
    child<QDoubleSpinBox>("dsbBrightness")->setValue(0.29);
    QCOMPARE(child<QSlider>("hsBrightness")->value(), 29);
    QCOMPARE(child<QDoubleSpinBox>("dsbBrightness")->value(), 0.29);
    QCOMPARE(lpFilter->correction().mcBrightness[0], 0.29);
    child<QToolButton>("pbDefaultBright")->click();
    QCOMPARE(lpFilter->correction().mcBrightness, cv::Scalar(0, 0, 0, 0));
    QCOMPARE(child<QSlider>("hsBrightness")->value(), 0);

    child<QGroupBox>("gbGain")->setChecked(true);
    QVERIFY(lpFilter->correction().mbGainEnabled);
    child<QSlider>("hsGainG")->setValue(250);
    child<QDoubleSpinBox>("dsbGainB")->setValue(0.5);
    QCOMPARE(lpFilter->correction().mcGain, cv::Scalar(1, 2.5, 0.5, 1));
    QCOMPARE(child<QSlider>("hsGainB")->value(), 50);
    child<QToolButton>("pbDefaultGainG")->click();
    QCOMPARE(lpFilter->correction().mcGain[1], 1.0);

    child<QGroupBox>("gbGamma")->setChecked(true);
    child<QSlider>("hsGamma")->setValue(70);
    QCOMPARE(lpFilter->correction().mcGamma[0], 0.7);
    QCOMPARE(child<QDoubleSpinBox>("dsbGamma")->value(), 0.7);
    child<QToolButton>("pbDefaultGamma")->click();
    QCOMPARE(lpFilter->correction().mcGamma[0], 1.0);

    const int lnBefore = lcChanged.count();
    child<QGroupBox>("gbGamma")->setChecked(false);
    QVERIFY(!lpFilter->correction().mbGammaEnabled);
    QCOMPARE(lcChanged.count(), lnBefore + 1);
}

void tst_VideoSettingsControlWidget::sameGain_appliesRedToAllChannels()
{
    tcDisplayFilter* lpFilter = mpPanel->displayFilter();
    child<QDoubleSpinBox>("dsbGainG")->setValue(2);
    child<QDoubleSpinBox>("dsbGainB")->setValue(3);
    child<QDoubleSpinBox>("dsbGainR")->setValue(1.5);
    child<QCheckBox>("cbSameGain")->setChecked(true);
    QCOMPARE(lpFilter->correction().mcGain, cv::Scalar(1.5, 1.5, 1.5, 1));
    for (const char* lpName :
         {"dsbGainG", "hsGainG", "pbDefaultGainG", "dsbGainB", "hsGainB", "pbDefaultGainB"})
        QVERIFY2(!child<QWidget>(lpName)->isEnabled(), lpName);
    child<QSlider>("hsGainR")->setValue(120);
    QCOMPARE(lpFilter->correction().mcGain, cv::Scalar(1.2, 1.2, 1.2, 1));

    child<QCheckBox>("cbSameGain")->setChecked(false);
    QCOMPARE(lpFilter->correction().mcGain, cv::Scalar(1.2, 2, 3, 1));
    QVERIFY(child<QWidget>("dsbGainG")->isEnabled());
}

QTEST_MAIN(tst_VideoSettingsControlWidget)
#include "tst_videosettingscontrolwidget.moc"
