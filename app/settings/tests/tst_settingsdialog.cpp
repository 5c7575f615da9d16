#include "modaldialogs.h"
#include "pluginmanager.h"
#include "settings.h"
#include "settingsdialog.h"
#include "settingswidget.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

namespace
{
const QString kGenTL = QStringLiteral("Gen TL");
const QString kApplication = QStringLiteral("Application");

// A dialog as the main window makes it: no parent, deleted when closed.
QPointer<tcSettingsDialog> openDialog(tcPluginManager* apPlugins = nullptr)
{
    auto* lpDialog = new tcSettingsDialog(true, nullptr, apPlugins);
    lpDialog->setAttribute(Qt::WA_DeleteOnClose);
    lpDialog->show();
    return lpDialog;
}

QTreeWidget* treeOf(QDialog* apDialog)
{
    return apDialog->findChild<QTreeWidget*>(QStringLiteral("treeWidget"));
}

QTreeWidgetItem* itemOf(QDialog* apDialog, const QString& arTitle)
{
    const QList<QTreeWidgetItem*> lcItems = treeOf(apDialog)->findItems(arTitle, Qt::MatchExactly);
    return lcItems.isEmpty() ? nullptr : lcItems.first();
}

bool isItalic(QDialog* apDialog, const QString& arTitle)
{
    return itemOf(apDialog, arTitle)->font(0).italic();
}

void press(QDialog* apDialog, QDialogButtonBox::StandardButton aeButton)
{
    apDialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(aeButton)->click();
}

// Types a new producer path the way a user does: into the chooser's field.
void editProducerPath(QDialog* apDialog, const QString& arPath)
{
    auto* lpEdit = apDialog->findChild<QWidget*>(QStringLiteral("dllPathWidget"))
                       ->findChild<QLineEdit*>(QStringLiteral("lineEdit"));
    lpEdit->selectAll();
    QTest::keyClicks(lpEdit, arPath);
}

QVariant stored(const QString& arKey)
{
    std::unique_ptr<tcSettings> lpSettings(tcSettings::getSettings(QString()));
    return lpSettings->value(arKey);
}

void store(const QString& arKey, const QVariant& arValue)
{
    std::unique_ptr<tcSettings> lpSettings(tcSettings::getSettings(QString()));
    lpSettings->setValue(arKey, arValue);
}
} // namespace

class tst_SettingsDialog : public QObject
{
    Q_OBJECT

    QTemporaryDir mcDir;

private slots:
    void init()
    {
        QFile::remove(mcDir.filePath(QStringLiteral("kestle.ini")));
        tcSettings::setDefaultIniFile(mcDir.filePath(QStringLiteral("kestle.ini")));
    }

    void pagesInOrderFirstShown()
    {
        QPointer<tcSettingsDialog> lpDialog = openDialog();
        QCOMPARE(lpDialog->windowTitle(), QStringLiteral("Settings"));
        QCOMPARE(lpDialog->pageTitles(), (QStringList{kApplication, kGenTL}));
        QCOMPARE(treeOf(lpDialog)->topLevelItemCount(), 2);
        QCOMPARE(lpDialog->currentPageTitle(), kApplication);
        QCOMPARE(treeOf(lpDialog)->currentItem()->text(0), kApplication);

        // Choosing in the tree shows that page.
        treeOf(lpDialog)->setCurrentItem(itemOf(lpDialog, kGenTL));
        QCOMPARE(lpDialog->currentPageTitle(), kGenTL);
        QCOMPARE(lpDialog->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"))->currentWidget(),
                 lpDialog->page(kGenTL));
        lpDialog->close();
        QTRY_VERIFY(lpDialog.isNull());
    }

    void pluginManagerPageFollows()
    {
        QPointer<tcSettingsDialog> lpDialog = openDialog(tcPluginManager::getInstance());
        QCOMPARE(lpDialog->pageTitles().mid(0, 3),
                 (QStringList{kApplication, kGenTL, QStringLiteral("Plugins")}));
        lpDialog->setInitialPage(QStringLiteral("Plugins"));
        QCOMPARE(lpDialog->currentPageTitle(), QStringLiteral("Plugins"));
        QCOMPARE(treeOf(lpDialog)->currentItem()->text(0), QStringLiteral("Plugins"));
        lpDialog->close();
    }

    void everyLoadedPluginBringsItsPage()
    {
        QTemporaryDir lcFolder;
        for (const char* lpFile : {"libkxtest_any.so", "libkxtest_mono.so"})
            QVERIFY(QFile::copy(QStringLiteral(KX_FIXTURE_DIR "/") + QLatin1String(lpFile),
                                lcFolder.filePath(QLatin1String(lpFile))));
        store(tcPluginManager::pluginKey(QStringLiteral("tcAnyTestPlugin"), QStringLiteral("enabled")), true);
        tcPluginManager* lpPlugins = tcPluginManager::getInstance();
        QVERIFY(lpPlugins->loadPlugins(nullptr, lcFolder.path()));
        QCOMPARE(lpPlugins->getAllPlugins().size(), 2);
        {
            // The monochrome plugin has no page of its own.
            QPointer<tcSettingsDialog> lpDialog = openDialog(lpPlugins);
            QCOMPARE(lpDialog->pageTitles(), (QStringList{kApplication, kGenTL, QStringLiteral("Plugins"),
                                                          QStringLiteral("Any Test")}));
            lpDialog->setInitialPage(QStringLiteral("Any Test"));
            QCOMPARE(lpDialog->currentPageTitle(), QStringLiteral("Any Test"));
            QVERIFY(lpDialog->page(QStringLiteral("Any Test"))->isExpert());
            lpDialog->close();
            QTRY_VERIFY(lpDialog.isNull());
        }
        lpPlugins->unloadPlugins();
    }

    void unknownOrEmptyInitialPageKeepsTheFirst()
    {
        QPointer<tcSettingsDialog> lpDialog = openDialog();
        lpDialog->setInitialPage(QStringLiteral("Plugins"));
        QCOMPARE(lpDialog->currentPageTitle(), kApplication);
        lpDialog->setInitialPage(QString());
        QCOMPARE(lpDialog->currentPageTitle(), kApplication);
        lpDialog->setInitialPage(kGenTL);
        QCOMPARE(lpDialog->currentPageTitle(), kGenTL);
        QCOMPARE(treeOf(lpDialog)->currentItem()->text(0), kGenTL);
        lpDialog->close();
    }

    void closingWithoutEditsAsksNothing_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("Cancel") << 0;
        QTest::newRow("OK") << 1;
        QTest::newRow("window close") << 2;
        QTest::newRow("Escape") << 3;
    }
    void closingWithoutEditsAsksNothing()
    {
        QFETCH(int, way);
        QPointer<tcSettingsDialog> lpDialog = openDialog();
        QSignalSpy lcAccepted(lpDialog.data(), &QDialog::accepted);
        int lnAsked = 0;
        QObject lcGuard;
        tnModal::answerBox(QMessageBox::Cancel, nullptr, &lnAsked, &lcGuard);
        if (way == 0)
            press(lpDialog, QDialogButtonBox::Cancel);
        else if (way == 1)
            press(lpDialog, QDialogButtonBox::Ok);
        else if (way == 2)
            lpDialog->close();
        else
            QTest::keyClick(lpDialog, Qt::Key_Escape);
        QTRY_VERIFY(lpDialog.isNull());
        QCOMPARE(lnAsked, 0);
        QCOMPARE(lcAccepted.count(), 0);
        QVERIFY(!QFile::exists(tcSettings::getDefaultIniFile()));
    }

    void editedPageIsItalicUntilApplied()
    {
        QPointer<tcSettingsDialog> lpDialog = openDialog();
        QSignalSpy lcSaved(lpDialog.data(), &tcSettingsDialog::saved);
        QVERIFY(!isItalic(lpDialog, kGenTL));
        editProducerPath(lpDialog, QStringLiteral("/opt/producer.cti"));
        QVERIFY(isItalic(lpDialog, kGenTL));
        QVERIFY(!isItalic(lpDialog, kApplication));
        QCOMPARE(lpDialog->editedPageTitles(), QStringList{kGenTL});

        press(lpDialog, QDialogButtonBox::Apply);
        QVERIFY(!lpDialog.isNull());
        QVERIFY(!isItalic(lpDialog, kGenTL));
        QCOMPARE(lcSaved.count(), 1);
        QCOMPARE(stored(QStringLiteral("GenTL/default_path")).toString(),
                 QStringLiteral("/opt/producer.cti"));
        // Only the edited page was written: the application keys are absent.
        QVERIFY(!stored(QStringLiteral("xmlDir")).isValid());

        // A second Apply has nothing to write: a value changed meanwhile in
        // the file stays.
        store(QStringLiteral("GenTL/default_path"), QStringLiteral("/elsewhere.cti"));
        press(lpDialog, QDialogButtonBox::Apply);
        QCOMPARE(lcSaved.count(), 1);
        QCOMPARE(stored(QStringLiteral("GenTL/default_path")).toString(), QStringLiteral("/elsewhere.cti"));
        lpDialog->close();
    }

    void leavingWithEditsAsks_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QString>("storedPath");
        QTest::newRow("Yes saves") << int(QMessageBox::Yes) << true << QStringLiteral("/opt/asked.cti");
        QTest::newRow("No discards") << int(QMessageBox::No) << true << QString();
        QTest::newRow("Cancel stays") << int(QMessageBox::Cancel) << false << QString();
    }
    void leavingWithEditsAsks()
    {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        QFETCH(QString, storedPath);
        QPointer<tcSettingsDialog> lpDialog = openDialog();
        QSignalSpy lcAccepted(lpDialog.data(), &QDialog::accepted);
        editProducerPath(lpDialog, QStringLiteral("/opt/asked.cti"));
        QString lsQuestion;
        tnModal::answerBox(QMessageBox::StandardButton(answer), &lsQuestion);
        press(lpDialog, QDialogButtonBox::Cancel);

        QCOMPARE(lsQuestion, QStringLiteral("The following settings have changes:\n\u2022 Gen TL\n"
                                            "Do you want to save the changes?"));
        if (closes)
            QTRY_VERIFY(lpDialog.isNull());
        QCoreApplication::processEvents();
        QCOMPARE(lpDialog.isNull(), closes);
        QCOMPARE(stored(QStringLiteral("GenTL/default_path")).toString(), storedPath);
        QCOMPARE(lcAccepted.count(), 0);
        if (!closes)
        {
            // Still edited, and asked again on the next attempt.
            QVERIFY(isItalic(lpDialog, kGenTL));
            tnModal::answerBox(QMessageBox::No);
            lpDialog->close();
            QTRY_VERIFY(lpDialog.isNull());
        }
    }

    void questionListsEveryEditedPage()
    {
        QPointer<tcSettingsDialog> lpDialog = openDialog();
        editProducerPath(lpDialog, QStringLiteral("/opt/x.cti"));
        lpDialog->findChild<QAbstractButton*>(QStringLiteral("checkBoxConnectPrevious"))->click();
        QVERIFY(isItalic(lpDialog, kApplication));
        QString lsQuestion;
        tnModal::answerBox(QMessageBox::Cancel, &lsQuestion);
        QTest::keyClick(lpDialog, Qt::Key_Escape);
        QVERIFY(!lpDialog.isNull());
        QVERIFY(lsQuestion.contains(QStringLiteral("\u2022 Application\n\u2022 Gen TL\n")));
        tnModal::answerBox(QMessageBox::No);
        lpDialog->close();
    }

    void okAcceptsOnlyAfterSomethingWasSaved()
    {
        QPointer<tcSettingsDialog> lpDialog = openDialog();
        QSignalSpy lcAccepted(lpDialog.data(), &QDialog::accepted);
        editProducerPath(lpDialog, QStringLiteral("/opt/ok.cti"));
        press(lpDialog, QDialogButtonBox::Ok);
        QTRY_VERIFY(lpDialog.isNull());
        QCOMPARE(lcAccepted.count(), 1);
        QCOMPARE(stored(QStringLiteral("GenTL/default_path")).toString(), QStringLiteral("/opt/ok.cti"));
    }

    void okAfterApplyIsStillAccepted()
    {
        QPointer<tcSettingsDialog> lpDialog = openDialog();
        QSignalSpy lcAccepted(lpDialog.data(), &QDialog::accepted);
        editProducerPath(lpDialog, QStringLiteral("/opt/applied.cti"));
        press(lpDialog, QDialogButtonBox::Apply);
        QCOMPARE(lcAccepted.count(), 0);
        int lnAsked = 0;
        QObject lcGuard;
        tnModal::answerBox(QMessageBox::Cancel, nullptr, &lnAsked, &lcGuard);
        press(lpDialog, QDialogButtonBox::Ok);
        QTRY_VERIFY(lpDialog.isNull());
        QCOMPARE(lcAccepted.count(), 1);
        QCOMPARE(lnAsked, 0);
    }

    void pagesReadTheFileWhenOpened()
    {
        store(QStringLiteral("GenTL/default_path"), QStringLiteral("/stored/producer.cti"));
        store(QStringLiteral("openLast"), true);
        QPointer<tcSettingsDialog> lpDialog = openDialog();
        auto* lpEdit = lpDialog->findChild<QWidget*>(QStringLiteral("dllPathWidget"))
                           ->findChild<QLineEdit*>(QStringLiteral("lineEdit"));
        QCOMPARE(lpEdit->text(), QStringLiteral("/stored/producer.cti"));
        QVERIFY(
            lpDialog->findChild<QAbstractButton*>(QStringLiteral("checkBoxConnectPrevious"))->isChecked());
        // Reading is no edit.
        QVERIFY(lpDialog->editedPageTitles().isEmpty());
        lpDialog->close();
        QTRY_VERIFY(lpDialog.isNull());
    }
};

QTEST_MAIN(tst_SettingsDialog)
#include "tst_settingsdialog.moc"
