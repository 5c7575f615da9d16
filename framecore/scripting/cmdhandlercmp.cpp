#include "cmdhandlercmp.h"

#include "cmdrunner.h"

namespace
{
// The all-ones pattern stands for "no mask", so a mask of that value is none.
constexpr unsigned int kNoMask = 0xFFFFFFFFu;
} // namespace

tcCmdHandlerCmp::tcCmdHandlerCmp(tcCmdRunner* apRunner)
    : tcCmdHandler(QStringLiteral("CMP")), mpRunner(apRunner)
{
}

QVariant tcCmdHandlerCmp::handleCommand(tcCameraInterface*, const QStringList& arArgs, QString& arResult)
{
    unsigned int lnMask = kNoMask;
    if (arArgs.size() > 2)
    {
        bool lbMaskOk = false;
        const unsigned int lnParsed = tcCmdRunner::hexOrDec32bitValue(arArgs.at(2), &lbMaskOk);
        if (lbMaskOk)
            lnMask = lnParsed;
    }
    if (arArgs.size() < 2)
        return QVariant(true);

    const QVariant lcLast = mpRunner ? mpRunner->getLastResult() : QVariant();
    const QString& lrValue = arArgs.at(1);
    bool lbValueOk = false;
    const unsigned int lnValue = tcCmdRunner::hexOrDec32bitValue(lrValue, &lbValueOk);

    bool lbEqual = false;
    QString lsShown;
    if (lnMask == kNoMask)
    {
        lbEqual = lrValue == lcLast.toString();
        lsShown = lrValue;
    }
    else
    {
        const unsigned int lnMasked = lcLast.toUInt() & lnMask;
        lbEqual = lbValueOk && lnValue == lnMasked;
        lsShown = QString::number(lnMasked);
    }
    arResult += QStringLiteral("\n%2 %1 %3 %4")
                    .arg(lsShown, lbEqual ? QStringLiteral(" PASS:") : QStringLiteral(" FAIL:"),
                         lbEqual ? QStringLiteral("=") : QStringLiteral("!="), lcLast.toString());
    return QVariant(lbEqual);
}

QString tcCmdHandlerCmp::help()
{
    return QStringLiteral(
               "%1 - Used to compare a value to the last value from a command.\n%1 <value to compare>  "
               "[mask]\n    mask is an optional bitmask to apply before comparing")
        .arg(cmd());
}
