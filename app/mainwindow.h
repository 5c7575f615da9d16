#pragma once

#include "debugsource.h"
#include "imagebuffer.h"
#include "pluginui.h"

#include <QColor>
#include <QList>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QString>

#include <memory>

namespace Ui
{
class MainWindow;
}
class GenTLTreeModel;
class QLabel;
class QMdiSubWindow;
class QProgressBar;
class QPushButton;
class QTimer;
class tcCameraInterface;
class tcGenICamParamsDialog;
class tcGenTLInterface;
class tcGenTLPlugin;
class tcFrameRouter;
class tcProducerBinding;
class tcRecentDevices;
class tcUpdateNotifier;
class tcViewerInterface;
class tcViewerThread;

// The program's one top-level window. It owns the producer binding and the
// open camera, keeps the recently opened devices, wires the plugins' menus,
// actions, control widgets and indicators in, routes every frame through the
// image filters and sinks to the video windows, shows the progress of script
// runs and shows every message of the program: on the splash while starting,
// then in the status bar, the log window and message boxes.
class MainWindow : public QMainWindow, public tcDebugSource
{
    Q_OBJECT

public:
    explicit MainWindow(bool abInternal, QWidget* apParent = nullptr);
    ~MainWindow() override;

    // Makes the program's images available; safe to call more than once.
    static void initResources();

    // Runs once after construction, while the splash is still up: title,
    // geometry, recent devices, producer, settings, plugins folder check and
    // the last device.
    void startUp();

    bool OpenDevice(int anInterfaceIndex, const QString& arDeviceId);
    // Takes over the settings just stored (after the settings dialog, and
    // while starting).
    void applySettings();
    // Runs the script on the shared command runner with progress and Abort.
    bool runScriptFile(const QString& arPath);

    bool isInternalUser() const { return mbInternal; }
    tcCameraInterface* camera() const;
    tcGenTLInterface* producer() const;
    QList<QAction*> recentActions() const;
    QMenu* recentMenu() const;
    QLabel* statusLabel() const { return mpStatusLabel; }
    QProgressBar* progressBar() const { return mpProgressBar; }
    QPushButton* abortButton() const { return mpAbortButton; }
    QWidget* logWindow() const { return mpLogWindow.get(); }
    const tcPluginUi& pluginUi() const { return mcPluginUi; }
    QList<tcViewerInterface*> imageFilters() const;
    QList<tcViewerInterface*> imageSinks() const;
    QList<QWidget*> toolWindows() const;
    // The video windows among the MDI sub-windows that follow the stream.
    QList<QWidget*> videoWindows() const;

signals:
    void splashMessage(const QString& arMessage, int anAlignment, const QColor& arColor);
    void messageBoxDone(QMessageBox::StandardButtons anButton);
    // Every routed frame, for the video windows that follow the stream.
    void frameForDisplay(tpImageBuffer apFrame);
    // What the log window records.
    void logMessage(const QString& arText);
    void logError(const QString& arText);

public slots:
    void showCriticalMessage(const QString& arLine);
    void flashMessage(const QString& arMessage);
    void flashError(const QString& arMessage);
    void showAlert(const QString& arMessage);
    void showMessageBox(QMessageBox::StandardButtons anButtons, QString arText);

    void pluginsChanged(QList<tcGenTLPlugin*> alPlugins);
    void addPluginMenu(QMenu* apMenu);
    void addPluginAction(QAction* apAction);
    void addPluginActions(QList<QAction*> alActions, QString arCategoryName);
    void addPluginIndicator(tcGenTLPlugin* apPlugin, QWidget* apIndicator);

    void ShowAppSettings(QString arInitialPage = QString());
    void ShowAbout();
    void onAboutQt();
    void slot_showUserGuide();
    void slot_showPlugins();
    void slot_showCommandConsole();
    void slot_showDebugLevels();
    void slot_showSnapshot();
    void Close_Library();
    void Open_Device();
    void Close_Device();
    void GenICamProps();
    void showXML();
    void showXmlDocumentation();
    void ShowVideoWidget();
    void CameraAcquiring(bool abOn);
    void NewFrame(tpImageBuffer apFrame);
    void UpdateFramerate();
    void ShowLog();
    void ThreadDone(bool abSuccess, QString arMessage);
    void SetProgColor(bool abOk);
    void DoRunScript();
    void openRecent();
    bool openEncodedDeviceInfo(QString arEncoded);
    void showConfigFile();
    void newPlotWidget();
    void closeAllWindows();
    void filterSettingsChanged();
    void checkForUpdates();

protected:
    void closeEvent(QCloseEvent* apEvent) override;

private:
    void registerMetaTypes();
    void createStatusWidgets();
    void connectActions();
    void connectPluginManager();
    void setNoDeviceActionStates();
    void loadProducer(const QString& arPath);
    void openRecentAction(QAction* apAction);
    bool openCamera(int anInterfaceIndex, const QString& arDeviceId);
    void afterUsableOpen(const QString& arDeviceId);
    void checkPluginsFolder();
    void showPluginSettingsLater();
    void showNoCamera();
    void startWorker(tcViewerThread* apThread);
    void addToolWindow(QWidget* apWindow);
    QMdiSubWindow* addVideoWindow(QWidget* apWindow, bool abFollowStream);
    void showTransient(const QString& arMessage);
    void warnBox(const QString& arText);
    QString displayName() const;

    std::unique_ptr<Ui::MainWindow> mpUi;
    bool mbInternal;
    bool mbExpert = true;
    std::unique_ptr<tcProducerBinding> mpProducer;
    GenTLTreeModel* mpDeviceModel = nullptr;
    QPointer<tcCameraInterface> mpCamera;
    QPointer<tcGenICamParamsDialog> mpParamsDialog;
    QTimer* mpFrameTimer;
    tcFrameRouter* mpFrameRouter;
    QString msXmlText;
    std::unique_ptr<QWidget> mpLogWindow;
    QPushButton* mpAbortButton = nullptr;
    QProgressBar* mpProgressBar = nullptr;
    QString msStyleFail;
    QString msStyleOk;
    QLabel* mpStatusLabel = nullptr;
    qint64 mnLastTickMs = 0;
    quint64 mnFrameCount = 0;
    quint64 mnFramesAtLastTick = 0;
    bool mbSplashActive = true;
    tcRecentDevices* mpRecent = nullptr;
    QList<QPointer<QWidget>> mlToolWindows;
    tcPluginUi mcPluginUi;
    tpImageBuffer mpLastFrame;
    tcUpdateNotifier* mpUpdater = nullptr;
};
