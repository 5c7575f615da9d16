#pragma once

#include "camerainterface.h"
#include "debugsource.h"
#include "displayfilter.h"
#include "imagebuffer.h"

#include <GenApi/GenApi.h>

#include <QIcon>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

class QAction;
class QAbstractSlider;
class QDoubleSpinBox;
class QToolButton;
class tcGenIComboBox;
class tcGenIDoubleSpinBox;
class tcGenISpinBox;
class tcGenTLPlugin;

namespace Ui
{
class VideoSettingsControlWidget;
}

// The video settings panel, shown as a tab of the video display: region of
// interest, pixel format, acquisition mode, frame count, exposure and frame
// rate, all edited through the camera's own features; Play/Pause and
// Snapshot; and the brightness, gain and gamma of the shown image, which the
// panel's display filter applies.
//
// A feature write the camera refuses leaves no control showing a value the
// camera does not have: the control goes back to the camera's value and the
// reason is reported through Error.
class tcVideoSettingsControlWidget : public QWidget, public tcDebugSource
{
    Q_OBJECT

public:
    explicit tcVideoSettingsControlWidget(tcGenTLPlugin* apPlugin, QWidget* apParent = nullptr);
    ~tcVideoSettingsControlWidget() override;

    // Binds every control to the camera's features; null unbinds them.
    void setCamera(tcCameraInterface* apCamera);
    tcCameraInterface* camera() const { return mpCamera; }

    // Created with the panel, owned by the plugin.
    tcDisplayFilter* displayFilter() const { return mpDisplayFilter; }
    QAction* playAction() const { return mpPlayAction; }
    QAction* snapshotAction() const { return mpSnapshotAction; }
    // Frames after which a non-continuous acquisition is stopped; 0 for
    // continuous.
    int framesToAcquire() const { return mnFramesToAcquire; }

protected:
    bool eventFilter(QObject* apWatched, QEvent* apEvent) override;

signals:
    void acquisitionStopped();
    void StartVideo();
    void StopVideo();
    void Message(QString arText);
    void Error(QString arText);
    void SettingsChanged();

public slots:
    // -1 continuous, 1 a single frame, any other number that many frames.
    void setAcquireFrames(int anNumFrames);
    void refreshParams();
    void videoRunning(bool abOn);
    void NewFrame(tpImageBuffer pImage);
    void setMaxRoi();

private slots:
    void updateForAcqMode();
    void onPixelFormatIndexChanged(int anIndex);
    void onAcquireTypeIndexChanged(int anIndex);
    void PlayPausedClicked(bool abChecked);
    void SnapshotClicked(bool);
    void onGainEnabled(bool abOn);
    void onGainSliderChanged(int value);
    void onGainSpinboxChanged(double value);
    void onBrightnessSliderChanged(int value);
    void onBrightnessSpinboxChanged(double value);
    void onBrightnessEnabled(bool abOn);
    void onGammaSliderChanged(int value);
    void onGammaSpinboxChanged(double value);
    void onGammaEnabled(bool abOn);
    void onSameGainsToggled(bool abChecked);
    void on_pushButtonRoiFull_clicked();
    void on_pbDefaultBright_clicked();
    void on_pbDefaultGainR_clicked();
    void on_pbDefaultGainG_clicked();
    void on_pbDefaultGainB_clicked();
    void on_pbDefaultGamma_clicked();

private:
    void fitToPage();
    void fitWidthToForm();
    void releaseCamera();
    void bindFeatures();
    void watchModeFeature(const char* apName);
    void GenApiCallback(GenApi::INode* apNode);
    void followCamera(bool abAcquiring);
    void adaptGainControls();
    void selectAcquisitionMode(const QString& arMode);
    void setFrameCount(int anCount);
    void connectDisplayControls();
    void keepInStep(tcGenISpinBox* apBox);
    void keepInStep(tcGenIDoubleSpinBox* apBox);
    void keepInStep(tcGenIComboBox* apBox);
    void reportUnwritable(GenApi::INode* apNode);
    bool showsCameraChoice(tcGenIComboBox* apBox) const;
    int gainChannel(QObject* apControl) const;
    void setForAllChannels(cv::Scalar tcDisplayCorrection::*apValues, double adValue);
    void reportGenICam(const GenICam::GenericException& arError);
    template <class tFunc> void guarded(tFunc&& arFunc);

    std::unique_ptr<Ui::VideoSettingsControlWidget> mpUi;
    tcGenTLPlugin* mpPlugin;
    QPointer<tcCameraInterface> mpCamera;
    std::vector<GenApi::CallbackHandleType> mlCallbacks;
    int mnFramesToAcquire = 0;
    // Set while the panel refreshes itself from the camera, so that the
    // callbacks this causes are ignored.
    bool mbUpdating = false;
    // Set while Play only follows the camera's state; it then commands
    // nothing.
    bool mbFollowingCamera = false;
    QAction* mpPlayAction;
    QAction* mpSnapshotAction;
    QIcon mcPlayIcon;
    QIcon mcPauseIcon;
    tcDisplayFilter* mpDisplayFilter;
    // Per gain channel (R, G, B): slider, spin box, reset button.
    QAbstractSlider* mpGainSliders[3];
    QDoubleSpinBox* mpGainBoxes[3];
    QToolButton* mpGainResets[3];
};
