#pragma once

#include "imagebuffer.h"

#include <QImage>
#include <QMetaType>
#include <QObject>
#include <QRect>
#include <QSize>
#include <QThread>

#include <opencv2/core.hpp>

// One picture the display wants: a part of a frame scaled to a size.
struct tcRenderRequest
{
    tpImageBuffer mpFrame;
    // The frame's filtered matrix when a display filter built one (then it,
    // not the delivered bytes, is what is shown); empty otherwise. A shared
    // header, so the matrix stays alive while the request does.
    cv::Mat mcFiltered;
    QRect mcSource; // frame pixels
    QSize mcSize;   // output pixels
    int mnInterpolation = 1;
    quint64 mnSerial = 0; // the frame's place in the order of arrival

    // The same picture: the same frame (by its serial number, which a request
    // keeps after letting go of the frame), part, size and interpolation.
    bool sameView(const tcRenderRequest& arOther) const
    {
        return mnSerial == arOther.mnSerial && mcSource == arOther.mcSource && mcSize == arOther.mcSize &&
               mnInterpolation == arOther.mnInterpolation;
    }
};

Q_DECLARE_METATYPE(tcRenderRequest)

struct tcRenderResult
{
    QImage mcImage;
    QRect mcSource;
    QSize mcSize;
    int mnInterpolation = 1;
    quint64 mnSerial = 0;
    double mdMilliseconds = 0;
};
Q_DECLARE_METATYPE(tcRenderResult)

// Turns a render request into the display image. Views that shrink the frame
// by two or more average blocks of the delivered bytes (never demosaicing or
// unpacking the whole sensor; from four on, one line pair per block), spread
// over OpenCV's threads by output line, and scale the result to the output
// size; views at 1:1 or magnified, and the small shrink in between, convert
// exactly the visible region, so their pixels are those of the frame's full
// conversion.
class tcFrameRenderer
{
public:
    static QImage render(const tcRenderRequest& arRequest);

    tcFrameRenderer() = delete;

private:
    static QImage renderFiltered(const tcRenderRequest& arRequest);
};

// Renders requests on its own thread, one at a time, and always the newest:
// a request that arrives while another is being rendered waits in a
// one-place mailbox, replacing (and counting as dropped) any frame that was
// already waiting there. So the display never falls behind the camera, and
// no frame is held longer than it takes to show it.
//
// Lives in the GUI thread; only the rendering runs on the worker thread.
class tcRenderQueue : public QObject
{
    Q_OBJECT

public:
    explicit tcRenderQueue(QObject* apParent = nullptr);
    ~tcRenderQueue() override;

    void submit(tcRenderRequest arRequest);
    // Forgets a request that has not started yet (its frame is let go).
    void clearPending();
    // Waits for the render under way and forgets every request, so that no
    // frame is held any more: the stream frees its buffers when it closes.
    // The next submit starts the thread again.
    void stop();
    bool isBusy() const { return mbBusy; }
    bool hasPending() const { return mbHasPending; }
    // Whether a request for this view is being rendered or waiting.
    bool isQueued(const tcRenderRequest& arRequest) const;
    quint64 droppedFrames() const { return mnDropped; }
    // Blocks (running the event loop) until nothing is being rendered or
    // waits; false on time-out. For tests and shutdown.
    bool waitIdle(int anTimeoutMs);

signals:
    void rendered(tcRenderResult acResult);
    void work(tcRenderRequest acRequest);

private slots:
    void finished(tcRenderResult acResult);

private:
    QThread mcThread;
    QObject* mpWorker = nullptr;
    tcRenderRequest mcInFlight;
    tcRenderRequest mcPending;
    bool mbBusy = false;
    bool mbHasPending = false;
    quint64 mnDropped = 0;
};
