#pragma once

#include "cmdrunner.h"
#include "gentlinterface.h"
#include "gentlplugin.h"
#include "gentlport.h"
#include "messagecapture.h"
#include "opencamera.h"
#include "pluginmanager.h"
#include "tracingport.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

// The built sensor plugin, loaded by the plugin manager from a folder of its
// own, with the simulated CMV50000 camera open and handed to it. Every write
// to the camera's registers passes the tracing port; the plugin's Error and
// Message texts are collected.
class tcSensorboardFixture
{
public:
    explicit tcSensorboardFixture(const char* apDevice = tnSimcam::kSensorId) : mcCamera(apDevice)
    {
        QFile::copy(QStringLiteral(KX_SENSORBOARD_FILE),
                    mcFolder.filePath(QStringLiteral("libsensorboard.so")));
        tcPluginManager* lpManager = tcPluginManager::getInstance();
        if (!mcCamera.mbOpen || !lpManager->loadPlugins(nullptr, mcFolder.path()))
            return;
        for (tcGenTLPlugin* lpPlugin : lpManager->getAllPlugins())
            if (lpPlugin->name() == QLatin1String("CMV 50000"))
                mpPlugin = lpPlugin;
        if (!mpPlugin)
            return;
        mnActive = 0;
        QObject::connect(mpPlugin, &tcViewerInterface::Error,
                         [this](const QString& arText) { msErrors.append(arText); });
        QObject::connect(mpPlugin, &tcViewerInterface::Message,
                         [this](const QString& arText) { msMessages.append(arText); });
        mpTrace = std::make_unique<tcTracingPort>(mcCamera.mcSim.binding().genTLPort());
        mcCamera.mcCamera.nodeMap()._Connect(mpTrace.get(), "Device");
        mnActive = lpManager->setCamera(&mcCamera.mcCamera);
        mbTraced = true;
    }
    ~tcSensorboardFixture()
    {
        tcPluginManager::getInstance()->setCamera(nullptr);
        tcPluginManager::getInstance()->unloadPlugins();
        if (mpTrace)
            mcCamera.mcCamera.nodeMap()._Connect(mcCamera.mcSim.binding().genTLPort(), "Device");
    }
    tcSensorboardFixture(const tcSensorboardFixture&) = delete;
    tcSensorboardFixture& operator=(const tcSensorboardFixture&) = delete;

    bool ready() const { return mbTraced; }
    tcCmdRunner* runner() const { return tcPluginManager::getInstance()->getCmdRunner(); }
    GenApi::CNodeMapRef* nodeMap() { return &mcCamera.mcCamera.nodeMap(); }
    template <class T> T* piece(const char* apName) const
    {
        return qobject_cast<T*>(mpPlugin->findInterface(QString::fromLatin1(apName)));
    }

    int peek(int anRegister)
    {
        runner()->ProcessCommand(QStringLiteral("PEEK %1").arg(anRegister));
        return runner()->getLastResult().toInt();
    }
    void poke(int anRegister, int anValue)
    {
        runner()->ProcessCommand(QStringLiteral("POKE %1 %2").arg(anRegister).arg(anValue));
    }
    // Register k of bank b as the simulated camera starts.
    static int initialValue(int anBank, int anRegister)
    {
        return ((anBank + 1) << 12) | ((anRegister * 7) & 0xFFF);
    }

    void saveState(const QString& arFile)
    {
        QMetaObject::invokeMethod(mpPlugin, "saveState", Q_ARG(QString, arFile));
    }
    void loadState(const QString& arFile)
    {
        QMetaObject::invokeMethod(mpPlugin, "loadState", Q_ARG(QString, arFile));
    }

    // Every command the runner executes is logged; the tests look at the
    // plugin's own reports instead.
    tcMessageCapture mcQuiet;
    tcOpenCamera mcCamera;
    QTemporaryDir mcFolder;
    tcGenTLPlugin* mpPlugin = nullptr;
    std::unique_ptr<tcTracingPort> mpTrace;
    int mnActive = -1;
    bool mbTraced = false;
    QStringList msErrors;
    QStringList msMessages;
};

// Presses "Abort" on the progress dialog with the given label as soon as it
// exists and the loop lets events through.
class tcAborter : public QObject
{
public:
    explicit tcAborter(const QString& arLabel) : msLabel(arLabel)
    {
        connect(&mcTimer, &QTimer::timeout, this, &tcAborter::check);
        mcTimer.start(0);
    }
    bool mbPressed = false;

private:
    void check()
    {
        for (QWidget* lpWidget : QApplication::topLevelWidgets())
        {
            auto* lpDialog = qobject_cast<QProgressDialog*>(lpWidget);
            if (lpDialog && lpDialog->labelText() == msLabel && !mbPressed)
            {
                mbPressed = true;
                lpDialog->cancel();
            }
        }
    }
    QString msLabel;
    QTimer mcTimer;
};

// Answers the next modal message box with its default button and keeps its text.
class tcBoxCloser : public QObject
{
public:
    tcBoxCloser()
    {
        connect(&mcTimer, &QTimer::timeout, this,
                [this]
                {
                    if (auto* lpBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                    {
                        msText = lpBox->text();
                        lpBox->accept();
                    }
                });
        mcTimer.start(10);
    }
    QString msText;

private:
    QTimer mcTimer;
};
