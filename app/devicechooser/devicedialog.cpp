#include "devicedialog.h"

#include "gentltreemodel.h"
#include "ui_devicedialog.h"

#include <QDebug>

namespace
{
constexpr int kRefreshMs = 500;
}

DeviceDialog::DeviceDialog(QWidget* apParent, GenTLTreeModel* apModel, tcGenTLInterface* /*apBinding*/)
    : QDialog(apParent), mpUi(std::make_unique<Ui::DeviceDialog>()), mpModel(apModel)
{
    mpUi->setupUi(this);
    mpUi->GenTLTreeView->setSelectionBehavior(QAbstractItemView::SelectRows);
    mpUi->GenTLTreeView->setModel(mpModel);

    connect(mpUi->GenTLTreeView, &QTreeView::clicked, this, &DeviceDialog::ItemClicked);
    connect(mpUi->GenTLTreeView, &QTreeView::doubleClicked, this, &DeviceDialog::ItemDoubleClicked);
    connect(mpModel, &QAbstractItemModel::modelReset, this, &DeviceDialog::expandInterfaces);
    expandInterfaces();

    mnTimerId = startTimer(kRefreshMs);
}

DeviceDialog::~DeviceDialog()
{
    if (mnTimerId)
        killTimer(mnTimerId);
}

void DeviceDialog::timerEvent(QTimerEvent* /*apEvent*/)
{
    mpModel->refresh();
}

// Interfaces with devices open up; empty ones stay closed.
void DeviceDialog::expandInterfaces()
{
    for (int i = 0; i < mpModel->rowCount(); ++i)
    {
        const QModelIndex lcIndex = mpModel->index(i, 0);
        mpUi->GenTLTreeView->setExpanded(lcIndex, mpModel->rowCount(lcIndex) > 0);
    }
}

void DeviceDialog::ItemClicked(const QModelIndex& arIndex)
{
    mnInterfaceIndex = mpModel->interfaceIndex(arIndex);
    msDeviceId = arIndex.sibling(arIndex.row(), 0).data().toString();
    msDeviceModel = arIndex.sibling(arIndex.row(), 1).data().toString();
    qDebug() << msDeviceId;
}

void DeviceDialog::ItemDoubleClicked(const QModelIndex& arIndex)
{
    if (mpModel->rowCount(arIndex.sibling(arIndex.row(), 0)) > 0)
        return;
    ItemClicked(arIndex);
    accept();
}
