#pragma once

#include <QWidget>

#include <memory>

namespace Ui
{
class tcCmv50ControlWidget;
}
class tcSensorboard;

// The sensor plugin's control panel: the image-format and HDMI output
// controls. The panel is laid out; its controls are not yet bound to the
// camera.
class tcCmv50ControlWidget : public QWidget
{
    Q_OBJECT

public:
    tcCmv50ControlWidget(tcSensorboard* apPlugin, QWidget* apParent);
    ~tcCmv50ControlWidget() override;

private:
    tcSensorboard* mpPlugin;
    std::unique_ptr<Ui::tcCmv50ControlWidget> mpUi;
};
