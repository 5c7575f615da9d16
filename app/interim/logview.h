#pragma once

#include <QWidget>

class QPlainTextEdit;

// A plain running log: messages and errors with their time, newest last,
// bounded in length so that a long session does not grow without end.
class tcLogView : public QWidget
{
    Q_OBJECT

public:
    explicit tcLogView(QWidget* apParent = nullptr);

    QStringList lines() const;

public slots:
    void LogMessage(QString arText);
    void LogError(QString arText);

private:
    void append(const QString& arKind, const QString& arText);

    QPlainTextEdit* mpText;
};
