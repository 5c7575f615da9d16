#pragma once

#include "debugsource.h"
#include "linemonitor.h"
#include "producerbinding.h"
#include "runoptions.h"
#include "scriptlines.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPair>
#include <QTemporaryDir>

#include <memory>

class QTimer;
class tcCameraInterface;
class tcCmdRunner;
class tcDeviceList;
class tcJUnitReport;
class tcPromptAnswerer;
class tcSettings;
struct tcListedDevice;

// One run of kestrix-run: loads the producer, opens one camera the way the
// program does, runs the script on the command runner's thread and prints
// its transcript as it arrives, then stops the acquisition, closes the camera
// and the producer and reports the outcome (summary, JUnit file, exit code).
//
// The settings are a private copy of the INI file, so that nothing a run does
// (the producer path the binding remembers, the variables of --set) reaches
// the program's own settings.
class tcRunSession : public QObject, public tcDebugSource
{
    Q_OBJECT

public:
    enum teExitCode
    {
        ePassed = 0,
        eFailed = 1,
        eSetupError = 2
    };

    explicit tcRunSession(const tcRunOptions& arOptions, QObject* apParent = nullptr);
    ~tcRunSession() override;

    // Settings and producer; false on a set-up error (exitCode() tells).
    bool prepare();
    // Prints every interface and device of the producer.
    void list();
    // Opens the camera and starts the script; false on a set-up error.
    bool start();

    int exitCode() const { return mnExitCode; }
    // True when the script thread could not be stopped (a long SLEEP): the
    // program then ends without waiting for it.
    bool scriptStillRunning() const;
    // Gives an interrupted script thread this long to end; false when it has not.
    bool waitForScript(int anMs);

signals:
    void finished(int anExitCode);

public slots:
    // Ctrl-C: stops the script after its current line, stops the acquisition,
    // closes the camera and the producer, ends with 128 + the signal.
    void interrupt(int anSignal);

private slots:
    void printMessage(const QString& arText);
    void printProgress(int anPercent);
    void scriptDone(bool abSuccessful, const QString& arMessage);
    void lineHandled(const tcHandledLine& arLine);
    void cameraError(const QString& arText);
    void checkInterruptedLine();

private:
    bool setupError(const QString& arText);
    bool prepareSettings();
    bool loadProducer();
    const tcListedDevice* chooseDevice(QString& arError);
    bool openCamera(const tcListedDevice& arDevice);
    void startScript();
    void finish();
    void stopAcquisition();
    void closeCamera();
    void report();
    QString summary() const;
    void fillJUnit(tcJUnitReport& arReport) const;
    void writeJUnit(const tcJUnitReport& arReport);
    int outcomeCode() const;

    tcRunOptions mcOptions;
    QTemporaryDir mcWorkDir;
    std::unique_ptr<tcSettings> mpSettings;
    tcProducerBinding mcProducer;
    std::unique_ptr<tcDeviceList> mpDevices;
    std::unique_ptr<tcCameraInterface> mpCamera;
    bool mbCameraOpen = false;
    tcLineMonitor mcMonitor;
    std::unique_ptr<tcPromptAnswerer> mpAnswerer;
    std::unique_ptr<tcCmdRunner> mpRunner;
    QTimer* mpInterruptTimer = nullptr;
    tcScriptLines mcScript;
    QStringList msCommands;
    QList<QPair<int, tcHandledLine>> mcHandled;
    QElapsedTimer mcClock;
    QString msDoneMessage;
    int mnFailedLine = -1;
    bool mbScriptDone = false;
    bool mbScriptFailed = false;
    bool mbFinishing = false;
    int mnInterruptSignal = 0;
    int mnLastProgress = -1;
    int mnExitCode = ePassed;
};
