#include "cmdhandlerpoke.h"

#include "camerainterface.h"

using namespace GenApi;

tcCmdHandlerPoke::tcCmdHandlerPoke() : tcCmdHandler(QStringLiteral("POKE")) {}

// A missing feature or a refused write is a negative outcome, not a failed
// line: scripts check it with CMP.
QVariant tcCmdHandlerPoke::handleCommand(tcCameraInterface* apCamera, const QStringList& arArgs,
                                         QString& arResult)
{
    if (!apCamera)
    {
        arResult = QStringLiteral("NULL camera");
        return QVariant();
    }
    if (arArgs.size() != 3)
        return QVariant(true);
    try
    {
        CNodeMapRef& lrMap = apCamera->nodeMap();
        CIntegerPtr lpAddress = lrMap._GetNode("RegAddress");
        CIntegerPtr lpValue = lrMap._GetNode("RegValue");
        CCommandPtr lpWrite = lrMap._GetNode("ExecWrite");
        // Values that do not fit a signed 32-bit number are written as 0.
        const int lnAddress = arArgs.at(1).toInt(nullptr, 0);
        const int lnValue = arArgs.at(2).toInt(nullptr, 0);
        if (!IsWritable(lpAddress))
            return QVariant(false);
        lpAddress->SetValue(lnAddress, true);
        if (!IsWritable(lpValue))
            return QVariant(false);
        lpValue->SetValue(lnValue, true);
        if (!lpWrite.IsValid())
            return QVariant(false);
        lpWrite->Execute(true);
        arResult += QStringLiteral(" = OK");
        return QVariant(true);
    }
    catch (...)
    {
        warnCurrentException();
    }
    return QVariant(false);
}

QString tcCmdHandlerPoke::help()
{
    return QStringLiteral("%1 - Used to write a sensor register.\n%1 <address> <value>\n").arg(cmd());
}
