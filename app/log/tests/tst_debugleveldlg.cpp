#include "cmdhandler.h"
#include "cmdrunner.h"
#include "debugleveldlg.h"
#include "debugsource.h"
#include "settings.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <atomic>
#include <memory>
#include <thread>

namespace
{
class tcProbe : public tcDebugSource
{
public:
    tcProbe(const QString& arName, const QString& arInstance) : tcDebugSource(arName)
    {
        setInstanceName(arInstance);
    }
};

QTreeWidget* treeOf(tcDebugLevelDlg& arDialog)
{
    return arDialog.findChild<QTreeWidget*>(QStringLiteral("treeWidget"));
}

QTreeWidgetItem* nameRow(tcDebugLevelDlg& arDialog, const QString& arName)
{
    const QList<QTreeWidgetItem*> lcRows = treeOf(arDialog)->findItems(arName, Qt::MatchExactly, 0);
    return lcRows.size() == 1 ? lcRows.first() : nullptr;
}

QTreeWidgetItem* instanceRow(tcDebugLevelDlg& arDialog, const QString& arName, const QString& arInstance)
{
    QTreeWidgetItem* lpRow = nameRow(arDialog, arName);
    for (int lnChild = 0; lpRow && lnChild < lpRow->childCount(); ++lnChild)
        if (lpRow->child(lnChild)->text(0) == arInstance)
            return lpRow->child(lnChild);
    return nullptr;
}

// Double-clicks the level and types into the editor that opens, as a user does.
void typeLevel(tcDebugLevelDlg& arDialog, QTreeWidgetItem* apRow, const QString& arText)
{
    QVERIFY(QTest::qWaitForWindowExposed(&arDialog));
    QVERIFY(apRow);
    QTreeWidget* lpTree = treeOf(arDialog);
    lpTree->scrollToItem(apRow);
    const QRect lcCell = lpTree->visualItemRect(apRow);
    const QPoint lcAt(lpTree->header()->sectionPosition(1) + 5, lcCell.center().y());
    // A double click as the platform delivers it: a click, then a press
    // reported as double click.
    QTest::mouseClick(lpTree->viewport(), Qt::LeftButton, Qt::NoModifier, lcAt);
    QTest::mouseDClick(lpTree->viewport(), Qt::LeftButton, Qt::NoModifier, lcAt);
    QPointer<QLineEdit> lpEditor = lpTree->viewport()->findChild<QLineEdit*>();
    QVERIFY(lpEditor);
    lpEditor->selectAll();
    QTest::keyClicks(lpEditor, arText);
    QTest::keyClick(lpEditor, Qt::Key_Return);
    // The editor commits from the event loop and then goes.
    QTRY_VERIFY(lpEditor.isNull());
}
} // namespace

class tst_DebugLevelDlg : public QObject
{
    Q_OBJECT

    QTemporaryDir mcDir;

private slots:
    void initTestCase()
    {
        tcSettings::setDefaultIniFile(mcDir.filePath(QStringLiteral("levels.ini")));
        tcDebugSource::setSettingsFunc(&tcSettings::getQSettings);
    }

    void formAndTitle()
    {
        tcDebugLevelDlg lcDialog;
        QCOMPARE(lcDialog.windowTitle(), QStringLiteral("Debug Level Settings"));
        QCOMPARE(treeOf(lcDialog)->headerItem()->text(0), QStringLiteral("Debug Source"));
        QCOMPARE(treeOf(lcDialog)->headerItem()->text(1), QStringLiteral("Debug Level"));
    }

    void listsEveryLiveSourceOnce()
    {
        tcProbe lcFront(QStringLiteral("probe"), QStringLiteral("front camera"));
        tcProbe lcBack(QStringLiteral("probe"), QStringLiteral("back"));
        lcBack.SetDbgLevel(2);
        tcCmdRunner lcRunner(nullptr, nullptr);
        tcDebugLevelDlg lcDialog;
        lcDialog.show();

        QTreeWidgetItem* lpProbe = nameRow(lcDialog, QStringLiteral("probe"));
        QVERIFY(lpProbe);
        QCOMPARE(lpProbe->childCount(), 2);
        QCOMPARE(instanceRow(lcDialog, QStringLiteral("probe"), QStringLiteral("front_camera"))->text(1),
                 QStringLiteral("0"));
        QCOMPARE(instanceRow(lcDialog, QStringLiteral("probe"), QStringLiteral("back"))->text(1),
                 QStringLiteral("2"));
        // The runner's own handlers are live sources too.
        for (const char* lpName : {"CMP", "SLEEP", "GENI", "CAM", "PROMPT"})
            QVERIFY2(nameRow(lcDialog, QLatin1String(lpName)), lpName);

        // Shown again: the same rows, nothing added.
        const int lnRows = treeOf(lcDialog)->topLevelItemCount();
        lcDialog.hide();
        lcDialog.show();
        QCOMPARE(treeOf(lcDialog)->topLevelItemCount(), lnRows);
        QCOMPARE(nameRow(lcDialog, QStringLiteral("probe"))->childCount(), 2);

        // Sorted by name.
        QStringList lsNames;
        for (int lnRow = 0; lnRow < lnRows; ++lnRow)
            lsNames.append(treeOf(lcDialog)->topLevelItem(lnRow)->text(0));
        QStringList lsSorted = lsNames;
        lsSorted.sort();
        QCOMPARE(lsNames, lsSorted);
    }

    void goneSourcesLeaveTheList()
    {
        tcProbe lcStays(QStringLiteral("probe"), QStringLiteral("stays"));
        auto lpGoes = std::make_unique<tcProbe>(QStringLiteral("probe"), QStringLiteral("goes"));
        auto lpAlone = std::make_unique<tcProbe>(QStringLiteral("lonely"), QStringLiteral("one"));
        tcDebugLevelDlg lcDialog;
        lcDialog.show();
        QCOMPARE(nameRow(lcDialog, QStringLiteral("probe"))->childCount(), 2);
        lpGoes.reset();
        lpAlone.reset();
        lcDialog.fillTree();
        QCOMPARE(nameRow(lcDialog, QStringLiteral("probe"))->childCount(), 1);
        QVERIFY(!nameRow(lcDialog, QStringLiteral("lonely")));
    }

    void typedLevelReachesThatInstanceInEveryThread()
    {
        tcProbe lcFront(QStringLiteral("probe"), QStringLiteral("front"));
        tcProbe lcBack(QStringLiteral("probe"), QStringLiteral("back"));
        tcDebugLevelDlg lcDialog;
        lcDialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&lcDialog));

        // A worker thread watches the level while the user edits it.
        std::atomic<bool> lbSeen{false};
        std::thread lcWatcher(
            [&]
            {
                const auto lcEnd = std::chrono::steady_clock::now() + std::chrono::seconds(20);
                while (std::chrono::steady_clock::now() < lcEnd && lcFront.GetDbgLevel() != 3)
                    std::this_thread::yield();
                lbSeen = lcFront.GetDbgLevel() == 3;
            });
        typeLevel(lcDialog, instanceRow(lcDialog, QStringLiteral("probe"), QStringLiteral("front")),
                  QStringLiteral("3"));
        lcWatcher.join();
        QVERIFY(lbSeen);
        QCOMPARE(lcBack.GetDbgLevel(), 0);
        QCOMPARE(instanceRow(lcDialog, QStringLiteral("probe"), QStringLiteral("front"))->text(1),
                 QStringLiteral("3"));

        typeLevel(lcDialog, instanceRow(lcDialog, QStringLiteral("probe"), QStringLiteral("back")),
                  QStringLiteral("-1"));
        QCOMPARE(lcBack.GetDbgLevel(), -1);

        // Nothing of it goes to the INI file.
        std::unique_ptr<tcSettings> lpSettings(tcSettings::getSettings(QString()));
        QVERIFY(!lpSettings->contains(QStringLiteral("probe/debugLevel")));
    }

    void aHandlerOfTheRunnerGetsItsLevel()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        const QSharedPointer<tcCmdHandler> lpCmp = lcRunner.getCmdHandlers().value(QStringLiteral("CMP"));
        QVERIFY(lpCmp);
        tcDebugLevelDlg lcDialog;
        lcDialog.show();
        typeLevel(lcDialog, instanceRow(lcDialog, QStringLiteral("CMP"), lpCmp->getInstanceName()),
                  QStringLiteral("2"));
        QCOMPARE(lpCmp->GetDbgLevel(), 2);
    }

    void textThatIsNoNumberChangesNothing()
    {
        tcProbe lcProbe(QStringLiteral("probe"), QStringLiteral("front"));
        lcProbe.SetDbgLevel(2);
        tcDebugLevelDlg lcDialog;
        QSignalSpy lcErrors(&lcDialog, &tcDebugLevelDlg::Error);
        lcDialog.show();
        typeLevel(lcDialog, instanceRow(lcDialog, QStringLiteral("probe"), QStringLiteral("front")),
                  QStringLiteral("abc"));
        QCOMPARE(lcProbe.GetDbgLevel(), 2);
        QCOMPARE(lcErrors.count(), 1);
        QCOMPARE(lcErrors.first().first().toString(),
                 QStringLiteral("\"abc\" is not a debug level; probe front keeps its level"));
        QCOMPARE(instanceRow(lcDialog, QStringLiteral("probe"), QStringLiteral("front"))->text(1),
                 QStringLiteral("2"));
    }

    void onlyTheRowBeingEditedCounts()
    {
        tcProbe lcProbe(QStringLiteral("probe"), QStringLiteral("front"));
        tcDebugLevelDlg lcDialog;
        lcDialog.show();
        // A change made by code, not through the editor, is ignored.
        instanceRow(lcDialog, QStringLiteral("probe"), QStringLiteral("front"))
            ->setText(1, QStringLiteral("4"));
        QCOMPARE(lcProbe.GetDbgLevel(), 0);
        // The name column is not for editing.
        lcDialog.treeItemDoubleClicked(nameRow(lcDialog, QStringLiteral("probe")), 1);
        QVERIFY(!treeOf(lcDialog)->viewport()->findChild<QLineEdit*>());
    }
};

QTEST_MAIN(tst_DebugLevelDlg)
#include "tst_debugleveldlg.moc"
