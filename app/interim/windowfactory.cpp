#include "windowfactory.h"

#include "cmdconsole.h"
#include "debugleveldlg.h"
#include "logwidget.h"
#include "settingsdialog.h"
#include "videowidget.h"

namespace tnWindows
{
QWidget* createLogWindow()
{
    // Hidden until shown; closing only hides it. The main window owns it.
    return new tcLogWidget(nullptr, false);
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
    auto* lpDialog = new tcSettingsDialog(abExpert, nullptr);
    lpDialog->setInitialPage(arInitialPage);
    return lpDialog;
}

QWidget* createCommandConsole(tcCmdRunner* apRunner)
{
    return new tcCmdConsole(apRunner, nullptr);
}

QWidget* createDebugLevelDialog()
{
    return new tcDebugLevelDlg(nullptr);
}
} // namespace tnWindows
