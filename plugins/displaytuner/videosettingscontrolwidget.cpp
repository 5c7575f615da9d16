#include "videosettingscontrolwidget.h"
#include "ui_videosettingscontrolwidget.h"

#include "camerainterface.h"
#include "displayfilter.h"
#include "genicamiface.h"
#include "gentlplugin.h"
#include "grouptitlestyle.h"

#include <QAction>
#include <QDebug>
#include <QEvent>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QThread>
#include <QTimer>

#include <cmath>

using namespace GenApi;

namespace
{
const QString kContinuous = QStringLiteral("Continuous");
const QString kSingleFrame = QStringLiteral("SingleFrame");
const QString kMultiFrame = QStringLiteral("MultiFrame");
// Snapshot starts the video this long after selecting a single frame, so
// the camera has taken the new mode.
constexpr int kSnapshotDelayMs = 1000;

QString nodeName(INode* apNode)
{
    return QString::fromLocal8Bit(apNode->GetName().c_str());
}

QString accessText(EAccessMode aeMode)
{
    switch (aeMode)
    {
    case RO:
        return QObject::tr("read-only");
    case NA:
        return QObject::tr("not available");
    case NI:
        return QObject::tr("not implemented");
    default:
        return QObject::tr("not writable");
    }
}
} // namespace

// GenICam failures of the panel's own operations are reported, never passed
// on to the event loop.
void tcVideoSettingsControlWidget::reportGenICam(const GenICam::GenericException& arError)
{
    tcGenICamIface::warn(arError);
    emit Error(QString::fromLocal8Bit(arError.GetDescription()));
}

template <class tFunc> void tcVideoSettingsControlWidget::guarded(tFunc&& arFunc)
{
    try
    {
        arFunc();
    }
    catch (const GenICam::GenericException& arError)
    {
        reportGenICam(arError);
    }
    catch (...)
    {
        qWarning() << "Unhandled Execption";
    }
}

tcVideoSettingsControlWidget::tcVideoSettingsControlWidget(tcGenTLPlugin* apPlugin, QWidget* apParent)
    : QWidget(apParent), tcDebugSource(QStringLiteral("video settings")),
      mpUi(std::make_unique<Ui::VideoSettingsControlWidget>()), mpPlugin(apPlugin),
      mcPlayIcon(QStringLiteral(":/images/resources/icon-play-128.png")),
      mcPauseIcon(QStringLiteral(":/images/resources/icon-pause-128.png"))
{
    mpUi->setupUi(this);
    setProperty("ControlWidgetType", QStringLiteral("CWTypeTab"));
    fitToPage();
    // The filter is one of the plugin's pieces and lives as long as it.
    mpDisplayFilter = new tcDisplayFilter(apPlugin ? static_cast<QObject*>(apPlugin) : this);
    connect(this, &tcVideoSettingsControlWidget::SettingsChanged, mpDisplayFilter,
            &tcDisplayFilter::SettingsChanged);

    mpPlayAction = new QAction(mcPlayIcon, tr("Play"), this);
    mpPlayAction->setCheckable(true);
    mpSnapshotAction =
        new QAction(QIcon(QStringLiteral(":/images/resources/icon-camera-128.png")), tr("Snapshot"), this);
    addAction(mpPlayAction);
    addAction(mpSnapshotAction);
    connect(mpPlayAction, &QAction::toggled, this, &tcVideoSettingsControlWidget::PlayPausedClicked);
    connect(mpSnapshotAction, &QAction::triggered, this, &tcVideoSettingsControlWidget::SnapshotClicked);

    connect(mpUi->comboBoxPixelFormat, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &tcVideoSettingsControlWidget::onPixelFormatIndexChanged);
    connect(mpUi->comboBoxAcquireMode, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &tcVideoSettingsControlWidget::onAcquireTypeIndexChanged);
    for (tcGenISpinBox* lpBox :
         {mpUi->sbXOffset, mpUi->sbYOffset, mpUi->sbWidth, mpUi->sbHeight, mpUi->sbNumberOfFrames})
        keepInStep(lpBox);
    for (tcGenIDoubleSpinBox* lpBox : {mpUi->dsbExposureTime, mpUi->dsbFrameRateHz})
        keepInStep(lpBox);
    for (tcGenIComboBox* lpBox : {mpUi->comboBoxPixelFormat, mpUi->comboBoxAcquireMode})
        keepInStep(lpBox);
    connectDisplayControls();
    // Without a camera every feature control is unbound and disabled.
    releaseCamera();
}

tcVideoSettingsControlWidget::~tcVideoSettingsControlWidget()
{
    guarded(
        [this]
        {
            for (CallbackHandleType lnHandle : mlCallbacks)
                Deregister(lnHandle);
        });
    mlCallbacks.clear();
}

// ---------------------------------------------------------------------------
// Layout

// The video display gives its pages what room is left beside the video,
// often less than the form's height: the form scrolls instead of being
// squeezed or cut off, and is never narrower than its controls.
void tcVideoSettingsControlWidget::fitToPage()
{
    auto* lpTitleStyle = new tcGroupTitleStyle(this);
    for (QGroupBox* lpGroup : mpUi->scrollAreaContents->findChildren<QGroupBox*>())
        lpGroup->setStyle(lpTitleStyle);
    mpUi->scrollAreaContents->installEventFilter(this);
    fitWidthToForm();
}

void tcVideoSettingsControlWidget::fitWidthToForm()
{
    QScrollArea* lpArea = mpUi->scrollArea;
    // The scroll bar's room is kept whether it shows or not, so that its
    // coming and going never squeezes the form.
    lpArea->setMinimumWidth(mpUi->scrollAreaContents->minimumSizeHint().width() +
                            lpArea->verticalScrollBar()->sizeHint().width() + 2 * lpArea->frameWidth());
}

// A longer title or controls shown again may widen the form.
bool tcVideoSettingsControlWidget::eventFilter(QObject* apWatched, QEvent* apEvent)
{
    if (apWatched == mpUi->scrollAreaContents && apEvent->type() == QEvent::LayoutRequest)
        fitWidthToForm();
    return QWidget::eventFilter(apWatched, apEvent);
}

// ---------------------------------------------------------------------------
// Camera

void tcVideoSettingsControlWidget::setCamera(tcCameraInterface* apCamera)
{
    releaseCamera();
    mpCamera = apCamera;
    if (!mpCamera)
        return;
    connect(this, &tcVideoSettingsControlWidget::StartVideo, mpCamera, &tcCameraInterface::startVideo);
    connect(this, &tcVideoSettingsControlWidget::StopVideo, mpCamera, &tcCameraInterface::stopVideo);
    connect(mpCamera, &tcCameraInterface::NewFrame, this, &tcVideoSettingsControlWidget::NewFrame);
    connect(mpCamera, &tcCameraInterface::acquiring, this, &tcVideoSettingsControlWidget::followCamera);

    const QSize lcSensor = mpCamera->sensorSize();
    if (lcSensor.width() > 0 && lcSensor.height() > 0)
        mpUi->gbROI->setTitle(tr("ROI [ %1 x %2 Sensor ]").arg(lcSensor.width()).arg(lcSensor.height()));
    followCamera(mpCamera->IsRunning());

    guarded(
        [this]
        {
            watchModeFeature("AcquisitionMode");
            watchModeFeature("PixelFormat");
            bindFeatures();
        });
    {
        QScopedValueRollback<bool> lcGuard(mbUpdating, true);
        updateForAcqMode();
    }
    adaptGainControls();
    videoRunning(mpPlayAction->isChecked());
}

void tcVideoSettingsControlWidget::releaseCamera()
{
    if (mpCamera)
    {
        disconnect(this, nullptr, mpCamera, nullptr);
        disconnect(mpCamera, nullptr, this, nullptr);
    }
    guarded(
        [this]
        {
            for (CallbackHandleType lnHandle : mlCallbacks)
                Deregister(lnHandle);
        });
    mlCallbacks.clear();
    {
        QScopedValueRollback<bool> lcGuard(mbUpdating, true);
        for (tcGenISpinBox* lpBox :
             {mpUi->sbWidth, mpUi->sbHeight, mpUi->sbXOffset, mpUi->sbYOffset, mpUi->sbNumberOfFrames})
            lpBox->setNode(nullptr);
        mpUi->dsbExposureTime->setNode(nullptr);
        mpUi->dsbFrameRateHz->setNode(nullptr);
        mpUi->comboBoxAcquireMode->setNode(nullptr);
        mpUi->comboBoxAcquireMode->clear();
        mpUi->comboBoxPixelFormat->setNode(nullptr);
        mpUi->comboBoxPixelFormat->clear();
    }
    mpUi->gbROI->setTitle(tr("ROI"));
    mpCamera = nullptr;
}

void tcVideoSettingsControlWidget::watchModeFeature(const char* apName)
{
    const CNodePtr lpNode = mpCamera->getGenICamIface()->getNode(QString::fromLatin1(apName));
    if (IsReadable(lpNode))
        mlCallbacks.push_back(
            Register(static_cast<INode*>(lpNode), *this, &tcVideoSettingsControlWidget::GenApiCallback));
}

void tcVideoSettingsControlWidget::GenApiCallback(INode*)
{
    // The node map calls back in whichever thread changed the feature.
    if (QThread::currentThread() != thread())
    {
        QMetaObject::invokeMethod(
            this, [this] { GenApiCallback(nullptr); }, Qt::QueuedConnection);
        return;
    }
    if (mbUpdating)
        return;
    QScopedValueRollback<bool> lcGuard(mbUpdating, true);
    // The combo boxes do not follow their features by themselves: a script
    // may have chosen another mode or format.
    guarded(
        [this]
        {
            for (tcGenIComboBox* lpBox : {mpUi->comboBoxAcquireMode, mpUi->comboBoxPixelFormat})
                if (!showsCameraChoice(lpBox))
                    lpBox->refreshWidget();
        });
    updateForAcqMode();
    adaptGainControls();
}

bool tcVideoSettingsControlWidget::showsCameraChoice(tcGenIComboBox* apBox) const
{
    const CEnumerationPtr lpEnumeration(apBox->getNode());
    return !IsReadable(lpEnumeration) ||
           apBox->currentText() == tcGenICamIface::enumString(lpEnumeration, -1);
}

void tcVideoSettingsControlWidget::bindFeatures()
{
    tcGenICamIface* lpFeatures = mpCamera->getGenICamIface();
    const auto lcNode = [lpFeatures](const char* apName)
    { return static_cast<INode*>(lpFeatures->getNode(QString::fromLatin1(apName))); };
    const std::pair<tcGenISpinBox*, const char*> lsIntegers[] = {
        {mpUi->sbWidth, "Width"},
        {mpUi->sbHeight, "Height"},
        {mpUi->sbXOffset, "OffsetX"},
        {mpUi->sbYOffset, "OffsetY"},
        {mpUi->sbNumberOfFrames, "AcquisitionFrameCount"}};
    for (const auto& lrPair : lsIntegers)
    {
        lrPair.first->setMinV(0);
        lrPair.first->setNode(lcNode(lrPair.second));
    }
    // The feature counts microseconds, the panel shows milliseconds.
    mpUi->dsbExposureTime->setScalar(0.001);
    mpUi->dsbExposureTime->setNode(lcNode("ExposureTime"));
    mpUi->dsbFrameRateHz->setNode(lcNode("AcquisitionFrameRate"));
    QScopedValueRollback<bool> lcGuard(mbUpdating, true);
    mpUi->comboBoxAcquireMode->setNode(lcNode("AcquisitionMode"));
    mpUi->comboBoxPixelFormat->setNode(lcNode("PixelFormat"));
}

void tcVideoSettingsControlWidget::followCamera(bool abAcquiring)
{
    QScopedValueRollback<bool> lcGuard(mbFollowingCamera, true);
    mpPlayAction->setChecked(abAcquiring);
}

// ---------------------------------------------------------------------------
// Keeping controls in step with the camera

void tcVideoSettingsControlWidget::keepInStep(tcGenISpinBox* apBox)
{
    // Runs after the box's own write-back, which it connected first.
    connect(apBox, &QSpinBox::editingFinished, this,
            [this, apBox]
            {
                if (mbUpdating)
                    return;
                guarded(
                    [this, apBox]
                    {
                        const CIntegerPtr lpInteger(apBox->getNode());
                        if (!IsReadable(lpInteger))
                            return;
                        const qint64 lnShown = qint64(apBox->value());
                        if (lnShown == lpInteger->GetValue() * apBox->getScalar())
                            return;
                        if (!IsWritable(lpInteger))
                            reportUnwritable(apBox->getNode());
                        apBox->refreshWidget();
                    });
            });
    connect(apBox, &tcGenISpinBox::Error, this, &tcVideoSettingsControlWidget::Error);
    connect(apBox, &tcGenISpinBox::Message, this, &tcVideoSettingsControlWidget::Message);
}

void tcVideoSettingsControlWidget::keepInStep(tcGenIDoubleSpinBox* apBox)
{
    connect(apBox, &QDoubleSpinBox::editingFinished, this,
            [this, apBox]
            {
                if (mbUpdating)
                    return;
                guarded(
                    [this, apBox]
                    {
                        const CFloatPtr lpFloat(apBox->getNode());
                        if (!IsReadable(lpFloat))
                            return;
                        // Equal as far as the box can show.
                        const double ldCamera = lpFloat->GetValue() * apBox->getScalar();
                        if (std::abs(apBox->value() - ldCamera) < 0.5 * std::pow(10.0, -apBox->decimals()))
                            return;
                        if (!IsWritable(lpFloat))
                            reportUnwritable(apBox->getNode());
                        apBox->refreshWidget();
                    });
            });
    connect(apBox, &tcGenIDoubleSpinBox::Error, this, &tcVideoSettingsControlWidget::Error);
    connect(apBox, &tcGenIDoubleSpinBox::Message, this, &tcVideoSettingsControlWidget::Message);
}

void tcVideoSettingsControlWidget::keepInStep(tcGenIComboBox* apBox)
{
    connect(apBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this, apBox]
            {
                if (mbUpdating)
                    return;
                QScopedValueRollback<bool> lcGuard(mbUpdating, true);
                guarded(
                    [this, apBox]
                    {
                        if (showsCameraChoice(apBox))
                            return;
                        if (!IsWritable(CEnumerationPtr(apBox->getNode())))
                            reportUnwritable(apBox->getNode());
                        apBox->refreshWidget();
                        updateForAcqMode();
                        adaptGainControls();
                    });
            });
    connect(apBox, &tcGenIComboBox::Error, this, &tcVideoSettingsControlWidget::Error);
    connect(apBox, &tcGenIComboBox::Message, this, &tcVideoSettingsControlWidget::Message);
}

void tcVideoSettingsControlWidget::reportUnwritable(INode* apNode)
{
    emit Error(tr("%1 not changed: the camera has it %2 now")
                   .arg(nodeName(apNode), accessText(apNode->GetAccessMode())));
}

// ---------------------------------------------------------------------------
// Region of interest

void tcVideoSettingsControlWidget::setMaxRoi()
{
    if (!mpCamera)
        return;
    QScopedValueRollback<bool> lcGuard(mbUpdating, true);
    tcGenICamIface* lpFeatures = mpCamera->getGenICamIface();
    // Offsets first: the largest width and height depend on them. Each
    // feature on its own, so one refusal does not keep the others back.
    for (const char* lpName : {"OffsetX", "OffsetY", "Width", "Height"})
        guarded(
            [&]
            {
                const CIntegerPtr lpInteger(lpFeatures->getNode(QString::fromLatin1(lpName)));
                if (!IsWritable(lpInteger))
                    return;
                const bool lbOffset = lpName[0] == 'O';
                lpInteger->SetValue(lbOffset ? lpInteger->GetMin() : lpInteger->GetMax(), true);
            });
    for (tcGenISpinBox* lpBox : {mpUi->sbXOffset, mpUi->sbYOffset, mpUi->sbWidth, mpUi->sbHeight})
        lpBox->refreshWidget();
    updateForAcqMode();
}

void tcVideoSettingsControlWidget::on_pushButtonRoiFull_clicked()
{
    setMaxRoi();
}

// ---------------------------------------------------------------------------
// Acquisition

void tcVideoSettingsControlWidget::updateForAcqMode()
{
    const QString lsMode = mpUi->comboBoxAcquireMode->currentText();
    mpUi->sbNumberOfFrames->setEnabled(lsMode == kMultiFrame);
    if (lsMode == kMultiFrame)
        mnFramesToAcquire = mpUi->sbNumberOfFrames->value();
    // A single frame is all the camera delivers, whatever count was chosen
    // before: waiting for more would leave Play on for good.
    else if (lsMode == kSingleFrame)
        mnFramesToAcquire = 1;
}

void tcVideoSettingsControlWidget::setAcquireFrames(int anNumFrames)
{
    if (anNumFrames == -1)
    {
        selectAcquisitionMode(kContinuous);
        mnFramesToAcquire = 0;
    }
    else if (anNumFrames == 1)
    {
        selectAcquisitionMode(kSingleFrame);
    }
    else
    {
        selectAcquisitionMode(kMultiFrame);
        setFrameCount(anNumFrames);
    }
    if (anNumFrames != -1)
        mnFramesToAcquire = anNumFrames;
    updateForAcqMode();
}

void tcVideoSettingsControlWidget::selectAcquisitionMode(const QString& arMode)
{
    // The combo box writes the choice to the camera like a user's.
    mpUi->comboBoxAcquireMode->setCurrentIndex(mpUi->comboBoxAcquireMode->findText(arMode));
}

void tcVideoSettingsControlWidget::setFrameCount(int anCount)
{
    mpUi->sbNumberOfFrames->setValue(anCount);
    // Written to the camera as if the user had typed it.
    emit mpUi->sbNumberOfFrames->editingFinished();
}

void tcVideoSettingsControlWidget::onAcquireTypeIndexChanged(int)
{
    if (mpCamera)
        updateForAcqMode();
}

void tcVideoSettingsControlWidget::onPixelFormatIndexChanged(int)
{
    if (!mpCamera)
        return;
    updateForAcqMode();
    adaptGainControls();
}

void tcVideoSettingsControlWidget::refreshParams()
{
    QScopedValueRollback<bool> lcGuard(mbUpdating, true);
    updateForAcqMode();
}

void tcVideoSettingsControlWidget::videoRunning(bool abOn)
{
    mpUi->comboBoxPixelFormat->setEnabled(!abOn && mpUi->comboBoxPixelFormat->getNode());
    mpUi->comboBoxAcquireMode->setEnabled(!abOn && mpUi->comboBoxAcquireMode->getNode());
    if (abOn)
        mpUi->sbNumberOfFrames->setEnabled(false);
    else
        updateForAcqMode();
}

void tcVideoSettingsControlWidget::PlayPausedClicked(bool abChecked)
{
    mpPlayAction->setIcon(abChecked ? mcPauseIcon : mcPlayIcon);
    // Following the camera's own state commands nothing.
    if (!mbFollowingCamera)
    {
        if (abChecked)
            emit StartVideo();
        else
            emit StopVideo();
    }
    mpSnapshotAction->setEnabled(!abChecked);
    videoRunning(abChecked);
}

void tcVideoSettingsControlWidget::SnapshotClicked(bool)
{
    selectAcquisitionMode(kSingleFrame);
    setFrameCount(1);
    mnFramesToAcquire = 1;
    updateForAcqMode();
    QTimer::singleShot(kSnapshotDelayMs, this,
                       [this]
                       {
                           if (!mpPlayAction->isChecked())
                               mpPlayAction->setChecked(true);
                       });
}

void tcVideoSettingsControlWidget::NewFrame(tpImageBuffer pImage)
{
    if (!pImage || pImage->isNull() || !mpPlayAction->isChecked())
        return;
    if (mpUi->comboBoxAcquireMode->currentText() == kContinuous ||
        qint64(pImage->getFrameId()) + 1 < qint64(mnFramesToAcquire))
        return;
    if (GetDbgLevel() >= 1)
        qDebug() << "tcVideoSettingsControlWidget::NewFrame [" << getName() << 1 << "]"
                 << "stopping at frame" << pImage->getFrameId();
    mpPlayAction->setChecked(false);
    mpSnapshotAction->setEnabled(true);
    videoRunning(false);
    updateForAcqMode();
    emit acquisitionStopped();
}

// ---------------------------------------------------------------------------
// Display corrections

void tcVideoSettingsControlWidget::connectDisplayControls()
{
    mpGainSliders[0] = mpUi->hsGainR;
    mpGainSliders[1] = mpUi->hsGainG;
    mpGainSliders[2] = mpUi->hsGainB;
    mpGainBoxes[0] = mpUi->dsbGainR;
    mpGainBoxes[1] = mpUi->dsbGainG;
    mpGainBoxes[2] = mpUi->dsbGainB;
    mpGainResets[0] = mpUi->pbDefaultGainR;
    mpGainResets[1] = mpUi->pbDefaultGainG;
    mpGainResets[2] = mpUi->pbDefaultGainB;
    for (int lnChannel = 0; lnChannel < 3; ++lnChannel)
    {
        connect(mpGainSliders[lnChannel], &QAbstractSlider::valueChanged, this,
                &tcVideoSettingsControlWidget::onGainSliderChanged);
        connect(mpGainBoxes[lnChannel], QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
                &tcVideoSettingsControlWidget::onGainSpinboxChanged);
    }
    connect(mpUi->gbGain, &QGroupBox::toggled, this, &tcVideoSettingsControlWidget::onGainEnabled);
    connect(mpUi->cbSameGain, &QCheckBox::toggled, this, &tcVideoSettingsControlWidget::onSameGainsToggled);
    connect(mpUi->gbBrightness, &QGroupBox::toggled, this,
            &tcVideoSettingsControlWidget::onBrightnessEnabled);
    connect(mpUi->hsBrightness, &QAbstractSlider::valueChanged, this,
            &tcVideoSettingsControlWidget::onBrightnessSliderChanged);
    connect(mpUi->dsbBrightness, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            &tcVideoSettingsControlWidget::onBrightnessSpinboxChanged);
    connect(mpUi->gbGamma, &QGroupBox::toggled, this, &tcVideoSettingsControlWidget::onGammaEnabled);
    connect(mpUi->hsGamma, &QAbstractSlider::valueChanged, this,
            &tcVideoSettingsControlWidget::onGammaSliderChanged);
    connect(mpUi->dsbGamma, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            &tcVideoSettingsControlWidget::onGammaSpinboxChanged);
}

void tcVideoSettingsControlWidget::adaptGainControls()
{
    static const QRegularExpression scMono(QStringLiteral("mono"), QRegularExpression::CaseInsensitiveOption);
    const bool lbMono = mpUi->comboBoxPixelFormat->currentText().contains(scMono);
    for (QWidget* lpWidget : std::initializer_list<QWidget*>{
             mpUi->dsbGainG, mpUi->hsGainG, mpUi->labelG, mpUi->dsbGainB, mpUi->hsGainB, mpUi->labelB,
             mpUi->pbDefaultGainG, mpUi->pbDefaultGainB, mpUi->cbSameGain})
        lpWidget->setHidden(lbMono);
    mpUi->labelR->setText(lbMono ? QString() : tr("R"));
}

int tcVideoSettingsControlWidget::gainChannel(QObject* apControl) const
{
    for (int lnChannel = 0; lnChannel < 3; ++lnChannel)
        if (apControl == mpGainSliders[lnChannel] || apControl == mpGainBoxes[lnChannel])
            return lnChannel;
    return 0;
}

// Slider positions are hundredths of the value. Comparing with 20 added
// keeps the fuzzy comparison meaningful around 0.
namespace
{
bool sameValue(double adFirst, double adSecond)
{
    return qFuzzyCompare(adFirst + 20, adSecond + 20);
}

void setBoxFromSlider(QDoubleSpinBox* apBox, double adValue)
{
    if (!sameValue(adValue, apBox->value()))
        apBox->setValue(adValue);
}

// Rounded, not truncated: 0.29 × 100 is 28.999…, which must stay 29.
void setSliderFromBox(QAbstractSlider* apSlider, double adValue)
{
    const int lnPosition = qRound(adValue * 100);
    if (apSlider->value() != lnPosition)
        apSlider->setValue(lnPosition);
}

} // namespace

void tcVideoSettingsControlWidget::onGainEnabled(bool abOn)
{
    mpDisplayFilter->setGainEnabled(abOn);
    emit SettingsChanged();
}

void tcVideoSettingsControlWidget::onGainSliderChanged(int value)
{
    const int lnChannel = gainChannel(sender());
    const double ldGain = value / 100.0;
    cv::Scalar lcGain = mpDisplayFilter->correction().mcGain;
    lcGain[lnChannel] = ldGain;
    if (lnChannel == 0 && mpUi->cbSameGain->isChecked())
        lcGain[1] = lcGain[2] = ldGain;
    mpDisplayFilter->setGain(lcGain);
    setBoxFromSlider(mpGainBoxes[lnChannel], ldGain);
}

void tcVideoSettingsControlWidget::onGainSpinboxChanged(double value)
{
    const int lnChannel = gainChannel(sender());
    cv::Scalar lcGain = mpDisplayFilter->correction().mcGain;
    lcGain[lnChannel] = value;
    if (lnChannel == 0 && mpUi->cbSameGain->isChecked())
        lcGain[1] = lcGain[2] = value;
    mpDisplayFilter->setGain(lcGain);
    setSliderFromBox(mpGainSliders[lnChannel], value);
    emit SettingsChanged();
}

void tcVideoSettingsControlWidget::onSameGainsToggled(bool abChecked)
{
    for (int lnChannel = 1; lnChannel < 3; ++lnChannel)
    {
        mpGainBoxes[lnChannel]->setEnabled(!abChecked);
        mpGainSliders[lnChannel]->setEnabled(!abChecked);
        mpGainResets[lnChannel]->setEnabled(!abChecked);
    }
    cv::Scalar lcGain = mpDisplayFilter->correction().mcGain;
    lcGain[1] = abChecked ? lcGain[0] : mpUi->dsbGainG->value();
    lcGain[2] = abChecked ? lcGain[0] : mpUi->dsbGainB->value();
    mpDisplayFilter->setGain(lcGain);
    emit SettingsChanged();
}

void tcVideoSettingsControlWidget::onBrightnessEnabled(bool abOn)
{
    mpDisplayFilter->setBrightnessEnabled(abOn);
    emit SettingsChanged();
}

void tcVideoSettingsControlWidget::onBrightnessSliderChanged(int value)
{
    setForAllChannels(&tcDisplayCorrection::mcBrightness, value / 100.0);
    setBoxFromSlider(mpUi->dsbBrightness, value / 100.0);
}

void tcVideoSettingsControlWidget::onBrightnessSpinboxChanged(double value)
{
    setForAllChannels(&tcDisplayCorrection::mcBrightness, value);
    setSliderFromBox(mpUi->hsBrightness, value);
    emit SettingsChanged();
}

void tcVideoSettingsControlWidget::onGammaEnabled(bool abOn)
{
    mpDisplayFilter->setGammaEnabled(abOn);
    emit SettingsChanged();
}

void tcVideoSettingsControlWidget::onGammaSliderChanged(int value)
{
    setForAllChannels(&tcDisplayCorrection::mcGamma, value / 100.0);
    setBoxFromSlider(mpUi->dsbGamma, value / 100.0);
}

void tcVideoSettingsControlWidget::onGammaSpinboxChanged(double value)
{
    setForAllChannels(&tcDisplayCorrection::mcGamma, value);
    setSliderFromBox(mpUi->hsGamma, value);
    emit SettingsChanged();
}

// Brightness and gamma act alike on the three colour channels.
void tcVideoSettingsControlWidget::setForAllChannels(cv::Scalar tcDisplayCorrection::*apValues,
                                                     double adValue)
{
    tcDisplayCorrection lcCorrection = mpDisplayFilter->correction();
    cv::Scalar& lrValues = lcCorrection.*apValues;
    lrValues[0] = lrValues[1] = lrValues[2] = adValue;
    mpDisplayFilter->setCorrection(lcCorrection);
}

void tcVideoSettingsControlWidget::on_pbDefaultBright_clicked()
{
    mpUi->dsbBrightness->setValue(0);
}

void tcVideoSettingsControlWidget::on_pbDefaultGainR_clicked()
{
    mpUi->dsbGainR->setValue(1);
}

void tcVideoSettingsControlWidget::on_pbDefaultGainG_clicked()
{
    mpUi->dsbGainG->setValue(1);
}

void tcVideoSettingsControlWidget::on_pbDefaultGainB_clicked()
{
    mpUi->dsbGainB->setValue(1);
}

void tcVideoSettingsControlWidget::on_pbDefaultGamma_clicked()
{
    mpUi->dsbGamma->setValue(1);
}
