#pragma once

#include "logmsg.h"

#include <QStringList>
#include <QWidget>

#include <memory>
#include <mutex>

class QSettings;

namespace Ui
{
class LogWidget;
}

// The "Log Window": the program's running log of messages, errors, journal
// entries and events, one line each, at most "Max Entries" lines (oldest
// dropped first), with pause, copy, save, clear and a report view.
//
// Entries may be added from any thread. They are queued under a lock and
// moved into the list in batches on the window's own thread, so a flood of
// messages costs one list update per event-loop turn, never one per line,
// and the queue itself never holds more than the maximum.
class tcLogWidget : public QWidget
{
    Q_OBJECT

public:
    // With abEcho every entry is also written to the program's log at info
    // level.
    explicit tcLogWidget(QWidget* apParent = nullptr, bool abEcho = false,
                         Qt::WindowFlags anFlags = Qt::WindowFlags());
    ~tcLogWidget() override;

    // Every line shown, oldest first (queued entries included).
    QStringList lines();
    int maxEntries() const;
    bool autoScroll() const { return mbAutoScroll; }
    // Seconds added to each entry's time stamp.
    void setTimeOffset(int anSeconds) { mnTimeOffset = anSeconds; }
    // The line an entry becomes: source, ISO time with milliseconds, type, text.
    QString formatLine(const tcLogMsg& arMsg) const;
    // Writes every line to the file; false with the reason in apError.
    bool saveTo(const QString& arPath, QString* apError);

    static QString stayOnTopKey(const QString& arObjectName);

signals:
    void ShowTextString(QString text, QString arTitle, bool abShowSend);

public slots:
    void AddLogMsg(tcLogMsg aMsg);
    void LogMessage(QString asText);
    void LogError(QString asText);
    void LogJournal(QString asText);
    void LogEvent(QString asText);
    void LogEvent(tcLogEvent::teEventLogType aeType, QString asText);
    // Keep "Max Entries" in the window's own group of the INI file.
    bool SaveSettings(QSettings& arSettings);
    bool LoadSettings(QSettings& arSettings);
    // Moves the queued entries into the list now.
    void flushPending();

    void on_PauseButton_clicked();
    void on_ClearButton_clicked();
    void on_SaveButton_clicked();
    void on_CopyButton_clicked();
    void on_MaxEntries_valueChanged(int anMax);
    void on_mpStayOnTop_toggled(bool abOn);
    void on_ReportButton_clicked();

protected:
    void closeEvent(QCloseEvent* apEvent) override;
    void changeEvent(QEvent* apEvent) override;

private slots:
    void showReport(const QString& arText, const QString& arTitle);

private:
    void addEntry(int anType, const QString& arText);
    void trimList();

    std::unique_ptr<Ui::LogWidget> mpUi;
    bool mbAutoScroll = true;
    int mnTimeOffset = 0;
    bool mbEcho;

    // Shared with the threads that add entries.
    mutable std::mutex mcLock;
    int mnMaxEntries = 2000;
    QStringList msPending;
    bool mbFlushQueued = false;
};
