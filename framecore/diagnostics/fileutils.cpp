#include "fileutils.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace tnFileUtils
{
#ifdef Q_OS_WIN
bool showInGraphicalShell(QWidget* apParent, const QString& arPath)
{
    const QString lsExplorer = QStandardPaths::findExecutable(QStringLiteral("explorer.exe"));
    if (lsExplorer.isEmpty())
    {
        QMessageBox::warning(
            apParent, QCoreApplication::translate("Core::Internal", "Launching Windows Explorer Failed"),
            QCoreApplication::translate("Core::Internal",
                                        "Could not find explorer.exe in path to launch Windows Explorer."),
            QMessageBox::Ok);
        return false;
    }
    const QFileInfo lcInfo(arPath);
    QStringList lsArguments;
    if (!lcInfo.isDir())
        lsArguments << QStringLiteral("/select,");
    lsArguments << QDir::toNativeSeparators(lcInfo.canonicalFilePath());
    return QProcess::startDetached(lsExplorer, lsArguments);
}
#else
bool showInGraphicalShell(QWidget* apParent, const QString& arPath)
{
    const QFileInfo lcInfo(arPath);
    if (!lcInfo.exists())
    {
        qWarning() << "showInGraphicalShell: no such file or folder" << arPath;
        return false;
    }
    // Desktop file managers cannot be told portably to select a file, so the
    // folder holding it is opened instead.
    const QString lsFolder = lcInfo.isDir() ? lcInfo.canonicalFilePath() : lcInfo.canonicalPath();
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(lsFolder)))
        return true;
    QMessageBox::warning(apParent,
                         QCoreApplication::translate("Core::Internal", "Launching File Manager Failed"),
                         QCoreApplication::translate("Core::Internal", "Could not open the folder %1.")
                             .arg(QDir::toNativeSeparators(lsFolder)),
                         QMessageBox::Ok);
    return false;
}
#endif
} // namespace tnFileUtils
