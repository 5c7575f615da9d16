#include "editaxisdialog.h"

#include "ui_editaxisdialog.h"

#include <QPushButton>

tcEditAxisDialog::tcEditAxisDialog(QWidget* apParent) : QDialog(apParent), mpUi(new Ui::tcEditAxisDialog)
{
    mpUi->setupUi(this);
}

tcEditAxisDialog::~tcEditAxisDialog() = default;

tcEditAxisDialog* tcEditAxisDialog::instance()
{
    // Never destroyed before the end of the run; a top-level window without
    // parent, like the plot windows themselves.
    static QPointer<tcEditAxisDialog> spDialog;
    if (!spDialog)
        spDialog = new tcEditAxisDialog();
    return spDialog;
}

void tcEditAxisDialog::setSettings(const tcAxisSettings& arSettings)
{
    mpUi->mpXMin->setValue(arSettings.mdXMin);
    mpUi->mpXMax->setValue(arSettings.mdXMax);
    mpUi->mpYMin->setValue(arSettings.mdYMin);
    mpUi->mpYMax->setValue(arSettings.mdYMax);
    mpUi->mpXTitle->setText(arSettings.msXTitle);
    mpUi->mpYTitle->setText(arSettings.msYTitle);
    mpUi->mpXTicks->setValue(arSettings.mnXTicks);
    mpUi->mpYTicks->setValue(arSettings.mnYTicks);
    mpUi->mpXLocked->setChecked(arSettings.mbXLocked);
    mpUi->mpYLocked->setChecked(arSettings.mbYLocked);
    mpUi->mpXLog->setChecked(arSettings.mbXLog);
    mpUi->mpYLog->setChecked(arSettings.mbYLog);
}

tcAxisSettings tcEditAxisDialog::settings() const
{
    tcAxisSettings lcSettings;
    lcSettings.mdXMin = mpUi->mpXMin->value();
    lcSettings.mdXMax = mpUi->mpXMax->value();
    lcSettings.mdYMin = mpUi->mpYMin->value();
    lcSettings.mdYMax = mpUi->mpYMax->value();
    lcSettings.msXTitle = mpUi->mpXTitle->text();
    lcSettings.msYTitle = mpUi->mpYTitle->text();
    lcSettings.mnXTicks = mpUi->mpXTicks->value();
    lcSettings.mnYTicks = mpUi->mpYTicks->value();
    lcSettings.mbXLocked = mpUi->mpXLocked->isChecked();
    lcSettings.mbYLocked = mpUi->mpYLocked->isChecked();
    lcSettings.mbXLog = mpUi->mpXLog->isChecked();
    lcSettings.mbYLog = mpUi->mpYLog->isChecked();
    return lcSettings;
}

void tcEditAxisDialog::on_buttonBox_clicked(QAbstractButton* apButton)
{
    const QDialogButtonBox::ButtonRole leRole = mpUi->buttonBox->buttonRole(apButton);
    if (leRole == QDialogButtonBox::AcceptRole || leRole == QDialogButtonBox::ApplyRole)
        emit AxisChanged();
    if (leRole == QDialogButtonBox::AcceptRole)
        accept();
    else if (leRole == QDialogButtonBox::RejectRole)
        reject();
}
