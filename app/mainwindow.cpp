#include "mainwindow.h"

#include "aboutbox.h"
#include "camerainterface.h"
#include "cmdrunner.h"
#include "descriptionloader.h"
#include "devicedialog.h"
#include "filedialogs.h"
#include "framerouter.h"
#include "genicamiface.h"
#include "genicamparamsdialog.h"
#include "gentlexcept.h"
#include "gentlinterface.h"
#include "gentlplugin.h"
#include "gentltreemodel.h"
#include "plotwidget.h"
#include "pluginmanager.h"
#include "producerbinding.h"
#include "recentdevices.h"
#include "reportform.h"
#include "settings.h"
#include "ui_mainwindow.h"
#include "updatenotifier.h"
#include "weaklist.h"
#include "windowfactory.h"
#include "xmldocumentation.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QSslSocket>
#include <QStatusBar>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>

namespace
{
const char* const kFollowsStream = "kxFollowsStream";
const char* const kDefaultStyleFail = "QProgressBar::chunk { background: red; }";
const char* const kDefaultStyleOk =
    "QProgressBar::chunk { background: qlineargradient(spread:pad, x1:0, y1:0, x2:1, y2:0.273, stop:0 "
    "rgba(0, 100, 0, 255), stop:1 rgba(0, 255, 0, 255)); }";
constexpr int kFrameTickMs = 1000;
constexpr int kStatusMs = 3000;

std::unique_ptr<tcSettings> appSettings()
{
    return std::unique_ptr<tcSettings>(tcSettings::getSettings(QString()));
}

QVariant setting(const QString& arKey, const QVariant& arDefault = QVariant())
{
    return appSettings()->value(arKey, arDefault);
}

// Connects by signature, so that any window class offering the signal and
// slot of that name can be plugged in; a missing one is simply not wired.
void connectIfPresent(QObject* apSender, const char* apSignal, QObject* apReceiver, const char* apSlot)
{
    const QByteArray lcSignal = QMetaObject::normalizedSignature(apSignal + 1);
    const QByteArray lcSlot = QMetaObject::normalizedSignature(apSlot + 1);
    if (apSender->metaObject()->indexOfSignal(lcSignal) < 0 ||
        apReceiver->metaObject()->indexOfMethod(lcSlot) < 0)
        return;
    QObject::connect(apSender, apSignal, apReceiver, apSlot, Qt::UniqueConnection);
}
} // namespace

// The program's images live in a static library, whose resources the linker
// keeps only when something refers to them.
void MainWindow::initResources()
{
    static const bool sbDone = []
    {
        Q_INIT_RESOURCE(app);
        return true;
    }();
    Q_UNUSED(sbDone)
}

MainWindow::MainWindow(bool abInternal, QWidget* apParent)
    : QMainWindow(apParent), tcDebugSource(QCoreApplication::applicationName()),
      mpUi(std::make_unique<Ui::MainWindow>()), mbInternal(abInternal), mpFrameTimer(new QTimer(this)),
      mpFrameRouter(new tcFrameRouter(this)), mcPluginUi(this, *this)
{
    debugMinLevel(1);
    initResources();
    mpUi->setupUi(this);
    setCentralWidget(mpUi->mdiArea);
    setWindowIcon(QIcon(QStringLiteral(":/images/resouces/icon.png")));
    createStatusWidgets();
    const QString lsSimXml = setting(QStringLiteral("simCamXmlFile")).toString();
    if (!lsSimXml.isEmpty())
        qputenv("SIMCAM_XML_FILE", lsSimXml.toLatin1());
    mpLogWindow.reset(tnWindows::createLogWindow());
    connectIfPresent(this, SIGNAL(logMessage(QString)), mpLogWindow.get(), SLOT(LogMessage(QString)));
    connectIfPresent(this, SIGNAL(logError(QString)), mpLogWindow.get(), SLOT(LogError(QString)));
    registerMetaTypes();

    setNoDeviceActionStates();
    mpUi->actionOpen_Device->setEnabled(false);
    connectActions();
    connect(mpFrameTimer, &QTimer::timeout, this, &MainWindow::UpdateFramerate);
    connect(mpFrameRouter, &tcFrameRouter::filterSettingsChanged, this, &MainWindow::filterSettingsChanged);
    auto* lpRecentMenu = new QMenu(QStringLiteral("Recent Cameras..."), this);
    lpRecentMenu->setObjectName(QStringLiteral("menuRecent"));
    mpUi->menuFile->insertMenu(mpUi->actionSettings, lpRecentMenu);
    mpRecent = new tcRecentDevices(lpRecentMenu);
    connect(mpRecent, &tcRecentDevices::openRequested, this, &MainWindow::openRecentAction);

    connectPluginManager();
    mpFrameTimer->start(kFrameTickMs);

    mpUpdater = new tcUpdateNotifier(this);
    connect(mpUpdater, &tcUpdateNotifier::Message, this, &MainWindow::flashMessage);
    connect(mpUpdater, &tcUpdateNotifier::Error, this, &MainWindow::flashError);
    if (!QSslSocket::supportsSsl())
    {
        mpUi->actionCheck_for_updates->setEnabled(false);
        mpUi->actionCheck_for_updates->setToolTip(
            QStringLiteral("SSL not available, cannot check for updates"));
    }
}

MainWindow::~MainWindow()
{
    tcPluginManager* lpPlugins = tcPluginManager::getInstance();
    disconnect(lpPlugins, nullptr, this, nullptr);
    mpLastFrame.clear();
    delete mpParamsDialog;
    Close_Device();
    Close_Library();
    lpPlugins->unloadPlugins();
}

void MainWindow::registerMetaTypes()
{
    qRegisterMetaType<void*>("GenTL::DEV_HANDLE");
    qRegisterMetaType<quint64>("uint64_t");
    qRegisterMetaType<QSharedPointer<QImage>>("QSharedPointer<QImage>");
    tcImageBuffer::registerMetaType();
    qRegisterMetaType<QMessageBox::StandardButtons>("QMessageBox::StandardButtons");
}

void MainWindow::createStatusWidgets()
{
    mpStatusLabel = new QLabel(QStringLiteral("No Camera"), this);
    mpStatusLabel->setObjectName(QStringLiteral("statusLabel"));
    mpProgressBar = new QProgressBar(this);
    mpProgressBar->setObjectName(QStringLiteral("progressBar"));
    mpProgressBar->setRange(0, 100);
    mpProgressBar->setValue(0);
    msStyleFail = setting(QStringLiteral("StyleFail"), QLatin1String(kDefaultStyleFail)).toString();
    msStyleOk = setting(QStringLiteral("StyleOk"), QLatin1String(kDefaultStyleOk)).toString();
    mpAbortButton = new QPushButton(QStringLiteral("Abort"), this);
    mpAbortButton->setObjectName(QStringLiteral("abortButton"));
    mpAbortButton->hide();
    statusBar()->addPermanentWidget(mpAbortButton);
    statusBar()->addPermanentWidget(mpProgressBar);
    statusBar()->addPermanentWidget(mpStatusLabel);
}

void MainWindow::connectActions()
{
    Ui::MainWindow& lrUi = *mpUi;
    connect(lrUi.actionOpen_Device, &QAction::triggered, this, &MainWindow::Open_Device);
    connect(lrUi.actionClose_Device, &QAction::triggered, this, &MainWindow::Close_Device);
    connect(lrUi.actionSettings, &QAction::triggered, this, [this] { ShowAppSettings(); });
    connect(lrUi.actionQuit, &QAction::triggered, this, &QWidget::close);
    connect(lrUi.actionGenApiSettings, &QAction::triggered, this, &MainWindow::GenICamProps);
    connect(lrUi.actionView_XML, &QAction::triggered, this, &MainWindow::showXML);
    connect(lrUi.actionShow_Documentation, &QAction::triggered, this, &MainWindow::showXmlDocumentation);
    connect(lrUi.actionRun_Script, &QAction::triggered, this, &MainWindow::DoRunScript);
    connect(lrUi.actionShowVideo, &QAction::triggered, this, &MainWindow::ShowVideoWidget);
    connect(lrUi.actionPlot_Widget, &QAction::triggered, this, &MainWindow::newPlotWidget);
    connect(lrUi.actionShow_Log, &QAction::triggered, this, &MainWindow::ShowLog);
    connect(lrUi.actionShow_New_Snapshot, &QAction::triggered, this, &MainWindow::slot_showSnapshot);
    connect(lrUi.actionCommand_Console, &QAction::triggered, this, &MainWindow::slot_showCommandConsole);
    connect(lrUi.actionAbout, &QAction::triggered, this, &MainWindow::ShowAbout);
    connect(lrUi.actionAbout_Qt, &QAction::triggered, this, &MainWindow::onAboutQt);
    connect(lrUi.actionCheck_for_updates, &QAction::triggered, this, &MainWindow::checkForUpdates);
    connect(lrUi.actionPlugins, &QAction::triggered, this, &MainWindow::slot_showPlugins);
    connect(lrUi.actionShow_Config, &QAction::triggered, this, &MainWindow::showConfigFile);
    connect(lrUi.actionDebug_Levels, &QAction::triggered, this, &MainWindow::slot_showDebugLevels);
    connect(lrUi.actionUser_Guide, &QAction::triggered, this, &MainWindow::slot_showUserGuide);
}

void MainWindow::connectPluginManager()
{
    tcPluginManager* lpPlugins = tcPluginManager::getInstance();
    connect(lpPlugins, &tcPluginManager::Message, this, &MainWindow::flashMessage);
    connect(lpPlugins, &tcPluginManager::Error, this, &MainWindow::flashError);
    connect(lpPlugins, &tcPluginManager::pluginsChanged, this, &MainWindow::pluginsChanged);
    lpPlugins->loadPlugins(this, QString());
    lpPlugins->setCamera(nullptr);

    if (tcCmdRunner* lpRunner = lpPlugins->getCmdRunner())
    {
        connect(lpRunner, &tcViewerThread::Done, this, &MainWindow::ThreadDone, Qt::UniqueConnection);
        connect(lpRunner, &tcCmdRunner::showMessageBox, this, &MainWindow::showMessageBox,
                Qt::UniqueConnection);
        connect(this, &MainWindow::messageBoxDone, lpRunner, &tcCmdRunner::messageBoxFinished,
                Qt::UniqueConnection);
    }
}

// Without a camera only the internal user may open a video window (to look at
// saved images); everything that needs the camera waits for one.
void MainWindow::setNoDeviceActionStates()
{
    mpUi->actionShowVideo->setEnabled(mbInternal);
    mpUi->actionShow_New_Snapshot->setEnabled(false);
    mpUi->actionGenApiSettings->setEnabled(false);
    mpUi->actionRun_Script->setEnabled(false);
    mpUi->actionView_XML->setEnabled(false);
    mpUi->actionShow_Documentation->setEnabled(false);
}

QString MainWindow::displayName() const
{
    return QApplication::applicationDisplayName();
}

QList<QAction*> MainWindow::recentActions() const
{
    return mpRecent->actions();
}

QMenu* MainWindow::recentMenu() const
{
    return mpRecent->menu();
}

tcCameraInterface* MainWindow::camera() const
{
    return mpCamera;
}

tcGenTLInterface* MainWindow::producer() const
{
    return mpProducer && mpProducer->isInitialized() ? mpProducer->binding() : nullptr;
}

// ---------------------------------------------------------------------------
// Start-up and shut-down

void MainWindow::startUp()
{
    setWindowTitle(QStringLiteral("%1 - %2").arg(displayName(), tcSettings::getDefaultIniFile()));
    restoreGeometry(setting(QStringLiteral("geometry")).toByteArray());
    mpRecent->load(*appSettings());

    const QString lsProducer = tcProducerBinding::defaultProducerPath();
    if (!lsProducer.isEmpty() && QFileInfo::exists(lsProducer))
        loadProducer(lsProducer);
    else
        warnBox(
            QStringLiteral("No GenTL library has been selected...\nplease go to settings and select one"));

    applySettings();
    mpFrameRouter->collect(*tcPluginManager::getInstance());
    mbSplashActive = false;
    checkPluginsFolder();

    mpUpdater->checker()->scheduleStartupCheck();
}

void MainWindow::loadProducer(const QString& arPath)
{
    Close_Library();
    mpProducer = std::make_unique<tcProducerBinding>();
    connect(mpProducer.get(), &tcProducerBinding::Message, this, &MainWindow::flashMessage);
    connect(mpProducer.get(), &tcProducerBinding::Error, this, &MainWindow::flashError);
    if (!mpProducer->load(arPath))
    {
        if (mpProducer->binding())
            flashError(QStringLiteral("Unable to initialise GenTL library %1").arg(arPath));
        mpProducer.reset();
        return;
    }
    connect(mpProducer->binding(), &tcGenTLInterface::Message, this, &MainWindow::flashMessage);
    connect(mpProducer->binding(), &tcGenTLInterface::Error, this, &MainWindow::flashError);
    delete mpDeviceModel;
    mpDeviceModel = new GenTLTreeModel(this);
    mpDeviceModel->populate(mpProducer->binding(), mpProducer->binding()->handle());
    mpUi->actionOpen_Device->setEnabled(true);
}

// Without a plugins folder the last device is not opened: the user is sent to
// the settings first.
void MainWindow::checkPluginsFolder()
{
    const QString lsDir = tcPluginManager::getInstance()->getPluginsDir();
    QString lsReason;
    if (lsDir.isEmpty())
        lsReason = QStringLiteral("is not set");
    else if (!QFileInfo(lsDir).isDir())
        lsReason = QStringLiteral("does not exist");
    if (!lsReason.isEmpty())
    {
        QMessageBox::information(
            this, displayName(),
            QStringLiteral("The plugins path %1.\nPlease configure in settings...").arg(lsReason));
        showPluginSettingsLater();
        return;
    }
    const QString lsLast = setting(QStringLiteral("lastDevice")).toString();
    if (setting(QStringLiteral("openLast"), false).toBool() && !lsLast.isEmpty())
        openEncodedDeviceInfo(lsLast);
}

void MainWindow::showPluginSettingsLater()
{
    QTimer::singleShot(10, this, [this] { ShowAppSettings(QStringLiteral("Plugins")); });
}

void MainWindow::closeEvent(QCloseEvent* apEvent)
{
    closeAllWindows();
    tcPluginManager::getInstance()->setCamera(nullptr);
    mpLastFrame.clear();
    Close_Device();
    QCoreApplication::processEvents();
    if (mpLogWindow)
        mpLogWindow->close();
    mpRecent->save(*appSettings());
    appSettings()->setValue(QStringLiteral("geometry"), saveGeometry());
    apEvent->accept();
    QCoreApplication::quit();
}

void MainWindow::applySettings()
{
    const QString lsXmlDir = setting(QStringLiteral("xmlDir")).toString();
    if (!lsXmlDir.isEmpty())
        QDir().mkpath(lsXmlDir);

    tcPluginManager* lpPlugins = tcPluginManager::getInstance();
    if (lpPlugins->settingsChanged())
    {
        QMessageBox::information(
            this, displayName(),
            QStringLiteral("The plugins settings have changed.\nYou may need to re-start the "
                           "application to reload plugins."));
        lpPlugins->setCamera(mpCamera);
    }

    const QList<QWidget*> llVideo = videoWindows();
    for (QWidget* lpWindow : llVideo)
        lpWindow->close();
    std::unique_ptr<tcSettings> lpSettings = appSettings();
    lpPlugins->updateSettings(lpSettings.get());
    if (!llVideo.isEmpty())
        ShowVideoWidget();
    mpUpdater->checker()->applySettings();
}

// ---------------------------------------------------------------------------
// Recent devices

void MainWindow::openRecent()
{
    openRecentAction(qobject_cast<QAction*>(sender()));
}

// An entry whose device does not open any more may be taken off the list.
void MainWindow::openRecentAction(QAction* apAction)
{
    if (!apAction || openEncodedDeviceInfo(apAction->data().toString()))
        return;
    const auto leAnswer = QMessageBox::question(
        this, displayName(), QStringLiteral("Remove \"%1\" from recent devices?").arg(apAction->text()),
        QMessageBox::Yes | QMessageBox::No);
    if (leAnswer == QMessageBox::Yes)
        mpRecent->remove(apAction);
}

bool MainWindow::openEncodedDeviceInfo(QString arEncoded)
{
    const int lnComma = arEncoded.indexOf(QLatin1Char(','));
    if (lnComma <= 0)
        return false;
    bool lbOk = false;
    const int lnInterface = arEncoded.left(lnComma).toInt(&lbOk);
    if (!lbOk)
        return false;
    return OpenDevice(lnInterface, arEncoded.mid(lnComma + 1));
}

// ---------------------------------------------------------------------------
// Devices

void MainWindow::Open_Device()
{
    tcGenTLInterface* lpBinding = producer();
    if (!lpBinding || !mpDeviceModel)
    {
        showAlert(
            QStringLiteral("No GenTL library has been selected...\nplease go to settings and select one"));
        return;
    }
    DeviceDialog lcChooser(this, mpDeviceModel, lpBinding);
    if (lcChooser.exec() != QDialog::Accepted || lcChooser.deviceId().isEmpty())
        return;
    if (!OpenDevice(lcChooser.interfaceIndex(), lcChooser.deviceId()))
        return;
    const QString lsName = lcChooser.deviceModel().isEmpty() ? lcChooser.deviceId() : lcChooser.deviceModel();
    mpRecent->remember(lsName, lcChooser.interfaceIndex(), lcChooser.deviceId(),
                       setting(QStringLiteral("maxNumMru"), 10).toInt());
}

bool MainWindow::OpenDevice(int anInterfaceIndex, const QString& arDeviceId)
{
    Close_Device();
    tcGenTLInterface* lpBinding = producer();
    if (!lpBinding)
    {
        qWarning() << "MainWindow::OpenDevice"
                   << "No genTL library!";
        return false;
    }
    mpCamera = new tcCameraInterface(this);
    connect(mpCamera, &tcCameraInterface::Message, this, &MainWindow::flashMessage);
    connect(mpCamera, &tcCameraInterface::Error, this, &MainWindow::flashError);
    connect(mpCamera, &tcCameraInterface::NewFrame, this, &MainWindow::NewFrame);
    connect(mpCamera, &tcCameraInterface::acquiring, this, &MainWindow::CameraAcquiring);

    if (!lpBinding->OpenDevice(anInterfaceIndex, arDeviceId))
    {
        showAlert(QStringLiteral("GenTL is unable to open camera \"%1\".\nCheck connections/power")
                      .arg(arDeviceId));
        Close_Device();
        return false;
    }
    if (!openCamera(anInterfaceIndex, arDeviceId))
    {
        Close_Device();
        showAlert(QStringLiteral("Application is Unable to open camera \"%1\".\nCheck connections/power")
                      .arg(arDeviceId));
        return false;
    }
    appSettings()->setValue(QStringLiteral("lastDevice"),
                            QStringLiteral("%1,%2").arg(anInterfaceIndex).arg(arDeviceId));
    afterUsableOpen(arDeviceId);
    return true;
}

// Description, node map and camera object; true when the camera is usable.
bool MainWindow::openCamera(int anInterfaceIndex, const QString& arDeviceId)
{
    Q_UNUSED(anInterfaceIndex)
    tcGenTLInterface* lpBinding = producer();
    try
    {
        const tcDeviceDescription lcDescription = tcDescriptionLoader::load(
            *lpBinding, mpCamera->nodeMap(), setting(QStringLiteral("xmlDir")).toString(), *this);
        msXmlText = lcDescription.msXmlText;
        mpUi->actionView_XML->setEnabled(!msXmlText.isEmpty());
        mpUi->actionShow_Documentation->setEnabled(!msXmlText.isEmpty());
        if (!lcDescription.mbLoaded || !lpBinding->open(mpCamera))
            return false;

        mpParamsDialog = new tcGenICamParamsDialog(this, mpCamera);
        tcPluginManager* lpPlugins = tcPluginManager::getInstance();
        if (lpPlugins->setCamera(mpCamera) > 0 || lpPlugins->getAllPlugins().isEmpty())
            flashMessage(QStringLiteral("Opened device %1 ...").arg(arDeviceId));
        else
        {
            QMessageBox::information(this, displayName(),
                                     QStringLiteral("There are no plugins defined for camera\n\"%1\"\nPlease "
                                                    "configure in settings...")
                                         .arg(mpCamera->getModel()));
            showPluginSettingsLater();
        }
        return true;
    }
    catch (const GenTLExcept& arError)
    {
        qWarning().noquote() << arError.message();
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
    }
    catch (...)
    {
        qWarning() << "mainwindow"
                   << ":" << 770 << "Unhandled Execption";
    }
    return false;
}

void MainWindow::afterUsableOpen(const QString& arDeviceId)
{
    mpUi->actionShowVideo->setEnabled(true);
    mpUi->actionShow_New_Snapshot->setEnabled(true);
    mpUi->actionGenApiSettings->setEnabled(true);
    mpUi->actionRun_Script->setEnabled(true);
    mpUi->actionOpen_Device->setEnabled(true);
    mpStatusLabel->setText(QStringLiteral("IDLE"));

    setWindowTitle(QStringLiteral("%1 - %2").arg(displayName(), arDeviceId));
    std::unique_ptr<tcSettings> lpSettings = appSettings();
    lpSettings->setGrpValue(QStringLiteral("Devices"), QStringLiteral("device_id"), arDeviceId);
    lpSettings->setGrpValue(
        QStringLiteral("Devices"), QStringLiteral("interface_index"),
        lpSettings->value(QStringLiteral("lastDevice")).toString().section(QLatin1Char(','), 0, 0).toInt());
    lpSettings.reset();
    if (setting(QStringLiteral("autoOpenVideoWidget"), true).toBool())
    {
        ShowVideoWidget();
        // A camera that opens with its video window shows live video at once,
        // without a click; the video settings' Play pauses and resumes it.
        if (mpCamera && !mpCamera->IsRunning())
            mpCamera->startVideo();
    }
}

void MainWindow::Close_Device()
{
    closeAllWindows();
    tcPluginManager::getInstance()->setCamera(nullptr);
    msXmlText.clear();
    delete mpParamsDialog;
    mpLastFrame.clear();
    if (mpCamera)
    {
        tcGenTLInterface* lpBinding = producer();
        mpCamera->close(lpBinding);
        if (lpBinding)
            lpBinding->close();
        delete mpCamera;
    }
    setNoDeviceActionStates();
    mpUi->actionOpen_Device->setEnabled(producer() != nullptr);
    mpStatusLabel->setText(QStringLiteral("No Camera"));
}

void MainWindow::Close_Library()
{
    if (mpCamera)
        Close_Device();
    mpProducer.reset();
    delete mpDeviceModel;
    mpDeviceModel = nullptr;
    mpUi->actionOpen_Device->setEnabled(false);
}

// ---------------------------------------------------------------------------
// Messages

void MainWindow::flashMessage(const QString& arMessage)
{
    if (GetDbgLevel() >= 1)
        qDebug() << "MainWindow::flashMessage"
                 << "[" << getName() << 1 << "]" << arMessage;
    showTransient(arMessage);
    emit logMessage(arMessage);
}

void MainWindow::flashError(const QString& arMessage)
{
    qWarning().noquote() << arMessage;
    showTransient(arMessage);
    emit logError(arMessage);
}

// On the splash while the program starts, in the status bar afterwards.
void MainWindow::showTransient(const QString& arMessage)
{
    if (mbSplashActive)
        emit splashMessage(arMessage, Qt::AlignRight, Qt::blue);
    else
        statusBar()->showMessage(arMessage, kStatusMs);
}

void MainWindow::showAlert(const QString& arMessage)
{
    flashError(arMessage);
    QMessageBox lcBox(QMessageBox::Warning, QCoreApplication::applicationName(), arMessage, QMessageBox::Ok,
                      QApplication::activeWindow());
    lcBox.setTextFormat(Qt::RichText);
    lcBox.setWindowFlags(lcBox.windowFlags() | Qt::WindowStaysOnTopHint);
    lcBox.exec();
}

void MainWindow::showCriticalMessage(const QString& arLine)
{
    qWarning().noquote() << arLine;
    showTransient(arLine);
    emit logError(arLine);
    QMessageBox lcBox(QMessageBox::Warning, QCoreApplication::applicationName(), arLine, QMessageBox::Ok,
                      QApplication::activeWindow());
    lcBox.setTextFormat(Qt::RichText);
    lcBox.setWindowFlags(lcBox.windowFlags() | Qt::WindowStaysOnTopHint);
    lcBox.exec();
}

void MainWindow::showMessageBox(QMessageBox::StandardButtons anButtons, QString arText)
{
    QMessageBox lcBox(QMessageBox::Question, displayName(), arText, anButtons, this);
    lcBox.exec();
    emit messageBoxDone(lcBox.standardButton(lcBox.clickedButton()));
}

void MainWindow::warnBox(const QString& arText)
{
    QMessageBox::warning(this, displayName(), arText);
}

// ---------------------------------------------------------------------------
// Plugin user interface

void MainWindow::pluginsChanged(QList<tcGenTLPlugin*> alPlugins)
{
    mcPluginUi.install(alPlugins);
    mpFrameRouter->collect(*tcPluginManager::getInstance());
}

void MainWindow::addPluginMenu(QMenu* apMenu)
{
    mcPluginUi.addMenu(apMenu);
}

void MainWindow::addPluginAction(QAction* apAction)
{
    mcPluginUi.addAction(apAction);
}

void MainWindow::addPluginActions(QList<QAction*> alActions, QString arCategoryName)
{
    mcPluginUi.addActions(alActions, arCategoryName);
}

void MainWindow::addPluginIndicator(tcGenTLPlugin* /*apPlugin*/, QWidget* apIndicator)
{
    mcPluginUi.addIndicator(apIndicator);
}

QList<tcViewerInterface*> MainWindow::imageFilters() const
{
    return mpFrameRouter->filters();
}

QList<tcViewerInterface*> MainWindow::imageSinks() const
{
    return mpFrameRouter->sinks();
}

// ---------------------------------------------------------------------------
// Frames

void MainWindow::NewFrame(tpImageBuffer apFrame)
{
    mpLastFrame = apFrame;
    if (apFrame && !apFrame->isNull())
        ++mnFrameCount;
    emit frameForDisplay(mpFrameRouter->route(apFrame));
}

void MainWindow::filterSettingsChanged()
{
    if (!mpCamera || mpCamera->IsRunning() || !mpLastFrame || mpLastFrame->isNull())
        return;
    mpLastFrame->getFilteredData(true);
    emit frameForDisplay(mpFrameRouter->route(mpLastFrame));
}

void MainWindow::CameraAcquiring(bool abOn)
{
    if (!abOn)
        return;
    mnFrameCount = 0;
    mnFramesAtLastTick = 0;
    mnLastTickMs = QDateTime::currentMSecsSinceEpoch();
}

void MainWindow::UpdateFramerate()
{
    QString lsText = mpCamera ? QStringLiteral("IDLE") : QStringLiteral("No Camera");
    const qint64 lnNow = QDateTime::currentMSecsSinceEpoch();
    if (mnFramesAtLastTick != 0 && lnNow != mnLastTickMs)
    {
        const double ldRate = static_cast<double>(mnFrameCount - mnFramesAtLastTick) * 1000.0 /
                              static_cast<double>(lnNow - mnLastTickMs);
        lsText = QStringLiteral("%1 fps").arg(ldRate, 0, 'f', 2);
    }
    mnFramesAtLastTick = mnFrameCount;
    mnLastTickMs = lnNow;
    mpStatusLabel->setText(lsText);
}

// ---------------------------------------------------------------------------
// Windows

void MainWindow::showNoCamera()
{
    warnBox(QStringLiteral("No camera connected!"));
}

void MainWindow::ShowVideoWidget()
{
    if (!mpCamera)
    {
        showNoCamera();
        return;
    }
    QWidget* lpWindow = tnWindows::createVideoWindow(mpCamera);
    connectIfPresent(lpWindow, SIGNAL(Message(QString)), this, SLOT(flashMessage(QString)));
    connectIfPresent(lpWindow, SIGNAL(Error(QString)), this, SLOT(flashError(QString)));
    addVideoWindow(lpWindow, true);
}

// A still picture of the newest frame in a window of its own; it does not
// follow the stream and keeps none of the camera's buffers.
void MainWindow::slot_showSnapshot()
{
    if (!mpCamera)
    {
        showNoCamera();
        return;
    }
    if (!mpLastFrame || mpLastFrame->isNull())
    {
        flashError(QStringLiteral("No frame has been received yet: start the video first"));
        return;
    }
    addVideoWindow(tnWindows::createSnapshotWindow(mpLastFrame, mpCamera), false);
}

QMdiSubWindow* MainWindow::addVideoWindow(QWidget* apWindow, bool abFollowStream)
{
    apWindow->setAttribute(Qt::WA_DeleteOnClose);
    if (abFollowStream)
    {
        apWindow->setProperty(kFollowsStream, true);
        connectIfPresent(this, SIGNAL(frameForDisplay(tpImageBuffer)), apWindow,
                         SLOT(NewFrame(tpImageBuffer)));
    }
    QMdiSubWindow* lpSub = mpUi->mdiArea->addSubWindow(apWindow);
    lpSub->setAttribute(Qt::WA_DeleteOnClose);
    if (setting(QStringLiteral("openVideoWidgetMaximized"), true).toBool())
        lpSub->showMaximized();
    else
        lpSub->show();
    return lpSub;
}

QList<QWidget*> MainWindow::videoWindows() const
{
    QList<QWidget*> llResult;
    for (QMdiSubWindow* lpSub : mpUi->mdiArea->subWindowList())
        if (lpSub->widget() && lpSub->widget()->property(kFollowsStream).toBool())
            llResult << lpSub->widget();
    return llResult;
}

QList<QWidget*> MainWindow::toolWindows() const
{
    return liveObjects<QWidget>(mlToolWindows);
}

void MainWindow::addToolWindow(QWidget* apWindow)
{
    apWindow->setAttribute(Qt::WA_DeleteOnClose);
    // Tool windows that report problems (debug levels, console) reach the status bar and log.
    connectIfPresent(apWindow, SIGNAL(Error(QString)), this, SLOT(flashError(QString)));
    mlToolWindows << QPointer<QWidget>(apWindow);
    connect(apWindow, &QObject::destroyed, this, [this] { mlToolWindows.removeAll(QPointer<QWidget>()); });
    apWindow->show();
    apWindow->raise();
}

void MainWindow::closeAllWindows()
{
    mpUi->mdiArea->closeAllSubWindows();
    for (QWidget* lpWindow : toolWindows())
        lpWindow->close();
}

void MainWindow::ShowLog()
{
    mpLogWindow->show();
    mpLogWindow->raise();
}

void MainWindow::ShowAppSettings(QString arInitialPage)
{
    QDialog* lpDialog = tnWindows::createSettingsDialog(mbExpert, arInitialPage);
    connect(lpDialog, &QDialog::accepted, this, &MainWindow::applySettings);
    addToolWindow(lpDialog);
}

void MainWindow::slot_showDebugLevels()
{
    addToolWindow(tnWindows::createDebugLevelDialog());
}

void MainWindow::slot_showCommandConsole()
{
    tcCmdRunner* lpRunner = tcPluginManager::getInstance()->getCmdRunner();
    if (!lpRunner)
    {
        warnBox(QStringLiteral("Unable to start command runner...\nInternal error(%1:%2)")
                    .arg(QStringLiteral("mainwindow"))
                    .arg(1544));
        return;
    }
    addToolWindow(tnWindows::createCommandConsole(lpRunner));
}

void MainWindow::slot_showPlugins()
{
    tcPluginManager::getInstance()->aboutPlugins();
}

void MainWindow::GenICamProps()
{
    if (!mpParamsDialog)
    {
        showNoCamera();
        return;
    }
    mpParamsDialog->show();
    mpParamsDialog->raise();
    mpParamsDialog->activateWindow();
}

void MainWindow::newPlotWidget()
{
    // Each plot window offers the plottable sources of the plugins loaded now,
    // and follows the plugin set while it stays open.
    auto* lpPlot = new tcPlotWidget();
    lpPlot->followPlugins(tcPluginManager::getInstance());
    connect(lpPlot, SIGNAL(Message(QString)), this, SLOT(flashMessage(QString)));
    mpUi->menuView->addAction(lpPlot->createWindowAction(mpUi->menuView));
    addToolWindow(lpPlot);
}

// ---------------------------------------------------------------------------
// Scripts

void MainWindow::DoRunScript()
{
    if (!mpCamera)
    {
        showNoCamera();
        return;
    }
    tcCmdRunner* lpRunner = tcPluginManager::getInstance()->getCmdRunner();
    if (!lpRunner)
    {
        warnBox(QStringLiteral("Unable to start command runner...\nInternal error(%1:%2)")
                    .arg(QStringLiteral("mainwindow"))
                    .arg(1284));
        return;
    }
    if (lpRunner->isRunning())
    {
        flashError(QStringLiteral("A script is already running"));
        return;
    }
    const QString lsPath = tcFileDialogs::getOpenFileName(this, QStringLiteral("Select script file to run"),
                                                          setting(QStringLiteral("last_script")).toString(),
                                                          QStringLiteral("Scripts (*.txt)"));
    if (lsPath.isEmpty())
        return;
    appSettings()->setValue(QStringLiteral("last_script"), lsPath);
    runScriptFile(lsPath);
}

// A file that cannot be read is reported before the runner starts, so the
// user learns why instead of seeing an empty run.
bool MainWindow::runScriptFile(const QString& arPath)
{
    tcCmdRunner* lpRunner = tcPluginManager::getInstance()->getCmdRunner();
    if (!lpRunner || lpRunner->isRunning())
    {
        flashError(QStringLiteral("A script is already running"));
        return false;
    }
    QFile lcFile(arPath);
    if (!lcFile.open(QIODevice::ReadOnly))
    {
        showAlert(QStringLiteral("Unable to read script file %1\n%2").arg(arPath, lcFile.errorString()));
        return false;
    }
    lcFile.close();
    lpRunner->setFilename(arPath);
    startWorker(lpRunner);
    return true;
}

void MainWindow::startWorker(tcViewerThread* apThread)
{
    SetProgColor(true);
    mpProgressBar->setValue(0);
    statusBar()->clearMessage();
    connect(apThread, &tcViewerThread::Done, this, &MainWindow::ThreadDone, Qt::UniqueConnection);
    connect(apThread, &tcViewerThread::Progress, mpProgressBar, &QProgressBar::setValue,
            Qt::UniqueConnection);
    connect(apThread, &tcViewerThread::Message, this, &MainWindow::flashMessage, Qt::UniqueConnection);
    connect(mpAbortButton, &QPushButton::clicked, apThread, &tcViewerThread::Abort, Qt::UniqueConnection);
    mpAbortButton->show();
    apThread->start(QThread::InheritPriority);
}

void MainWindow::ThreadDone(bool abSuccess, QString arMessage)
{
    SetProgColor(abSuccess);
    flashMessage(arMessage);
    mpAbortButton->hide();
    QTimer::singleShot(1000, mpProgressBar, [this] { mpProgressBar->setValue(0); });
    tcCmdRunner* lpRunner = tcPluginManager::getInstance()->getCmdRunner();
    if (abSuccess && lpRunner && sender() == lpRunner)
        tcReportForm::ShowDocument(lpRunner->getResult(), QStringLiteral("Script Results"));
}

void MainWindow::SetProgColor(bool abOk)
{
    mpProgressBar->setStyleSheet(abOk ? msStyleOk : msStyleFail);
}

// ---------------------------------------------------------------------------
// Description views, configuration, help

void MainWindow::showXML()
{
    if (msXmlText.isEmpty())
    {
        flashError(QStringLiteral("No camera description loaded"));
        return;
    }
    tcReportForm::ShowDocument(msXmlText, mpCamera ? mpCamera->getModel() : QString());
}

void MainWindow::showXmlDocumentation()
{
    QString lsHtml;
    QString lsError;
    // Large descriptions take a few seconds.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool lbDone = tcXmlDocumentation::transform(msXmlText, tcXmlDocumentation::configuredStyleSheet(),
                                                      lsHtml, &lsError);
    QApplication::restoreOverrideCursor();
    if (!lbDone)
    {
        qWarning().noquote() << "MainWindow::showXmlDocumentation" << lsError;
        warnBox(QStringLiteral("Unable to gernerate XML documentation :("));
        return;
    }
    auto* lpForm = new tcReportForm();
    lpForm->setAttribute(Qt::WA_DeleteOnClose);
    lpForm->document()->setHtml(lsHtml);
    lpForm->SetTitle(QStringLiteral("Documentation"));
    lpForm->show();
    lpForm->raise();
}

void MainWindow::showConfigFile()
{
    const QString lsIni = tcSettings::getDefaultIniFile();
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(lsIni)))
        flashError(QStringLiteral("No application is set up to open %1").arg(lsIni));
    tcReportForm::ShowFile(lsIni);
}

void MainWindow::slot_showUserGuide()
{
    const QString lsGuide = setting(QStringLiteral("userGuide")).toString();
    if (lsGuide.isEmpty())
    {
        flashError(QStringLiteral("No user guide is configured (setting \"userGuide\")"));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromUserInput(lsGuide)))
        flashError(QStringLiteral("Unable to open the user guide %1").arg(lsGuide));
}

void MainWindow::ShowAbout()
{
    tcAboutBox lcBox(this, mpCamera ? mpCamera->describe() : QString());
    lcBox.exec();
}

void MainWindow::onAboutQt()
{
    QMessageBox::aboutQt(this, QStringLiteral("About Qt"));
}

void MainWindow::checkForUpdates()
{
    mpUpdater->checkForUpdates();
}
