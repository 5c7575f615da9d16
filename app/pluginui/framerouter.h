#pragma once

#include "imagebuffer.h"

#include <QList>
#include <QObject>
#include <QPointer>

class tcImageFilterInterface;
class tcImageSinkInterface;
class tcPluginManager;
class tcViewerInterface;

// The plugins' part of the way a frame takes to the screen: the active image
// filters in plugin order, each handing the next the frame to use, then the
// image sinks. A plugin that throws is reported and skipped; the frame goes on.
class tcFrameRouter : public QObject
{
    Q_OBJECT

public:
    explicit tcFrameRouter(QObject* apParent = nullptr);

    // Takes the filters and sinks of the manager's active plugins.
    void collect(tcPluginManager& arPlugins);
    // The frame the video windows should show.
    tpImageBuffer route(tpImageBuffer apFrame);

    QList<tcViewerInterface*> filters() const;
    QList<tcViewerInterface*> sinks() const;

signals:
    // A filter's correction changed: the shown frame should be filtered again.
    void filterSettingsChanged();

private:
    QList<QPointer<tcImageFilterInterface>> mlFilters;
    QList<QPointer<tcImageSinkInterface>> mlSinks;
};
