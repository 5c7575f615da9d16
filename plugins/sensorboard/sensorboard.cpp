#include "sensorboard.h"

#include "camerainterface.h"
#include "cmdhandlerpeek.h"
#include "cmdhandlerpoke.h"
#include "cmdrunner.h"
#include "cmv50controlwidget.h"
#include "cmv50ksettings.h"
#include "filedialogs.h"
#include "genicamiface.h"
#include "hdmidecorator.h"
#include "hdmiimgrectselector.h"
#include "registerbanks.h"
#include "roiimgrectselector.h"
#include "statefilescanner.h"

#include <GenApi/GenApi.h>

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>

namespace
{
const char* const kIniFilter = "Ini Files (*.ini)";

// Clears the busy flag however the operation ends.
class tcBusy
{
public:
    explicit tcBusy(bool& arFlag) : mrFlag(arFlag) { mrFlag = true; }
    ~tcBusy() { mrFlag = false; }
    tcBusy(const tcBusy&) = delete;
    tcBusy& operator=(const tcBusy&) = delete;

private:
    bool& mrFlag;
};

// The folder where a save or load works on its own copy of the state file;
// its path goes through a command line, which splits at blanks and "+".
QString workFolderTemplate()
{
    return QDir::temp().filePath(QStringLiteral("kestle-state-XXXXXX"));
}
} // namespace

tcSensorboard::tcSensorboard()
    : tcGenTLPlugin(QStringLiteral("tcSensorboard")), mpHdmiSelector(new tcHdmiImgRectSelector(this)),
      mpHdmiDecorator(new tcHdmiDecorator(mpHdmiSelector, this)),
      mpRoiSelector(new tcRoiImgRectSelector(this)), mpMenu(new QMenu(name())),
      mpControlWidget(new tcCmv50ControlWidget(this, nullptr))
{
    debugMinLevel(1);
    setObjectName(name());
    addInterface(mpHdmiSelector);
    addInterface(mpHdmiDecorator);
    addInterface(mpRoiSelector);
    QAction* lpSave = mpMenu->addAction(tr("Save State"));
    QAction* lpLoad = mpMenu->addAction(tr("Load State"));
    connect(lpSave, &QAction::triggered, this, qOverload<>(&tcSensorboard::saveState));
    connect(lpLoad, &QAction::triggered, this, qOverload<>(&tcSensorboard::loadState));
    mpMenu->setEnabled(false);
    mpControlWidget->setEnabled(false);
}

tcSensorboard::~tcSensorboard()
{
    delete mpMenu.data();
    delete mpControlWidget.data();
}

QString tcSensorboard::name() const
{
    return QStringLiteral("CMV 50000");
}

QString tcSensorboard::version() const
{
    return QStringLiteral("version 0.0.1");
}

QString tcSensorboard::title() const
{
    return QStringLiteral("Sensorboard Plugin");
}

tcSettingsWidget* tcSensorboard::settingsWidget()
{
    auto* lpPage = new tcCmv50kSettings();
    lpPage->setAttribute(Qt::WA_DeleteOnClose);
    return lpPage;
}

QWidget* tcSensorboard::controlWidget()
{
    return mpControlWidget;
}

QMenu* tcSensorboard::applicationMenu()
{
    return mpMenu;
}

bool tcSensorboard::isCompatible(const GenApi::CNodeMapRef* apNodeMap)
{
    if (!apNodeMap)
        return false;
    try
    {
        GenApi::CStringPtr lpModel = apNodeMap->_GetNode("DeviceModelName");
        if (!GenApi::IsReadable(lpModel))
            return false;
        const QString lsModel = QString::fromLocal8Bit(lpModel->GetValue().c_str());
        if (GetDbgLevel() >= 1)
            qDebug() << "tcSensorboard::isCompatible"
                     << "[" << getName() << 1 << "]"
                     << "model=" << lsModel;
        return lsModel.startsWith(QLatin1String("CMV50000")) && mpHdmiSelector->isCompatible(apNodeMap);
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
    }
    catch (...)
    {
        qWarning() << "Unhandled Execption";
    }
    return false;
}

QList<QSharedPointer<tcCmdHandler>> tcSensorboard::scriptableCommands()
{
    return {QSharedPointer<tcCmdHandler>(new tcCmdHandlerPeek()),
            QSharedPointer<tcCmdHandler>(new tcCmdHandlerPoke())};
}

void tcSensorboard::setCamera(tcCameraInterface* apCamera)
{
    tcGenTLPlugin::setCamera(apCamera);
    if (mpMenu)
        mpMenu->setEnabled(apCamera != nullptr);
    if (mpControlWidget)
        mpControlWidget->setEnabled(apCamera != nullptr);
}

void tcSensorboard::saveState()
{
    const QString lsFile = tcFileDialogs::getSaveFileName(nullptr, tr("Save settings to file"), QString(),
                                                          QLatin1String(kIniFilter));
    if (!lsFile.isEmpty())
        saveState(lsFile);
}

void tcSensorboard::loadState()
{
    const QString lsFile = tcFileDialogs::getOpenFileName(nullptr, tr("Load settings from file"), QString(),
                                                          QLatin1String(kIniFilter));
    if (!lsFile.isEmpty())
        loadState(lsFile);
}

void tcSensorboard::saveState(QString arFilename)
{
    if (!hasCamera(QStringLiteral("save")))
        return;
    // The old file is replaced, never removed first; one that may not be
    // replaced is refused before the camera is asked for anything.
    const QFileInfo lcTarget(arFilename);
    // A file whose owner may not write it is protected, even from an
    // administrator who could.
    if (lcTarget.exists() && (!lcTarget.isWritable() || !(lcTarget.permissions() & QFileDevice::WriteOwner)))
    {
        reportUnremovable(arFilename);
        return;
    }
    if (!QFileInfo(lcTarget.absolutePath()).isWritable())
    {
        emit Error(QStringLiteral("Unable to write to folder %1: the state was not saved")
                       .arg(QDir::toNativeSeparators(lcTarget.absolutePath())));
        return;
    }
    if (!runnerFor(QStringLiteral("save state"), __LINE__) || isBusy())
        return;
    tcBusy lcBusy(mbBusy);
    QTemporaryDir lcWork(workFolderTemplate());
    const QString lsWork = lcWork.filePath(QStringLiteral("state.ini"));
    if (!lcWork.isValid() || !runFileCommand(QStringLiteral("GENI SAVE"), lsWork))
    {
        emit Error(QStringLiteral("Unable to save the camera features: %1 was not changed").arg(arFilename));
        return;
    }
    if (!saveRegisters(lsWork, arFilename) || !putInPlace(lsWork, arFilename))
        return;
    emit Message(QStringLiteral("Camera state saved to %1").arg(arFilename));
}

void tcSensorboard::loadState(QString arFilename)
{
    if (!hasCamera(QStringLiteral("load")) || !runnerFor(QStringLiteral("load state"), __LINE__) || isBusy())
        return;
    tcBusy lcBusy(mbBusy);
    // Features and registers are read from one private copy, so both come
    // from the same file whatever happens to the original meanwhile.
    QTemporaryDir lcWork(workFolderTemplate());
    const QString lsWork = lcWork.filePath(QStringLiteral("state.ini"));
    if (!QFileInfo(arFilename).isFile() || !lcWork.isValid() || !QFile::copy(arFilename, lsWork))
    {
        emit Error(QStringLiteral("Unable to read state file %1").arg(arFilename));
        return;
    }
    if (!runFileCommand(QStringLiteral("GENI LOAD"), lsWork))
    {
        emit Error(QStringLiteral("Unable to load the camera features from %1; no register was written")
                       .arg(arFilename));
        return;
    }
    loadRegisters(lsWork, arFilename);
}

bool tcSensorboard::hasCamera(const QString& arVerb)
{
    if (camera())
        return true;
    emit Error(QStringLiteral("No camera... cannot %1 state!").arg(arVerb));
    return false;
}

// The shared command runner, or null after reporting its absence (an
// internal error: the plugin manager always has one).
tcCmdRunner* tcSensorboard::runnerFor(const QString& arWhat, int anLine)
{
    tcCmdRunner* lpRunner = getCmdRunner();
    if (!lpRunner)
        emit Error(QStringLiteral("Unable to run command to %1... internal error :( [%2:%3]")
                       .arg(arWhat, QLatin1String(__FILE__))
                       .arg(anLine));
    return lpRunner;
}

bool tcSensorboard::isBusy()
{
    if (mbBusy)
        emit Error(QStringLiteral("A state save or load is already running"));
    return mbBusy;
}

// Takes the model of the open camera, whose settings group holds the
// register map; false without application settings.
bool tcSensorboard::hasRegisterMap()
{
    msModel = readModel();
    if (settings())
        return true;
    emit Error(QStringLiteral("No settings.. unable to determine sensor register map"));
    return false;
}

tcRegisterBanks tcSensorboard::registerBanks(tcCmdRunner* apRunner)
{
    return tcRegisterBanks(
        apRunner, msModel, tcRegisterBanks::mapFor(settings(), msModel),
        [this](const QString& arText) { emit Error(arText); }, GetDbgLevel());
}

QString tcSensorboard::readModel()
{
    tcCameraInterface* lpCamera = camera();
    if (!lpCamera || !lpCamera->getGenICamIface())
        return QString();
    return lpCamera->getGenICamIface()->data(QStringLiteral("DeviceModelName")).toString();
}

// Runs "<command> <file>" and tells whether it succeeded. The file name must
// reach the command whole: the runner splits lines at blanks and "+", and
// the command joins the pieces with single blanks.
bool tcSensorboard::runFileCommand(const QString& arCommand, const QString& arFile)
{
    static const QRegularExpression scUnsafe(QStringLiteral("[+\\t\\n\\r\\f\\v]"));
    if (arFile.contains(scUnsafe))
    {
        emit Error(QStringLiteral("The path %1 cannot be passed to a command").arg(arFile));
        return false;
    }
    tcCmdRunner* lpRunner = getCmdRunner();
    return lpRunner->ProcessCommand(QStringLiteral("%1 %2").arg(arCommand, arFile)) &&
           lpRunner->getLastResult().toBool();
}

bool tcSensorboard::saveRegisters(const QString& arWorkFile, const QString& arTarget)
{
    if (!hasRegisterMap())
        return false;
    QSettings lcFile(arWorkFile, QSettings::IniFormat);
    if (lcFile.status() != QSettings::NoError)
    {
        emit Error(QStringLiteral("Unable to use file %1 (status = %2)").arg(arTarget).arg(lcFile.status()));
        return false;
    }
    tcCmdRunner* lpRunner = runnerFor(QStringLiteral("save registers"), __LINE__);
    if (!lpRunner)
        return false;
    const tcRegisterBanks::tcOutcome lcOutcome = registerBanks(lpRunner).save(lcFile, arTarget);
    if (lcOutcome.mbAborted)
        emit Error(QStringLiteral("Save aborted: %1 was not changed").arg(arTarget));
    if (!lcOutcome.mbDone)
        return false;
    lcFile.sync();
    if (lcFile.status() != QSettings::NoError)
    {
        emit Error(QStringLiteral("Unable to use file %1 (status = %2)").arg(arTarget).arg(lcFile.status()));
        return false;
    }
    return true;
}

// Replaces the target in one step: the new contents go to a temporary file
// in the target's folder, which is renamed over the target once complete.
bool tcSensorboard::putInPlace(const QString& arWorkFile, const QString& arTarget)
{
    QFile lcSource(arWorkFile);
    QSaveFile lcTarget(arTarget);
    if (!lcSource.open(QIODevice::ReadOnly) || !lcTarget.open(QIODevice::WriteOnly) ||
        lcTarget.write(lcSource.readAll()) != lcSource.size() || !lcTarget.commit())
    {
        emit Error(QStringLiteral("Unable to write %1 (%2): the previous file was kept")
                       .arg(arTarget, lcTarget.errorString()));
        return false;
    }
    return true;
}

bool tcSensorboard::loadRegisters(const QString& arWorkFile, const QString& arSource)
{
    if (!hasRegisterMap())
        return false;
    tcStateFileScanner lcScan;
    if (!lcScan.scan(arWorkFile))
    {
        emit Error(QStringLiteral("Unable to use file %1 (%2)").arg(arSource, lcScan.errorString()));
        return false;
    }
    tcCmdRunner* lpRunner = runnerFor(QStringLiteral("load registers"), __LINE__);
    if (!lpRunner)
        return false;
    const QString lsShortName = QFileInfo(arSource).fileName();
    for (const tcStateFileScanner::tcFault& lcFault : lcScan.faults())
        emit Error(
            QStringLiteral("%1, line %2: %3").arg(lsShortName).arg(lcFault.mnLine).arg(lcFault.msText));
    const tcRegisterBanks::tcOutcome lcOutcome = registerBanks(lpRunner).load(lcScan, arSource);
    if (GetDbgLevel() >= 1)
        qDebug() << "tcSensorboard::loadRegisters"
                 << "[" << getName() << 1 << "]"
                 << "Loaded" << lcOutcome.mnCount << "of" << lcOutcome.mnTotal << "registers from file"
                 << arSource;
    const QString lsCount =
        QStringLiteral("%1 of %2 registers").arg(lcOutcome.mnCount).arg(lcOutcome.mnTotal);
    if (lcOutcome.mbAborted)
        emit Error(QStringLiteral("Load aborted: %1 written from %2").arg(lsCount, arSource));
    else if (lcOutcome.mnProblems > 0 || !lcScan.faults().isEmpty())
        emit Error(QStringLiteral("Loaded %1 from %2; %3 entries could not be used")
                       .arg(lsCount, arSource)
                       .arg(lcOutcome.mnProblems + lcScan.faults().size()));
    else
        emit Message(QStringLiteral("Loaded %1 from %2").arg(lsCount, arSource));
    return lcOutcome.mbDone;
}

void tcSensorboard::reportUnremovable(const QString& arFile)
{
    QMessageBox::warning(
        nullptr, QApplication::applicationDisplayName(),
        QStringLiteral("Unable to remove file \"%1\".\nPlease select another file to save to.").arg(arFile),
        QMessageBox::Ok);
}
