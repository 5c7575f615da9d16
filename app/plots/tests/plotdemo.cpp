// A plot window over the simulated mono camera, wired the way the main
// window wires one: plugins from the plugin folder, every plottable source
// handed to the window, every frame handed to the image sinks. Not a test:
// built on request (target kx_plotdemo) to look at the window.
//
//   kx_plotdemo [key...]   e.g. kx_plotdemo histogram:0:0 hprofile:-1:0
//   kx_plotdemo            opens the curve chooser
//
// KX_DEMO_FAULTS passes simcam faults, e.g. "drop@5+,incomplete@7+" to
// watch the frame-integrity curves.
#include "opencamera.h"
#include "plotproperties.h"
#include "plotwidget.h"
#include "pluginmanager.h"

#include "imagesinkinterface.h"
#include "plottableinterface.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication lcApp(argc, argv);
    tcSimcamFixture::useTemporarySettings();
    tcPluginManager* lpManager = tcPluginManager::getInstance();
    lpManager->loadPlugins(nullptr, QStringLiteral(KX_PLUGIN_DIR));

    tcPlotWidget* lpWindow = new tcPlotWidget();
    lpWindow->setAttribute(Qt::WA_DeleteOnClose);
    lpWindow->followPlugins(lpManager);

    tcOpenCamera lcCamera(tnSimcam::kMonoId, qgetenv("KX_DEMO_FAULTS"));
    lpManager->setCamera(&lcCamera.mcCamera);
    lcCamera.set("Width", 1024);
    lcCamera.set("Height", 768);
    lcCamera.set("PixelFormat", QStringLiteral("Mono12p"));
    QObject::connect(&lcCamera.mcCamera, &tcCameraInterface::NewFrame, lpWindow,
                     [lpManager](tpImageBuffer apFrame)
                     {
                         for (tcViewerInterface* lpSink :
                              lpManager->allInterfaces(QStringLiteral("tcImageSinkInterface")))
                             if (auto* lpImageSink = qobject_cast<tcImageSinkInterface*>(lpSink))
                                 lpImageSink->NewFrame(apFrame);
                     });

    // Without keys the chooser opens, as after a click on "Add Plot...".
    const QStringList lsKeys = lcApp.arguments().mid(1);
    if (lsKeys.isEmpty())
        QTimer::singleShot(500, lpWindow, &tcPlotWidget::addRow);
    const QList<QColor> lsColors = tcPlotWidget::defaultPalette();
    for (int lnIndex = 0; lnIndex < lsKeys.size(); ++lnIndex)
    {
        tcPlotProperties lcProperties;
        lcProperties.msKey = lsKeys[lnIndex];
        lcProperties.mcLinePen = QPen(lsColors[lnIndex % lsColors.size()], 1);
        lcProperties.mhAttributes.insert(QStringLiteral("title"), lsKeys[lnIndex]);
        lpWindow->onPlotChanged(lcProperties);
    }
    lpWindow->resize(1000, 600);
    lpWindow->show();
    lpWindow->onExpand();
    lcCamera.mcCamera.startVideo();
    const int lnExit = lcApp.exec();
    lcCamera.mcCamera.stopVideo();
    lpManager->setCamera(nullptr);
    lpManager->unloadPlugins();
    return lnExit;
}
