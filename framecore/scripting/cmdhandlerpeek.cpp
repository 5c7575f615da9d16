#include "cmdhandlerpeek.h"

#include "camerainterface.h"

using namespace GenApi;

tcCmdHandlerPeek::tcCmdHandlerPeek() : tcCmdHandler(QStringLiteral("PEEK")) {}

QVariant tcCmdHandlerPeek::handleCommand(tcCameraInterface* apCamera, const QStringList& arArgs,
                                         QString& arResult)
{
    if (!apCamera)
    {
        arResult = QStringLiteral("NULL camera");
        return QVariant();
    }
    if (arArgs.size() != 2)
        return QVariant(0);
    try
    {
        CNodeMapRef& lrMap = apCamera->nodeMap();
        CIntegerPtr lpAddress = lrMap._GetNode("RegAddress");
        CIntegerPtr lpValue = lrMap._GetNode("RegValue");
        CCommandPtr lpRead = lrMap._GetNode("ExecRead");
        const int lnAddress = arArgs.at(1).toInt(nullptr, 0);
        if (!IsWritable(lpAddress) || !lpRead.IsValid())
            return QVariant();
        lpAddress->SetValue(lnAddress, true);
        lpRead->Execute(true);
        if (!IsReadable(lpValue))
            return QVariant();
        const int lnValue = static_cast<int>(lpValue->GetValue());
        arResult += QStringLiteral(" = %1").arg(lnValue);
        return QVariant(lnValue);
    }
    catch (...)
    {
        warnCurrentException();
    }
    return QVariant();
}

QString tcCmdHandlerPeek::help()
{
    return QStringLiteral("%1 - Used to read a sensor register.\n%1 <address>\n").arg(cmd());
}
