#pragma once

#include <QDateTime>
#include <QVarLengthArray>

#include <deque>
#include <vector>

// Watches the sequence of frames for losses: per frame the number of frame
// ids skipped since the previous one (0 when none was lost) and the time
// between the two frames' time stamps, with running counts. Frame ids of one
// stream rise by one per frame; a frame id at or below the previous one means
// a new stream (the camera was restarted), which starts a new sequence
// without counting a loss.
//
// Frames that arrived incomplete never become frames; the acquisition
// reports their ids before the next frame, and they are counted as
// incomplete, not as lost, when that frame closes the gap they left.
class tcFrameIntegrity
{
public:
    struct tsRecord
    {
        quint64 mnFrameId;
        quint64 mnGap;
        double mdIntervalMs; // NaN for the first frame of a sequence or without time stamps
        quint64 mnLostSoFar;
        quint64 mnIncompleteSoFar;
    };

    explicit tcFrameIntegrity(int anHistory = 1000);

    void addFrame(quint64 anFrameId, const QDateTime& arTime);
    // A frame that arrived incomplete (all bits set: id unknown).
    void addIncomplete(quint64 anFrameId);
    // The stream ended: the next frame starts a new sequence.
    void endSequence();
    void reset();

    quint64 frames() const { return mnFrames; }
    quint64 lost() const { return mnLost; }
    quint64 incomplete() const { return mnIncomplete; }
    int sequences() const { return mnSequences; }
    const std::deque<tsRecord>& history() const { return mcHistory; }

    // The last frames' records as curves over the frame id.
    void gaps(QVarLengthArray<double, 256>& arX, QVarLengthArray<double, 256>& arY) const;
    void intervals(QVarLengthArray<double, 256>& arX, QVarLengthArray<double, 256>& arY) const;
    void lostSoFar(QVarLengthArray<double, 256>& arX, QVarLengthArray<double, 256>& arY) const;
    void incompleteSoFar(QVarLengthArray<double, 256>& arX, QVarLengthArray<double, 256>& arY) const;

private:
    template <typename tValue>
    void curve(QVarLengthArray<double, 256>& arX, QVarLengthArray<double, 256>& arY, tValue&& arValue) const;

    const size_t mnHistory;
    std::deque<tsRecord> mcHistory;
    bool mbInSequence = false;
    quint64 mnLastId = 0;
    QDateTime mcLastTime;
    quint64 mnFrames = 0;
    quint64 mnLost = 0;
    quint64 mnIncomplete = 0;
    // Ids of incomplete frames reported since the last frame.
    std::vector<quint64> msPendingIncomplete;
    int mnSequences = 0;
};
