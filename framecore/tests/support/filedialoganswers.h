#pragma once

#include "filedialogs.h"

#include <QList>
#include <QStringList>

// Answers the program's file dialogs for one test: every request is recorded
// and gets the next queued answer (no answer left: cancelled). The real
// dialogs come back when it goes.
//
//   tcFileDialogAnswers lcAnswers({lcDir.filePath("a.ini")});
//   widget.browse();
//   QCOMPARE(lcAnswers.requests().first().meKind, tcFileDialogs::eOpenFile);
class tcFileDialogAnswers
{
public:
    explicit tcFileDialogAnswers(const QList<QStringList>& arAnswers = {}) : mcAnswers(arAnswers)
    {
        mfPrevious = tcFileDialogs::setAnswerer([this](const tcFileDialogs::tcRequest& arRequest)
                                                { return answer(arRequest); });
    }
    // One path per request, for dialogs that choose one file or folder.
    explicit tcFileDialogAnswers(const QStringList& arPaths) : tcFileDialogAnswers(single(arPaths)) {}
    ~tcFileDialogAnswers() { tcFileDialogs::setAnswerer(mfPrevious); }
    tcFileDialogAnswers(const tcFileDialogAnswers&) = delete;
    tcFileDialogAnswers& operator=(const tcFileDialogAnswers&) = delete;

    void add(const QStringList& arPaths) { mcAnswers.append(arPaths); }
    const QList<tcFileDialogs::tcRequest>& requests() const { return mcRequests; }

private:
    static QList<QStringList> single(const QStringList& arPaths)
    {
        QList<QStringList> lcAnswers;
        for (const QString& lrPath : arPaths)
            lcAnswers.append(QStringList(lrPath));
        return lcAnswers;
    }

    QStringList answer(const tcFileDialogs::tcRequest& arRequest)
    {
        mcRequests.append(arRequest);
        return mcAnswers.isEmpty() ? QStringList() : mcAnswers.takeFirst();
    }

    QList<QStringList> mcAnswers;
    QList<tcFileDialogs::tcRequest> mcRequests;
    tcFileDialogs::tcAnswerer mfPrevious;
};
