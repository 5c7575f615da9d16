#include "glvideowidget.h"

#include "frameregion.h"
#include "imagefile.h"
#include "imgdecoratorinterface.h"
#include "opencvutils.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPainter>

#include <opencv2/imgproc.hpp>

namespace
{
// Loaded pictures are kept in the two layouts the scaler works on.
QImage displayable(const QImage& arImage)
{
    if (arImage.isNull() || arImage.format() == QImage::Format_Grayscale8 ||
        arImage.format() == QImage::Format_RGB888)
        return arImage;
    return arImage.convertToFormat(arImage.isGrayscale() ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
}
} // namespace

tcGLVideoWidget::tcGLVideoWidget(QWidget* apParent)
    : QWidget(apParent), tcDebugSource(QStringLiteral("tcGLVideoWidget"))
{
    debugMinLevel(1);
    setObjectName(QStringLiteral("mpGLVideoWidget"));
    QPalette lcPalette = palette();
    for (QPalette::ColorGroup leGroup : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        lcPalette.setColor(leGroup, QPalette::Dark, Qt::black);
    setPalette(lcPalette);
    setBackgroundRole(QPalette::Dark);
    setAutoFillBackground(true);
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(&mcQueue, &tcRenderQueue::rendered, this, &tcGLVideoWidget::takeRendering);
}

tcGLVideoWidget::~tcGLVideoWidget()
{
    if (GetDbgLevel() > 0)
        qDebug() << "tcGLVideoWidget::~tcGLVideoWidget"
                 << "[" << getName() << 1 << "]"
                 << "mpImageBuffer=" << static_cast<void*>(mpImageBuffer.data());
    mcQueue.clearPending();
    mpImageBuffer.reset();
    mpImage.reset();
}

void tcGLVideoWidget::setFrame(tpImageBuffer apFrame)
{
    if (!apFrame)
    {
        // The stream is over and wants every buffer back; keep the picture
        // (and its pixels for read-out and saving) in a copy of our own.
        // A render under way reads its frame to the end, so it is awaited.
        mcQueue.stop();
        if (mpImageBuffer && mpImageBuffer->data())
            mpImageBuffer = tcImageFile::ownedCopy(*mpImageBuffer);
        return;
    }
    if (GetDbgLevel() > 1)
        qDebug() << "tcGLVideoWidget::SetImage"
                 << "[" << getName() << 2 << "]" << *apFrame << "Time since frame creation"
                 << apFrame->getElapsedTimer().elapsed() << "ms";
    mpImageBuffer = std::move(apFrame);
    mpImage.reset();
    mbShowingImage = false;
    ++mnSerial;
    requestRendering();
}

void tcGLVideoWidget::setImage(const QImage& arImage)
{
    mpImage = QSharedPointer<QImage>::create(displayable(arImage));
    mbShowingImage = true;
    mcZoomRect = mpImage->rect();
    mcPan = QPoint();
    update();
}

QSharedPointer<QImage> tcGLVideoWidget::currentImage()
{
    if (!mpImage && mpImageBuffer && !mpImageBuffer->isNull())
        mpImage = mpImageBuffer->toQImage();
    if (mpImage && mpImage->isNull())
        return QSharedPointer<QImage>();
    return mpImage;
}

QRect tcGLVideoWidget::imageRect() const
{
    if (showsFrame())
        return QRect(QPoint(0, 0), mpImageBuffer->getSize());
    if (mpImage)
        return mpImage->rect();
    return QRect();
}

void tcGLVideoWidget::setPan(const QPoint& arPan)
{
    mcPan = arPan;
    update();
}

void tcGLVideoWidget::setZoomRect(const QRect& arRect)
{
    mcZoomRect = QRect(arRect.topLeft(), QSize(std::max(1, arRect.width()), std::max(1, arRect.height())));
    update();
}

void tcGLVideoWidget::zoomFull()
{
    // The picture's own rectangle: a frame's offset on the sensor says where
    // it was taken, not where its pixels start.
    mcZoomRect = imageRect();
    mcPan = QPoint();
    update();
}

void tcGLVideoWidget::setKeepAspectRatio(bool abOn)
{
    mbKeepAspectRatio = abOn;
    update();
}

void tcGLVideoWidget::setOne2One(bool abOn)
{
    mbOne2One = abOn;
    update();
}

void tcGLVideoWidget::setInterpolation(int anInterpolation)
{
    mnInterpolation = anInterpolation;
    update();
}

void tcGLVideoWidget::setDecorators(const std::vector<tcImgDecoratorInterface*>& arDecorators)
{
    msDecorators.assign(arDecorators.begin(), arDecorators.end());
    update();
}

void tcGLVideoWidget::setFullScreenShown(bool abOn)
{
    qDebug() << "Pushed" << abOn;
    if (abOn == mbFullScreen)
        return;
    if (abOn)
    {
        mpHomeParent = parentWidget();
        mpHomeLayout = mpHomeParent ? qobject_cast<QBoxLayout*>(mpHomeParent->layout()) : nullptr;
        mnHomeIndex = mpHomeLayout ? mpHomeLayout->indexOf(this) : -1;
        if (mpHomeLayout)
            mpHomeLayout->removeWidget(this);
        setParent(nullptr);
        mbFullScreen = true;
        showFullScreen();
        setFocus();
        return;
    }
    mbFullScreen = false;
    if (mpHomeParent)
    {
        setParent(mpHomeParent);
        if (mpHomeLayout)
            mpHomeLayout->insertWidget(std::max(0, mnHomeIndex), this);
    }
    showNormal();
}

tcViewGeometry tcGLVideoWidget::geometry() const
{
    tcViewGeometry lcGeometry;
    lcGeometry.mcWidget = size();
    lcGeometry.mcImage = imageRect().size();
    lcGeometry.mcZoom = mcZoomRect;
    lcGeometry.mcPan = mcPan;
    lcGeometry.mbKeepAspect = mbKeepAspectRatio;
    lcGeometry.mbOneToOne = mbOne2One;
    return lcGeometry;
}

tcViewGeometry::tcPlan tcGLVideoWidget::currentPlan() const
{
    return geometry().plan();
}

QPoint tcGLVideoWidget::widgetToImage(const QPoint& arPos) const
{
    return tcViewGeometry::widgetToImage(mcPlan.isEmpty() ? currentPlan() : mcPlan, arPos,
                                         imageRect().size());
}

QRect tcGLVideoWidget::widgetToImage(const QRect& arRect) const
{
    return tcViewGeometry::widgetToImage(mcPlan.isEmpty() ? currentPlan() : mcPlan, arRect,
                                         imageRect().size());
}

tcRenderRequest tcGLVideoWidget::requestFor(const tcViewGeometry::tcPlan& arPlan) const
{
    tcRenderRequest lcRequest;
    lcRequest.mpFrame = mpImageBuffer;
    // A display filter has worked on the frame: show its result.
    if (mpImageBuffer->hasFilteredData())
        lcRequest.mcFiltered = mpImageBuffer->getFilteredData(false);
    lcRequest.mcSource = arPlan.mcVisibleSource;
    lcRequest.mcSize = arPlan.mcVisibleTarget.size();
    lcRequest.mnInterpolation = mnInterpolation;
    lcRequest.mnSerial = mnSerial;
    return lcRequest;
}

void tcGLVideoWidget::requestRendering()
{
    // A hidden surface only keeps the newest frame; showing it paints, and
    // the paint asks for the rendering.
    if (!showsFrame() || !isVisible())
        return;
    const tcViewGeometry::tcPlan lcPlan = currentPlan();
    if (lcPlan.mcVisibleTarget.isEmpty())
        return;
    tcRenderRequest lcRequest = requestFor(lcPlan);
    if (!mcQueue.isQueued(lcRequest))
        mcQueue.submit(std::move(lcRequest));
}

void tcGLVideoWidget::takeRendering(tcRenderResult acResult)
{
    if (acResult.mnSerial != mcShown.mnSerial)
        ++mnShownFrames;
    mdLastRenderMs = acResult.mdMilliseconds;
    mcShown = std::move(acResult);
    emit frameRendered(mcShown.mnSerial);
    update();
}

bool tcGLVideoWidget::waitForRendering(int anTimeoutMs)
{
    QElapsedTimer lcClock;
    lcClock.start();
    // A repaint may ask for a new view; wait until the newest frame is in at
    // the size now wanted.
    while (lcClock.elapsed() < anTimeoutMs)
    {
        const bool lbDone = mcQueue.waitIdle(int(std::max<qint64>(1, anTimeoutMs - lcClock.elapsed())));
        QCoreApplication::processEvents();
        const tcViewGeometry::tcPlan lcPlan = currentPlan();
        if (lbDone &&
            (!showsFrame() || !isVisible() || lcPlan.mcVisibleTarget.isEmpty() ||
             (mcShown.mnSerial == mnSerial && mcShown.mcSource == lcPlan.mcVisibleSource &&
              mcShown.mcSize == lcPlan.mcVisibleTarget.size() && mcShown.mnInterpolation == mnInterpolation)))
            return true;
        if (lbDone)
            requestRendering();
    }
    return false;
}

void tcGLVideoWidget::paintEvent(QPaintEvent*)
{
    QElapsedTimer lcClock;
    lcClock.start();
    QPainter lcPainter(this);
    lcPainter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!hasImage())
    {
        lcPainter.setPen(Qt::white);
        lcPainter.drawText(rect(), Qt::AlignCenter, tr("No Image"));
        mcPlan = tcViewGeometry::tcPlan();
        mcDrawn = QImage();
        return;
    }
    if (mcZoomRect.isNull())
        mcZoomRect = imageRect();
    mcPlan = currentPlan();
    setProperty("imageSourceRect", mcPlan.mcSource);
    setProperty("imageTargetRect", mcPlan.mcDestination);
    if (mcPlan.mcVisibleTarget.isEmpty())
        return;

    if (showsFrame())
    {
        const tcRenderRequest lcWanted = requestFor(mcPlan);
        const bool lbCurrent = mcShown.mnSerial == mnSerial && mcShown.mcSource == lcWanted.mcSource &&
                               mcShown.mcSize == lcWanted.mcSize &&
                               mcShown.mnInterpolation == lcWanted.mnInterpolation;
        if (!lbCurrent && !mcQueue.isQueued(lcWanted))
            mcQueue.submit(lcWanted);
        // Until the rendering for this view is in, the newest one stands in,
        // stretched to the place it will take.
        mcDrawn = mcShown.mcImage;
        QElapsedTimer lcDraw;
        lcDraw.start();
        if (!mcDrawn.isNull())
            lcPainter.drawImage(mcPlan.mcVisibleTarget, mcDrawn);
        mdLastDrawMs = lcDraw.nsecsElapsed() / 1e6;
    }
    else
    {
        drawImageWithoutFrame(lcPainter, mcPlan);
    }
    drawDecorations(lcPainter);

    if (GetDbgLevel() > 1)
        qDebug() << "tcGLVideoWidget::paintEvent"
                 << "[" << getName() << 2 << "]"
                 << "size=" << size() << "zoom_rect=" << mcZoomRect << "pan=" << mcPan
                 << "Src dimensions=" << imageRect().size() << "Src ROI=" << mcPlan.mcSource
                 << "Dst dimensions=" << mcPlan.mcDestination;
    if (GetDbgLevel() > 0)
    {
        const double ldTook = lcClock.nsecsElapsed() / 1e6;
        qDebug() << "tcGLVideoWidget::paintEvent"
                 << "[" << getName() << 1 << "]"
                 << "resize took" << QString::number(mdLastRenderMs, 'f', 2) << "ms"
                 << "drawImage took" << QString::number(mdLastDrawMs, 'f', 2) << "ms"
                 << QStringLiteral("paintEvent took %1ms Max fps: %2")
                        .arg(ldTook, 0, 'f', 2)
                        .arg(ldTook > 0 ? 1000.0 / ldTook : 0.0, 0, 'f', 2);
    }
}

void tcGLVideoWidget::drawImageWithoutFrame(QPainter& arPainter, const tcViewGeometry::tcPlan& arPlan)
{
    QImage& lrImage = *mpImage;
    const cv::Mat lcMatrix = tcFrameRegion::matOf(lrImage);
    const cv::Mat lcScaled = tcOpenCVUtils::CropAndResize(lcMatrix, arPlan.mcVisibleSource,
                                                          arPlan.mcVisibleTarget, mnInterpolation);
    if (lcScaled.empty())
        return;
    mcDrawn = QImage(lcScaled.data, lcScaled.cols, lcScaled.rows, static_cast<int>(lcScaled.step[0]),
                     lrImage.format())
                  .copy();
    arPainter.drawImage(arPlan.mcVisibleTarget.topLeft(), mcDrawn);
}

void tcGLVideoWidget::drawDecorations(QPainter& arPainter)
{
    for (const QPointer<tcImgDecoratorInterface>& lpDecorator : msDecorators)
    {
        if (!lpDecorator)
            continue;
        arPainter.save();
        try
        {
            lpDecorator->paintDecoration(this, &arPainter, &mcDrawn);
        }
        catch (const std::exception& arError)
        {
            qWarning() << "tcGLVideoWidget::paintEvent: decorator" << lpDecorator->name() << arError.what();
        }
        catch (...)
        {
            qWarning() << "Unhandled Execption";
        }
        arPainter.restore();
    }
}

void tcGLVideoWidget::keyPressEvent(QKeyEvent* apEvent)
{
    if (apEvent->key() == Qt::Key_Escape)
    {
        emit escapePressed();
        apEvent->accept();
        return;
    }
    QWidget::keyPressEvent(apEvent);
}
