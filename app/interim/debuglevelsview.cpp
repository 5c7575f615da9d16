#include "debuglevelsview.h"

#include "debugsource.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

tcDebugLevelsView::tcDebugLevelsView(QWidget* apParent) : QDialog(apParent), mpTable(new QTableWidget(this))
{
    setObjectName(QStringLiteral("tcDebugLevelDlg"));
    setWindowTitle(QStringLiteral("Debug Level Settings"));
    mpTable->setObjectName(QStringLiteral("treeWidget"));
    mpTable->setColumnCount(2);
    mpTable->setHorizontalHeaderLabels({QStringLiteral("Debug Source"), QStringLiteral("Debug Level")});
    mpTable->horizontalHeader()->setStretchLastSection(true);
    mpTable->verticalHeader()->hide();
    auto* lpLayout = new QVBoxLayout(this);
    lpLayout->addWidget(mpTable);
    connect(mpTable, &QTableWidget::itemChanged, this, &tcDebugLevelsView::levelEdited);
    refresh();
    resize(300, 500);
}

void tcDebugLevelsView::refresh()
{
    const QSignalBlocker lcBlock(mpTable);
    QStringList lsNames = tcDebugSource::getDbgSourceNames();
    lsNames.sort(Qt::CaseInsensitive);
    mpTable->setRowCount(lsNames.size());
    for (int lnRow = 0; lnRow < lsNames.size(); ++lnRow)
    {
        const QList<tcDebugSource*> llSources = tcDebugSource::getDbgSources(lsNames[lnRow]);
        auto* lpName = new QTableWidgetItem(lsNames[lnRow]);
        lpName->setFlags(lpName->flags() & ~Qt::ItemIsEditable);
        mpTable->setItem(lnRow, 0, lpName);
        const int lnLevel = llSources.isEmpty() ? 0 : llSources.first()->GetDbgLevel();
        mpTable->setItem(lnRow, 1, new QTableWidgetItem(QString::number(lnLevel)));
    }
}

// A level that is not a whole number is put back to the one in force.
void tcDebugLevelsView::levelEdited(QTableWidgetItem* apItem)
{
    if (apItem->column() != 1)
        return;
    const QString lsName = mpTable->item(apItem->row(), 0)->text();
    bool lbOk = false;
    const int lnLevel = apItem->text().toInt(&lbOk);
    if (lbOk)
        tcDebugSource::SetDbgLevel(lsName, lnLevel);
    refresh();
}
