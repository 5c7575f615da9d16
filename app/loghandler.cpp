#include "loghandler.h"

#include <QDateTime>
#include <QFile>
#include <QTextStream>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>

#ifdef Q_OS_LINUX
#include <sys/syscall.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace
{
// Standard mutexes rather than QMutex: their locking is visible to the
// thread sanitizer, which cannot see inside Qt.
std::mutex gcLogMutex;
std::unique_ptr<QFile> gpLogFile;

std::atomic<bool> gbAddThreadId{false};

std::mutex gcReceiverMutex;
// Set before the event loop starts and cleared before the receiver dies.
QObject* gpCriticalReceiver = nullptr;

quint64 currentThreadNumber()
{
#ifdef Q_OS_LINUX
    // The kernel's id is the one debuggers and process monitors show.
    return static_cast<quint64>(::syscall(SYS_gettid));
#elif defined(Q_OS_WIN)
    return static_cast<quint64>(::GetCurrentThreadId());
#else
    return static_cast<quint64>(reinterpret_cast<quintptr>(QThread::currentThreadId()));
#endif
}

QString typedText(QtMsgType aeType, const QString& arText)
{
    switch (aeType)
    {
    case QtDebugMsg:
        return arText;
    case QtWarningMsg:
        return QStringLiteral("WARNING: %1").arg(arText);
    case QtCriticalMsg:
        return QStringLiteral("CRITICAL: %1").arg(arText);
    case QtFatalMsg:
        return QStringLiteral("FATAL: %1").arg(arText);
    case QtInfoMsg:
        return QStringLiteral("INFO: %1").arg(arText);
    }
    return arText;
}

void writeToLogFile(const QString& arLine)
{
    std::lock_guard<std::mutex> lcLock(gcLogMutex);
    if (!gpLogFile)
        return;
    QTextStream lcStream(gpLogFile.get());
    lcStream << arLine;
    lcStream.flush();
    gpLogFile->flush();
}

void writeToDebuggerChannel(const QString& arLine)
{
#ifdef Q_OS_WIN
    ::OutputDebugStringA(arLine.toLatin1().constData());
#else
    const QByteArray lcBytes = arLine.toLatin1();
    std::fwrite(lcBytes.constData(), 1, static_cast<size_t>(lcBytes.size()), stderr);
    std::fflush(stderr);
#endif
}

void postCritical(const QString& arLine)
{
    std::lock_guard<std::mutex> lcLock(gcReceiverMutex);
    if (gpCriticalReceiver)
        QMetaObject::invokeMethod(gpCriticalReceiver, "showCriticalMessage", Qt::QueuedConnection,
                                  Q_ARG(QString, arLine));
}
} // namespace

void tcLogHandler::install()
{
    qInstallMessageHandler(&tcLogHandler::handleMessage);
}

void tcLogHandler::setAddThreadId(bool abAdd)
{
    gbAddThreadId = abAdd;
}

bool tcLogHandler::openLogFile(const QString& arPath, QString* apError)
{
    std::lock_guard<std::mutex> lcLock(gcLogMutex);
    auto lpFile = std::make_unique<QFile>(arPath);
    if (!lpFile->open(QIODevice::WriteOnly | QIODevice::Append))
    {
        if (apError)
            *apError = lpFile->errorString();
        gpLogFile.reset();
        return false;
    }
    gpLogFile = std::move(lpFile);
    return true;
}

void tcLogHandler::closeLogFile()
{
    std::lock_guard<std::mutex> lcLock(gcLogMutex);
    if (gpLogFile)
        gpLogFile->close();
    gpLogFile.reset();
}

void tcLogHandler::setCriticalReceiver(QObject* apReceiver)
{
    std::lock_guard<std::mutex> lcLock(gcReceiverMutex);
    gpCriticalReceiver = apReceiver;
}

QString tcLogHandler::formatLine(QtMsgType aeType, const QMessageLogContext& arContext, const QString& arText)
{
    QString lsLine = QStringLiteral("%1: ").arg(
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")));
    lsLine += QStringLiteral("%1:%2 ").arg(QString::fromUtf8(arContext.file)).arg(arContext.line);
    if (gbAddThreadId)
        lsLine += QStringLiteral("tid:%1 ").arg(currentThreadNumber());
    lsLine += typedText(aeType, arText);
    lsLine += QStringLiteral("\r\n");
    return lsLine;
}

void tcLogHandler::handleMessage(QtMsgType aeType, const QMessageLogContext& arContext, const QString& arText)
{
    const QString lsLine = formatLine(aeType, arContext, arText);
    writeToLogFile(lsLine);
    writeToDebuggerChannel(lsLine);
    if (aeType == QtCriticalMsg)
        postCritical(lsLine);
    else if (aeType == QtFatalMsg)
        std::abort();
}
