#include "framerouter.h"

#include "genicamiface.h"
#include "imagefilterinterface.h"
#include "imagesinkinterface.h"
#include "pluginmanager.h"
#include "weaklist.h"

#include <QDebug>

namespace
{
// Runs one plugin operation; GenICam and other exceptions end at this
// boundary as warnings.
template <typename tFunc> void guarded(const tcViewerInterface& arPiece, tFunc&& arFunc)
{
    try
    {
        arFunc();
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
    }
    catch (...)
    {
        qWarning() << "MainWindow::NewFrame" << arPiece.name() << "Unhandled Execption";
    }
}
} // namespace

tcFrameRouter::tcFrameRouter(QObject* apParent) : QObject(apParent) {}

void tcFrameRouter::collect(tcPluginManager& arPlugins)
{
    mlSinks.clear();
    for (tcViewerInterface* lpInterface : arPlugins.allInterfaces(QStringLiteral("tcImageSinkInterface")))
        if (auto* lpSink = qobject_cast<tcImageSinkInterface*>(lpInterface))
            mlSinks << lpSink;
    mlFilters.clear();
    for (tcViewerInterface* lpInterface : arPlugins.allInterfaces(QStringLiteral("tcImageFilterInterface")))
        if (auto* lpFilter = qobject_cast<tcImageFilterInterface*>(lpInterface))
        {
            mlFilters << lpFilter;
            connect(lpFilter, &tcImageFilterInterface::SettingsChanged, this,
                    &tcFrameRouter::filterSettingsChanged, Qt::UniqueConnection);
        }
}

tpImageBuffer tcFrameRouter::route(tpImageBuffer apFrame)
{
    for (tcImageFilterInterface* lpFilter : liveObjects<tcImageFilterInterface>(mlFilters))
        guarded(*lpFilter,
                [&]
                {
                    if (tpImageBuffer lpNext = lpFilter->filterImage(apFrame))
                        apFrame = lpNext;
                });
    for (tcImageSinkInterface* lpSink : liveObjects<tcImageSinkInterface>(mlSinks))
        guarded(*lpSink, [&] { lpSink->NewFrame(apFrame); });
    return apFrame;
}

QList<tcViewerInterface*> tcFrameRouter::filters() const
{
    return liveObjects<tcViewerInterface>(mlFilters);
}

QList<tcViewerInterface*> tcFrameRouter::sinks() const
{
    return liveObjects<tcViewerInterface>(mlSinks);
}
