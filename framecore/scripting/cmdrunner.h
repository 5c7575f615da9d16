#pragma once

#include "framecore_export.h"
#include "viewerthread.h"

#include <QMap>
#include <QMessageBox>
#include <QSharedPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <mutex>

class tcCmdHandler;

// Runs one-line text commands against the open camera: one at a time through
// ProcessCommand() in the caller's thread, or a whole script file on its own
// thread. Each command word is served by a registered handler; the runner
// splits lines into tokens, substitutes variables, keeps the value of the last
// command and a human-readable transcript of everything it ran.
//
// The handler table, the last result and the transcript are guarded by one
// lock, so the script thread and direct callers may use the runner at once;
// handlers themselves run unlocked, in the thread that called.
class FRAMECORE_EXPORT tcCmdRunner : public tcViewerThread
{
    Q_OBJECT

public:
    using tcHandlerMap = QMap<QString, QSharedPointer<tcCmdHandler>>;

    tcCmdRunner(QObject* apParent, QSettings* apSettings);
    tcCmdRunner(QObject* apParent, tcCameraInterface* apCamera, const QString& arFileName,
                QSettings* apSettings);
    ~tcCmdRunner() override;

    void addCommand(QSharedPointer<tcCmdHandler> apHandler);
    bool ProcessCommand(const QString& arLine);
    QStringList cmds() const;
    QString help(const QString& arName) const;
    QString getResult() const;
    QVariant getLastResult() const;
    void setFilename(const QString& arFileName);
    QString getFilename() const;
    tcHandlerMap getCmdHandlers() const;
    void setCmdHandlers(const tcHandlerMap& arHandlers);

    // Decimal, or hexadecimal after a lower-case "0x", read as a signed 32-bit
    // number and returned as its unsigned bit pattern.
    static unsigned int hexOrDec32bitValue(const QString& arText, bool* apOk);

signals:
    void showMessageBox(QMessageBox::StandardButtons anButtons, QString arMsg);
    void messageBoxDone(QMessageBox::StandardButtons);

public slots:
    void messageBoxFinished(QMessageBox::StandardButtons anButton);

protected:
    void run() override;

private:
    QSharedPointer<tcCmdHandler> GetHandlerForCommand(const QString& arWord) const;
    QString SubstituteVariables(const QString& arToken);
    QString readVariable(const QString& arName, const QString& arDefault) const;
    void initCmdMap();
    tcHandlerMap& cmdHandlers() { return mhHandlers; }
    void appendResult(const QString& arText);
    QString runHeader() const;
    void runScript();
    void logHandlerTable() const;

    mutable std::mutex mcLock;
    QVariant mcLastResult;
    QString msFileName;
    QString msResult;
    tcHandlerMap mhHandlers;
};
