// The sensor plugin's identity, compatibility, script commands and state
// files against the simulated CMV50000 camera.
#include "sensorboardfixture.h"

#include "filedialoganswers.h"
#include "settings.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QSettings>
#include <QTest>

namespace
{
const QString kBank = QStringLiteral("CMV50000 Evaluation SensorBank%1");

// A node map without a camera, for model names the simulator does not have.
class tcModelMap
{
public:
    tcModelMap(const char* apModel, bool abHdmi)
    {
        std::string lsXml = R"(<?xml version="1.0" encoding="utf-8"?>
<RegisterDescription ModelName="Models" VendorName="Kestrix" StandardNameSpace="None"
  SchemaMajorVersion="1" SchemaMinorVersion="1" SchemaSubMinorVersion="0" MajorVersion="1" MinorVersion="0"
  SubMinorVersion="0" ProductGuid="00000000-0000-0000-0000-000000000000"
  VersionGuid="00000000-0000-0000-0000-000000000000" xmlns="http://www.genicam.org/GenApi/Version_1_1">
<Category Name="Root" NameSpace="Standard"><pFeature>DeviceModelName</pFeature></Category>
<String Name="DeviceModelName" NameSpace="Standard"><Value>)";
        lsXml += apModel;
        lsXml += "</Value></String>\n";
        if (abHdmi)
            lsXml += "<Category Name=\"HDMIControl\"><pFeature>DeviceModelName</pFeature></Category>\n";
        lsXml += "</RegisterDescription>\n";
        mcMap._LoadXMLFromString(lsXml.c_str());
    }
    GenApi::CNodeMapRef mcMap;
};

QByteArray fileText(const QString& arPath)
{
    QFile lcFile(arPath);
    return lcFile.open(QIODevice::ReadOnly) ? lcFile.readAll() : QByteArray();
}

void writeText(const QString& arPath, const QByteArray& arText)
{
    QFile lcFile(arPath);
    QVERIFY(lcFile.open(QIODevice::WriteOnly));
    lcFile.write(arText);
}
} // namespace

class tst_SensorboardState : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        tcSimcamFixture::useTemporarySettings();
        QVERIFY(QFile::exists(QStringLiteral(KX_SENSORBOARD_FILE)));
    }

    void identityAndCommands()
    {
        tcSensorboardFixture lcFix;
        QVERIFY(lcFix.ready());
        tcGenTLPlugin* lpPlugin = lcFix.mpPlugin;
        QCOMPARE(lcFix.mnActive, 1);
        QCOMPARE(lpPlugin->title(), QStringLiteral("Sensorboard Plugin"));
        QCOMPARE(lpPlugin->version(), QStringLiteral("version 0.0.1"));
        QCOMPARE(lpPlugin->interfaceNames(),
                 (QStringList{"CMV 50000", "HDMI ROI Selector", "HDMI Indicator", "ROI Selector"}));
        QCOMPARE(lpPlugin->interfacesOfType("tcImgRectInterface").size(), 2);
        QCOMPARE(lpPlugin->interfacesOfType("tcImgDecoratorInterface").size(), 1);
        QVERIFY(lpPlugin->findInterface("nothing") == nullptr);
        QVERIFY(lcFix.runner()->cmds().contains("PEEK"));
        QVERIFY(lcFix.runner()->cmds().contains("POKE"));
        QCOMPARE(lcFix.peek(5), tcSensorboardFixture::initialValue(0, 5));

        QMenu* lpMenu = lpPlugin->applicationMenu();
        QCOMPARE(lpMenu->title(), QStringLiteral("CMV 50000"));
        QCOMPARE(lpMenu->actions().size(), 2);
        QCOMPARE(lpMenu->actions().at(0)->text(), QStringLiteral("Save State"));
        QCOMPARE(lpMenu->actions().at(1)->text(), QStringLiteral("Load State"));
        QWidget* lpControl = lpPlugin->controlWidget();
        QCOMPARE(lpControl->windowTitle(), QStringLiteral("CMV 50000"));
        QVERIFY(lpMenu->isEnabled() && lpControl->isEnabled());
        tcPluginManager::getInstance()->setCamera(nullptr);
        QVERIFY(!lpMenu->isEnabled() && !lpControl->isEnabled());

        // Without a camera nothing is attempted.
        lcFix.saveState(lcFix.mcFolder.filePath("none.ini"));
        QCOMPARE(lcFix.msErrors, QStringList{"No camera... cannot save state!"});
        QVERIFY(!QFile::exists(lcFix.mcFolder.filePath("none.ini")));
    }

    void compatibility()
    {
        tcSensorboardFixture lcFix;
        QVERIFY(lcFix.ready());
        QVERIFY(lcFix.mpPlugin->isCompatible(lcFix.nodeMap()));
        QVERIFY(!lcFix.mpPlugin->isCompatible(nullptr));
        auto lfCompatible = [&](const char* apModel, bool abHdmi)
        {
            tcModelMap lcMap(apModel, abHdmi);
            return lcFix.mpPlugin->isCompatible(&lcMap.mcMap);
        };
        QVERIFY(lfCompatible("CMV50000", true));
        QVERIFY(!lfCompatible("cmv50000 evaluation", true));
        QVERIFY(!lfCompatible("CMV50000 Evaluation", false));
        QVERIFY(!lfCompatible("SimCam CMV50000", true));
    }

    void otherCamerasAreNotServed()
    {
        tcSensorboardFixture lcMono(tnSimcam::kMonoId);
        QVERIFY(lcMono.mpPlugin);
        QCOMPARE(lcMono.mnActive, 0);
        QVERIFY(!lcMono.mpPlugin->applicationMenu()->isEnabled());
    }

    void saveWritesEveryBank()
    {
        tcSensorboardFixture lcFix;
        QVERIFY(lcFix.ready());
        const QString lsFile = lcFix.mcFolder.filePath("state.ini");
        lcFix.saveState(lsFile);
        QCOMPARE(lcFix.msErrors, QStringList());
        const tcTracingPort::tcCounts lcCounts = lcFix.mpTrace->sensorCounts();
        QCOMPARE(lcCounts.mnReads, 4 * 127);
        QCOMPARE(lcCounts.mlBanks, (QList<quint32>{0, 1, 2, 3}));
        QCOMPARE(lcCounts.mnWrites, 0);

        QSettings lcState(lsFile, QSettings::IniFormat);
        QVERIFY(lcState.childGroups().contains("catagories"));
        QVERIFY(lcState.value("catagories/Image Format Control").toBool());
        QCOMPARE(lcState.value("Image Format Control/Width").toInt(), 7920);
        for (int lnBank = 0; lnBank < 4; ++lnBank)
        {
            lcState.beginGroup(kBank.arg(lnBank));
            QStringList lsExpected;
            for (int k = 1; k < 128; ++k)
                lsExpected << QString::number(k);
            QStringList lsKeys = lcState.childKeys();
            std::sort(lsKeys.begin(), lsKeys.end(),
                      [](const QString& a, const QString& b) { return a.toInt() < b.toInt(); });
            QCOMPARE(lsKeys, lsExpected);
            QCOMPARE(lcState.value("9").toInt(), tcSensorboardFixture::initialValue(lnBank, 9));
            lcState.endGroup();
        }
        QVERIFY(!lcState.childGroups().contains(kBank.arg(4)));
        // Nothing but the state file is left in its folder.
        QCOMPARE(QDir(lcFix.mcFolder.path()).entryList({"*.ini*"}, QDir::Files), QStringList{"state.ini"});
    }

    void loadWritesBackEveryRegister()
    {
        tcSensorboardFixture lcFix;
        QVERIFY(lcFix.ready());
        const QString lsFile = lcFix.mcFolder.filePath("state.ini");
        lcFix.saveState(lsFile);
        lcFix.poke(0, 2);
        lcFix.poke(5, 1234);
        lcFix.poke(0, 3);
        lcFix.poke(127, 99);
        QCOMPARE(lcFix.peek(127), 99);
        lcFix.mpTrace->mlWrites.clear();

        lcFix.loadState(lsFile);
        QCOMPARE(lcFix.msErrors, QStringList());
        QCOMPARE(lcFix.msMessages.last(), QStringLiteral("Loaded 508 of 508 registers from %1").arg(lsFile));
        const tcTracingPort::tcCounts lcCounts = lcFix.mpTrace->sensorCounts();
        QCOMPARE(lcCounts.mlBanks, (QList<quint32>{0, 1, 2, 3}));
        QCOMPARE(lcCounts.mnWrites, 4 * 127);
        lcFix.poke(0, 3);
        QCOMPARE(lcFix.peek(127), tcSensorboardFixture::initialValue(3, 127));
        lcFix.poke(0, 2);
        QCOMPARE(lcFix.peek(5), tcSensorboardFixture::initialValue(2, 5));
    }

    void menuAsksForTheFileAndCancelDoesNothing()
    {
        tcSensorboardFixture lcFix;
        QVERIFY(lcFix.ready());
        const QString lsFile = lcFix.mcFolder.filePath("menu.ini");
        const QList<QAction*> llActions = lcFix.mpPlugin->applicationMenu()->actions();
        {
            // Cancelled both ways: no file, no register touched.
            tcFileDialogAnswers lcCancel;
            llActions.at(0)->trigger();
            llActions.at(1)->trigger();
            QCOMPARE(lcCancel.requests().size(), 2);
            QCOMPARE(lcCancel.requests().at(0).meKind, tcFileDialogs::eSaveFile);
            QCOMPARE(lcCancel.requests().at(1).meKind, tcFileDialogs::eOpenFile);
            QVERIFY(!QFile::exists(lsFile));
            QCOMPARE(lcFix.mpTrace->sensorCounts().mnWrites, 0);
        }
        tcFileDialogAnswers lcAnswers({lsFile, lsFile});
        llActions.at(0)->trigger();
        QVERIFY(QFile::exists(lsFile));
        llActions.at(1)->trigger();
        QCOMPARE(lcFix.msErrors, QStringList());
        QCOMPARE(lcFix.msMessages.last(), QStringLiteral("Loaded 508 of 508 registers from %1").arg(lsFile));
    }

    void namesWithBlanksAndPlus()
    {
        // Command lines split at blanks and "+"; the state file's name must
        // not depend on them.
        tcSensorboardFixture lcFix;
        QVERIFY(lcFix.ready());
        QVERIFY(QDir(lcFix.mcFolder.path()).mkdir("a+b c"));
        const QString lsFile = lcFix.mcFolder.filePath("a+b c/state 1+1.ini");
        lcFix.saveState(lsFile);
        lcFix.loadState(lsFile);
        QCOMPARE(lcFix.msErrors, QStringList());
        QCOMPARE(lcFix.mpTrace->sensorCounts().mnWrites, 4 * 127);
        QCOMPARE(QDir(lcFix.mcFolder.filePath("a+b c")).entryList(QDir::Files), QStringList{"state 1+1.ini"});
    }

    void loadReportsBadLines()
    {
        tcSensorboardFixture lcFix;
        QVERIFY(lcFix.ready());
        const QString lsFile = lcFix.mcFolder.filePath("bad.ini");
        writeText(lsFile, "[CMV50000%20Evaluation%20SensorBank1]\n" // line 1
                          "0=5\n"                                   // 2: register 0 is never written
                          "3=111\n"                                 // 3: written
                          "200=7\n"                                 // 4: out of range
                          "4=abc\n"                                 // 5: not a number
                          "5=99999999999\n"                         // 6: beyond 32 bits
                          "6\n"                                     // 7: no value at all
                          "[CMV50000%20Evaluation%20SensorBank7]\n" // 8: no such bank
                          "1=1\n"
                          "[Other%20Model%20SensorBank0]\n" // 10: another model
                          "1=1\n"
                          "[CMV50000%20Evaluation%20SensorBank2]\n" // 12
                          "8=222\n"                                 // 13: written
                          "9=33");                                  // 14: cut short
        lcFix.loadState(lsFile);
        const QStringList lsExpected{
            "bad.ini, line 7: incomplete entry \"6\" (no \"=\")",
            "bad.ini, line 14: the file ends in the middle of this line (truncated)",
            "bad.ini, line 2: Error decoding 0=5 in group CMV50000 Evaluation SensorBank1",
            "bad.ini, line 4: Register 200 out of range 0-128 in group CMV50000 Evaluation SensorBank1",
            "bad.ini, line 5: Error decoding 4=abc in group CMV50000 Evaluation SensorBank1",
            "bad.ini, line 6: Error decoding 5=99999999999 in group CMV50000 Evaluation SensorBank1",
            "bad.ini, line 8: Bank 7 [CMV50000 Evaluation] out of range for device",
            QStringLiteral("Loaded 2 of 7 registers from %1; 7 entries could not be used").arg(lsFile)};
        QCOMPARE(lcFix.msErrors, lsExpected);
        const tcTracingPort::tcCounts lcCounts = lcFix.mpTrace->sensorCounts();
        QCOMPARE(lcCounts.mlBanks, (QList<quint32>{1, 2}));
        QCOMPARE(lcCounts.mnWrites, 2);
        lcFix.poke(0, 1);
        QCOMPARE(lcFix.peek(3), 111);
        QCOMPARE(lcFix.peek(4), tcSensorboardFixture::initialValue(1, 4));
        QCOMPARE(lcFix.peek(6), tcSensorboardFixture::initialValue(1, 6));
        lcFix.poke(0, 2);
        QCOMPARE(lcFix.peek(8), 222);
        QCOMPARE(lcFix.peek(9), tcSensorboardFixture::initialValue(2, 9));
    }

    void registerMapFromSettings()
    {
        tcSensorboardFixture lcFix;
        QVERIFY(lcFix.ready());
        QSettings* lpSettings = lcFix.mpPlugin->settings();
        lpSettings->setValue("CMV50000 Evaluation/num_banks", 2);
        lpSettings->setValue("CMV50000 Evaluation/num_regs", 10);
        const QString lsFile = lcFix.mcFolder.filePath("small.ini");
        lcFix.saveState(lsFile);
        lpSettings->remove("CMV50000 Evaluation");
        QCOMPARE(lcFix.mpTrace->sensorCounts().mnReads, 2 * 9);
        QSettings lcState(lsFile, QSettings::IniFormat);
        QCOMPARE(lcState.childGroups().filter("SensorBank"), (QStringList{kBank.arg(0), kBank.arg(1)}));
        lcState.beginGroup(kBank.arg(1));
        QCOMPARE(lcState.childKeys().size(), 9);
    }

    void writeProtectedTargetIsKept()
    {
        tcSensorboardFixture lcFix;
        QVERIFY(lcFix.ready());
        const QString lsFile = lcFix.mcFolder.filePath("kept.ini");
        writeText(lsFile, "[old]\nkey=1\n");
        QFile::setPermissions(lsFile, QFile::ReadOwner | QFile::ReadUser);
        tcBoxCloser lcCloser;
        lcFix.saveState(lsFile);
        QCOMPARE(lcCloser.msText,
                 QStringLiteral("Unable to remove file \"%1\".\nPlease select another file to save to.")
                     .arg(lsFile));
        QCOMPARE(fileText(lsFile), QByteArray("[old]\nkey=1\n"));
        QVERIFY(lcFix.mpTrace->mlWrites.isEmpty());
    }

    void abortedSaveKeepsOldFile()
    {
        tcSensorboardFixture lcFix;
        QVERIFY(lcFix.ready());
        const QString lsFile = lcFix.mcFolder.filePath("old.ini");
        writeText(lsFile, "[old]\nkey=1\n");
        {
            tcAborter lcAbort(QStringLiteral("Saving Registers..."));
            lcFix.saveState(lsFile);
            QVERIFY(lcAbort.mbPressed);
        }
        QCOMPARE(lcFix.msErrors, QStringList{QStringLiteral("Save aborted: %1 was not changed").arg(lsFile)});
        QVERIFY(lcFix.mpTrace->sensorCounts().mnReads < 4 * 127);
        QCOMPARE(fileText(lsFile), QByteArray("[old]\nkey=1\n"));
        QCOMPARE(QDir(lcFix.mcFolder.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"libsensorboard.so", "old.ini"}));
    }

    void failedBankSelectKeepsOldFile()
    {
        // The camera stops answering writes after the first bank.
        tcSensorboardFixture lcFix;
        QVERIFY(lcFix.ready());
        const QString lsFile = lcFix.mcFolder.filePath("old.ini");
        writeText(lsFile, "[old]\nkey=1\n");
        QSettings* lpSettings = lcFix.mpPlugin->settings();
        lpSettings->setValue("CMV50000 Evaluation/num_banks", 5);
        lcFix.saveState(lsFile);
        lpSettings->remove("CMV50000 Evaluation");
        QCOMPARE(lcFix.msErrors, QStringList{"Unable to select sensor bank 4: the state was not saved"});
        QCOMPARE(fileText(lsFile), QByteArray("[old]\nkey=1\n"));
    }

    void abortedLoadSaysHowManyWereWritten()
    {
        tcSensorboardFixture lcFix;
        QVERIFY(lcFix.ready());
        const QString lsFile = lcFix.mcFolder.filePath("state.ini");
        lcFix.saveState(lsFile);
        lcFix.mpTrace->mlWrites.clear();
        {
            tcAborter lcAbort(QStringLiteral("Loading Registers..."));
            lcFix.loadState(lsFile);
            QVERIFY(lcAbort.mbPressed);
        }
        const int lnWritten = lcFix.mpTrace->sensorCounts().mnWrites;
        QVERIFY(lnWritten > 0 && lnWritten < 4 * 127);
        QCOMPARE(lcFix.msErrors,
                 QStringList{QStringLiteral("Load aborted: %1 of 508 registers written from %2")
                                 .arg(lnWritten)
                                 .arg(lsFile)});
    }

    void missingFileLoadsNothing()
    {
        tcSensorboardFixture lcFix;
        QVERIFY(lcFix.ready());
        const QString lsFile = lcFix.mcFolder.filePath("absent.ini");
        lcFix.loadState(lsFile);
        QCOMPARE(lcFix.msErrors, QStringList{QStringLiteral("Unable to read state file %1").arg(lsFile)});
        QVERIFY(lcFix.mpTrace->mlWrites.isEmpty());
    }
};

QTEST_MAIN(tst_SensorboardState)
#include "tst_sensorboardstate.moc"
