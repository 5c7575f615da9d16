#include "videowidget.h"
#include "ui_videowidget.h"

#include "camerainterface.h"
#include "filedialogs.h"
#include "frameregion.h"
#include "glvideowidget.h"
#include "imagefile.h"
#include "imgdecoratorinterface.h"
#include "imgrectinterface.h"
#include "opencvutils.h"
#include "pluginmanager.h"
#include "settings.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDebug>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QRubberBand>
#include <QStandardPaths>
#include <QToolBar>
#include <QWheelEvent>

#include <cmath>

namespace
{
const int gnRectInterfaceType = qRegisterMetaType<tcImgRectInterface*>("tcImgRectInterface*");

// The plugins' tab pages and rectangle tool actions can be in one panel at a
// time (a page has one parent, an action one group). The newest live panel
// holds them; when it goes, the one opened before it takes them back.
QList<tcVideoWidget*>& livePanels()
{
    static QList<tcVideoWidget*> slPanels;
    return slPanels;
}

bool sameZoom(double adFirst, double adSecond)
{
    return std::abs(adFirst - adSecond) <= 1e-12 * std::max(std::abs(adFirst), std::abs(adSecond));
}

QString documentsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}
} // namespace

tcVideoWidget::tcVideoWidget(tcCameraInterface* apCamera, QWidget* apParent)
    : tcVideoWidget(apCamera, tcPluginManager::getInstance()->allInterfaces(), apParent)
{
}

tcVideoWidget::tcVideoWidget(tcCameraInterface* apCamera, const QList<tcViewerInterface*>& alPlugins,
                             QWidget* apParent)
    : tcVideoWidget(apCamera, alPlugins, false, apParent)
{
}

tcVideoWidget::tcVideoWidget(tcCameraInterface* apCamera, const QList<tcViewerInterface*>& alPlugins,
                             bool abSnapshot, QWidget* apParent)
    : QWidget(apParent), tcDebugSource(QStringLiteral("tcVideoWidget")), mpUi(new Ui::VideoWidget),
      mpCamera(apCamera), mbSnapshot(abSnapshot)
{
    Q_UNUSED(gnRectInterfaceType);
    // The icons live in a static library, whose resources are linked in only
    // when something refers to them.
    Q_INIT_RESOURCE(video);
    debugMinLevel(1);
    mpUi->setupUi(this);
    bool lbKeepAspect = true;
    {
        std::unique_ptr<QSettings> lpSettings(tcSettings::getQSettings());
        lbKeepAspect = lpSettings->value(QStringLiteral("keepAspectRatio"), true).toBool();
        msImageFile = lpSettings->value(QStringLiteral("imageFile"), QString()).toString();
    }

    mpGLVideoWidget = new tcGLVideoWidget(this);
    mpGLVideoWidget->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    mpGLVideoWidget->setKeepAspectRatio(lbKeepAspect);
    mpUi->vl_VideoLayout->addWidget(mpGLVideoWidget);
    mpRubberBand = new QRubberBand(QRubberBand::Rectangle, mpGLVideoWidget);
    // The debugging tab is never shown; its boxes stay wired to scaleDebug().
    mpUi->tabWidget->removeTab(mpUi->tabWidget->indexOf(mpUi->tabDebug));
    for (QDoubleSpinBox* lpBox :
         {mpUi->doubleSpinBoxX, mpUi->doubleSpinBoxY, mpUi->doubleSpinBoxScaleW, mpUi->doubleSpinBoxScaleH})
        connect(lpBox, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
                &tcVideoWidget::scaleDebug);

    buildActions();
    mpKeepAspectAction->setChecked(lbKeepAspect);
    hookUpPlugins(alPlugins);
    buildToolBar();

    mpGLVideoWidget->installEventFilter(this);
    mpGLVideoWidget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(mpGLVideoWidget, &QWidget::customContextMenuRequested, this,
            &tcVideoWidget::contextMenuRequested);
    connect(mpGLVideoWidget, &tcGLVideoWidget::escapePressed, this,
            [this] { mpFullScreenAction->setChecked(false); });
    connect(mpGLVideoWidget, &tcGLVideoWidget::frameRendered, this, &tcVideoWidget::updateInfo);
    if (mpCamera)
    {
        connect(this, &tcVideoWidget::StartVideo, mpCamera, &tcCameraInterface::startVideo);
        connect(this, &tcVideoWidget::StopVideo, mpCamera, &tcCameraInterface::stopVideo);
    }
    mpUi->tabWidget->setCurrentIndex(0);
    // The picture takes the room; the controls keep what they need.
    mpUi->splitter->setStretchFactor(0, 1);
    mpUi->splitter->setStretchFactor(1, 0);
    mpUi->splitter->setCollapsible(0, false);
}

tcVideoWidget::~tcVideoWidget()
{
    {
        std::unique_ptr<QSettings> lpSettings(tcSettings::getQSettings());
        lpSettings->setValue(QStringLiteral("keepAspectRatio"), mpKeepAspectAction->isChecked());
        lpSettings->setValue(QStringLiteral("imageFile"), msImageFile);
    }
    releasePluginPieces();
    // Full screen, the surface has no parent to delete it.
    delete mpGLVideoWidget;
}

tcVideoWidget* tcVideoWidget::newSnapshot(tcCameraInterface* apCamera, const tpImageBuffer& apFrame,
                                          QWidget* apParent)
{
    return newSnapshot(apCamera, apFrame, tcPluginManager::getInstance()->allInterfaces(), apParent);
}

tcVideoWidget* tcVideoWidget::newSnapshot(tcCameraInterface* apCamera, const tpImageBuffer& apFrame,
                                          const QList<tcViewerInterface*>& alPlugins, QWidget* apParent)
{
    auto* lpPanel = new tcVideoWidget(apCamera, alPlugins, true, apParent);
    // The camera keeps streaming whatever happens to a snapshot.
    disconnect(lpPanel, &tcVideoWidget::StartVideo, nullptr, nullptr);
    disconnect(lpPanel, &tcVideoWidget::StopVideo, nullptr, nullptr);
    if (apFrame && !apFrame->isNull())
    {
        lpPanel->NewFrame(tcImageFile::ownedCopy(*apFrame));
        lpPanel->setWindowTitle(tr("Snapshot - Frame %1").arg(apFrame->getFrameId() + 1));
    }
    else
    {
        lpPanel->setWindowTitle(tr("Snapshot"));
    }
    return lpPanel;
}

void tcVideoWidget::buildActions()
{
    mpCopyAction = new QAction(tr("Copy Image"), this);
    mpCopyAction->setShortcut(QKeySequence::Copy);
    addAction(mpCopyAction);
    connect(mpCopyAction, &QAction::triggered, this, &tcVideoWidget::copyImage);

    mpLoadAction = new QAction(tr("Load Image from file..."), this);
    connect(mpLoadAction, &QAction::triggered, this, &tcVideoWidget::loadImage);

    mpKeepAspectAction = new QAction(tr("Keep Aspect Ratio"), this);
    mpKeepAspectAction->setCheckable(true);
    connect(mpKeepAspectAction, &QAction::toggled, mpGLVideoWidget, &tcGLVideoWidget::setKeepAspectRatio);

    mpOne2OneAction = new QAction(tr("1:1"), this);
    mpOne2OneAction->setCheckable(true);
    connect(mpOne2OneAction, &QAction::toggled, this, &tcVideoWidget::setOne2One);

    mpToolGroup = new QActionGroup(this);
    mpToolGroup->setExclusive(true);
    mpNoneAction = new QAction(tr("None"), mpToolGroup);
    mpNoneAction->setCheckable(true);
    mpNoneAction->setChecked(true);
    mpZoomAction = new QAction(tr("Zoom"), mpToolGroup);
    mpZoomAction->setCheckable(true);
    connect(mpToolGroup, &QActionGroup::triggered, this, &tcVideoWidget::toolTriggered);
    connect(mpZoomAction, &QAction::toggled, this, &tcVideoWidget::zoomToggled);

    mpFullScreenAction = new QAction(tr("Fullscreen"), this);
    mpFullScreenAction->setCheckable(true);
    connect(mpFullScreenAction, &QAction::toggled, this, &tcVideoWidget::fullScreenToggled);
}

void tcVideoWidget::buildToolBar()
{
    mpToolBar = new QToolBar(this);
    mpToolBar->setFloatable(true);
    mpToolBar->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    mpToolBar->addAction(mpKeepAspectAction);
    mpToolBar->addAction(mpOne2OneAction);
    mpToolBar->addSeparator();
    mpToolBar->addAction(mpNoneAction);
    mpToolBar->addAction(mpZoomAction);

    mpInterpolationCombo = new QComboBox(mpToolBar);
    mpInterpolationCombo->addItem(tr("Nearest Neighbor"), 0);
    mpInterpolationCombo->addItem(tr("Bilinear"), 1);
    mpInterpolationCombo->addItem(tr("Bicubic"), 2);
    mpInterpolationCombo->addItem(tr("Pixel area"), 3);
    mpInterpolationCombo->addItem(tr("Exact bilinear"), 5);
    // The box tells what the surface does from the start.
    mpInterpolationCombo->setCurrentIndex(mpInterpolationCombo->findData(mpGLVideoWidget->interpolation()));
    connect(mpInterpolationCombo, QOverload<int>::of(&QComboBox::activated), this,
            &tcVideoWidget::interpolationChosen);
    mpToolBar->addWidget(mpInterpolationCombo);

    for (QAction* lpAction : mpToolGroup->actions())
        if (lpAction != mpNoneAction && lpAction != mpZoomAction)
            mpToolBar->addAction(lpAction);
    mpToolBar->addSeparator();
    auto* lpSpacer = new QWidget(mpToolBar);
    lpSpacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    mpToolBar->addWidget(lpSpacer);
    mpToolBar->addActions(msPluginActions);
    mpToolBar->addWidget(mpUi->btnShowOptions);
    mpUi->toolbarContainerLayout->insertWidget(0, mpToolBar);
}

void tcVideoWidget::hookUpPlugins(const QList<tcViewerInterface*>& alPlugins)
{
    std::vector<tcImgDecoratorInterface*> lsDecorators;
    for (tcViewerInterface* lpPlugin : alPlugins)
    {
        if (!lpPlugin)
            continue;
        if (lpPlugin->typeName() == QLatin1String("tcImgRectInterface"))
        {
            if (GetDbgLevel() > 0)
                qDebug() << "tcVideoWidget::hookUpPlugins"
                         << "[" << getName() << 1 << "]" << lpPlugin->typeName() << lpPlugin->name();
            auto* lpTool = qobject_cast<tcImgRectInterface*>(lpPlugin);
            QAction* lpAction = lpTool && !mbSnapshot ? lpTool->selectionAction() : nullptr;
            if (lpAction)
            {
                lpAction->setCheckable(true);
                mhSelectors.insert(lpAction, lpTool);
                mlToolActions.append(lpAction);
                lpAction->setData(QVariant::fromValue(lpTool));
                // Decorations follow their tool being switched on and off.
                connect(lpAction, &QAction::toggled, mpGLVideoWidget, QOverload<>::of(&QWidget::update));
            }
        }
        else if (lpPlugin->typeName() == QLatin1String("tcImgDecoratorInterface"))
        {
            lsDecorators.push_back(static_cast<tcImgDecoratorInterface*>(lpPlugin));
        }
        msPlugins.append(lpPlugin);
        QWidget* lpControl = lpPlugin->controlWidget();
        // A still has no stream for the control pages and their actions.
        if (!mbSnapshot && lpControl &&
            lpControl->property("ControlWidgetType").toString() == QLatin1String("CWTypeTab"))
        {
            if (GetDbgLevel() > 1)
                qDebug() << "tcVideoWidget::hookUpPlugins"
                         << "[" << getName() << 2 << "]"
                         << "Adding tabs" << lpPlugin->name();
            msPluginTabs.append(lpControl);
            msPluginTabTitles.append(lpPlugin->name());
            msPluginActions.append(lpControl->actions());
        }
    }
    mpGLVideoWidget->setDecorators(lsDecorators);
    if (!mbSnapshot)
    {
        livePanels().append(this);
        takePluginPieces();
    }
}

// Puts the pages and tools into this panel, taking them from another one.
void tcVideoWidget::takePluginPieces()
{
    for (int i = 0; i < msPluginTabs.size(); ++i)
        if (QWidget* lpPage = msPluginTabs.at(i))
            if (mpUi->tabWidget->indexOf(lpPage) < 0)
                mpUi->tabWidget->insertTab(0, lpPage,
                                           QIcon(QStringLiteral(":/images/resources/knobs/Knob_Smart.png")),
                                           msPluginTabTitles.at(i));
    for (const QPointer<QAction>& lpAction : mlToolActions)
        if (lpAction)
            mpToolGroup->addAction(lpAction);
    mpUi->tabWidget->setCurrentIndex(0);
}

// The pages belong to their plugins and outlive this panel: they go back to
// the panel opened before, or out of every window.
void tcVideoWidget::releasePluginPieces()
{
    if (mbSnapshot)
        return;
    const bool lbHolder = !livePanels().isEmpty() && livePanels().last() == this;
    livePanels().removeAll(this);
    for (const QPointer<QWidget>& lpPage : msPluginTabs)
    {
        const int lnIndex = lpPage ? mpUi->tabWidget->indexOf(lpPage) : -1;
        if (lnIndex < 0)
            continue; // another panel shows it now
        mpUi->tabWidget->removeTab(lnIndex);
        lpPage->hide();
        lpPage->setParent(nullptr);
    }
    // A tool in use here is not in use in the panel that takes it over.
    for (const QPointer<QAction>& lpAction : mlToolActions)
        if (lpAction && lpAction->actionGroup() == mpToolGroup)
        {
            lpAction->setChecked(false);
            mpToolGroup->removeAction(lpAction);
        }
    if (lbHolder && !livePanels().isEmpty())
        livePanels().last()->takePluginPieces();
}

void tcVideoWidget::NewFrame(tpImageBuffer pImage)
{
    const bool lbFrame = !pImage.isNull();
    mpGLVideoWidget->setFrame(std::move(pImage));
    if (!lbFrame)
        return;
    ++mnRendered;
    updateInfo();
}

void tcVideoWidget::updateInfo()
{
    const tpImageBuffer lpFrame = mpGLVideoWidget->currentFrame();
    if (!lpFrame || mnRendered == 0)
        return;
    QString lsText = tr("Frame %1 [%2 rendered]").arg(lpFrame->getFrameId() + 1).arg(mnRendered);
    if (mpGLVideoWidget->droppedFrames() > 0)
        lsText = tr("Frame %1 [%2 rendered, %3 dropped]")
                     .arg(lpFrame->getFrameId() + 1)
                     .arg(mnRendered)
                     .arg(mpGLVideoWidget->droppedFrames());
    mpUi->labelInfo->setText(lsText);
}

void tcVideoWidget::copyImage()
{
    const QSharedPointer<QImage> lpImage = mpGLVideoWidget->currentImage();
    if (lpImage)
        QApplication::clipboard()->setPixmap(QPixmap::fromImage(*lpImage));
}

void tcVideoWidget::loadImage()
{
    const QString lsStart = msImageFile.isEmpty() ? documentsFolder() : msImageFile;
    const QString lsPath = tcFileDialogs::getOpenFileName(
        this, tr("Select File to load..."), lsStart,
        tr("JPEG Image files (*.jpg);; PNG image file (*.png);; Raw Image files (*.img)"));
    if (!lsPath.isEmpty())
        loadImageFrom(lsPath);
}

bool tcVideoWidget::loadImageFrom(const QString& arPath)
{
    msImageFile = arPath;
    const tcImageFile::tcLoaded lcLoaded = tcImageFile::load(arPath);
    if (!lcLoaded.msError.isEmpty())
    {
        failureBox(tr("Error trying to load\n%1"), arPath, lcLoaded.msError);
        return false;
    }
    if (lcLoaded.mpFrame)
    {
        // A raw frame is shown as a frame: read-out gives its raw values.
        mpGLVideoWidget->setFrame(lcLoaded.mpFrame);
        mpGLVideoWidget->zoomFull();
    }
    else
    {
        mpGLVideoWidget->setImage(lcLoaded.mcImage);
    }
    return true;
}

void tcVideoWidget::saveImage()
{
    if (!mpGLVideoWidget->hasImage())
        return;
    QString lsProposal = QStringLiteral("%1/frame_%2.png").arg(documentsFolder()).arg(mnRendered);
    if (!msImageFile.isEmpty())
    {
        const QFileInfo lcLast(msImageFile);
        lsProposal =
            QStringLiteral("%1/frame_%2.%3").arg(lcLast.absolutePath()).arg(mnRendered).arg(lcLast.suffix());
    }
    const QString lsPath = tcFileDialogs::getSaveFileName(
        this, tr("Select File to save frame to..."), lsProposal,
        tr("Raw Image files (*.img);; PNG image file (*.png);; JPEG Image files (*.jpg)"));
    if (!lsPath.isEmpty())
        saveImageTo(lsPath);
}

bool tcVideoWidget::saveImageTo(const QString& arPath)
{
    msImageFile = arPath;
    const tpImageBuffer lpFrame =
        mpGLVideoWidget->showsFrame() ? mpGLVideoWidget->currentFrame() : tpImageBuffer();
    // A raw frame is written from its bytes; the full picture is made only
    // for picture formats (or when there is no frame).
    QImage lcImage;
    if (!tcImageFile::isRawPath(arPath) || !lpFrame)
        if (const QSharedPointer<QImage> lpImage = mpGLVideoWidget->currentImage())
            lcImage = *lpImage;
    const QString lsError = tcImageFile::save(arPath, lpFrame, lcImage);
    if (lsError.isEmpty())
        return true;
    failureBox(tr("Error trying to save\n%1"), arPath, lsError);
    return false;
}

void tcVideoWidget::failureBox(const QString& arText, const QString& arPath, const QString& arReason)
{
    qWarning() << "tcVideoWidget:" << arText.arg(arPath) << ":" << arReason;
    emit Error(QStringLiteral("%1: %2").arg(arPath, arReason));
    QMessageBox::warning(this, QApplication::applicationDisplayName(), arText.arg(arPath));
}

void tcVideoWidget::contextMenuRequested(QPoint acPos)
{
    QMenu lcMenu(this);
    lcMenu.addAction(tr("Zoom out full"), this, &tcVideoWidget::zoomFull);
    lcMenu.addAction(mpKeepAspectAction);
    if (mpGLVideoWidget->hasImage())
        lcMenu.addAction(mpCopyAction);
    lcMenu.addAction(mpLoadAction);
    lcMenu.addAction(mpFullScreenAction);
    lcMenu.addSeparator();
    // Rectangle tools first, those in use or without an action, then the rest.
    for (const QPointer<tcViewerInterface>& lpPlugin : msPlugins)
    {
        if (!lpPlugin || lpPlugin->typeName() != QLatin1String("tcImgRectInterface"))
            continue;
        auto* lpTool = qobject_cast<tcImgRectInterface*>(lpPlugin.data());
        QAction* lpAction = lpTool ? lpTool->selectionAction() : nullptr;
        if (lpAction && !lpAction->isChecked())
            continue;
        if (QMenu* lpMenu = pluginMenu(lpPlugin))
            lcMenu.addMenu(lpMenu);
    }
    for (const QPointer<tcViewerInterface>& lpPlugin : msPlugins)
    {
        if (!lpPlugin || lpPlugin->typeName() == QLatin1String("tcImgRectInterface"))
            continue;
        if (QMenu* lpMenu = pluginMenu(lpPlugin))
            lcMenu.addMenu(lpMenu);
    }
    lcMenu.exec(mpGLVideoWidget->mapToGlobal(acPos));
}

QMenu* tcVideoWidget::pluginMenu(tcViewerInterface* apPlugin)
{
    if (GetDbgLevel() > 0)
        qDebug() << "tcVideoWidget::contextMenuRequested"
                 << "[" << getName() << 1 << "]"
                 << "Checking iface" << apPlugin->name();
    QMenu* lpMenu = nullptr;
    try
    {
        lpMenu = apPlugin->contextMenu(mpGLVideoWidget->currentFrame());
    }
    catch (...)
    {
        qWarning() << "Unhandled Execption";
        return nullptr;
    }
    if (lpMenu && GetDbgLevel() > 0)
        qDebug() << "tcVideoWidget::contextMenuRequested"
                 << "[" << getName() << 1 << "]"
                 << "adding menu" << lpMenu->title() << "of" << apPlugin->name();
    return lpMenu;
}

void tcVideoWidget::scaleDebug()
{
    // The debugging boxes are kept for the form's sake; they change nothing.
}

void tcVideoWidget::zoomFull()
{
    mpGLVideoWidget->zoomFull();
    mdZoom = mdUnitZoom;
    updateZoomEnabled();
    QAction* lpChecked = mpToolGroup->checkedAction();
    mbSelectionArmed = lpChecked && lpChecked != mpNoneAction;
}

void tcVideoWidget::setOne2One(bool abOn)
{
    mpGLVideoWidget->setOne2One(abOn);
    zoomFull();
}

void tcVideoWidget::updateZoomEnabled()
{
    mpZoomAction->setEnabled(!mpOne2OneAction->isChecked() && sameZoom(mdZoom, mdUnitZoom));
}

void tcVideoWidget::toolTriggered(QAction* apAction)
{
    mbSelectionArmed = apAction != mpNoneAction;
}

void tcVideoWidget::zoomToggled(bool abOn)
{
    if (abOn)
    {
        mbSelectionArmed = true;
        mpOne2OneAction->setEnabled(false);
        return;
    }
    zoomFull();
    mpOne2OneAction->setEnabled(true);
}

void tcVideoWidget::interpolationChosen(int anIndex)
{
    mpGLVideoWidget->setInterpolation(mpInterpolationCombo->itemData(anIndex).toInt());
}

void tcVideoWidget::fullScreenToggled(bool abOn)
{
    mpGLVideoWidget->setFullScreenShown(abOn);
}

void tcVideoWidget::on_btnShowOptions_clicked()
{
    mpUi->groupBoxTabs->setVisible(!mpUi->groupBoxTabs->isVisible());
}

void tcVideoWidget::wheelEvent(QWheelEvent* apEvent)
{
    apEvent->accept();
    wheelZoom(apEvent->angleDelta().y(), mpGLVideoWidget->mapFrom(this, apEvent->position().toPoint()));
}

void tcVideoWidget::wheelZoom(int anDelta, const QPoint& arSurfacePos)
{
    const double ldZoom =
        std::clamp(anDelta > 0 ? mdZoom - mdZoomStep : mdZoom + mdZoomStep, mdMinZoom, mdMaxZoom);
    // Steps of a tenth, kept free of the drift of repeated additions.
    const double ldRounded = std::round(ldZoom * 1e6) / 1e6;
    if (sameZoom(ldRounded, mdZoom))
        return;
    mdZoom = ldRounded;
    const QPoint& lcPos = arSurfacePos;
    const QPoint lcCentre = mpGLVideoWidget->widgetToImage(lcPos);
    const QSize lcImage = mpGLVideoWidget->imageRect().size();
    const QSize lcSize(std::max(1, int(lcImage.width() * mdZoom)),
                       std::max(1, int(lcImage.height() * mdZoom)));
    QRect lcZoom(QPoint(0, 0), lcSize);
    lcZoom.moveCenter(lcCentre);
    mpGLVideoWidget->setPan(QPoint());
    if (sameZoom(mdZoom, mdUnitZoom))
        mpGLVideoWidget->zoomFull(); // back at the unit, the whole picture again
    else
        mpGLVideoWidget->setZoomRect(lcZoom);
    if (GetDbgLevel() > 0)
        qDebug() << "tcVideoWidget::wheelEvent"
                 << "[" << getName() << 1 << "]"
                 << "zoom=" << mdZoom << "image_rect=" << mpGLVideoWidget->imageRect() << "pos=" << lcPos
                 << "image_size=" << lcImage << "zoom_rect=" << mpGLVideoWidget->zoomRect();
    updateZoomEnabled();
}

void tcVideoWidget::mousePressEvent(QMouseEvent* apEvent)
{
    if (apEvent->button() != Qt::LeftButton ||
        !mpGLVideoWidget->rect().contains(mpGLVideoWidget->mapFrom(this, apEvent->pos())))
    {
        QWidget::mousePressEvent(apEvent);
        return;
    }
    if (apEvent->modifiers() & Qt::ShiftModifier)
    {
        mcPressPoint = apEvent->pos();
        mnMouseMode = 2;
        mpGLVideoWidget->setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (!mbSelectionArmed)
    {
        mnMouseMode = 0;
        return;
    }
    mcPressPoint = apEvent->pos();
    mpRubberBand->setGeometry(QRect(mpGLVideoWidget->mapFrom(this, mcPressPoint), QSize()));
    mpRubberBand->show();
    mnMouseMode = 1;
}

bool tcVideoWidget::eventFilter(QObject* apWatched, QEvent* apEvent)
{
    if (apWatched == mpGLVideoWidget && apEvent->type() == QEvent::MouseMove &&
        !mpGLVideoWidget->isFullScreenShown())
    {
        auto* lpMove = static_cast<QMouseEvent*>(apEvent);
        mouseMovedOnSurface(mpGLVideoWidget->mapTo(this, lpMove->pos()));
        return true;
    }
    // The wheel zooms wherever the surface is, also full screen (where its
    // events reach no parent).
    if (apWatched == mpGLVideoWidget && apEvent->type() == QEvent::Wheel)
    {
        auto* lpWheel = static_cast<QWheelEvent*>(apEvent);
        wheelZoom(lpWheel->angleDelta().y(), lpWheel->position().toPoint());
        return true;
    }
    return QWidget::eventFilter(apWatched, apEvent);
}

void tcVideoWidget::mouseMovedOnSurface(const QPoint& arPanelPos)
{
    const QPoint lcPos = mpGLVideoWidget->mapFrom(this, arPanelPos);
    if (!mpGLVideoWidget->rect().contains(lcPos))
    {
        mpUi->labelDetail->clear();
        return;
    }
    const QPoint lcImagePoint = mpGLVideoWidget->widgetToImage(lcPos);
    if (mnMouseMode == 1)
    {
        const QPoint lcStart = mpGLVideoWidget->mapFrom(this, mcPressPoint);
        const QRect lcBand = QRect(std::min(lcStart.x(), lcPos.x()), std::min(lcStart.y(), lcPos.y()),
                                   std::abs(lcPos.x() - lcStart.x()), std::abs(lcPos.y() - lcStart.y()))
                                 .intersected(mpGLVideoWidget->rect());
        mpRubberBand->setGeometry(lcBand);
        emit Message(QStringLiteral("%1x%2 %3+%4")
                         .arg(lcBand.width())
                         .arg(lcBand.height())
                         .arg(lcBand.left())
                         .arg(lcBand.top()));
    }
    else if (mnMouseMode == 2)
    {
        mpGLVideoWidget->setPan(mpGLVideoWidget->getPan() + (arPanelPos - mcPressPoint));
        mcPressPoint = arPanelPos;
    }
    QString lsValue;
    const tpImageBuffer lpFrame = mpGLVideoWidget->currentFrame();
    if (lpFrame && mpGLVideoWidget->showsFrame())
    {
        // Read from the bytes around the point, so hovering never converts a
        // whole frame; a filtered matrix is read where a filter made one.
        const cv::Rect lcPixel(lcImagePoint.x(), lcImagePoint.y(), 1, 1);
        const QString lsRaw = tcOpenCVUtils::PixelAsText(tcFrameRegion::raw(*lpFrame, lcPixel), 0, 0);
        const QString lsFiltered =
            lpFrame->hasFilteredData()
                ? tcOpenCVUtils::PixelAsText(lpFrame->getFilteredData(false), lcImagePoint.x(),
                                             lcImagePoint.y())
                : tcOpenCVUtils::PixelAsText(tcFrameRegion::filtered(*lpFrame, lcPixel), 0, 0);
        lsValue = QStringLiteral("%1 : %2").arg(lsRaw, lsFiltered);
    }
    mpUi->labelDetail->setText(
        QStringLiteral("%1,%2 %3").arg(lcImagePoint.x()).arg(lcImagePoint.y()).arg(lsValue));
    if (GetDbgLevel() > 1)
        qDebug() << "tcVideoWidget::mouseMoveEvent"
                 << "[" << getName() << 2 << "]" << arPanelPos << lcImagePoint << mpRubberBand->geometry();
}

tcImgRectInterface* tcVideoWidget::pluginOf(QAction* apAction) const
{
    if (!apAction)
        return nullptr;
    if (tcImgRectInterface* lpTool = mhSelectors.value(apAction, nullptr))
        return lpTool;
    if (GetDbgLevel() > 0)
        qDebug() << "tcVideoWidget::mouseReleaseEvent"
                 << "[" << getName() << 1 << "]" << apAction->text() << apAction->data();
    return qobject_cast<tcImgRectInterface*>(apAction->data().value<tcImgRectInterface*>());
}

void tcVideoWidget::mouseReleaseEvent(QMouseEvent* apEvent)
{
    QAction* lpChecked = mpToolGroup->checkedAction();
    tcImgRectInterface* lpTool =
        lpChecked != mpZoomAction && lpChecked != mpNoneAction ? pluginOf(lpChecked) : nullptr;
    if (mnMouseMode == 1 && mpRubberBand->isVisible())
    {
        // The band in image pixels, through the same mapping as the read-out
        // (zoom and pan included).
        const QRect lcImageRect = mpGLVideoWidget->widgetToImage(mpRubberBand->geometry());
        if (lpChecked == mpZoomAction)
        {
            mpGLVideoWidget->setZoomRect(lcImageRect);
            mbSelectionArmed = false;
        }
        else if (lpTool)
        {
            try
            {
                lpTool->selectRect(this, mpCamera ? &mpCamera->nodeMap() : nullptr, lcImageRect);
            }
            catch (...)
            {
                qWarning() << "Unhandled Execption";
            }
            // Decorations show what the tool applied.
            mpGLVideoWidget->update();
        }
    }
    mpRubberBand->hide();
    mnMouseMode = 0;
    mpGLVideoWidget->setCursor(Qt::CrossCursor);
    mcPressPoint = QPoint();
    apEvent->accept();
}

void tcVideoWidget::closeEvent(QCloseEvent* apEvent)
{
    emit StopVideo();
    // The camera may close right after its window: every frame goes back
    // now, not when the window is finally deleted.
    mpGLVideoWidget->setFrame(tpImageBuffer());
    QWidget::closeEvent(apEvent);
}
