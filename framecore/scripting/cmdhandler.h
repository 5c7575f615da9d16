#pragma once

#include "debugsource.h"
#include "framecore_export.h"

#include <QString>
#include <QStringList>
#include <QVariant>

class tcCameraInterface;

// One command word of the script language. The runner hands every handler the
// whole tokenised line (the command word first) and the transcript text of
// that line, which arrives holding the line as typed; the handler extends or
// replaces that text. A null returned value means the command failed; any
// other value, false included, means it ran and becomes the runner's last
// result.
class FRAMECORE_EXPORT tcCmdHandler : public tcDebugSource
{
public:
    ~tcCmdHandler() override;

    virtual QVariant handleCommand(tcCameraInterface* apCamera, const QStringList& arArgs,
                                   QString& arResult) = 0;
    virtual QString help() = 0;

    QString cmd() const { return msCmd; }

protected:
    // The command word doubles as the debug-source name, so each command's
    // diagnostics are turned up or down under its own word.
    explicit tcCmdHandler(const QString& arCmd);
    tcCmdHandler(const tcCmdHandler& arOther) = default;
    tcCmdHandler(tcCmdHandler&& arOther) = default;
    tcCmdHandler& operator=(const tcCmdHandler& arOther) = default;
    tcCmdHandler& operator=(tcCmdHandler&& arOther) = default;

    // To be called inside a catch block: writes the exception being handled
    // as a warning in the form the system uses for its kind.
    static void warnCurrentException();

private:
    QString msCmd;
};
