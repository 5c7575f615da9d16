// Shows the video panel on a simulated camera in a real window, and after a
// few seconds saves a shot of the whole screen. For looking at the display
// under a virtual X server:
//   videodemo [device id] [seconds] [shot.png]
#include "glvideowidget.h"
#include "opencamera.h"
#include "videowidget.h"

#include <QApplication>
#include <QDebug>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication lcApp(argc, argv);
    const QStringList lsArgs = lcApp.arguments();
    const QByteArray lcDevice = lsArgs.value(1, QString::fromLatin1(tnSimcam::kColorId)).toLatin1();
    const int lnSeconds = lsArgs.value(2, QStringLiteral("4")).toInt();
    const QString lsShot = lsArgs.value(3, QStringLiteral("videodemo.png"));
    tcSimcamFixture::useTemporarySettings();
    tcImageBuffer::registerMetaType();

    tcOpenCamera lcCamera(lcDevice.constData());
    if (!lcCamera.mbOpen)
        return 2;
    int lnResult = 0;
    {
        tcVideoWidget lcPanel(&lcCamera.mcCamera, QList<tcViewerInterface*>());
        lcPanel.setWindowTitle(QStringLiteral("Video - %1").arg(lcCamera.mcCamera.getModel()));
        lcPanel.resize(1200, 760);
        lcPanel.show();
        QObject::connect(&lcCamera.mcCamera, &tcCameraInterface::NewFrame, &lcPanel,
                         &tcVideoWidget::NewFrame);
        emit lcPanel.StartVideo();
        QTimer::singleShot(lnSeconds * 1000,
                           [&]
                           {
                               // Hover over the middle of the picture for the read-out.
                               QMouseEvent lcMove(QEvent::MouseMove, lcPanel.surface()->rect().center(),
                                                  Qt::NoButton, Qt::NoButton, Qt::NoModifier);
                               QApplication::sendEvent(lcPanel.surface(), &lcMove);
                               QTimer::singleShot(
                                   300,
                                   [&]
                                   {
                                       if (QWidget* lpButton =
                                               lcPanel.findChild<QWidget*>(QStringLiteral("btnShowOptions")))
                                           qInfo() << "options button" << lpButton->isVisible()
                                                   << lpButton->mapTo(&lcPanel, QPoint()) << lpButton->size();
                                       const QPixmap lcShot = QGuiApplication::primaryScreen()->grabWindow(0);
                                       lnResult = lcShot.save(lsShot) ? 0 : 3;
                                       lcPanel.close();
                                       lcApp.quit();
                                   });
                           });
        lcApp.exec();
        lcPanel.NewFrame(tpImageBuffer());
    }
    lcCamera.close();
    return lnResult;
}
