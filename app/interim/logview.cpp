#include "logview.h"

#include <QDateTime>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace
{
constexpr int kMaxEntries = 2000;
}

tcLogView::tcLogView(QWidget* apParent) : QWidget(apParent), mpText(new QPlainTextEdit(this))
{
    setWindowTitle(QStringLiteral("Log Window"));
    mpText->setObjectName(QStringLiteral("logText"));
    mpText->setReadOnly(true);
    mpText->setMaximumBlockCount(kMaxEntries);
    mpText->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* lpLayout = new QVBoxLayout(this);
    lpLayout->addWidget(mpText);
    resize(600, 300);
}

QStringList tcLogView::lines() const
{
    return mpText->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void tcLogView::LogMessage(QString arText)
{
    append(QStringLiteral("Message"), arText);
}

void tcLogView::LogError(QString arText)
{
    append(QStringLiteral("Error"), arText);
}

void tcLogView::append(const QString& arKind, const QString& arText)
{
    mpText->appendPlainText(
        QStringLiteral("%1 %2: %3")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("hh:mm:ss.zzz")), arKind, arText));
}
