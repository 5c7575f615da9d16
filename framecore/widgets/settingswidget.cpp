#include "settingswidget.h"

tcSettingsWidget::tcSettingsWidget(bool abExpert, QWidget* apParent)
    : QWidget(apParent), tcDebugSource(), mbExpert(abExpert)
{
}

tcSettingsWidget::~tcSettingsWidget() = default;

void tcSettingsWidget::setExpert(bool abExpert)
{
    mbExpert = abExpert;
}

QStringList tcSettingsWidget::subGroups() const
{
    return {};
}

void tcSettingsWidget::setGroup(const QString&)
{
}
