#include "windowfactory.h"

#include "basicconsole.h"
#include "basicsettingsdialog.h"
#include "debuglevelsview.h"
#include "framewindow.h"
#include "logview.h"

namespace tnWindows
{
QWidget* createLogWindow()
{
    return new tcLogView();
}

QWidget* createVideoWindow(tcCameraInterface* apCamera)
{
    return new tcFrameWindow(apCamera);
}

QWidget* createSnapshotWindow(const tpImageBuffer& arFrame)
{
    auto* lpWindow = new tcFrameWindow(nullptr);
    lpWindow->showStill(arFrame);
    return lpWindow;
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
