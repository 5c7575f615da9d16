#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Collects every Qt message emitted while it lives (from any thread) instead
// of printing it, so tests can check exactly which warnings were written.
class tcMessageCapture
{
public:
    tcMessageCapture();
    ~tcMessageCapture();
    tcMessageCapture(const tcMessageCapture&) = delete;
    tcMessageCapture& operator=(const tcMessageCapture&) = delete;

    QStringList texts(QtMsgType aeType) const;
    QStringList warnings() const { return texts(QtWarningMsg); }
    void clear();

private:
    static void handler(QtMsgType aeType, const QMessageLogContext& arContext, const QString& arText);
    QtMessageHandler mpPrevious;
};
