#include "filedialogs.h"

#include <QFileDialog>

#include <utility>

namespace
{
tcFileDialogs::tcAnswerer& answerer()
{
    static tcFileDialogs::tcAnswerer scAnswerer;
    return scAnswerer;
}

QString first(const QStringList& arPaths)
{
    return arPaths.isEmpty() ? QString() : arPaths.first();
}

// A dialog that was cancelled answers with an empty path.
QStringList chosen(const QString& arPath)
{
    return arPath.isEmpty() ? QStringList() : QStringList(arPath);
}
} // namespace

QString tcFileDialogs::getOpenFileName(QWidget* apParent, const QString& arTitle, const QString& arStartPath,
                                       const QString& arFilter)
{
    return first(ask({eOpenFile, apParent, arTitle, arStartPath, arFilter}));
}

QStringList tcFileDialogs::getOpenFileNames(QWidget* apParent, const QString& arTitle,
                                            const QString& arStartPath, const QString& arFilter)
{
    return ask({eOpenFiles, apParent, arTitle, arStartPath, arFilter});
}

QString tcFileDialogs::getSaveFileName(QWidget* apParent, const QString& arTitle, const QString& arStartPath,
                                       const QString& arFilter)
{
    return first(ask({eSaveFile, apParent, arTitle, arStartPath, arFilter}));
}

QString tcFileDialogs::getExistingDirectory(QWidget* apParent, const QString& arTitle,
                                            const QString& arStartPath)
{
    return first(ask({eDirectory, apParent, arTitle, arStartPath, QString()}));
}

tcFileDialogs::tcAnswerer tcFileDialogs::setAnswerer(tcAnswerer afAnswerer)
{
    return std::exchange(answerer(), std::move(afAnswerer));
}

QStringList tcFileDialogs::ask(const tcRequest& arRequest)
{
    if (answerer())
        return answerer()(arRequest);
    const QString& lrTitle = arRequest.msTitle;
    const QString& lrStart = arRequest.msStartPath;
    switch (arRequest.meKind)
    {
    case eOpenFiles:
        return QFileDialog::getOpenFileNames(arRequest.mpParent, lrTitle, lrStart, arRequest.msFilter);
    case eSaveFile:
        return chosen(QFileDialog::getSaveFileName(arRequest.mpParent, lrTitle, lrStart, arRequest.msFilter));
    case eDirectory:
        return chosen(QFileDialog::getExistingDirectory(arRequest.mpParent, lrTitle, lrStart,
                                                        QFileDialog::ShowDirsOnly));
    case eOpenFile:
    default:
        return chosen(QFileDialog::getOpenFileName(arRequest.mpParent, lrTitle, lrStart, arRequest.msFilter));
    }
}
