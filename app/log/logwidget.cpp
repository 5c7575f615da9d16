#include "logwidget.h"

#include "filedialogs.h"
#include "reportform.h"
#include "ui_logwidget.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScrollBar>
#include <QSettings>
#include <QTextStream>
#include <QThread>

#include <limits>

namespace
{
const char* const kMaxEntriesKey = "MaxEntries";

// Converting to local time is most of the cost of a line, and lines come in
// bursts within the same second: each thread keeps its last conversion.
QString localIsoTime(qint64 anSeconds)
{
    thread_local qint64 tnSeconds = std::numeric_limits<qint64>::min();
    thread_local QString tsText;
    if (anSeconds != tnSeconds)
    {
        tsText = QDateTime::fromSecsSinceEpoch(anSeconds).toString(Qt::ISODate);
        tnSeconds = anSeconds;
    }
    return tsText;
}

// Every line followed by a newline, as copy, save and report hand them out.
QString joinLines(const QStringList& arLines)
{
    QString lsText;
    for (const QString& lsLine : arLines)
        lsText += lsLine + QLatin1Char('\n');
    return lsText;
}
} // namespace

tcLogWidget::tcLogWidget(QWidget* apParent, bool abEcho, Qt::WindowFlags anFlags)
    : QWidget(apParent, anFlags), mpUi(std::make_unique<Ui::LogWidget>()), mbEcho(abEcho)
{
    qRegisterMetaType<tcLogMsg>("tcLogMsg");
    mpUi->setupUi(this);
    setObjectName(QStringLiteral("Log Window"));
    mnMaxEntries = mpUi->MaxEntries->value();
    connect(this, &tcLogWidget::ShowTextString, this, &tcLogWidget::showReport);

    // Kept in the platform's store of the application, not in the INI file.
    const QSettings lcStore;
    if (lcStore.value(stayOnTopKey(objectName()), false).toBool())
        mpUi->mpStayOnTop->setChecked(true);
}

tcLogWidget::~tcLogWidget()
{
    QSettings lcStore;
    lcStore.setValue(stayOnTopKey(objectName()), mpUi->mpStayOnTop->isChecked());
}

QString tcLogWidget::stayOnTopKey(const QString& arObjectName)
{
    return QStringLiteral("%1/%2").arg(arObjectName, QStringLiteral("StayOnTop"));
}

QString tcLogWidget::formatLine(const tcLogMsg& arMsg) const
{
    const QString lsTime = QStringLiteral("%1.%2")
                               .arg(localIsoTime(static_cast<qint64>(arMsg.mnTime) + mnTimeOffset))
                               .arg(arMsg.mnMilliseconds, 3, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2:%3:%4")
        .arg(arMsg.msSource, lsTime, tcLogEvent::typeName(arMsg.mnType), arMsg.text());
}

void tcLogWidget::AddLogMsg(tcLogMsg aMsg)
{
    const QString lsLine = formatLine(aMsg);
    bool lbSchedule = false;
    {
        std::lock_guard<std::mutex> lcGuard(mcLock);
        msPending.append(lsLine);
        // Lines that the list would drop at once need not wait for it.
        while (msPending.size() > mnMaxEntries)
            msPending.removeFirst();
        lbSchedule = !mbFlushQueued;
        mbFlushQueued = true;
    }
    if (mbEcho)
        qInfo().noquote() << lsLine;
    if (lbSchedule)
        QMetaObject::invokeMethod(this, &tcLogWidget::flushPending, Qt::QueuedConnection);
}

void tcLogWidget::flushPending()
{
    QStringList lsNew;
    {
        std::lock_guard<std::mutex> lcGuard(mcLock);
        lsNew.swap(msPending);
        mbFlushQueued = false;
    }
    if (lsNew.isEmpty())
        return;
    mpUi->listWidget->addItems(lsNew);
    trimList();
    if (mbAutoScroll)
        mpUi->listWidget->scrollToBottom();
}

void tcLogWidget::trimList()
{
    const int lnExcess = mpUi->listWidget->count() - maxEntries();
    if (lnExcess > 0)
        mpUi->listWidget->model()->removeRows(0, lnExcess);
}

void tcLogWidget::addEntry(int anType, const QString& arText)
{
    // The sender is known only to slots called through a signal of this
    // thread; anything else was logged directly. A sender nobody named is
    // told by its class.
    QString lsSource = QStringLiteral("Logger");
    if (QThread::currentThread() == thread())
        if (const QObject* lpSender = sender())
            lsSource = lpSender->objectName().isEmpty()
                           ? QString::fromLatin1(lpSender->metaObject()->className())
                           : lpSender->objectName();
    AddLogMsg(tcLogMsg::make(anType, arText, lsSource));
}

void tcLogWidget::LogMessage(QString asText)
{
    addEntry(tcLogEvent::eDebug, asText);
}

void tcLogWidget::LogError(QString asText)
{
    addEntry(tcLogEvent::eError, asText);
}

void tcLogWidget::LogJournal(QString asText)
{
    addEntry(tcLogEvent::eJournal, asText);
}

void tcLogWidget::LogEvent(QString asText)
{
    addEntry(tcLogEvent::eEvent, asText);
}

void tcLogWidget::LogEvent(tcLogEvent::teEventLogType aeType, QString asText)
{
    addEntry(aeType, asText);
}

QStringList tcLogWidget::lines()
{
    flushPending();
    QStringList lsLines;
    for (int lnRow = 0; lnRow < mpUi->listWidget->count(); ++lnRow)
        lsLines.append(mpUi->listWidget->item(lnRow)->text());
    return lsLines;
}

int tcLogWidget::maxEntries() const
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    return mnMaxEntries;
}

bool tcLogWidget::SaveSettings(QSettings& arSettings)
{
    arSettings.beginGroup(objectName());
    arSettings.setValue(QLatin1String(kMaxEntriesKey), maxEntries());
    arSettings.endGroup();
    return true;
}

bool tcLogWidget::LoadSettings(QSettings& arSettings)
{
    arSettings.beginGroup(objectName());
    mpUi->MaxEntries->setValue(arSettings.value(QLatin1String(kMaxEntriesKey), maxEntries()).toInt());
    arSettings.endGroup();
    return true;
}

void tcLogWidget::on_PauseButton_clicked()
{
    mbAutoScroll = !mpUi->PauseButton->isChecked();
    if (mbAutoScroll)
        mpUi->listWidget->scrollToBottom();
}

void tcLogWidget::on_ClearButton_clicked()
{
    {
        std::lock_guard<std::mutex> lcGuard(mcLock);
        msPending.clear();
    }
    mpUi->listWidget->clear();
}

void tcLogWidget::on_CopyButton_clicked()
{
    QGuiApplication::clipboard()->setText(joinLines(lines()));
}

bool tcLogWidget::saveTo(const QString& arPath, QString* apError)
{
    QFile lcFile(arPath);
    if (lcFile.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
    {
        QTextStream lcStream(&lcFile);
        lcStream << joinLines(lines());
        lcStream.flush();
        if (lcStream.status() == QTextStream::Ok && lcFile.error() == QFileDevice::NoError)
            return true;
    }
    if (apError)
        *apError = lcFile.errorString();
    return false;
}

void tcLogWidget::on_SaveButton_clicked()
{
    const QString lsPath = tcFileDialogs::getSaveFileName(this, tr("Save log to file"), QString(),
                                                          tr("Text Files (*.txt *.log)"));
    if (lsPath.isEmpty())
        return;
    QString lsError;
    if (saveTo(lsPath, &lsError))
        return;
    const QString lsText = tr("Unable to save the log to %1:\n%2").arg(lsPath, lsError);
    qWarning().noquote() << "tcLogWidget::on_SaveButton_clicked" << lsText;
    QMessageBox::warning(this, windowTitle(), lsText);
}

void tcLogWidget::on_MaxEntries_valueChanged(int anMax)
{
    {
        std::lock_guard<std::mutex> lcGuard(mcLock);
        mnMaxEntries = anMax;
    }
    flushPending();
    trimList();
}

void tcLogWidget::on_mpStayOnTop_toggled(bool abOn)
{
    setWindowFlag(Qt::WindowStaysOnTopHint, abOn);
    show();
    raise();
}

void tcLogWidget::on_ReportButton_clicked()
{
    emit ShowTextString(joinLines(lines()), tr("Camera Log"), true);
}

// Nothing else in the program shows the log as a report; the window opens
// its own. "Send..." stays hidden: nothing would receive what it sends.
void tcLogWidget::showReport(const QString& arText, const QString& arTitle)
{
    tcReportForm::ShowDocument(arText, arTitle);
}

void tcLogWidget::closeEvent(QCloseEvent* apEvent)
{
    // The window is the program's one log: closing only hides it.
    hide();
    apEvent->ignore();
}

void tcLogWidget::changeEvent(QEvent* apEvent)
{
    if (apEvent->type() == QEvent::LanguageChange)
        mpUi->retranslateUi(this);
    QWidget::changeEvent(apEvent);
}
