#include "runsession.h"

#include "camerainterface.h"
#include "cmdrunner.h"
#include "descriptionloader.h"
#include "devicelist.h"
#include "gentlinterface.h"
#include "junitreport.h"
#include "promptanswerer.h"
#include "settings.h"

#include <GenApi/GenApi.h>

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace
{
// How often and how long the end of an acquisition is waited for.
constexpr int kPollMs = 10;
constexpr int kStopPolls = 300;
// How long an interrupted line may take before a camera it does not touch is
// closed under it.
constexpr int kInterruptGraceMs = 300;

void out(const QString& arText)
{
    const QByteArray lcText = arText.toLocal8Bit() + '\n';
    std::fwrite(lcText.constData(), 1, static_cast<size_t>(lcText.size()), stdout);
    std::fflush(stdout);
}

void err(const QString& arText)
{
    const QByteArray lcText = "kestrix-run: " + arText.toLocal8Bit() + '\n';
    std::fwrite(lcText.constData(), 1, static_cast<size_t>(lcText.size()), stderr);
    std::fflush(stderr);
}

// Lines whose handler does not touch the camera's features: the camera may be
// closed while one of them still runs.
bool closeableDuring(const QString& arInFlight)
{
    return arInFlight.isEmpty() || arInFlight.startsWith(QLatin1String("SLEEP")) ||
           arInFlight.startsWith(QLatin1String("PROMPT")) || arInFlight == QLatin1String("CAM WAIT");
}

// The last line of a transcript text, e.g. the comparison line of a CMP.
QString lastLine(const QString& arText)
{
    return arText.section(QLatin1Char('\n'), -1).trimmed();
}
} // namespace

tcRunSession::tcRunSession(const tcRunOptions& arOptions, QObject* apParent)
    : QObject(apParent), tcDebugSource(QStringLiteral("tcRunSession")), mcOptions(arOptions)
{
    connect(&mcProducer, &tcProducerBinding::Error, this, &tcRunSession::cameraError);
    connect(&mcMonitor, &tcLineMonitor::lineHandled, this, &tcRunSession::lineHandled);
}

// A script thread that could not be stopped is left to the process's end;
// everything else goes in order: script, camera, producer.
tcRunSession::~tcRunSession()
{
    if (scriptStillRunning())
        (void)mpRunner.release();
    mpRunner.reset();
    closeCamera();
}

bool tcRunSession::scriptStillRunning() const
{
    return mpRunner && mpRunner->isRunning();
}

bool tcRunSession::waitForScript(int anMs)
{
    return !mpRunner || mpRunner->wait(static_cast<unsigned long>(anMs));
}

bool tcRunSession::setupError(const QString& arText)
{
    err(arText);
    mnExitCode = eSetupError;
    if (!mcOptions.msJUnitFile.isEmpty())
    {
        tcJUnitReport lcReport(QFileInfo(mcOptions.msScript).completeBaseName());
        lcReport.add({QStringLiteral("set-up"), 0.0, tcJUnitCase::eError, arText, arText, QString()});
        writeJUnit(lcReport);
    }
    return false;
}

bool tcRunSession::prepare()
{
    return prepareSettings() && loadProducer();
}

// The INI file the program would use, copied so the run changes nothing in it.
bool tcRunSession::prepareSettings()
{
    if (!mcWorkDir.isValid())
        return setupError(
            QStringLiteral("Unable to create a temporary folder: %1").arg(mcWorkDir.errorString()));
    QString lsSource = mcOptions.msIniFile;
    if (lsSource.isEmpty())
        lsSource =
            QStandardPaths::writableLocation(QStandardPaths::ConfigLocation) + QStringLiteral("/kestle.ini");
    else if (!QFileInfo(lsSource).isFile())
        return setupError(QStringLiteral("INI file %1 not found").arg(lsSource));
    const QString lsCopy = mcWorkDir.filePath(QStringLiteral("kestrix-run.ini"));
    if (QFileInfo(lsSource).isFile() && !QFile::copy(lsSource, lsCopy))
        return setupError(QStringLiteral("Unable to read INI file %1").arg(lsSource));
    QFile::setPermissions(lsCopy, QFile::ReadOwner | QFile::WriteOwner);

    mpSettings = std::make_unique<tcSettings>(lsCopy);
    for (const auto& lrVariable : qAsConst(mcOptions.mcVariables))
        mpSettings->setValue(QStringLiteral("variables/%1").arg(lrVariable.first), lrVariable.second);
    mpSettings->sync();
    if (mpSettings->status() != QSettings::NoError)
        return setupError(QStringLiteral("Unable to use INI file %1 (its format is broken)").arg(lsSource));
    tcSettings::setDefaultIniFile(lsCopy);
    tcDebugSource::setSettingsFunc(&tcSettings::getQSettings);
    qInfo() << "Using INI file" << lsSource << "as" << lsCopy;

    // A simulating producer serves the description named by the settings.
    const QString lsSimXml = mpSettings->value(QStringLiteral("simCamXmlFile")).toString();
    if (!lsSimXml.isEmpty())
        qputenv("SIMCAM_XML_FILE", lsSimXml.toLatin1());
    return true;
}

bool tcRunSession::loadProducer()
{
    const QString lsPath =
        mcOptions.msProducer.isEmpty() ? tcProducerBinding::defaultProducerPath() : mcOptions.msProducer;
    if (lsPath.isEmpty())
        return setupError(
            QStringLiteral("No producer: give --producer, set default_path in group GenTL of the "
                           "INI file, or place GenTL.cti beside kestrix-run"));
    if (!QFileInfo(lsPath).isFile())
        return setupError(QStringLiteral("Producer %1 not found").arg(lsPath));
    if (mcProducer.load(lsPath))
        return true;
    if (mcProducer.binding())
        return setupError(QStringLiteral("Unable to initialise the producer %1").arg(lsPath));
    mnExitCode = eSetupError;
    return false; // the binding has said why
}

void tcRunSession::list()
{
    tcGenTLInterface* lpBinding = mcProducer.binding();
    std::fputs(qPrintable(tcDeviceList(lpBinding->functions(), lpBinding->handle()).text()), stdout);
    std::fflush(stdout);
}

const tcListedDevice* tcRunSession::chooseDevice(QString& arError)
{
    tcGenTLInterface* lpBinding = mcProducer.binding();
    mpDevices = std::make_unique<tcDeviceList>(lpBinding->functions(), lpBinding->handle());
    if (!mcOptions.msDeviceId.isEmpty())
        return mpDevices->find(mcOptions.msInterface, mcOptions.msDeviceId, arError);
    if (mcOptions.mnDeviceIndex >= 0)
        return mpDevices->byIndex(mcOptions.mnDeviceIndex, arError);
    return mpDevices->first(arError);
}

bool tcRunSession::start()
{
    QString lsError;
    if (!mcScript.read(mcOptions.msScript, lsError))
        return setupError(lsError);
    const tcListedDevice* lpDevice = chooseDevice(lsError);
    if (!lpDevice)
        return setupError(lsError);
    if (!openCamera(*lpDevice))
        return false;
    startScript();
    return true;
}

// The road the program takes: device and port, description into the node
// map, then the camera object on the port.
bool tcRunSession::openCamera(const tcListedDevice& arDevice)
{
    tcGenTLInterface& lrBinding = *mcProducer.binding();
    const QString lsName =
        QStringLiteral("%1 (%2 on %3)").arg(arDevice.msModel, arDevice.msId, arDevice.msInterfaceId);
    if (!lrBinding.OpenDevice(arDevice.mnInterfaceIndex, arDevice.msId))
        return setupError(
            QStringLiteral("GenTL is unable to open camera \"%1\".\nCheck connections/power").arg(lsName));

    mpCamera = std::make_unique<tcCameraInterface>(nullptr);
    connect(mpCamera.get(), &tcCameraInterface::Error, this, &tcRunSession::cameraError);
    connect(mpCamera.get(), &tcCameraInterface::Message, this,
            [](const QString& arText) { qInfo().noquote() << arText; });
    const QString lsCache = mpSettings->value(QStringLiteral("xmlDir")).toString();
    QString lsFailure;
    try
    {
        const tcDeviceDescription lcDescription = tcDescriptionLoader::load(
            lrBinding, mpCamera->nodeMap(),
            lsCache.isEmpty() ? mcWorkDir.filePath(QStringLiteral("xml")) : lsCache, *this);
        if (!lcDescription.mbLoaded)
            lsFailure = QStringLiteral("Unable to read the description of camera \"%1\"").arg(lsName);
        else if (!lrBinding.open(mpCamera.get()))
            lsFailure =
                QStringLiteral("Application is Unable to open camera \"%1\".\nCheck connections/power")
                    .arg(lsName);
    }
    catch (const GenICam::GenericException& arException)
    {
        lsFailure = QStringLiteral("Unable to open camera \"%1\": %2")
                        .arg(lsName, QString::fromLocal8Bit(arException.GetDescription()));
    }
    mbCameraOpen = true;
    if (!lsFailure.isEmpty())
    {
        closeCamera();
        return setupError(lsFailure);
    }
    out(QStringLiteral("Camera %1, producer %2").arg(lsName, mcProducer.binding()->fileName()));
    return true;
}

void tcRunSession::startScript()
{
    mpRunner = std::make_unique<tcCmdRunner>(nullptr, mpCamera.get(), mcOptions.msScript, mpSettings.get());
    mcMonitor.watch(*mpRunner);
    msCommands = mpRunner->getCmdHandlers().keys();
    mpAnswerer = std::make_unique<tcPromptAnswerer>(mcOptions.meAnswer, mcMonitor);
    connect(mpRunner.get(), &tcCmdRunner::showMessageBox, mpAnswerer.get(),
            &tcPromptAnswerer::showMessageBox);
    connect(mpAnswerer.get(), &tcPromptAnswerer::answered, mpRunner.get(), &tcCmdRunner::messageBoxFinished);
    connect(mpRunner.get(), &tcCmdRunner::Message, this, &tcRunSession::printMessage);
    connect(mpRunner.get(), &tcCmdRunner::Progress, this, &tcRunSession::printProgress);
    connect(mpRunner.get(), &tcCmdRunner::Done, this, &tcRunSession::scriptDone);
    connect(mpRunner.get(), &QThread::finished, this, &tcRunSession::finish);
    mcClock.start();
    mpRunner->start();
}

void tcRunSession::printMessage(const QString& arText)
{
    out(arText);
}

// Only changes are printed: a long script does not drown its transcript.
void tcRunSession::printProgress(int anPercent)
{
    if (anPercent == mnLastProgress)
        return;
    mnLastProgress = anPercent;
    out(QStringLiteral("[%1%]").arg(anPercent, 3));
}

void tcRunSession::scriptDone(bool abSuccessful, const QString& arMessage)
{
    mbScriptDone = true;
    mbScriptFailed = !abSuccessful;
    msDoneMessage = arMessage;
    if (abSuccessful)
    {
        out(arMessage);
        return;
    }
    err(arMessage);
    static const QRegularExpression scLine(QStringLiteral("^Error processing line (\\d+):"));
    const QRegularExpressionMatch lcMatch = scLine.match(arMessage);
    if (lcMatch.hasMatch())
        mnFailedLine = lcMatch.captured(1).toInt();
}

void tcRunSession::lineHandled(const tcHandledLine& arLine)
{
    mcHandled.append(qMakePair(mcScript.take(arLine.msLine), arLine));
}

void tcRunSession::cameraError(const QString& arText)
{
    err(arText);
}

void tcRunSession::interrupt(int anSignal)
{
    if (mnInterruptSignal != 0)
        return;
    mnInterruptSignal = anSignal;
    err(QStringLiteral("interrupted: stopping the script, the acquisition and the camera"));
    mcMonitor.interrupt();
    if (!scriptStillRunning())
    {
        finish();
        return;
    }
    mpRunner->Abort();
    mpInterruptTimer = new QTimer(this);
    connect(mpInterruptTimer, &QTimer::timeout, this, &tcRunSession::checkInterruptedLine);
    mpInterruptTimer->start(kInterruptGraceMs);
}

// A line that touches the camera's features runs to its end first; one that
// only waits (a long SLEEP, a CAM WAIT without frames) does not hold the
// camera open: closing it wakes a CAM WAIT.
void tcRunSession::checkInterruptedLine()
{
    if (!scriptStillRunning() || closeableDuring(mcMonitor.inFlight()))
    {
        mpInterruptTimer->stop();
        finish();
    }
}

// The script has ended (or was given up): acquisition stopped, camera and
// producer closed, outcome reported. Runs once.
void tcRunSession::finish()
{
    if (mbFinishing)
        return;
    mbFinishing = true;
    stopAcquisition();
    closeCamera();
    report();
    emit finished(mnExitCode);
}

// Waits for the worker to leave its acquisition loop, delivering the frames
// on their way meanwhile, so every buffer is back when the camera closes.
void tcRunSession::stopAcquisition()
{
    if (!mpCamera || !mbCameraOpen || !mpCamera->IsRunning())
        return;
    mpCamera->stopVideo();
    for (int i = 0; i < kStopPolls && mpCamera->IsRunning(); ++i)
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents, kPollMs);
        QThread::msleep(1);
    }
    QCoreApplication::sendPostedEvents();
}

void tcRunSession::closeCamera()
{
    if (mpCamera && mbCameraOpen)
    {
        QCoreApplication::sendPostedEvents(mpCamera.get());
        mpCamera->close(mcProducer.binding());
        mbCameraOpen = false;
    }
    if (mcProducer.binding())
        mcProducer.binding()->close();
    mcProducer.unload();
}

int tcRunSession::outcomeCode() const
{
    if (mnInterruptSignal != 0)
        return 128 + mnInterruptSignal;
    const bool lbCompareFailed =
        std::any_of(mcHandled.cbegin(), mcHandled.cend(),
                    [](const QPair<int, tcHandledLine>& arLine) { return arLine.second.mbCompareFailed; });
    return mbScriptFailed || !mbScriptDone || lbCompareFailed ? eFailed : ePassed;
}

void tcRunSession::report()
{
    mnExitCode = outcomeCode();
    out(summary());
    if (mcOptions.msJUnitFile.isEmpty())
        return;
    tcJUnitReport lcReport(QFileInfo(mcOptions.msScript).completeBaseName());
    fillJUnit(lcReport);
    writeJUnit(lcReport);
}

QString tcRunSession::summary() const
{
    int lnChecks = 0;
    QStringList lsFailures;
    for (const auto& lrLine : mcHandled)
    {
        if (tcScriptLines::isCheck(lrLine.second.msLine, msCommands))
            ++lnChecks;
        if (lrLine.second.mbCompareFailed)
            lsFailures << QStringLiteral("  line %1: %2 -> %3")
                              .arg(lrLine.first)
                              .arg(lrLine.second.msLine, lastLine(lrLine.second.msText));
    }
    if (mbScriptFailed)
        lsFailures << QStringLiteral("  %1").arg(msDoneMessage);
    QString lsText = QStringLiteral("Summary: %1 lines handled, %2 checks, %3 failed\n")
                         .arg(mcHandled.size())
                         .arg(lnChecks)
                         .arg(lsFailures.size());
    for (const QString& lsFailure : qAsConst(lsFailures))
        lsText += lsFailure + QLatin1Char('\n');
    if (mnInterruptSignal != 0)
        return lsText + QStringLiteral("Result: INTERRUPTED (exit %1)").arg(mnExitCode);
    return lsText + QStringLiteral("Result: %1 (exit %2)")
                        .arg(mnExitCode == ePassed ? QStringLiteral("PASSED") : QStringLiteral("FAILED"))
                        .arg(mnExitCode);
}

// One case per checking line of the script, and per line that failed the
// run whatever it was; lines the script never reached are skipped.
void tcRunSession::fillJUnit(tcJUnitReport& arReport) const
{
    arReport.setSeconds(mcClock.isValid() ? mcClock.nsecsElapsed() / 1e9 : 0.0);
    for (const tcScriptLine& lrLine : mcScript.lines())
    {
        const bool lbFailedHere = lrLine.mnNumber == mnFailedLine;
        if (!lbFailedHere && !tcScriptLines::isCheck(lrLine.msText, msCommands))
            continue;
        tcJUnitCase lcCase;
        lcCase.msName = QStringLiteral("line %1: %2").arg(lrLine.mnNumber).arg(lrLine.msText);
        const auto lcIt = std::find_if(mcHandled.cbegin(), mcHandled.cend(),
                                       [&lrLine](const QPair<int, tcHandledLine>& arLine)
                                       { return arLine.first == lrLine.mnNumber; });
        if (lcIt != mcHandled.cend())
        {
            lcCase.mnSeconds = lcIt->second.mnMicroseconds / 1e6;
            lcCase.msOutput = lcIt->second.msText;
        }
        if (lbFailedHere)
        {
            lcCase.meOutcome = tcJUnitCase::eFailed;
            lcCase.msMessage = msDoneMessage;
            lcCase.msDetail = lcIt != mcHandled.cend() ? lcIt->second.msText : lrLine.msText;
        }
        else if (lcIt != mcHandled.cend() && lcIt->second.mbCompareFailed)
        {
            lcCase.meOutcome = tcJUnitCase::eFailed;
            lcCase.msMessage = lastLine(lcIt->second.msText);
            lcCase.msDetail = lcIt->second.msText;
        }
        else if (lcIt == mcHandled.cend())
        {
            lcCase.meOutcome = tcJUnitCase::eSkipped;
            lcCase.msMessage = QStringLiteral("not run");
        }
        arReport.add(lcCase);
    }
    if (mnInterruptSignal != 0)
        arReport.add({QStringLiteral("interrupted"), 0.0, tcJUnitCase::eError,
                      QStringLiteral("Run interrupted by signal %1").arg(mnInterruptSignal), msDoneMessage,
                      QString()});
}

void tcRunSession::writeJUnit(const tcJUnitReport& arReport)
{
    QString lsError;
    if (!arReport.write(mcOptions.msJUnitFile, lsError))
    {
        err(lsError);
        if (mnExitCode == ePassed)
            mnExitCode = eSetupError;
    }
}
