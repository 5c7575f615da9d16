#pragma once

#include "imagestatskey.h"
#include "plotchooserwidget.h"

#include <QPoint>
#include <QSize>

// Picks one curve of the image statistics: the kind in the combo box, then
// channel and bin count for a histogram, row or column and channel for a
// profile; the frame-integrity curves need nothing more.
class tcImageStatsChooser : public tcPlotChooserWidget
{
    Q_OBJECT

public:
    // Ranges follow the last frame's channels and size (open while none was
    // seen); the preset key selects the curve to edit.
    tcImageStatsChooser(const tcImageStatsKey& arPreset, int anChannels, const QSize& arFrameSize,
                        const QPoint& arSelection, QWidget* apParent = nullptr);

public slots:
    QString GetKey(QMap<QString, QVariant>& arAttributes) override;

private slots:
    void onKindChanged();

private:
    tcImageStatsKey currentKey() const;

    int mnChannels;
    QSize mcFrameSize;
    QPoint mcSelection;
};
