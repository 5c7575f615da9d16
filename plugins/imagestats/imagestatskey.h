#pragma once

#include <QString>

// What one curve of the image statistics shows, and the key string the plot
// windows keep for it. Keys read "histogram:<channel>:<bins>",
// "hprofile:<row>:<channel>", "vprofile:<column>:<channel>", "idgap",
// "interval", "lost" and "incomplete"; a row or column of -1 follows the line chosen with
// the rectangle tool, a bin count of 0 is chosen from the frame's bit depth.
class tcImageStatsKey
{
public:
    enum teKind
    {
        None = -1,
        Histogram,
        HorizontalProfile,
        VerticalProfile,
        FrameIdGap,
        FrameInterval,
        LostFrames,
        IncompleteFrames
    };

    tcImageStatsKey() = default;
    tcImageStatsKey(teKind aeKind, int anFirst = 0, int anSecond = 0);

    // A key of another form gives an invalid result.
    static tcImageStatsKey parse(const QString& arKey);
    QString toString() const;

    bool isValid() const { return meKind != None; }
    // Whether the curve is computed from the frame's pixels (and so only
    // while somebody looks at it) rather than from its id and time stamp.
    bool needsPixels() const;

    teKind kind() const { return meKind; }
    int channel() const;
    int bins() const;
    // Row of a horizontal, column of a vertical profile.
    int line() const;

    QString title() const;
    QString xLabel() const;
    QString yLabel() const;

private:
    teKind meKind = None;
    int mnFirst = 0;
    int mnSecond = 0;
};
