#pragma once

#include "framecore_export.h"

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// Every file dialog of the program goes through here. A test installs an
// answerer that is handed each request and returns the chosen paths instead
// of a dialog being shown, so tests never start Qt's file dialog (nor the
// threads with which it watches the file system) and need no dialog driving.
class FRAMECORE_EXPORT tcFileDialogs
{
public:
    enum teKind
    {
        eOpenFile,
        eOpenFiles,
        eSaveFile,
        eDirectory
    };

    struct tcRequest
    {
        teKind meKind;
        QWidget* mpParent;
        QString msTitle;
        QString msStartPath;
        QString msFilter;
    };

    // The chosen paths; none when the user cancelled.
    using tcAnswerer = std::function<QStringList(const tcRequest&)>;

    tcFileDialogs() = delete;

    static QString getOpenFileName(QWidget* apParent, const QString& arTitle, const QString& arStartPath,
                                   const QString& arFilter);
    static QStringList getOpenFileNames(QWidget* apParent, const QString& arTitle, const QString& arStartPath,
                                        const QString& arFilter);
    static QString getSaveFileName(QWidget* apParent, const QString& arTitle, const QString& arStartPath,
                                   const QString& arFilter);
    static QString getExistingDirectory(QWidget* apParent, const QString& arTitle,
                                        const QString& arStartPath);

    // Answers every request instead of the real dialogs while set (GUI thread
    // only); an empty answerer brings the dialogs back. Returns the previous.
    static tcAnswerer setAnswerer(tcAnswerer afAnswerer);

private:
    static QStringList ask(const tcRequest& arRequest);
};
