#include "windowfactory.h"

#include "basicconsole.h"
#include "basicsettingsdialog.h"
#include "debuglevelsview.h"
#include "logview.h"
#include "videowidget.h"

namespace tnWindows
{
QWidget* createLogWindow()
{
    return new tcLogView();
}

QWidget* createVideoWindow(tcCameraInterface* apCamera)
{
    return new tcVideoWidget(apCamera);
}

QWidget* createSnapshotWindow(const tpImageBuffer& arFrame, tcCameraInterface* apCamera)
{
    return tcVideoWidget::newSnapshot(apCamera, arFrame);
}

QDialog* createSettingsDialog(bool abExpert, const QString& arInitialPage)
{
    auto* lpDialog = new tcBasicSettingsDialog(abExpert);
    lpDialog->showPage(arInitialPage);
    return lpDialog;
}

QWidget* createCommandConsole(tcCmdRunner* apRunner)
{
    return new tcBasicConsole(apRunner);
}

QWidget* createDebugLevelDialog()
{
    return new tcDebugLevelsView();
}
} // namespace tnWindows
