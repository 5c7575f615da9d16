#include "cmdhandlergenicam.h"

#include "camerainterface.h"
#include "filedialogs.h"
#include "genicamiface.h"

#include <QApplication>
#include <QDebug>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSettings>
#include <QThread>

#include <memory>

using namespace GenApi;

namespace
{
const char* const kCategoriesGroup = "catagories";

// Dialogs are widgets: they exist only in the GUI thread of a widget program.
bool onGuiThread()
{
    auto* lpApp = qobject_cast<QApplication*>(QCoreApplication::instance());
    return lpApp && QThread::currentThread() == lpApp->thread();
}

CNodePtr nodeByName(tcCameraInterface* apCamera, const QString& arName)
{
    return apCamera->nodeMap()._GetNode(gcstring(arName.toLocal8Bit().constData()));
}

QString text(const gcstring& arText)
{
    return QString::fromLocal8Bit(arText.c_str());
}
} // namespace

tcCmdHandlerGenICam::tcCmdHandlerGenICam() : tcCmdHandler(QStringLiteral("GENI")) {}

QVariant tcCmdHandlerGenICam::handleCommand(tcCameraInterface* apCamera, const QStringList& arArgs,
                                            QString& arResult)
{
    if (!apCamera)
    {
        arResult = QStringLiteral("NULL camera");
        return QVariant();
    }
    if (arArgs.size() < 2)
        return QVariant();
    const QStringList lsSub = arArgs.mid(1);
    const QString lsCmd = lsSub.first().toUpper();
    if (lsCmd == QLatin1String("READ"))
        return handleRead(apCamera, lsSub, arResult);
    if (lsCmd == QLatin1String("WRITE"))
        return handleWrite(apCamera, lsSub, arResult);
    if (lsCmd == QLatin1String("EXEC"))
        return handleExec(apCamera, lsSub, arResult);
    if (lsCmd == QLatin1String("SAVE"))
        return handleSave(apCamera, lsSub, arResult);
    if (lsCmd == QLatin1String("LOAD"))
        return handleLoad(apCamera, lsSub, arResult);
    arResult = QStringLiteral("Unknown %1 cmd %2").arg(cmd(), lsCmd);
    return QVariant();
}

QVariant tcCmdHandlerGenICam::handleRead(tcCameraInterface* apCamera, const QStringList& arArgs,
                                         QString& arResult)
{
    if (arArgs.size() != 2)
        return QVariant();
    try
    {
        CNodePtr lpNode = nodeByName(apCamera, arArgs.at(1));
        if (!IsReadable(lpNode))
            return QVariant();
        const QVariant lcValue = tcGenICamIface::data(lpNode);
        if (lcValue.isValid())
            arResult += QStringLiteral(" = %1").arg(lcValue.toString());
        return lcValue;
    }
    catch (...)
    {
        warnCurrentException();
    }
    return QVariant();
}

QVariant tcCmdHandlerGenICam::handleWrite(tcCameraInterface* apCamera, const QStringList& arArgs,
                                          QString& arResult)
{
    if (arArgs.size() != 3)
        return QVariant(true);
    try
    {
        CNodePtr lpNode = apCamera->getGenICamIface()->getNode(arArgs.at(1));
        if (!IsWritable(lpNode) || !tcGenICamIface::setData(lpNode, QVariant(arArgs.at(2))))
            return QVariant();
        arResult += QStringLiteral("%1 = %2").arg(arArgs.at(1), arArgs.at(2));
        return QVariant(true);
    }
    catch (...)
    {
        warnCurrentException();
    }
    return QVariant();
}

QVariant tcCmdHandlerGenICam::handleExec(tcCameraInterface* apCamera, const QStringList& arArgs,
                                         QString& arResult)
{
    if (arArgs.size() < 2)
        return QVariant();
    try
    {
        CCommandPtr lpCommand = nodeByName(apCamera, arArgs.at(1));
        if (!lpCommand.IsValid())
        {
            arResult += QStringLiteral("%1 = %2").arg(arArgs.at(1), QStringLiteral("FAIL"));
            return QVariant();
        }
        lpCommand->Execute(true);
        arResult += QStringLiteral("%1 = %2").arg(arArgs.at(1), QStringLiteral("OK"));
        return QVariant(true);
    }
    catch (...)
    {
        warnCurrentException();
    }
    return QVariant();
}

// The rest of the line is the file name: blanks and "+" split tokens, so they
// are joined back with blanks. Without one, a dialog asks, where there can be
// one.
QString tcCmdHandlerGenICam::fileName(const QStringList& arArgs, bool abSave, QString& arResult) const
{
    const QString lsName = arArgs.mid(1).join(QLatin1Char(' '));
    if (!lsName.isEmpty())
        return lsName;
    if (!onGuiThread())
    {
        arResult += QStringLiteral("\nNo file name given");
        return QString();
    }
    const QString lsFilter = QStringLiteral("Ini Files (*.ini)");
    return abSave ? tcFileDialogs::getSaveFileName(nullptr, QStringLiteral("Save settings to file"),
                                                   QString(), lsFilter)
                  : tcFileDialogs::getOpenFileName(nullptr, QStringLiteral("Load settings from file"),
                                                   QString(), lsFilter);
}

QVariant tcCmdHandlerGenICam::handleSave(tcCameraInterface* apCamera, const QStringList& arArgs,
                                         QString& arResult)
{
    const QString lsFile = fileName(arArgs, true, arResult);
    if (lsFile.isEmpty())
        return QVariant();
    QSettings lcFile(lsFile, QSettings::IniFormat);
    if (lcFile.status() != QSettings::NoError)
        return QVariant();
    try
    {
        QStringList lsGroups;
        CCategoryPtr lpRoot = nodeByName(apCamera, QStringLiteral("Root"));
        FeatureList_t lcFeatures;
        if (lpRoot.IsValid())
            lpRoot->GetFeatures(lcFeatures);
        for (IValue* lpFeature : lcFeatures)
        {
            CCategoryPtr lpCategory(lpFeature);
            if (!lpCategory.IsValid())
                continue;
            const QString lsGroup =
                text(lpCategory->ToString()).replace(QLatin1Char('/'), QStringLiteral("%47"));
            lsGroups << lsGroup;
            saveCategory(lpCategory, lsGroup, lcFile, arResult);
        }
        lcFile.beginGroup(QLatin1String(kCategoriesGroup));
        for (const QString& lsGroup : lsGroups)
            lcFile.setValue(lsGroup, true);
        lcFile.endGroup();
    }
    catch (...)
    {
        warnCurrentException();
        return QVariant();
    }
    lcFile.sync();
    qDebug() << "tcCmdHandlerGenICam::handleSave" << lsFile << lcFile.status();
    // A file that could not be written is a failed save, not a success.
    if (lcFile.status() != QSettings::NoError)
        return QVariant();
    return QVariant(true);
}

// Every direct feature goes into the transcript; readable value features also
// into the file. Nested categories are not descended into.
void tcCmdHandlerGenICam::saveCategory(CCategoryPtr apCategory, const QString& arGroup, QSettings& arFile,
                                       QString& arResult)
{
    FeatureList_t lcFeatures;
    apCategory->GetFeatures(lcFeatures);
    arFile.beginGroup(arGroup);
    for (IValue* lpFeature : lcFeatures)
    {
        CNodePtr lpNode(lpFeature);
        const QVariant lcValue = tcGenICamIface::data(lpNode);
        const QString lsValue = lcValue.isValid() ? lcValue.toString() : QStringLiteral("cannot get value");
        arResult += text(lpNode->GetName(true)) + QLatin1Char('=') + lsValue + QLatin1Char('\n');
        if (lcValue.isValid() && isValueType(lpNode))
            arFile.setValue(text(lpNode->GetName(false)), lsValue);
    }
    arFile.endGroup();
}

bool tcCmdHandlerGenICam::isValueType(CPointer<INode> apNode)
{
    if (!apNode.IsValid() || apNode->GetAccessMode() == NI)
        return false;
    switch (apNode->GetPrincipalInterfaceType())
    {
    case intfIInteger:
    case intfIBoolean:
    case intfIFloat:
    case intfIString:
    case intfIRegister:
    case intfIEnumeration:
        return true;
    default:
        return false;
    }
}

QVariant tcCmdHandlerGenICam::handleLoad(tcCameraInterface* apCamera, const QStringList& arArgs,
                                         QString& arResult)
{
    const QString lsFile = fileName(arArgs, false, arResult);
    if (lsFile.isEmpty())
        return QVariant();
    // A settings object reads a missing file as an empty one; loading nothing
    // from a mistyped name must not look like a successful load.
    if (!QFileInfo(lsFile).isFile())
    {
        arResult += QStringLiteral("\nNo such file");
        return QVariant();
    }
    QSettings lcFile(lsFile, QSettings::IniFormat);
    if (lcFile.status() != QSettings::NoError)
        return QVariant();

    QStringList lsGroups;
    lcFile.beginGroup(QLatin1String(kCategoriesGroup));
    for (const QString& lsKey : lcFile.childKeys())
        if (lcFile.value(lsKey, false).toBool())
            lsGroups << lsKey;
    lcFile.endGroup();

    // The progress dialog is a widget; away from the GUI thread the load
    // runs without one.
    std::unique_ptr<QProgressDialog> lpProgress;
    if (onGuiThread())
    {
        lpProgress = std::make_unique<QProgressDialog>(QStringLiteral("Loading settings..."),
                                                       QStringLiteral("Cancel"), 0, lsGroups.size());
        lpProgress->setAutoClose(true);
    }
    try
    {
        for (int i = 0; i < lsGroups.size(); ++i)
        {
            if (lpProgress)
                lpProgress->setLabelText(QStringLiteral("Loading %1 settings...").arg(lsGroups.at(i)));
            loadGroup(apCamera, lsGroups.at(i), lcFile, arResult);
            if (lpProgress)
            {
                lpProgress->setValue(i + 1);
                QCoreApplication::processEvents();
            }
        }
    }
    catch (...)
    {
        warnCurrentException();
        return QVariant();
    }
    return QVariant(true);
}

// Only features writable at this moment are set; the rest are skipped.
void tcCmdHandlerGenICam::loadGroup(tcCameraInterface* apCamera, const QString& arGroup, QSettings& arFile,
                                    QString& arResult)
{
    arFile.beginGroup(arGroup);
    for (const QString& lsKey : arFile.childKeys())
    {
        const QVariant lcValue = arFile.value(lsKey);
        CNodePtr lpNode = apCamera->getGenICamIface()->getNode(lsKey);
        QString lsStatus = QStringLiteral("skipped");
        if (IsWritable(lpNode))
        {
            if (tcGenICamIface::setData(lpNode, lcValue))
            {
                lsStatus = QStringLiteral("OK");
            }
            else
            {
                arResult += QStringLiteral("Error setting %1 = %2\n").arg(lsKey, lcValue.toString());
                lsStatus = QStringLiteral("ERROR");
            }
        }
        if (GetDbgLevel() >= 1)
            qDebug() << "tcCmdHandlerGenICam::handleLoad"
                     << "[" << getName() << 1 << "]"
                     << "key=" << lsKey << lcValue << lsStatus;
    }
    arFile.endGroup();
}

QString tcCmdHandlerGenICam::help()
{
    return QStringLiteral(
               "%1 - Used to run GenApi commands (XML features).\n%1 READ <address>\n%1 WRITE <address> "
               "<value>\n%1 EXEC <command>\n%1 SAVE <filename>\n%1 LOAD <filename>\n")
        .arg(cmd());
}
