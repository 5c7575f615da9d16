#include "debugleveldlg.h"

#include "debugsource.h"
#include "ui_debugleveldlg.h"

#include <QSet>
#include <QSignalBlocker>

tcDebugLevelDlg::tcDebugLevelDlg(QWidget* apParent)
    : QDialog(apParent), mpUi(std::make_unique<Ui::tcDebugLevelDlg>())
{
    mpUi->setupUi(this);
    connect(mpUi->treeWidget, &QTreeWidget::itemDoubleClicked, this, &tcDebugLevelDlg::treeItemDoubleClicked);
    connect(mpUi->treeWidget, &QTreeWidget::itemChanged, this, &tcDebugLevelDlg::treeItemChanged);
}

tcDebugLevelDlg::~tcDebugLevelDlg()
{
    // An open editor commits while the tree is destroyed, after the form.
    disconnect(mpUi->treeWidget, nullptr, this, nullptr);
}

void tcDebugLevelDlg::showEvent(QShowEvent* apEvent)
{
    fillTree();
    QDialog::showEvent(apEvent);
}

QTreeWidgetItem* tcDebugLevelDlg::nameRow(const QString& arName)
{
    const QList<QTreeWidgetItem*> lcRows = mpUi->treeWidget->findItems(arName, Qt::MatchExactly, 0);
    if (!lcRows.isEmpty())
        return lcRows.first();
    return new QTreeWidgetItem(mpUi->treeWidget, QStringList(arName));
}

void tcDebugLevelDlg::fillInstances(QTreeWidgetItem* apNameRow)
{
    QSet<QString> lsLive;
    for (const tcDebugSource* lpSource : tcDebugSource::getDbgSources(apNameRow->text(0)))
    {
        const QString lsInstance = lpSource->getInstanceName();
        const QString lsLevel = QString::number(lpSource->GetDbgLevel());
        lsLive.insert(lsInstance);
        QTreeWidgetItem* lpRow = nullptr;
        for (int lnChild = 0; lnChild < apNameRow->childCount() && !lpRow; ++lnChild)
            if (apNameRow->child(lnChild)->text(0) == lsInstance)
                lpRow = apNameRow->child(lnChild);
        if (lpRow)
        {
            lpRow->setText(1, lsLevel);
            continue;
        }
        lpRow = new QTreeWidgetItem(apNameRow, QStringList{lsInstance, lsLevel});
        lpRow->setFlags(lpRow->flags() | Qt::ItemIsEnabled | Qt::ItemIsEditable);
    }
    for (int lnChild = apNameRow->childCount() - 1; lnChild >= 0; --lnChild)
        if (!lsLive.contains(apNameRow->child(lnChild)->text(0)))
        {
            if (mpEditItem == apNameRow->child(lnChild))
                mpEditItem = nullptr;
            delete apNameRow->takeChild(lnChild);
        }
}

void tcDebugLevelDlg::fillTree()
{
    // Filling changes texts, which is no edit by the user.
    const QSignalBlocker lcBlock(mpUi->treeWidget);
    QStringList lsNames = tcDebugSource::getDbgSourceNames();
    lsNames.removeDuplicates();
    for (const QString& lsName : lsNames)
    {
        const bool lbNew = mpUi->treeWidget->findItems(lsName, Qt::MatchExactly, 0).isEmpty();
        QTreeWidgetItem* lpRow = nameRow(lsName);
        fillInstances(lpRow);
        // New names open with their instances shown; the user's later
        // choice to fold one stays.
        if (lbNew)
            lpRow->setExpanded(true);
    }
    for (int lnRow = mpUi->treeWidget->topLevelItemCount() - 1; lnRow >= 0; --lnRow)
    {
        QTreeWidgetItem* lpRow = mpUi->treeWidget->topLevelItem(lnRow);
        if (!lsNames.contains(lpRow->text(0)))
        {
            if (mpEditItem && mpEditItem->parent() == lpRow)
                mpEditItem = nullptr;
            delete mpUi->treeWidget->takeTopLevelItem(lnRow);
        }
    }
    mpUi->treeWidget->sortItems(0, Qt::AscendingOrder);
    // Names and instance addresses are read whole, the level column is short.
    mpUi->treeWidget->resizeColumnToContents(0);
}

void tcDebugLevelDlg::treeItemDoubleClicked(QTreeWidgetItem* apItem, int anColumn)
{
    if (anColumn != 1 || !apItem || !(apItem->flags() & Qt::ItemIsEditable))
        return;
    mpEditItem = apItem;
    mpUi->treeWidget->editItem(apItem, 1);
}

void tcDebugLevelDlg::treeItemChanged(QTreeWidgetItem* apItem, int)
{
    if (!apItem || apItem != mpEditItem || !apItem->parent())
        return;
    mpEditItem = nullptr;
    const QString lsName = apItem->parent()->text(0);
    const QString lsInstance = apItem->text(0);
    bool lbOk = false;
    const int lnLevel = apItem->text(1).trimmed().toInt(&lbOk, 10);
    if (!lbOk)
    {
        // A typo must not silence (or flood) a source: the level stays.
        emit Error(tr("\"%1\" is not a debug level; %2 %3 keeps its level")
                       .arg(apItem->text(1), lsName, lsInstance));
    }
    else
    {
        for (tcDebugSource* lpSource : tcDebugSource::getDbgSources(lsName))
            if (lpSource->getInstanceName() == lsInstance)
                lpSource->SetDbgLevel(lnLevel);
    }
    fillTree();
}
