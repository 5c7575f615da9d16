#include "cmdconsole.h"
#include "cmdrunner.h"
#include "opencamera.h"
#include "settings.h"

#include <QAction>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace
{
template <typename tWidget> tWidget* child(QWidget& arWindow, const char* apName)
{
    return arWindow.findChild<tWidget*>(QLatin1String(apName));
}

// Types the line and presses Return, as a user does.
void type(tcCmdConsole& arConsole, const QString& arLine)
{
    QLineEdit* lpEdit = child<QLineEdit>(arConsole, "mqCmd");
    lpEdit->clear();
    QTest::keyClicks(lpEdit, arLine);
    child<QPushButton>(arConsole, "mqSendButton")->click();
}

std::unique_ptr<tcSettings> settings()
{
    return std::unique_ptr<tcSettings>(tcSettings::getSettings(QString()));
}

void writeQuickies(const QList<QPair<QString, QString>>& arEntries)
{
    std::unique_ptr<tcSettings> lpSettings = settings();
    lpSettings->beginWriteArray(QStringLiteral("quickies"), arEntries.size());
    for (int lnRow = 0; lnRow < arEntries.size(); ++lnRow)
    {
        lpSettings->setArrayIndex(lnRow);
        lpSettings->setValue(QStringLiteral("label"), arEntries.at(lnRow).first);
        lpSettings->setValue(QStringLiteral("cmd"), arEntries.at(lnRow).second);
    }
    lpSettings->endArray();
}

QAction* quickie(tcCmdConsole& arConsole, const QString& arLabel)
{
    for (QAction* lpAction : arConsole.actions())
        if (lpAction->text() == arLabel)
            return lpAction;
    return nullptr;
}
} // namespace

class tst_CmdConsole : public QObject
{
    Q_OBJECT

    QTemporaryDir mcDir;

private slots:
    void init()
    {
        const QString lsIni = mcDir.filePath(QStringLiteral("console.ini"));
        QFile::remove(lsIni);
        tcSettings::setDefaultIniFile(lsIni);
    }

    void formAsBuilt()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        tcCmdConsole lcConsole(&lcRunner);
        QCOMPARE(lcConsole.objectName(), QStringLiteral("tcConsoleDialog"));
        QCOMPARE(lcConsole.windowTitle(), QStringLiteral("ZURO Client"));
        QCOMPARE(lcConsole.contextMenuPolicy(), Qt::ActionsContextMenu);
        lcConsole.show();
        QVERIFY(!child<QWidget>(lcConsole, "groupBoxHost")->isVisible());
        QCOMPARE(child<QSpinBox>(lcConsole, "mqPort")->value(), 7020);
        QVERIFY(child<QPushButton>(lcConsole, "mqSendButton")->isDefault());
        // Nothing chosen yet: the command line stays empty.
        QVERIFY(child<QLineEdit>(lcConsole, "mqCmd")->text().isEmpty());
    }

    void comboOffersTheRegisteredCommands()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        {
            tcCmdConsole lcConsole(&lcRunner);
            QComboBox* lpCombo = child<QComboBox>(lcConsole, "mqCmdCombo");
            QStringList lsItems;
            for (int lnRow = 0; lnRow < lpCombo->count(); ++lnRow)
                lsItems.append(lpCombo->itemText(lnRow));
            QCOMPARE(lsItems, lcRunner.cmds());
            QCOMPARE(lsItems.first(), QStringLiteral("HELP"));
            lpCombo->setCurrentIndex(lsItems.indexOf(QStringLiteral("SLEEP")));
            QCOMPARE(child<QLineEdit>(lcConsole, "mqCmd")->text(), QStringLiteral("SLEEP"));
        }
        // The drop-down's entries are kept as the array "cmds".
        std::unique_ptr<tcSettings> lpSettings = settings();
        const int lnCount = lpSettings->beginReadArray(QStringLiteral("cmds"));
        QStringList lsStored;
        for (int lnRow = 0; lnRow < lnCount; ++lnRow)
        {
            lpSettings->setArrayIndex(lnRow);
            lsStored.append(lpSettings->value(QStringLiteral("cmd")).toString());
        }
        lpSettings->endArray();
        QCOMPARE(lsStored, lcRunner.cmds());
    }

    void historyKeepsEachSuccessfulCommandOnce()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        tcCmdConsole lcConsole(&lcRunner);
        type(lcConsole, QStringLiteral("HELP SLEEP"));
        type(lcConsole, QStringLiteral("HELP SLEEP"));
        type(lcConsole, QStringLiteral("help sleep")); // another spelling is another entry
        QCOMPARE(lcConsole.history(), (QStringList{"HELP SLEEP", "help sleep"}));
        // The runner's output reached the log.
        QVERIFY(lcConsole.logText().contains(lcRunner.help(QStringLiteral("SLEEP")).trimmed()));
    }

    void failingLineSaysSoAndIsNotKept()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        tcCmdConsole lcConsole(&lcRunner);
        type(lcConsole, QStringLiteral("FROBNICATE 1"));
        QVERIFY(lcConsole.logText().endsWith(QStringLiteral("Error running command FROBNICATE 1")));
        QVERIFY(lcConsole.history().isEmpty());
        // The console stays usable.
        type(lcConsole, QStringLiteral("HELP"));
        QCOMPARE(lcConsole.history(), QStringList{"HELP"});
    }

    void blankLineDoesNothing()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        tcCmdConsole lcConsole(&lcRunner);
        QSignalSpy lcMessages(&lcRunner, &tcCmdRunner::Message);
        type(lcConsole, QStringLiteral("   "));
        QCOMPARE(lcMessages.count(), 0);
        QVERIFY(lcConsole.logText().isEmpty());
        QVERIFY(lcRunner.getResult().isEmpty());
    }

    void historyIsCompletedInTheNextRun()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        {
            tcCmdConsole lcConsole(&lcRunner);
            type(lcConsole, QStringLiteral("HELP CMP"));
            type(lcConsole, QStringLiteral("HELP CAM"));
        }
        QCOMPARE(settings()->value(QStringLiteral("commands")).toStringList(),
                 (QStringList{"HELP CMP", "HELP CAM"}));

        tcCmdConsole lcConsole(&lcRunner);
        lcConsole.show();
        QCOMPARE(lcConsole.history(), (QStringList{"HELP CMP", "HELP CAM"}));
        QCompleter* lpCompleter = child<QLineEdit>(lcConsole, "mqCmd")->completer();
        QCOMPARE(lpCompleter, lcConsole.completer());
        QLineEdit* lpEdit = child<QLineEdit>(lcConsole, "mqCmd");
        QTest::keyClicks(lpEdit, QStringLiteral("help cm"));
        QCOMPARE(lpCompleter->completionCount(), 1);
        QCOMPARE(lpCompleter->currentCompletion(), QStringLiteral("HELP CMP"));
    }

    void quickCommands()
    {
        writeQuickies({{QStringLiteral("Help on sleep"), QStringLiteral("HELP SLEEP")},
                       {QStringLiteral("Nothing"), QString()},
                       {QStringLiteral("Unknown"), QStringLiteral("FROB 1")}});
        tcCmdRunner lcRunner(nullptr, nullptr);
        tcCmdConsole lcConsole(&lcRunner);
        QCOMPARE(lcConsole.actions().size(), 3);
        QCOMPARE(quickie(lcConsole, QStringLiteral("Help on sleep"))->property("cmd").toString(),
                 QStringLiteral("HELP SLEEP"));

        quickie(lcConsole, QStringLiteral("Help on sleep"))->trigger();
        QCOMPARE(child<QLineEdit>(lcConsole, "mqCmd")->text(), QStringLiteral("HELP SLEEP"));
        QCOMPARE(lcConsole.history(), QStringList{"HELP SLEEP"});
        const QString lsLog = lcConsole.logText();

        // An empty quick command does nothing at all.
        quickie(lcConsole, QStringLiteral("Nothing"))->trigger();
        QCOMPARE(lcConsole.logText(), lsLog);
        QCOMPARE(child<QLineEdit>(lcConsole, "mqCmd")->text(), QStringLiteral("HELP SLEEP"));

        // One naming no registered command says so.
        quickie(lcConsole, QStringLiteral("Unknown"))->trigger();
        QVERIFY(lcConsole.logText().endsWith(QStringLiteral("Error running command FROB 1")));
        QCOMPARE(lcConsole.history(), QStringList{"HELP SLEEP"});
    }

    void commandsRunAgainstTheSimulatedCamera()
    {
        tcOpenCamera lcCamera(tnSimcam::kMonoId);
        QVERIFY(lcCamera.mbOpen);
        tcCmdRunner lcRunner(nullptr, &lcCamera.mcCamera, QString(), nullptr);
        tcCmdConsole lcConsole(&lcRunner);
        const QString lsWidth = lcCamera.get("Width").toString();
        type(lcConsole, QStringLiteral("GENI READ Width"));
        QVERIFY2(lcConsole.logText().endsWith(QStringLiteral("GENI READ Width = %1").arg(lsWidth)),
                 qPrintable(lcConsole.logText()));

        type(lcConsole, QStringLiteral("geni write Width 512"));
        QCOMPARE(lcCamera.get("Width").toInt(), 512);
        type(lcConsole, QStringLiteral("GENI READ NoSuchFeature"));
        QVERIFY(
            lcConsole.logText().endsWith(QStringLiteral("Error running command GENI READ NoSuchFeature")));
        QCOMPARE(lcConsole.history(), (QStringList{"GENI READ Width", "geni write Width 512"}));
    }

    void withoutARunnerNothingRuns()
    {
        auto lpRunner = std::make_unique<tcCmdRunner>(nullptr, nullptr);
        tcCmdConsole lcConsole(lpRunner.get());
        lpRunner.reset();
        type(lcConsole, QStringLiteral("HELP"));
        QVERIFY(lcConsole.logText().contains(QStringLiteral("Error running command HELP")));
        QVERIFY(lcConsole.history().isEmpty());
    }
};

QTEST_MAIN(tst_CmdConsole)
#include "tst_cmdconsole.moc"
