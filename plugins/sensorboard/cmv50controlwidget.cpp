#include "cmv50controlwidget.h"

#include "ui_cmv50controlwidget.h"

tcCmv50ControlWidget::tcCmv50ControlWidget(tcSensorboard* apPlugin, QWidget* apParent)
    : QWidget(apParent), mpPlugin(apPlugin), mpUi(std::make_unique<Ui::tcCmv50ControlWidget>())
{
    mpUi->setupUi(this);
    setWindowTitle(tr("CMV 50000"));
}

tcCmv50ControlWidget::~tcCmv50ControlWidget() = default;
