#include "cmdhandler.h"

#include "genicamiface.h"
#include "gentlexcept.h"

#include <QDebug>

tcCmdHandler::tcCmdHandler(const QString& arCmd) : tcDebugSource(arCmd), msCmd(arCmd) {}

tcCmdHandler::~tcCmdHandler() = default;

void tcCmdHandler::warnCurrentException()
{
    try
    {
        throw;
    }
    catch (const GenTLExcept& arError)
    {
        qWarning().noquote() << arError.message();
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
    }
    catch (...)
    {
        qWarning() << "Unhandled Execption";
    }
}
