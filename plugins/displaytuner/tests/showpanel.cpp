// Shows the video settings panel bound to a simulated camera, with its
// actions in a tool bar as the video display puts them, for looking at it.
// Argument: the device id (default the mono camera); any second argument
// starts the video.
#include "opencamera.h"
#include "videosettingscontrolwidget.h"

#include <QApplication>
#include <QMainWindow>
#include <QToolBar>

int main(int argc, char* argv[])
{
    QApplication lcApp(argc, argv);
    tcSimcamFixture::useTemporarySettings();
    tcImageBuffer::registerMetaType();
    const QByteArray lsDevice = argc > 1 ? QByteArray(argv[1]) : QByteArray(tnSimcam::kMonoId);
    tcOpenCamera lcCamera(lsDevice.constData());
    if (!lcCamera.mbOpen)
        return 1;
    QMainWindow lcWindow;
    auto* lpPanel = new tcVideoSettingsControlWidget(nullptr);
    lpPanel->setCamera(&lcCamera.mcCamera);
    lcWindow.addToolBar(QStringLiteral("Video"))->addActions(lpPanel->actions());
    lcWindow.setCentralWidget(lpPanel);
    lcWindow.setWindowTitle(lpPanel->windowTitle());
    lcWindow.show();
    if (argc > 2)
        lpPanel->playAction()->setChecked(true);
    const int lnResult = lcApp.exec();
    lpPanel->setCamera(nullptr);
    return lnResult;
}
