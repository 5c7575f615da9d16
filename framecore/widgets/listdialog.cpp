#include "listdialog.h"

#include "ui_listdialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>

tcListDialog::tcListDialog(const QString& arTitle, QWidget* apParent)
    : QDialog(apParent), mpUi(std::make_unique<Ui::tcListDialogClass>())
{
    mpUi->setupUi(this);
    setWindowTitle(arTitle);
    connect(mpUi->mpButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(mpUi->mpButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(mpUi->mpList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

tcListDialog::~tcListDialog() = default;

void tcListDialog::SetItems(const QStringList& arItems)
{
    mpUi->mpList->clear();
    mpUi->mpList->addItems(arItems);
    mpUi->mpList->setCurrentRow(0);
}

QString tcListDialog::getSelectedItem() const
{
    const QListWidgetItem* lpItem = mpUi->mpList->currentItem();
    return lpItem ? lpItem->text() : QString();
}

QVector<int> tcListDialog::SelectedItems() const
{
    QVector<int> lsRows;
    for (QListWidgetItem* lpItem : mpUi->mpList->selectedItems())
        lsRows.append(mpUi->mpList->row(lpItem));
    return lsRows;
}

QListWidget* tcListDialog::List() const
{
    return mpUi->mpList;
}

void tcListDialog::HideCancel()
{
    mpUi->mpButtons->button(QDialogButtonBox::Cancel)->hide();
}
