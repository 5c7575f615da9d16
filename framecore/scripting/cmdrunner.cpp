#include "cmdrunner.h"

#include "cmdhandler.h"
#include "cmdhandlercamera.h"
#include "cmdhandlercmp.h"
#include "cmdhandlergenicam.h"
#include "cmdhandlerprompt.h"
#include "cmdhandlersleep.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>

#include <memory>

namespace
{
// Every blank and every "+" separates tokens; two in a row give an empty one.
const QRegularExpression& tokenSeparator()
{
    static const QRegularExpression scSeparator(QStringLiteral("[\\s+]"),
                                                QRegularExpression::UseUnicodePropertiesOption);
    return scSeparator;
}
} // namespace

tcCmdRunner::tcCmdRunner(QObject* apParent, QSettings* apSettings)
    : tcCmdRunner(apParent, nullptr, QString(), apSettings)
{
}

tcCmdRunner::tcCmdRunner(QObject* apParent, tcCameraInterface* apCamera, const QString& arFileName,
                         QSettings* apSettings)
    : tcViewerThread(apParent, apCamera, apSettings, QStringLiteral("tcCmdRunner")), msFileName(arFileName)
{
    qRegisterMetaType<QMessageBox::StandardButtons>("QMessageBox::StandardButtons");
    initCmdMap();
    if (GetDbgLevel() >= 1)
    {
        qDebug() << "tcCmdRunner::tcCmdRunner"
                 << "[" << getName() << 1 << "]" << this << "camera" << apCamera << "file" << arFileName;
        logHandlerTable();
    }
}

// A running script is asked to stop and waited for before the handlers go
// with the table.
tcCmdRunner::~tcCmdRunner()
{
    waitForEnd();
}

void tcCmdRunner::initCmdMap()
{
    addCommand(QSharedPointer<tcCmdHandler>(new tcCmdHandlerSleep()));
    addCommand(QSharedPointer<tcCmdHandler>(new tcCmdHandlerCmp(this)));
    addCommand(QSharedPointer<tcCmdHandler>(new tcCmdHandlerGenICam()));
    addCommand(QSharedPointer<tcCmdHandler>(new tcCmdHandlerCamera()));

    // Shared from the QObject-derived type, so that Qt's object lifetime and
    // the shared pointer agree.
    QSharedPointer<tcCmdHandlerPrompt> lpPrompt(new tcCmdHandlerPrompt());
    connect(lpPrompt.data(), &tcCmdHandlerPrompt::showMessageBox, this, &tcCmdRunner::showMessageBox);
    connect(this, &tcCmdRunner::messageBoxDone, lpPrompt.data(), &tcCmdHandlerPrompt::messageBoxDone);
    addCommand(lpPrompt);
}

void tcCmdRunner::addCommand(QSharedPointer<tcCmdHandler> apHandler)
{
    if (!apHandler)
    {
        qWarning() << "tcCmdRunner::addCommand"
                   << "Null command!";
        return;
    }
    const QString lsName = apHandler->cmd();
    bool lbKnown = false;
    {
        std::lock_guard<std::mutex> lcGuard(mcLock);
        lbKnown = mhHandlers.contains(lsName);
        if (!lbKnown)
            mhHandlers.insert(lsName, apHandler);
    }
    if (lbKnown)
    {
        if (GetDbgLevel() >= 2)
            qDebug() << "tcCmdRunner::addCommand"
                     << "[" << getName() << 2 << "]"
                     << "Command" << lsName << "already captured";
        return;
    }
    if (GetDbgLevel() >= 1)
    {
        qDebug() << "tcCmdRunner::addCommand"
                 << "[" << getName() << 1 << "]"
                 << "Registering CMD handler" << lsName;
        logHandlerTable();
    }
}

void tcCmdRunner::logHandlerTable() const
{
    const tcHandlerMap lhHandlers = getCmdHandlers();
    qDebug() << "tcCmdRunner"
             << "[" << getName() << 1 << "]" << lhHandlers.size() << "Commands registered...";
    for (auto lcIt = lhHandlers.cbegin(); lcIt != lhHandlers.cend(); ++lcIt)
        qDebug() << "   " << lcIt.key() << "@" << static_cast<const void*>(lcIt.value().data());
}

QSharedPointer<tcCmdHandler> tcCmdRunner::GetHandlerForCommand(const QString& arWord) const
{
    const QString lsWord = arWord.toUpper();
    std::lock_guard<std::mutex> lcGuard(mcLock);
    for (auto lcIt = mhHandlers.cbegin(); lcIt != mhHandlers.cend(); ++lcIt)
        if (lcIt.key() == lsWord)
            return lcIt.value();
    // Any prefix abbreviates a command; table order settles ambiguity.
    for (auto lcIt = mhHandlers.cbegin(); lcIt != mhHandlers.cend(); ++lcIt)
        if (lcIt.key().startsWith(lsWord))
            return lcIt.value();
    return QSharedPointer<tcCmdHandler>();
}

bool tcCmdRunner::ProcessCommand(const QString& arLine)
{
    // The camera's address only: the runner never touches the camera itself.
    qDebug() << "tcCmdRunner::ProcessCommand" << this << static_cast<const void*>(camera()) << arLine;
    QString lsText = arLine;
    QStringList lsTokens = arLine.split(tokenSeparator(), Qt::KeepEmptyParts);
    if (lsTokens.isEmpty())
        return false;
    for (int i = 1; i < lsTokens.size(); ++i)
        lsTokens[i] = SubstituteVariables(lsTokens[i]);

    bool lbOk = false;
    const QString lsWord = lsTokens.first().toUpper();
    if (lsWord == QLatin1String("HELP"))
    {
        lsText = help(lsTokens.size() >= 2 ? lsTokens.at(1) : QString());
        lbOk = true;
    }
    else if (lsTokens.size() == 2 && lsTokens.at(1).toUpper() == QLatin1String("HELP"))
    {
        lsText = help(lsTokens.first());
        lbOk = true;
    }
    else if (QSharedPointer<tcCmdHandler> lpHandler = GetHandlerForCommand(lsTokens.first()))
    {
        const QVariant lcResult = lpHandler->handleCommand(camera(), lsTokens, lsText);
        lbOk = !lcResult.isNull();
        std::lock_guard<std::mutex> lcGuard(mcLock);
        mcLastResult = lcResult;
    }
    appendResult(lsText + QLatin1Char('\n'));
    emit Message(lsText);
    return lbOk;
}

QString tcCmdRunner::SubstituteVariables(const QString& arToken)
{
    if (!settings())
        return arToken;
    if (arToken.size() < 4 || !arToken.startsWith(QLatin1String("${")))
        return arToken;
    // The last character is taken for the closing brace, whatever it is.
    const QString lsName = arToken.mid(2, arToken.size() - 3);
    const QString lsValue = readVariable(lsName, lsName);
    emit Message(QStringLiteral("%1 = %2").arg(arToken, lsValue));
    return lsValue;
}

// QSettings may not be shared between threads: away from the thread that owns
// the store, a short-lived store on the same file reads the value (stores of
// one file share their unsaved changes within the process).
QString tcCmdRunner::readVariable(const QString& arName, const QString& arDefault) const
{
    const QString lsKey = QStringLiteral("variables/%1").arg(arName);
    QSettings* lpSettings = settings();
    if (lpSettings->thread() == QThread::currentThread())
        return lpSettings->value(lsKey, arDefault).toString();
    QSettings lcStore(lpSettings->fileName(), lpSettings->format());
    return lcStore.value(lsKey, arDefault).toString();
}

QStringList tcCmdRunner::cmds() const
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    return QStringList(QStringLiteral("HELP")) + mhHandlers.keys();
}

QString tcCmdRunner::help(const QString& arName) const
{
    const QStringList lsNames = arName.isEmpty() ? getCmdHandlers().keys() : QStringList(arName);
    QString lsText;
    for (const QString& lsName : lsNames)
    {
        QSharedPointer<tcCmdHandler> lpHandler = GetHandlerForCommand(lsName);
        if (!lpHandler)
        {
            lsText += QStringLiteral("cmd %1 not found\n\n").arg(lsName);
            continue;
        }
        lsText += QStringLiteral("%1\n%2\n").arg(lsName, QString(lsName.size(), QLatin1Char('-')));
        lsText += lpHandler->help();
        if (!lsText.endsWith(QLatin1Char('\n')))
            lsText += QLatin1Char('\n');
        lsText += QLatin1Char('\n');
    }
    return lsText;
}

QString tcCmdRunner::getResult() const
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    return msResult;
}

QVariant tcCmdRunner::getLastResult() const
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    return mcLastResult;
}

void tcCmdRunner::setFilename(const QString& arFileName)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    msFileName = arFileName;
}

QString tcCmdRunner::getFilename() const
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    return msFileName;
}

tcCmdRunner::tcHandlerMap tcCmdRunner::getCmdHandlers() const
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    return mhHandlers;
}

void tcCmdRunner::setCmdHandlers(const tcHandlerMap& arHandlers)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    mhHandlers = arHandlers;
}

unsigned int tcCmdRunner::hexOrDec32bitValue(const QString& arText, bool* apOk)
{
    const bool lbHex = arText.startsWith(QLatin1String("0x"));
    const int lnValue = lbHex ? arText.mid(2).toInt(apOk, 16) : arText.toInt(apOk, 10);
    return static_cast<unsigned int>(lnValue);
}

void tcCmdRunner::messageBoxFinished(QMessageBox::StandardButtons anButton)
{
    emit messageBoxDone(anButton);
}

void tcCmdRunner::appendResult(const QString& arText)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    msResult += arText;
}

QString tcCmdRunner::runHeader() const
{
    const QString lsFile = getFilename();
    QString lsHeader = QDateTime::currentDateTime().toString() + QLatin1Char('\n');
    lsHeader += QStringLiteral("Command Runner (0x%1) ").arg(reinterpret_cast<quintptr>(this), 0, 16);
    if (!lsFile.isEmpty())
        lsHeader += QStringLiteral("File:%1").arg(lsFile);
    return lsHeader + QLatin1Char('\n');
}

void tcCmdRunner::run()
{
    {
        const QString lsHeader = runHeader();
        std::lock_guard<std::mutex> lcGuard(mcLock);
        msResult = lsHeader;
    }
    emit Progress(0);
    runScript();
    emit Progress(100);
    clearAbort();
}

// Runs the script file line by line and reports the outcome exactly once: the
// first failing line, an abort or a file that cannot be read end the run as a
// failure.
void tcCmdRunner::runScript()
{
    const QString lsFileName = getFilename();
    QFile lcFile(lsFileName);
    if (!lcFile.open(QIODevice::ReadOnly | QIODevice::Text))
    {
        appendResult(lcFile.errorString());
        ThreadComplete(false, tr("Unable to open %1: %2").arg(lsFileName, lcFile.errorString()));
        return;
    }
    emit Message(tr("Running script %1").arg(lsFileName));

    const qint64 lnSize = lcFile.size();
    int lnLine = 0;
    while (!lcFile.atEnd())
    {
        if (abortRequested())
        {
            ThreadComplete(false, tr("Script aborted before line %1 of %2").arg(lnLine + 1).arg(lsFileName));
            return;
        }
        if (lnSize > 0)
            emit Progress(static_cast<int>(lcFile.pos() * 100 / lnSize));
        const QString lsLine = QString::fromLocal8Bit(lcFile.readLine()).trimmed();
        ++lnLine;
        if (lsLine.isEmpty() || lsLine.startsWith(QLatin1Char('#')))
            continue;
        if (!ProcessCommand(lsLine))
        {
            ThreadComplete(false, tr("Error processing line %1: %2").arg(lnLine).arg(lsLine));
            return;
        }
    }
    ThreadComplete(true, tr("%1 complete").arg(lsFileName));
}
