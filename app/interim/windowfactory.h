#pragma once

#include "imagebuffer.h"

#include <QString>

class QDialog;
class QWidget;
class tcCameraInterface;
class tcCmdRunner;

// Where the main window gets the windows of other families. Each function
// makes a new top-level window owned by the caller (the main window sets
// delete-on-close). The windows are found by their Qt interface, so any class
// with the same signals and slots can take the place of today's:
//
//  log window     slots LogMessage(QString), LogError(QString)
//  video window   slot NewFrame(tpImageBuffer); signals Message(QString),
//                 Error(QString); it starts and stops the stream itself
//  settings       a QDialog whose acceptance means the settings were stored
namespace tnWindows
{
QWidget* createLogWindow();
QWidget* createVideoWindow(tcCameraInterface* apCamera);
// A still copy of the frame: the window keeps none of the camera's buffers.
// The camera (may be null) is what its rectangle tools act on.
QWidget* createSnapshotWindow(const tpImageBuffer& arFrame, tcCameraInterface* apCamera = nullptr);
// Opens on the page of that title when there is one.
QDialog* createSettingsDialog(bool abExpert, const QString& arInitialPage);
QWidget* createCommandConsole(tcCmdRunner* apRunner);
QWidget* createDebugLevelDialog();
} // namespace tnWindows
