#pragma once

#include "statefilescanner.h"

#include <QString>

#include <functional>
#include <memory>

class QProgressDialog;
class QSettings;
class tcCmdRunner;

// The sensor's register banks as the state file keeps them: one group
// "<model> SensorBank<n>" per bank, one key per register. Registers are read
// and written through the runner's PEEK and POKE, each bank selected first by
// writing its number to register 0.
//
// Both directions show a progress dialog whose "Abort" stops the loop. A save
// that is stopped or cannot select a bank reports failure, so that the caller
// keeps the old state file; a load writes only what it could parse and says
// how many registers it wrote.
class tcRegisterBanks
{
public:
    // How many banks, blocks and registers the sensor has; read from the
    // application settings group named after the model, never written.
    struct tcMap
    {
        int mnBanks = 4;
        int mnBlocks = 0; // 0: keys without a block part
        int mnRegs = 128;
        int blocks() const { return mnBlocks > 0 ? mnBlocks : 1; }
    };
    struct tcOutcome
    {
        bool mbDone = false; // ran to its end (a load may still have skipped entries)
        bool mbAborted = false;
        int mnCount = 0; // registers read (save) or written (load)
        int mnTotal = 0; // registers asked for (save) or entries found (load)
        int mnProblems = 0;
    };
    using tfReport = std::function<void(const QString&)>;

    static tcMap mapFor(QSettings* apSettings, const QString& arModel);
    static QString bankGroup(const QString& arModel, int anBank);

    tcRegisterBanks(tcCmdRunner* apRunner, const QString& arModel, const tcMap& arMap, tfReport apReport,
                    int anDbgLevel = 0);

    tcOutcome save(QSettings& arFile, const QString& arFileName);
    tcOutcome load(const tcStateFileScanner& arScan, const QString& arFileName);

    // The progress moves and pending events are handled after this many
    // registers (and at the end of each bank or group), so that "Abort" is
    // seen while a bank is in progress.
    static constexpr int kEventsEvery = 16;

private:
    bool selectBank(int anBank);
    bool peek(int anRegister, int& arValue);
    bool poke(int anRegister, int anValue);
    bool stepProgress(QProgressDialog& arProgress, int anValue, bool abForceEvents);
    void report(const QString& arFile, int anLine, const QString& arText);
    bool loadGroup(const tcStateFileScanner::tcGroup& arGroup, const QString& arFile,
                   QProgressDialog& arProgress, tcOutcome& arOutcome, int& arSeen);

    tcCmdRunner* mpRunner;
    QString msModel;
    tcMap mcMap;
    tfReport mpReport;
    int mnDbgLevel;
};
