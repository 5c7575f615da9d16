#pragma once

#include "appcast.h"
#include "debugsource.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class tcHttpGet;

// What one check found, and whether the user is to be told about it in a
// notice of its own (tray message or box) rather than only in the log.
struct tcUpdateCheckResult
{
    enum teOutcome
    {
        eUpdateAvailable,
        eUpToDate,
        eNewerThanRelease,
        eFailed,
        eNotConfigured
    };

    teOutcome meOutcome = eFailed;
    QString msText;      // one sentence for the user
    tcAppCast mcRelease; // valid for the first three outcomes
    bool mbUserInitiated = false;
    bool mbNotify = false;
    bool mbOfferDownload = false;
};

Q_DECLARE_METATYPE(tcUpdateCheckResult)

// Asks the configured update source for its newest release and compares it
// with the running program. Never blocks: checkNow() returns at once and the
// answer comes as checkComplete(). The settings are read at every check so
// that a changed page takes effect without rewiring:
//   "updateUrl"                address of the release description, empty: none
//   "showUpdateNotifications"  check at start-up, and tell about new releases
//                              found by automatic checks
//   "enablePeriodicUpdate"     check once a day while running
//   "enableDownloader"         offer to download the installer
//   "showAllNotifcations"      a check the user asked for also tells when
//                              there is nothing new
class tcUpdateChecker : public QObject, public tcDebugSource
{
    Q_OBJECT

public:
    static constexpr int kDefaultTimeoutMs = 10000;
    static constexpr int kDefaultPeriodMs = 24 * 60 * 60 * 1000;
    static constexpr int kStartupDelayMs = 100;

    explicit tcUpdateChecker(QObject* apParent = nullptr);
    ~tcUpdateChecker() override;

    // The version compared with the release; by default the first word of
    // appVersion().
    void setCurrentVersion(const QString& arVersion) { msCurrentVersion = arVersion; }
    QString currentVersion() const { return msCurrentVersion; }

    // How long the source may stay silent before a check or download fails.
    void setTimeoutMs(int anMs) { mnTimeoutMs = anMs; }
    int timeoutMs() const { return mnTimeoutMs; }

    void setPeriodMs(int anMs);
    bool isPeriodicActive() const { return mcPeriodTimer.isActive(); }
    bool isChecking() const { return !mpRequest.isNull(); }

public slots:
    // A second request while one runs joins it; a user's request makes the
    // running check count as the user's.
    void checkNow(bool abUserInitiated);
    // Starts or stops the daily check after "enablePeriodicUpdate".
    void applySettings();
    // The start-up check, 100 ms later, when "showUpdateNotifications" is set.
    void scheduleStartupCheck();
    void startPeriodic();
    void stopPeriodic();

signals:
    void Message(const QString& asText);
    void Error(const QString& asText);
    void checkComplete(const tcUpdateCheckResult& arResult);

private slots:
    void onPeriodic();
    void onRequestFinished(const QString& asError);

private:
    struct tcOptions
    {
        QString msUrl;
        bool mbShowUpdateNotifications = true;
        bool mbEnableDownloader = true;
        bool mbShowAll = true;
    };
    static tcOptions readOptions();
    void finish(tcUpdateCheckResult::teOutcome aeOutcome, const QString& arText, const tcAppCast& arRelease);
    tcUpdateCheckResult::teOutcome compare(const tcAppCast& arRelease, QString& arText) const;

    QNetworkAccessManager mcNetwork;
    QTimer mcPeriodTimer;
    QPointer<tcHttpGet> mpRequest;
    tcOptions mcOptions; // of the running check
    QString msCurrentVersion;
    int mnTimeoutMs = kDefaultTimeoutMs;
    bool mbUserInitiated = false;
};
