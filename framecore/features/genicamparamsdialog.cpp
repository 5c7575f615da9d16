#include "genicamparamsdialog.h"

#include "camerainterface.h"
#include "genapidelegate.h"
#include "genicammodel.h"
#include "ui_genicamparamsdialog.h"

#include <QHeaderView>

using namespace GenApi;

namespace
{
const int gnMinNameWidth = 100;

QSharedPointer<tcGenICamModel> modelFor(tcCameraInterface* apCamera)
{
    return QSharedPointer<tcGenICamModel>::create(apCamera ? &apCamera->nodeMap() : nullptr);
}
} // namespace

tcGenICamParamsDialog::tcGenICamParamsDialog(QWidget* apParent, tcCameraInterface* apCamera)
    : tcGenICamParamsDialog(apParent, modelFor(apCamera))
{
}

tcGenICamParamsDialog::tcGenICamParamsDialog(QWidget* apParent, QSharedPointer<tcGenICamModel> apModel)
    : QDialog(apParent), mpUi(std::make_unique<Ui::GenICamParams>()), mpModel(std::move(apModel))
{
    mpUi->setupUi(this);
    setUp();
}

tcGenICamParamsDialog::~tcGenICamParamsDialog() = default;

void tcGenICamParamsDialog::setUp()
{
    if (!mpModel)
        mpModel = QSharedPointer<tcGenICamModel>::create(nullptr);
    mpModel->setHorizontalHeaderLabels({tr("Attribute"), tr("Value")});
    QTreeView* lpTree = mpUi->treeView;
    // Rows of one height spare the view from sizing (and so reading) every
    // value it scrolls past.
    lpTree->setUniformRowHeights(true);
    lpTree->setModel(mpModel.data());
    lpTree->setItemDelegateForColumn(1, new tcGenApiDelegate(mpModel, this));
    for (int lnColumn = 0; lnColumn < mpModel->columnCount(); ++lnColumn)
        lpTree->resizeColumnToContents(lnColumn);
    connect(lpTree, &QTreeView::clicked, this, &tcGenICamParamsDialog::ItemClicked);
}

QTreeView* tcGenICamParamsDialog::treeView() const
{
    return mpUi->treeView;
}

void tcGenICamParamsDialog::ItemClicked(const QModelIndex& arIndex)
{
    const CNodePtr lpNode = mpModel->nodeOf(arIndex);
    if (lpNode.IsValid())
        mpUi->StringDescription->setText(QString::fromLocal8Bit(lpNode->GetToolTip().c_str()));
}

void tcGenICamParamsDialog::on_treeView_expanded(const QModelIndex& arIndex)
{
    Q_UNUSED(arIndex);
}

void tcGenICamParamsDialog::showEvent(QShowEvent* apEvent)
{
    QDialog::showEvent(apEvent);
    if (mpUi->treeView->columnWidth(0) < gnMinNameWidth)
        mpUi->treeView->setColumnWidth(0, gnMinNameWidth);
}
