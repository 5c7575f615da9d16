#include "framerenderer.h"

#include "frameregion.h"
#include "opencvutils.h"

#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>

#include <opencv2/imgproc.hpp>

namespace
{
const int gnRequestType = qRegisterMetaType<tcRenderRequest>("tcRenderRequest");
const int gnResultType = qRegisterMetaType<tcRenderResult>("tcRenderResult");

// Shrinking by two or more averages (area); the small shrinks left after
// block averaging, or of a view just under the frame's size, are bilinear:
// OpenCV's area method at such ratios costs several times a bilinear pass
// and looks the same at display size. Enlarging uses the user's choice.
int displayInterpolation(const cv::Size& arSource, const cv::Size& arOutput, int anInterpolation)
{
    if (arOutput.area() >= arSource.area())
        return anInterpolation;
    if (arSource.width >= 2 * arOutput.width && arSource.height >= 2 * arOutput.height)
        return cv::INTER_AREA;
    return cv::INTER_LINEAR;
}

// The whole of a matrix scaled into a new image of the given size and format.
QImage scaledInto(const cv::Mat& arSource, const QSize& arSize, QImage::Format aeFormat, int anInterpolation)
{
    QImage lcImage = tcFrameRegion::pooledImage(arSize, aeFormat);
    if (lcImage.isNull() || arSource.empty())
        return QImage();
    cv::Mat lcTarget = tcFrameRegion::matOf(lcImage);
    if (arSource.size() == lcTarget.size())
        arSource.copyTo(lcTarget);
    else
        cv::resize(arSource, lcTarget, lcTarget.size(), 0, 0,
                   displayInterpolation(arSource.size(), lcTarget.size(), anInterpolation));
    return lcImage;
}

// The region averaged over blocks of the largest whole size that still
// leaves at least the output size; unchanged when it shrinks by less than two.
cv::Mat shrunkByWholeBlocks(const cv::Mat& arRegion, const QSize& arOutput)
{
    const int lnBlock = std::min(arRegion.cols / arOutput.width(), arRegion.rows / arOutput.height());
    if (lnBlock < 2)
        return arRegion;
    const cv::Mat lcWhole =
        arRegion(cv::Rect(0, 0, arRegion.cols / lnBlock * lnBlock, arRegion.rows / lnBlock * lnBlock));
    cv::Mat lcSmall;
    cv::resize(lcWhole, lcSmall, cv::Size(lcWhole.cols / lnBlock, lcWhole.rows / lnBlock), 0, 0,
               cv::INTER_AREA);
    return lcSmall;
}
} // namespace

// The worker object of the render thread.
class tcRenderWorker : public QObject
{
    Q_OBJECT

public slots:
    void render(tcRenderRequest acRequest)
    {
        QElapsedTimer lcClock;
        lcClock.start();
        tcRenderResult lcResult;
        lcResult.mcImage = tcFrameRenderer::render(acRequest);
        lcResult.mcSource = acRequest.mcSource;
        lcResult.mcSize = acRequest.mcSize;
        lcResult.mnInterpolation = acRequest.mnInterpolation;
        lcResult.mnSerial = acRequest.mnSerial;
        lcResult.mdMilliseconds = lcClock.nsecsElapsed() / 1e6;
        emit done(lcResult);
    }

signals:
    void done(tcRenderResult acResult);
};

QImage tcFrameRenderer::render(const tcRenderRequest& arRequest)
{
    if (!arRequest.mpFrame || arRequest.mcSize.isEmpty() || arRequest.mcSource.isEmpty())
        return QImage();
    try
    {
        if (!arRequest.mcFiltered.empty())
            return renderFiltered(arRequest);
        const tcImageBuffer& lrFrame = *arRequest.mpFrame;
        const tcFrameRegion::tcLayout lcLayout = tcFrameRegion::layout(lrFrame);
        const QImage::Format leFormat = tcFrameRegion::displayFormat(lcLayout);
        const cv::Rect lcSource = tcOpenCVUtils::ConvertQRectToCvRect(arRequest.mcSource);
        const int lnBin = tcFrameRegion::binFactor(lcLayout, lcSource.size(),
                                                   tcOpenCVUtils::ConvertQSizeToCvSize(arRequest.mcSize));
        // Eight-bit mono and RGB bytes are shown as they are: scaled straight
        // from the frame, without an intermediate copy.
        if (lnBin == 1 && lcLayout.meStorage == tcFrameRegion::teStorage::Bytes8 &&
            lcLayout.meKind != tcFrameRegion::teKind::Bayer)
            return scaledInto(tcFrameRegion::raw(lrFrame, lcSource), arRequest.mcSize, leFormat,
                              arRequest.mnInterpolation);
        QImage lcPart = lnBin > 1 ? tcFrameRegion::binned(lrFrame, lcSource, lnBin, arRequest.mcSize.height())
                                  : tcFrameRegion::display(lrFrame, lcSource);
        if (lcPart.isNull())
            return lcPart;
        return scaledInto(tcFrameRegion::matOf(lcPart), arRequest.mcSize, leFormat,
                          arRequest.mnInterpolation);
    }
    catch (const cv::Exception& arError)
    {
        qWarning() << "tcFrameRenderer::render:" << arError.what();
    }
    catch (const std::exception& arError)
    {
        qWarning() << "tcFrameRenderer::render:" << arError.what();
    }
    return QImage();
}

QImage tcFrameRenderer::renderFiltered(const tcRenderRequest& arRequest)
{
    const cv::Mat& lrFiltered = arRequest.mcFiltered;
    const cv::Rect lcSource = tcOpenCVUtils::ConvertQRectToCvRect(arRequest.mcSource) &
                              cv::Rect(0, 0, lrFiltered.cols, lrFiltered.rows);
    if (lcSource.empty() || (lrFiltered.channels() != 1 && lrFiltered.channels() != 3))
        return QImage();
    const QImage::Format leFormat =
        lrFiltered.channels() == 3 ? QImage::Format_RGB888 : QImage::Format_Grayscale8;
    const double ldTo8Bit = tcFrameRegion::layout(*arRequest.mpFrame).mdTo8Bit;
    // Averaged first by whole blocks (OpenCV's fast path for area averaging),
    // reduced to 8 bits afterwards: a fraction of converting every pixel.
    const cv::Mat lcRegion = shrunkByWholeBlocks(lrFiltered(lcSource), arRequest.mcSize);
    if (lcRegion.depth() == CV_8U)
        return scaledInto(lcRegion, arRequest.mcSize, leFormat, arRequest.mnInterpolation);
    cv::Mat lcEightBit;
    lcRegion.convertTo(lcEightBit, CV_8U, ldTo8Bit);
    return scaledInto(lcEightBit, arRequest.mcSize, leFormat, arRequest.mnInterpolation);
}

tcRenderQueue::tcRenderQueue(QObject* apParent) : QObject(apParent)
{
    Q_UNUSED(gnRequestType);
    Q_UNUSED(gnResultType);
    auto* lpWorker = new tcRenderWorker;
    mpWorker = lpWorker;
    lpWorker->moveToThread(&mcThread);
    connect(this, &tcRenderQueue::work, lpWorker, &tcRenderWorker::render, Qt::QueuedConnection);
    connect(lpWorker, &tcRenderWorker::done, this, &tcRenderQueue::finished, Qt::QueuedConnection);
    mcThread.setObjectName(QStringLiteral("video render"));
    mcThread.start();
}

tcRenderQueue::~tcRenderQueue()
{
    mcThread.quit();
    mcThread.wait();
    // Deleted here, not later: a request still posted to it holds a frame,
    // and deleting the worker discards the posted request and the frame.
    delete mpWorker;
}

void tcRenderQueue::submit(tcRenderRequest arRequest)
{
    if (mbBusy)
    {
        if (mbHasPending && mcPending.mnSerial != arRequest.mnSerial &&
            mcPending.mnSerial != mcInFlight.mnSerial)
            ++mnDropped;
        mcPending = std::move(arRequest);
        mbHasPending = true;
        return;
    }
    if (!mcThread.isRunning())
        mcThread.start();
    mbBusy = true;
    mcInFlight = std::move(arRequest);
    emit work(mcInFlight);
    // Only the render thread holds the frame while it works, so that the
    // frame's buffer goes back to the camera as soon as it is rendered, not
    // when this thread next gets to the result (a camera that closes waits
    // for its buffers while this thread is busy closing it).
    mcInFlight.mpFrame.reset();
    mcInFlight.mcFiltered.release();
}

void tcRenderQueue::clearPending()
{
    mcPending = tcRenderRequest();
    mbHasPending = false;
}

void tcRenderQueue::stop()
{
    mcThread.quit();
    mcThread.wait();
    // A request posted and not yet taken holds its frame; a result of a
    // request forgotten here is not wanted.
    QCoreApplication::removePostedEvents(mpWorker);
    QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    mcInFlight = tcRenderRequest();
    mbBusy = false;
    clearPending();
}

bool tcRenderQueue::isQueued(const tcRenderRequest& arRequest) const
{
    return (mbBusy && mcInFlight.sameView(arRequest)) || (mbHasPending && mcPending.sameView(arRequest));
}

void tcRenderQueue::finished(tcRenderResult acResult)
{
    mcInFlight = tcRenderRequest();
    mbBusy = false;
    if (mbHasPending)
    {
        tcRenderRequest lcNext = std::move(mcPending);
        clearPending();
        submit(std::move(lcNext));
    }
    emit rendered(acResult);
}

bool tcRenderQueue::waitIdle(int anTimeoutMs)
{
    QElapsedTimer lcClock;
    lcClock.start();
    while (mbBusy || mbHasPending)
    {
        if (lcClock.elapsed() > anTimeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

#include "framerenderer.moc"
