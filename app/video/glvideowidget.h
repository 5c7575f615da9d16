#pragma once

#include "debugsource.h"
#include "framerenderer.h"
#include "imagebuffer.h"
#include "viewgeometry.h"

#include <QImage>
#include <QPointer>
#include <QSharedPointer>
#include <QWidget>

#include <vector>

class QBoxLayout;
class tcImgDecoratorInterface;

// The drawing surface of the video display. It holds the newest frame (or an
// image loaded from a file), the zoom rectangle, the pan and the display
// options, draws the visible part of the picture, lets decorator plugins
// paint over it and maps widget positions to image pixels.
//
// Frames are rendered on a worker thread (tcRenderQueue) at the size they are
// drawn, so a new frame costs the GUI thread nothing but a repaint; the
// picture drawn is the newest finished rendering. The full-size image of a
// frame is made only when asked for (currentImage(): copy, save).
//
// Decorators are told where the picture went through the properties
// "imageSourceRect" (image pixels) and "imageTargetRect" (widget pixels), and
// receive the picture as drawn.
class tcGLVideoWidget : public QWidget, public tcDebugSource
{
    Q_OBJECT

public:
    explicit tcGLVideoWidget(QWidget* apParent = nullptr);
    ~tcGLVideoWidget() override;

    // A null frame means the stream ended: the frame's pixels are copied so
    // that the camera gets its buffer back while the picture stays.
    void setFrame(tpImageBuffer apFrame);
    // Shows an image without a frame (the frame, if any, is kept for plugins).
    void setImage(const QImage& arImage);

    tpImageBuffer currentFrame() const { return mpImageBuffer; }
    // The full-size picture shown: the loaded image, or the frame converted
    // (once per frame, on first request). Null when nothing is shown.
    QSharedPointer<QImage> currentImage();
    bool hasImage() const { return showsFrame() || (mpImage && !mpImage->isNull()); }
    // Whether the picture comes from the current frame (not a loaded image).
    bool showsFrame() const { return mpImageBuffer && !mbShowingImage; }
    // The picture's own rectangle, (0,0) at its top left.
    QRect imageRect() const;

    QRect lastDrawnRect() const { return mcPlan.mcDestination; }
    const tcViewGeometry::tcPlan& lastPlan() const { return mcPlan; }
    QPoint getPan() const { return mcPan; }
    void setPan(const QPoint& arPan);
    QRect zoomRect() const { return mcZoomRect; }
    void setZoomRect(const QRect& arRect);
    void zoomFull();
    bool keepAspectRatio() const { return mbKeepAspectRatio; }
    void setKeepAspectRatio(bool abOn);
    bool oneToOne() const { return mbOne2One; }
    void setOne2One(bool abOn);
    int interpolation() const { return mnInterpolation; }
    void setInterpolation(int anInterpolation);
    void setDecorators(const std::vector<tcImgDecoratorInterface*>& arDecorators);

    bool isFullScreenShown() const { return mbFullScreen; }
    void setFullScreenShown(bool abOn);

    // The image pixel under a position of this widget, limited to the image.
    QPoint widgetToImage(const QPoint& arPos) const;
    // A rectangle of this widget as image pixels.
    QRect widgetToImage(const QRect& arRect) const;
    // The layout as it is now (what the next paint draws).
    tcViewGeometry::tcPlan currentPlan() const;

    // Frames rendered and drawn, and frames replaced before they were drawn.
    quint64 shownFrames() const { return mnShownFrames; }
    quint64 droppedFrames() const { return mcQueue.droppedFrames(); }
    double lastRenderMs() const { return mdLastRenderMs; }
    // Runs the event loop until the newest frame's rendering is in; false on
    // time-out. For tests and benchmarks.
    bool waitForRendering(int anTimeoutMs = 5000);

signals:
    void escapePressed();
    // A rendering of a frame arrived (with the frame's serial number).
    void frameRendered(quint64 anSerial);

protected:
    void paintEvent(QPaintEvent* apEvent) override;
    void keyPressEvent(QKeyEvent* apEvent) override;

private slots:
    void takeRendering(tcRenderResult acResult);

private:
    tcViewGeometry geometry() const;
    tcRenderRequest requestFor(const tcViewGeometry::tcPlan& arPlan) const;
    void requestRendering();
    void drawImageWithoutFrame(QPainter& arPainter, const tcViewGeometry::tcPlan& arPlan);
    void drawDecorations(QPainter& arPainter);

    tpImageBuffer mpImageBuffer;
    QSharedPointer<QImage> mpImage;
    bool mbShowingImage = false;
    quint64 mnSerial = 0;
    std::vector<QPointer<tcImgDecoratorInterface>> msDecorators;
    bool mbKeepAspectRatio = true;
    bool mbOne2One = false;
    QRect mcZoomRect;
    tcViewGeometry::tcPlan mcPlan;
    QPoint mcPan;
    int mnInterpolation = 1;

    tcRenderQueue mcQueue;
    tcRenderResult mcShown; // the newest rendering of a frame
    QImage mcDrawn;         // what the last paint drew (handed to decorators)
    quint64 mnShownFrames = 0;
    double mdLastRenderMs = 0;
    double mdLastDrawMs = 0;

    bool mbFullScreen = false;
    QPointer<QWidget> mpHomeParent;
    QPointer<QBoxLayout> mpHomeLayout;
    int mnHomeIndex = -1;
};
