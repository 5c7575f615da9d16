#include "startup.h"

#include "loghandler.h"
#include "mainwindow.h"
#include "settings.h"
#include "splashscreen.h"
#include "startupoptions.h"

#include <QApplication>
#include <QDebug>
#include <QMessageBox>
#include <QPixmap>
#include <QThread>

#include <memory>

namespace
{
void reportUnopenableLog(const QString& arPath, const QString& arError)
{
    QMessageBox lcBox(QMessageBox::Critical, QStringLiteral("kestle"),
                      QStringLiteral("Unable to open log file %1\n%2").arg(arPath, arError), QMessageBox::Ok);
    lcBox.exec();
}

void openLog(const QString& arPath)
{
    QString lsError;
    if (!tcLogHandler::openLogFile(arPath, &lsError))
        reportUnopenableLog(arPath, lsError);
}
} // namespace

int kestrixMain(int anArgc, char** apArgv, const std::function<void()>& arAfterApplication)
{
    tcLogHandler::install();

    tcStartupOptions lcOptions = tcStartupOptions::withDefaultPaths();
    lcOptions.scan(anArgc, apArgv);
    tcLogHandler::setAddThreadId(lcOptions.mbAddThreadId);

    auto lpApp = std::make_unique<QApplication>(anArgc, apArgv);
    QApplication::setApplicationDisplayName(QStringLiteral("Kestrix"));
    QApplication::setOrganizationName(QStringLiteral("Tarnwick LLC"));
    QApplication::setApplicationName(QStringLiteral("kestrix"));
    if (arAfterApplication)
        arAfterApplication();

    openLog(lcOptions.msLogPath);
    qInfo() << "Using INI file" << lcOptions.msIniPath;

    tcSettings::setDefaultIniFile(lcOptions.msIniPath);
    tcDebugSource::setSettingsFunc(&tcSettings::getQSettings);
    std::unique_ptr<tcSettings> lpSettings(tcSettings::getSettings(QString()));

    lpApp->setProperty("logFile", lcOptions.msLogPath);

    MainWindow::initResources();
    auto lpPixmap = std::make_unique<QPixmap>(QStringLiteral(":/images/resources/splash.png"));
    auto lpSplash = std::make_unique<tcSplashScreen>(
        *lpPixmap, QStringLiteral("%1 version %2").arg(QApplication::applicationName(), appVersion()));
    lpSplash->show();

    auto lpMainWindow = std::make_unique<MainWindow>(lcOptions.mbInternal);
    tcLogHandler::setCriticalReceiver(lpMainWindow.get());
    QObject::connect(lpMainWindow.get(), &MainWindow::splashMessage, lpSplash.get(),
                     &QSplashScreen::showMessage);

    QThread::msleep(500);
    lpMainWindow->startUp();

    if (lpSettings->value(QStringLiteral("startMaximized"), false).toBool())
        lpMainWindow->showMaximized();
    else
        lpMainWindow->show();
    lpSettings.reset();

    lpSplash->finish(lpMainWindow.get());
    const int lnExitCode = QApplication::exec();

    tcLogHandler::setCriticalReceiver(nullptr);
    QThread::msleep(10);
    tcLogHandler::closeLogFile();

    lpMainWindow.reset();
    // Windows of their own (reports, documentation) still open when the
    // program ends go with it.
    QApplication::closeAllWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    lpSplash.reset();
    lpPixmap.reset();
    lpApp.reset();
    return lnExitCode;
}
