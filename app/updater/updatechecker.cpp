#include "updatechecker.h"

#include "httpget.h"
#include "settings.h"

#include <QDebug>
#include <QNetworkReply>
#include <QSslSocket>

#include <memory>

namespace
{
constexpr qint64 kMaxDescriptionBytes = 1024 * 1024;

QString firstWord(const QString& arText)
{
    return arText.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
}

bool isWebUrl(const QUrl& arUrl)
{
    return arUrl.isValid() && !arUrl.host().isEmpty() &&
           (arUrl.scheme() == QLatin1String("http") || arUrl.scheme() == QLatin1String("https"));
}
} // namespace

tcUpdateChecker::tcUpdateChecker(QObject* apParent)
    : QObject(apParent), tcDebugSource(QStringLiteral("UpdateChecker")),
      msCurrentVersion(firstWord(appVersion()))
{
    qRegisterMetaType<tcUpdateCheckResult>("tcUpdateCheckResult");
    qRegisterMetaType<tcAppCast>("tcAppCast");
    mcPeriodTimer.setInterval(kDefaultPeriodMs);
    connect(&mcPeriodTimer, &QTimer::timeout, this, &tcUpdateChecker::onPeriodic);
}

tcUpdateChecker::~tcUpdateChecker()
{
    delete mpRequest;
}

void tcUpdateChecker::setPeriodMs(int anMs)
{
    mcPeriodTimer.setInterval(anMs);
}

tcUpdateChecker::tcOptions tcUpdateChecker::readOptions()
{
    const std::unique_ptr<tcSettings> lpSettings(tcSettings::getSettings(QString()));
    tcOptions lcOptions;
    lcOptions.msUrl = lpSettings->value(QStringLiteral("updateUrl"), QString()).toString().trimmed();
    lcOptions.mbShowUpdateNotifications =
        lpSettings->value(QStringLiteral("showUpdateNotifications"), true).toBool();
    lcOptions.mbEnableDownloader = lpSettings->value(QStringLiteral("enableDownloader"), true).toBool();
    lcOptions.mbShowAll = lpSettings->value(QStringLiteral("showAllNotifcations"), true).toBool();
    return lcOptions;
}

void tcUpdateChecker::applySettings()
{
    const std::unique_ptr<tcSettings> lpSettings(tcSettings::getSettings(QString()));
    if (lpSettings->value(QStringLiteral("enablePeriodicUpdate"), true).toBool())
        startPeriodic();
    else
        stopPeriodic();
}

void tcUpdateChecker::scheduleStartupCheck()
{
    if (readOptions().mbShowUpdateNotifications)
        QTimer::singleShot(kStartupDelayMs, this, [this]() { checkNow(false); });
}

void tcUpdateChecker::startPeriodic()
{
    // Restarting would push the next check back by a full period each time
    // the settings are applied.
    if (!mcPeriodTimer.isActive())
        mcPeriodTimer.start();
}

void tcUpdateChecker::stopPeriodic()
{
    mcPeriodTimer.stop();
}

void tcUpdateChecker::onPeriodic()
{
    checkNow(false);
}

void tcUpdateChecker::checkNow(bool abUserInitiated)
{
    if (GetDbgLevel() >= 1)
        qDebug() << "tcUpdateChecker::checkNow"
                 << "[" << getName() << 1 << "]"
                 << "user" << abUserInitiated << "running" << isChecking();
    if (isChecking())
    {
        mbUserInitiated = mbUserInitiated || abUserInitiated;
        return;
    }
    mbUserInitiated = abUserInitiated;
    mcOptions = readOptions();
    if (mcOptions.msUrl.isEmpty())
    {
        finish(tcUpdateCheckResult::eNotConfigured, QStringLiteral("No update source is configured."),
               tcAppCast());
        return;
    }
    const QUrl lcUrl(mcOptions.msUrl);
    if (!isWebUrl(lcUrl))
    {
        finish(
            tcUpdateCheckResult::eFailed,
            QStringLiteral("Update check failed: the update source \"%1\" is not an http or https address.")
                .arg(mcOptions.msUrl),
            tcAppCast());
        return;
    }
#ifndef QT_NO_SSL
    const bool lbSsl = QSslSocket::supportsSsl();
#else
    const bool lbSsl = false;
#endif
    if (lcUrl.scheme() == QLatin1String("https") && !lbSsl)
    {
        finish(tcUpdateCheckResult::eFailed, QStringLiteral("SSL not available, cannot check for updates"),
               tcAppCast());
        return;
    }

    emit Message(QStringLiteral("checking for updates..."));
    mpRequest = new tcHttpGet(mcNetwork, lcUrl, mnTimeoutMs, this);
    connect(mpRequest, &tcHttpGet::finished, this, &tcUpdateChecker::onRequestFinished);
    connect(mpRequest, &tcHttpGet::progress, this,
            [this](qint64 anReceived, qint64)
            {
                if (anReceived > kMaxDescriptionBytes && mpRequest)
                    mpRequest->abort();
            });
}

void tcUpdateChecker::onRequestFinished(const QString& asError)
{
    // Taken out of the member first, so that a slot connected to our signals
    // may start the next check at once.
    std::unique_ptr<tcHttpGet, void (*)(tcHttpGet*)> lpRequest(mpRequest.data(), [](tcHttpGet* apRequest)
                                                               { apRequest->deleteLater(); });
    mpRequest.clear();
    const QString lsUrl = lpRequest->url().toDisplayString();
    if (!asError.isEmpty())
    {
        const QString lsReason = asError == QLatin1String("cancelled")
                                     ? QStringLiteral("the description from %1 is larger than %2 bytes")
                                           .arg(lsUrl)
                                           .arg(kMaxDescriptionBytes)
                                     : asError;
        finish(tcUpdateCheckResult::eFailed, QStringLiteral("Update check failed: %1.").arg(lsReason),
               tcAppCast());
        return;
    }

    tcAppCast lcRelease;
    QString lsError;
    if (!tcAppCast::parse(lpRequest->reply()->readAll(), lpRequest->url(), lcRelease, lsError))
    {
        finish(tcUpdateCheckResult::eFailed,
               QStringLiteral("Update check failed: the update description from %1 is not valid: %2.")
                   .arg(lsUrl, lsError),
               tcAppCast());
        return;
    }
    QString lsText;
    const tcUpdateCheckResult::teOutcome leOutcome = compare(lcRelease, lsText);
    finish(leOutcome, lsText, lcRelease);
}

tcUpdateCheckResult::teOutcome tcUpdateChecker::compare(const tcAppCast& arRelease, QString& arText) const
{
    tcVersionNumber lcCurrent;
    if (!tcVersionNumber::parse(msCurrentVersion, lcCurrent))
    {
        arText = QStringLiteral("Update check failed: this program's version \"%1\" is not a version number.")
                     .arg(msCurrentVersion);
        return tcUpdateCheckResult::eFailed;
    }
    const int lnOrder = arRelease.mcVersion.compare(lcCurrent);
    if (lnOrder > 0)
    {
        arText = QStringLiteral("Version %1 is available; this is version %2.")
                     .arg(arRelease.msVersion, msCurrentVersion);
        return tcUpdateCheckResult::eUpdateAvailable;
    }
    if (lnOrder == 0)
    {
        arText = QStringLiteral("Version %1 is the newest release.").arg(msCurrentVersion);
        return tcUpdateCheckResult::eUpToDate;
    }
    arText = QStringLiteral("Version %1 is newer than the newest release, %2.")
                 .arg(msCurrentVersion, arRelease.msVersion);
    return tcUpdateCheckResult::eNewerThanRelease;
}

void tcUpdateChecker::finish(tcUpdateCheckResult::teOutcome aeOutcome, const QString& arText,
                             const tcAppCast& arRelease)
{
    tcUpdateCheckResult lcResult;
    lcResult.meOutcome = aeOutcome;
    lcResult.msText = arText;
    lcResult.mcRelease = arRelease;
    lcResult.mbUserInitiated = mbUserInitiated;
    // Only a check the user asked for may report that nothing is new.
    const bool lbShowAll = mbUserInitiated && mcOptions.mbShowAll;
    switch (aeOutcome)
    {
    case tcUpdateCheckResult::eUpdateAvailable:
        lcResult.mbNotify = mbUserInitiated || mcOptions.mbShowUpdateNotifications;
        lcResult.mbOfferDownload = mcOptions.mbEnableDownloader;
        emit Message(arText);
        break;
    case tcUpdateCheckResult::eUpToDate:
    case tcUpdateCheckResult::eNewerThanRelease:
        lcResult.mbNotify = lbShowAll;
        emit Message(arText);
        break;
    case tcUpdateCheckResult::eFailed:
        lcResult.mbNotify = mbUserInitiated;
        emit Error(arText);
        break;
    case tcUpdateCheckResult::eNotConfigured:
        // The normal state of a build without an update server: only the
        // user's own request gets an answer, and only that one.
        lcResult.mbNotify = mbUserInitiated;
        break;
    }
    mbUserInitiated = false;
    if (GetDbgLevel() >= 1)
        qDebug() << "tcUpdateChecker::finish"
                 << "[" << getName() << 1 << "]" << aeOutcome << arText << "notify" << lcResult.mbNotify;
    emit checkComplete(lcResult);
}
