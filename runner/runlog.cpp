#include "runlog.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <memory>
#include <mutex>

namespace
{
std::mutex gcLock;
std::unique_ptr<QFile> gpLogFile;

const char* prefixOf(QtMsgType anType)
{
    switch (anType)
    {
    case QtWarningMsg:
        return "WARNING: ";
    case QtCriticalMsg:
        return "CRITICAL: ";
    case QtFatalMsg:
        return "FATAL: ";
    case QtInfoMsg:
        return "INFO: ";
    case QtDebugMsg:
        break;
    }
    return "";
}

void handleMessage(QtMsgType anType, const QMessageLogContext& arContext, const QString& arText)
{
    const bool lbForUser = anType != QtDebugMsg && anType != QtInfoMsg;
    std::lock_guard<std::mutex> lcGuard(gcLock);
    // Without a log file the many trace lines of a long script cost nothing.
    if (gpLogFile)
    {
        const QString lsLine =
            tcRunLog::formatLine(anType, QString::fromUtf8(arContext.file), arContext.line, arText);
        gpLogFile->write(lsLine.toUtf8() + "\r\n");
        gpLogFile->flush();
    }
    if (lbForUser)
    {
        std::fprintf(stderr, "kestrix-run: %s%s\n", prefixOf(anType), qUtf8Printable(arText));
        std::fflush(stderr);
    }
}
} // namespace

void tcRunLog::installEarly()
{
    qInstallMessageHandler(&handleMessage);
}

bool tcRunLog::install(const QString& arLogFile, QString* apError)
{
    if (!arLogFile.isEmpty())
    {
        auto lpFile = std::make_unique<QFile>(arLogFile);
        if (!lpFile->open(QIODevice::WriteOnly | QIODevice::Append))
        {
            if (apError)
                *apError =
                    QStringLiteral("Unable to open log file %1\n%2").arg(arLogFile, lpFile->errorString());
            return false;
        }
        std::lock_guard<std::mutex> lcGuard(gcLock);
        gpLogFile = std::move(lpFile);
    }
    qInstallMessageHandler(&handleMessage);
    return true;
}

void tcRunLog::close()
{
    std::lock_guard<std::mutex> lcGuard(gcLock);
    gpLogFile.reset();
}

QString tcRunLog::formatLine(QtMsgType anType, const QString& arFile, int anLine, const QString& arText)
{
    QString lsLine = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz: "));
    if (!arFile.isEmpty())
        lsLine += QStringLiteral("%1:%2 ").arg(QFileInfo(arFile).fileName()).arg(anLine);
    return lsLine + QLatin1String(prefixOf(anType)) + arText;
}
