#pragma once

#include "debugsource.h"
#include "imagebuffer.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

class QAction;
class QLabel;
class tcCameraInterface;
class tcFrameSurface;

// A plain video window: the newest frame scaled into the window with its
// aspect ratio kept, a play/pause button and a frame counter. It asks for the
// stream when it is first shown and stops it when it closes, since no video
// settings panel is there to do so. As a snapshot it shows one still image.
class tcFrameWindow : public QWidget, public tcDebugSource
{
    Q_OBJECT

public:
    explicit tcFrameWindow(tcCameraInterface* apCamera, QWidget* apParent = nullptr);
    ~tcFrameWindow() override;

    // Shows a copy of the frame's picture and follows no stream.
    void showStill(const tpImageBuffer& arFrame);
    QImage image() const;
    unsigned renderedCount() const { return mnRendered; }

signals:
    void StartVideo();
    void StopVideo();
    void Message(QString arText);
    void Error(QString arText);

public slots:
    void NewFrame(tpImageBuffer apFrame);

protected:
    void showEvent(QShowEvent* apEvent) override;
    void closeEvent(QCloseEvent* apEvent) override;

private:
    void setPlaying(bool abPlay);

    QPointer<tcCameraInterface> mpCamera;
    tcFrameSurface* mpSurface;
    QLabel* mpInfo;
    QAction* mpPlay = nullptr;
    unsigned mnRendered = 0;
    bool mbStarted = false;
};
