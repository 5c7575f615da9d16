#include "registerbanks.h"

#include "cmdrunner.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QSettings>

namespace
{
const char* const kBankWord = "SensorBank";

// The number that ends a bank group's name, or -1 when there is none.
int bankOfGroup(const QString& arGroup, bool& arOk)
{
    static const QRegularExpression scBank(QStringLiteral("SensorBank(-?\\d+)$"));
    const QRegularExpressionMatch lcMatch = scBank.match(arGroup);
    arOk = lcMatch.hasMatch();
    return arOk ? lcMatch.captured(1).toInt(&arOk) : -1;
}

std::unique_ptr<QProgressDialog> progressDialog(const QString& arLabel, int anMaximum)
{
    auto lpProgress = std::make_unique<QProgressDialog>(arLabel, QStringLiteral("Abort"), 0, anMaximum);
    lpProgress->setAutoClose(true);
    lpProgress->setAutoReset(false);
    lpProgress->setMinimumDuration(500);
    // Modal: nothing else may talk to the camera while the banks are walked.
    lpProgress->setWindowModality(Qt::ApplicationModal);
    return lpProgress;
}
} // namespace

tcRegisterBanks::tcMap tcRegisterBanks::mapFor(QSettings* apSettings, const QString& arModel)
{
    tcMap lcMap;
    apSettings->beginGroup(arModel);
    lcMap.mnBanks = apSettings->value(QStringLiteral("num_banks"), lcMap.mnBanks).toInt();
    lcMap.mnBlocks = apSettings->value(QStringLiteral("num_blocks"), lcMap.mnBlocks).toInt();
    lcMap.mnRegs = apSettings->value(QStringLiteral("num_regs"), lcMap.mnRegs).toInt();
    apSettings->endGroup();
    return lcMap;
}

QString tcRegisterBanks::bankGroup(const QString& arModel, int anBank)
{
    return QStringLiteral("%1 %2%3").arg(arModel, QLatin1String(kBankWord)).arg(anBank);
}

tcRegisterBanks::tcRegisterBanks(tcCmdRunner* apRunner, const QString& arModel, const tcMap& arMap,
                                 tfReport apReport, int anDbgLevel)
    : mpRunner(apRunner), msModel(arModel), mcMap(arMap), mpReport(std::move(apReport)),
      mnDbgLevel(anDbgLevel)
{
}

bool tcRegisterBanks::selectBank(int anBank)
{
    return poke(0, anBank);
}

bool tcRegisterBanks::peek(int anRegister, int& arValue)
{
    if (!mpRunner->ProcessCommand(QStringLiteral("PEEK %1").arg(anRegister)))
        return false;
    arValue = mpRunner->getLastResult().toInt();
    return true;
}

// POKE answers false (not a failed line) when the camera refused the write.
bool tcRegisterBanks::poke(int anRegister, int anValue)
{
    return mpRunner->ProcessCommand(QStringLiteral("POKE %1 %2").arg(anRegister).arg(anValue)) &&
           mpRunner->getLastResult().toBool();
}

// True when the user asked to stop. A modal progress dialog handles events
// on every change of its value, so the value is moved only every few
// registers: repainting each step would take longer than the registers.
bool tcRegisterBanks::stepProgress(QProgressDialog& arProgress, int anValue, bool abForceEvents)
{
    if (!abForceEvents && anValue % kEventsEvery != 0)
        return false;
    arProgress.setValue(anValue);
    QCoreApplication::processEvents();
    return arProgress.wasCanceled();
}

void tcRegisterBanks::report(const QString& arFile, int anLine, const QString& arText)
{
    mpReport(QStringLiteral("%1, line %2: %3").arg(QFileInfo(arFile).fileName()).arg(anLine).arg(arText));
}

tcRegisterBanks::tcOutcome tcRegisterBanks::save(QSettings& arFile, const QString& arFileName)
{
    tcOutcome lcOutcome;
    const int lnBlocks = mcMap.blocks();
    lcOutcome.mnTotal = mcMap.mnBanks * lnBlocks * qMax(0, mcMap.mnRegs - 1);
    auto lpProgress =
        progressDialog(QStringLiteral("Saving Registers..."), mcMap.mnBanks * lnBlocks * mcMap.mnRegs);
    int lnStep = 0;
    for (int lnBank = 0; lnBank < mcMap.mnBanks; ++lnBank)
    {
        // Reading on after a failed select would file another bank's
        // registers under this one.
        if (!selectBank(lnBank))
        {
            mpReport(QStringLiteral("Unable to select sensor bank %1: the state was not saved").arg(lnBank));
            ++lcOutcome.mnProblems;
            return lcOutcome;
        }
        const QString lsGroup = bankGroup(msModel, lnBank);
        arFile.beginGroup(lsGroup);
        for (int lnBlock = 0; lnBlock < lnBlocks; ++lnBlock)
        {
            for (int lnReg = 0; lnReg < mcMap.mnRegs; ++lnReg)
            {
                int lnValue = 0;
                if (lnReg >= 1 && peek(lnReg, lnValue))
                {
                    const QString lsKey = mcMap.mnBlocks ? QStringLiteral("%1:%2").arg(lnReg).arg(lnBlock)
                                                         : QString::number(lnReg);
                    arFile.setValue(lsKey, lnValue);
                    ++lcOutcome.mnCount;
                }
                if (stepProgress(*lpProgress, ++lnStep, lnReg + 1 == mcMap.mnRegs))
                {
                    arFile.endGroup();
                    lcOutcome.mbAborted = true;
                    return lcOutcome;
                }
            }
        }
        arFile.endGroup();
        if (mnDbgLevel >= 1)
            qDebug() << "tcRegisterBanks::save"
                     << "Saved" << lcOutcome.mnCount << "registers to file" << arFileName
                     << "group=" << lsGroup;
    }
    lcOutcome.mbDone = true;
    return lcOutcome;
}

tcRegisterBanks::tcOutcome tcRegisterBanks::load(const tcStateFileScanner& arScan, const QString& arFileName)
{
    tcOutcome lcOutcome;
    QList<tcStateFileScanner::tcGroup> lcGroups;
    for (const tcStateFileScanner::tcGroup& lcGroup : arScan.groups())
        if (lcGroup.msName.contains(QLatin1String(kBankWord)) && lcGroup.msName.contains(msModel))
        {
            lcGroups.append(lcGroup);
            lcOutcome.mnTotal += lcGroup.mlEntries.size();
        }
    auto lpProgress = progressDialog(QStringLiteral("Loading Registers..."), lcOutcome.mnTotal);
    int lnSeen = 0;
    for (const tcStateFileScanner::tcGroup& lcGroup : lcGroups)
        if (!loadGroup(lcGroup, arFileName, *lpProgress, lcOutcome, lnSeen))
        {
            lcOutcome.mbAborted = true;
            return lcOutcome;
        }
    lpProgress->setValue(lcOutcome.mnTotal);
    lcOutcome.mbDone = true;
    return lcOutcome;
}

// False when the user stopped the load.
bool tcRegisterBanks::loadGroup(const tcStateFileScanner::tcGroup& arGroup, const QString& arFile,
                                QProgressDialog& arProgress, tcOutcome& arOutcome, int& arSeen)
{
    const QString& lsGroup = arGroup.msName;
    bool lbOk = false;
    const int lnBank = bankOfGroup(lsGroup, lbOk);
    if (!lbOk || lnBank < 0 || lnBank >= mcMap.mnBanks)
    {
        report(arFile, arGroup.mnLine,
               QStringLiteral("Bank %1 [%2] out of range for device")
                   .arg(lbOk ? QString::number(lnBank) : lsGroup, msModel));
        arOutcome.mnProblems += arGroup.mlEntries.size();
        arSeen += arGroup.mlEntries.size();
        return !stepProgress(arProgress, arSeen, true);
    }
    if (!selectBank(lnBank))
    {
        report(arFile, arGroup.mnLine,
               QStringLiteral("Unable to select sensor bank %1: its registers were not written").arg(lnBank));
        arOutcome.mnProblems += arGroup.mlEntries.size();
        arSeen += arGroup.mlEntries.size();
        return !stepProgress(arProgress, arSeen, true);
    }
    for (int i = 0; i < arGroup.mlEntries.size(); ++i)
    {
        const tcStateFileScanner::tcEntry& lcEntry = arGroup.mlEntries.at(i);
        ++arSeen;
        const int lnColon = lcEntry.msKey.indexOf(QLatin1Char(':'));
        bool lbRegOk = false;
        const int lnReg = (lnColon >= 0 ? lcEntry.msKey.mid(lnColon + 1) : lcEntry.msKey).toInt(&lbRegOk);
        bool lbValueOk = false;
        const int lnValue = lcEntry.msValue.toInt(&lbValueOk);
        if (lbRegOk && (lnReg < 0 || lnReg >= mcMap.mnRegs))
        {
            report(arFile, lcEntry.mnLine,
                   QStringLiteral("Register %1 out of range 0-%2 in group %3")
                       .arg(lnReg)
                       .arg(mcMap.mnRegs)
                       .arg(lsGroup));
            ++arOutcome.mnProblems;
        }
        else if (!lbRegOk || !lbValueOk || lnReg < 1)
        {
            // Register 0 selects the bank: a file never writes it.
            report(arFile, lcEntry.mnLine,
                   QStringLiteral("Error decoding %1=%2 in group %3")
                       .arg(lcEntry.msKey, lcEntry.msValue, lsGroup));
            ++arOutcome.mnProblems;
        }
        else if (poke(lnReg, lnValue))
        {
            ++arOutcome.mnCount;
        }
        else
        {
            report(arFile, lcEntry.mnLine,
                   QStringLiteral("Unable to write register %1 = %2 in group %3")
                       .arg(lnReg)
                       .arg(lnValue)
                       .arg(lsGroup));
            ++arOutcome.mnProblems;
        }
        if (stepProgress(arProgress, arSeen, i + 1 == arGroup.mlEntries.size()))
            return false;
    }
    return true;
}
