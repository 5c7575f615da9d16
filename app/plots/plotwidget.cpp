#include "plotwidget.h"

#include "curvezoomer.h"
#include "filedialogs.h"
#include "plotchooser.h"
#include "plotchooserwidget.h"
#include "plotcsv.h"
#include "plotcurvedata.h"
#include "plottableinterface.h"
#include "gentlplugin.h"
#include "pluginmanager.h"
#include "reportform.h"
#include "ui_plotwidget.h"

#include <qwt_legend.h>
#include <qwt_legend_label.h>
#include <qwt_picker_machine.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_panner.h>
#include <qwt_plot_picker.h>
#include <qwt_scale_draw.h>
#include <qwt_scale_engine.h>
#include <qwt_scale_widget.h>
#include <qwt_symbol.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QToolBar>
#include <QVBoxLayout>

#include <cmath>

// Resources of a static library must be registered by name, outside any
// namespace.
static void initPlotResources()
{
    Q_INIT_RESOURCE(plots);
}

namespace
{
const char* const kRightArrow = ":/images/resources/buttons/arrow_button_right.png";
const char* const kLeftArrow = ":/images/resources/buttons/arrow_button_left.png";

// Black or white, whichever stands out against a colour of that value.
QColor blackOrWhite(const QColor& arColor)
{
    return arColor.value() < 100 ? QColor(Qt::white) : QColor(Qt::black);
}

QColor contrastColor(const QColor& arColor)
{
    if (arColor.hue() < 0)
        return blackOrWhite(arColor);
    const QColor lcOpposite =
        QColor::fromHsv((arColor.hue() + 180) % 360, arColor.saturation(), arColor.value());
    if (qAbs(lcOpposite.value() - arColor.value()) < 20)
        return blackOrWhite(arColor);
    return lcOpposite;
}
} // namespace

tcPlotWidget::tcPlotWidget(QWidget* apParent)
    : QWidget(apParent), mpUi(new Ui::tcPlotWidget), msPalette(defaultPalette())
{
    initPlotResources();
    setObjectName(QStringLiteral("Plot Display"));
    setWindowIcon(QIcon(QStringLiteral(":/images/resources/buttons/plot.png")));
    mpUi->setupUi(this);
    setWindowTitle(tr("Plot: No Source"));
    // The plot takes the room; legend and controls keep what they need.
    mpUi->controlPanel->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    mpUi->legendBox->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    mpUi->legendBox->setMinimumWidth(200); // room for a curve title
    mpUi->mpBody->setStretch(0, 1);
    mpUi->controlPanel->hide();
    mpUi->expandButton->setIcon(QIcon(QString::fromLatin1(kRightArrow)));
    mpUi->expandButton->setStyleSheet(QStringLiteral("background-color: lightblue"));
    for (QWidget* lpWidget :
         {static_cast<QWidget*>(mpUi->autoXScale), static_cast<QWidget*>(mpUi->autoYScale),
          static_cast<QWidget*>(mpUi->autoXLabel), static_cast<QWidget*>(mpUi->autoYLabel)})
        lpWidget->hide();
    onPlaybackEnable(false);

    QwtPlot* lpPlot = mpUi->qwtPlot;
    lpPlot->setAxisScale(QwtPlot::xBottom, 0, 1024);
    lpPlot->setAxisAutoScale(QwtPlot::yLeft, true);
    lpPlot->axisScaleEngine(QwtPlot::xBottom)->setAttribute(QwtScaleEngine::Floating, true);
    lpPlot->axisScaleEngine(QwtPlot::yLeft)->setAttribute(QwtScaleEngine::Floating, true);

    mpMarker = new QwtPlotMarker();
    mpMarker->setSymbol(new QwtSymbol(QwtSymbol::Ellipse, QBrush(Qt::NoBrush), QPen(Qt::white), QSize(9, 9)));
    mpMarker->attach(lpPlot);
    mpMarker->setVisible(false);

    buildToolBar();
    buildLegend();
    buildTools();

    // Labels as wide as "100.00" from the start keep the plot from jumping
    // as the numbers change.
    lpPlot->axisScaleDraw(QwtPlot::yLeft)
        ->setMinimumExtent(QFontMetrics(lpPlot->axisWidget(QwtPlot::yLeft)->font())
                               .horizontalAdvance(QStringLiteral("100.00")));
    lpPlot->axisWidget(QwtPlot::xBottom)->installEventFilter(this);
    lpPlot->axisWidget(QwtPlot::yLeft)->installEventFilter(this);

    mpUi->backColorPicker->setStandardColors();
    mpUi->backColorPicker->setColorDialogEnabled(true);
    SetBackground(Qt::black);
    mpUi->mouseZoom->setChecked(true);
    connectControls();
    UserSetMouseMode();
    lpPlot->replot();
}

tcPlotWidget::~tcPlotWidget()
{
    closeChoosers();
    // The plot deletes the items still attached; curves are detached first
    // so that each is deleted exactly once.
    for (tcPlotCurveData* lpCurve : qAsConst(msCurves))
    {
        lpCurve->detach();
        delete lpCurve;
    }
    msCurves.clear();
    // Outside point tracking the marker is detached, and so not the plot's.
    if (!mpMarker->plot())
        delete mpMarker;
}

QList<QColor> tcPlotWidget::defaultPalette()
{
    return {Qt::green,     Qt::cyan,     Qt::red,         Qt::yellow,     Qt::lightGray,
            Qt::darkGreen, Qt::blue,     Qt::darkRed,     Qt::darkYellow, Qt::white,
            Qt::magenta,   Qt::darkBlue, Qt::darkMagenta, Qt::gray,       Qt::darkCyan};
}

void tcPlotWidget::buildToolBar()
{
    mpToolBar = new QToolBar(this);
    mpToolBar->setObjectName(QStringLiteral("mpToolBar"));
    mpToolBar->addWidget(new QLabel(tr("Source: "), mpToolBar));
    mpSourceCombo = new QComboBox(mpToolBar);
    mpSourceCombo->setObjectName(QStringLiteral("mpSourceCombo"));
    mpSourceCombo->setMinimumContentsLength(16);
    mpToolBar->addWidget(mpSourceCombo);
    mpTitleEdit = new QLineEdit(mpToolBar);
    mpTitleEdit->setObjectName(QStringLiteral("mpTitleEdit"));
    mpTitleEdit->setPlaceholderText(tr("Plot: No Source"));
    mpToolBar->addWidget(mpTitleEdit);
    mpUi->mpMainLayout->insertWidget(0, mpToolBar);
    connect(mpTitleEdit, &QLineEdit::textChanged, this, &tcPlotWidget::updateTitle);
}

void tcPlotWidget::buildLegend()
{
    mpLegend = new QwtLegend(mpUi->legendBox);
    mpLegend->setObjectName(QStringLiteral("mpLegend"));
    mpLegend->setDefaultItemMode(QwtLegendData::Clickable);
    mpLegend->setMaxColumns(1);
    mpLegend->setMinimumSize(120, 24);
    mpLegend->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    mpLegend->setContextMenuPolicy(Qt::CustomContextMenu);
    mpUi->mpLegendLayout->addWidget(mpLegend);
    connect(mpUi->qwtPlot, &QwtPlot::legendDataChanged, mpLegend, &QwtLegend::updateLegend);
    connect(mpLegend, &QwtLegend::clicked, this, &tcPlotWidget::onLegendItemClicked);
    connect(mpLegend, &QWidget::customContextMenuRequested, this, &tcPlotWidget::onLegendContextMenu);

    // Always there, so that the legend offers to add the first curve.
    mpAddPlotItem = new QwtPlotCurve(tr("Add Plot..."));
    mpAddPlotItem->setStyle(QwtPlotCurve::NoCurve);
    mpAddPlotItem->setSymbol(
        new QwtSymbol(QwtSymbol::Cross, QBrush(Qt::NoBrush), QPen(Qt::gray), QSize(8, 8)));
    mpAddPlotItem->setItemAttribute(QwtPlotItem::AutoScale, false);
    mpAddPlotItem->attach(mpUi->qwtPlot);
    mpUi->qwtPlot->updateLegend();
}

void tcPlotWidget::buildTools()
{
    QwtPlot* lpPlot = mpUi->qwtPlot;
    mpGrid = new QwtPlotGrid();
    mpGrid->enableXMin(true);
    mpGrid->enableYMin(true);
    mpGrid->setMajorPen(QPen(QColor(128, 128, 128), 0, Qt::DotLine));
    mpGrid->setMinorPen(QPen(QColor(72, 72, 72), 0, Qt::DotLine));
    mpGrid->attach(lpPlot);

    mpZoomer = new CurveZoomer(lpPlot->canvas());
    mpZoomer->setObjectName(QStringLiteral("mpZoomer"));
    mpZoomer->setMousePattern(QwtEventPattern::MouseSelect2, Qt::RightButton, Qt::ControlModifier);
    mpZoomer->setMousePattern(QwtEventPattern::MouseSelect3, Qt::RightButton);
    mpZoomer->setTrackerMode(QwtPicker::AlwaysOn);
    connect(mpZoomer, &QwtPlotZoomer::zoomed, this, &tcPlotWidget::onZoomed);
    connect(mpZoomer, &CurveZoomer::TrackerMoved, this, &tcPlotWidget::onTrackerUpdate);

    mpPanner = new QwtPlotPanner(lpPlot->canvas());
    mpPanner->setMouseButton(Qt::MiddleButton);

    mpPicker = new QwtPlotPicker(QwtPlot::xBottom, QwtPlot::yLeft, QwtPicker::CrossRubberBand,
                                 QwtPicker::AlwaysOff, lpPlot->canvas());
    mpPicker->setObjectName(QStringLiteral("mpPicker"));
    mpPicker->setStateMachine(new QwtPickerTrackerMachine());
    connect(mpPicker, QOverload<const QPointF&>::of(&QwtPlotPicker::moved), this,
            &tcPlotWidget::onTrackerUpdate);
}

void tcPlotWidget::connectControls()
{
    connect(mpUi->backColorPicker, &QtColorPicker::colorChanged, this, &tcPlotWidget::SetBackground);
    for (QSpinBox* lpBox : {mpUi->xMinBox, mpUi->xMaxBox, mpUi->yMinBox, mpUi->yMaxBox})
        connect(lpBox, QOverload<int>::of(&QSpinBox::valueChanged), this,
                &tcPlotWidget::onControlsAxisChanged);
    for (QCheckBox* lpBox :
         {mpUi->xLockAxisCheckBox, mpUi->yLockAxisCheckBox, mpUi->xGridLogCheckBox, mpUi->yGridLogCheckBox})
        connect(lpBox, &QCheckBox::toggled, this, &tcPlotWidget::onControlsAxisChanged);
    connect(mpUi->xGridLinesSlider, &QSlider::valueChanged, this, &tcPlotWidget::onXGridChanged);
    connect(mpUi->yGridLinesSlider, &QSlider::valueChanged, this, &tcPlotWidget::onYGridChanged);
    connect(mpUi->autoXScale, &QPushButton::clicked, this, &tcPlotWidget::onAutoXClicked);
    connect(mpUi->autoYScale, &QPushButton::clicked, this, &tcPlotWidget::onAutoYClicked);
    for (QRadioButton* lpButton : {mpUi->mouseZoom, mpUi->mouseCrossHair, mpUi->mouseTrack, mpUi->mouseOff})
        connect(lpButton, &QRadioButton::toggled, this, &tcPlotWidget::UserSetMouseMode);
    connect(mpUi->dataReportButton, &QPushButton::clicked, this, &tcPlotWidget::GenDataReport);
    connect(mpUi->updateDisableButton, &QToolButton::toggled, this, &tcPlotWidget::onPlaybackEnable);
    connect(mpUi->gridEnableBox, &QCheckBox::toggled, this, &tcPlotWidget::onGridEnable);
    connect(mpUi->expandButton, &QToolButton::clicked, this, &tcPlotWidget::onExpand);
    connect(mpSourceCombo, &QComboBox::currentTextChanged, this, &tcPlotWidget::onImageSourceChanged);
    connect(mpUi->statsPlotCB, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &tcPlotWidget::onStatisticsCurveChanged);
    connect(mpUi->statsGB, &QGroupBox::toggled, this, &tcPlotWidget::onStatisticsCurveChanged);
}

QAction* tcPlotWidget::createWindowAction(QObject* apParent)
{
    auto* lpAction = new QAction(windowTitle(), apParent);
    connect(this, &QWidget::windowTitleChanged, lpAction, &QAction::setText);
    connect(lpAction, &QAction::triggered, this,
            [this]
            {
                if (isMinimized())
                    showNormal();
                raise();
                activateWindow();
            });
    connect(this, &QObject::destroyed, lpAction, &QObject::deleteLater);
    return lpAction;
}

// ---- sources ---------------------------------------------------------------

tcPlottableInterface* tcPlotWidget::currentSource() const
{
    return qobject_cast<tcPlottableInterface*>(mpSourceCombo->currentData().value<QObject*>());
}

QStringList tcPlotWidget::sourceNames() const
{
    QStringList lsNames;
    for (int lnIndex = 0; lnIndex < mpSourceCombo->count(); ++lnIndex)
        lsNames << mpSourceCombo->itemText(lnIndex);
    return lsNames;
}

void tcPlotWidget::onNewPlugin(QObject* apSource)
{
    auto* lpSource = qobject_cast<tcPlottableInterface*>(apSource);
    if (!lpSource || mpSourceCombo->findText(lpSource->objectName()) >= 0)
        return;
    if (mpSourceCombo->count() == 0)
        onImageSourceChanged(lpSource->objectName());
    mpSourceCombo->addItem(lpSource->objectName(), QVariant::fromValue<QObject*>(lpSource));
    connect(lpSource, &QObject::destroyed, this, &tcPlotWidget::onPluginDestroyed);
    connect(lpSource, &tcPlottableInterface::PlotReady, this, &tcPlotWidget::onPlotReady);
}

void tcPlotWidget::followPlugins(tcPluginManager* apManager)
{
    if (mpPluginManager)
        disconnect(mpPluginManager, nullptr, this, nullptr);
    mpPluginManager = apManager;
    if (apManager)
        connect(apManager, &tcPluginManager::pluginsChanged, this, &tcPlotWidget::onPluginsChanged);
    onPluginsChanged();
}

void tcPlotWidget::onPluginsChanged()
{
    QList<QObject*> lsOffered;
    if (mpPluginManager)
        for (tcViewerInterface* lpSource :
             mpPluginManager->allInterfaces(QStringLiteral("tcPlottableInterface")))
            lsOffered << lpSource;
    for (const QPointer<QObject>& lpSource : qAsConst(msManagedSources))
    {
        if (!lpSource || lsOffered.contains(lpSource.data()))
            continue;
        // Removing the current source clears the curves, as choosing another
        // one does.
        disconnect(lpSource, nullptr, this, nullptr);
        const int lnIndex = mpSourceCombo->findData(QVariant::fromValue<QObject*>(lpSource.data()));
        if (lnIndex >= 0)
            mpSourceCombo->removeItem(lnIndex);
    }
    msManagedSources.clear();
    for (QObject* lpSource : qAsConst(lsOffered))
    {
        onNewPlugin(lpSource);
        msManagedSources << lpSource;
    }
}

void tcPlotWidget::onPluginDestroyed()
{
    QObject* lpGone = sender();
    for (int lnIndex = mpSourceCombo->count() - 1; lnIndex >= 0; --lnIndex)
        if (mpSourceCombo->itemData(lnIndex).value<QObject*>() == lpGone)
            mpSourceCombo->removeItem(lnIndex);
}

void tcPlotWidget::onImageSourceChanged(const QString&)
{
    // The choosers hold widgets of the old source.
    closeChoosers();
    updateTitle(QString());
    for (tcPlotCurveData* lpCurve : qAsConst(msCurves))
    {
        lpCurve->detach();
        delete lpCurve;
    }
    msCurves.clear();
    mpUi->statsPlotCB->clear();
    mpUi->qwtPlot->setAxisTitle(QwtPlot::xBottom, QString());
    mpUi->qwtPlot->setAxisTitle(QwtPlot::yLeft, QString());
    mpUi->qwtPlot->replot();
}

void tcPlotWidget::updateTitle(const QString&)
{
    const QString lsSource = mpSourceCombo->currentText();
    const QString lsDefault = lsSource.isEmpty() ? tr("Plot: No Source") : tr("Plot: ") + lsSource;
    mpTitleEdit->setPlaceholderText(lsDefault);
    setWindowTitle(mpTitleEdit->text().isEmpty() ? lsDefault : mpTitleEdit->text());
}

// ---- data --------------------------------------------------------------------

void tcPlotWidget::onPlotReady(tcPlottableInterface* apSource, const QString& arKey)
{
    if (!apSource || apSource != currentSource() || isPaused())
        return;
    bool lbChanged = false;
    for (tcPlotCurveData* lpCurve : qAsConst(msCurves))
        if (lpCurve->getKey() == arKey)
            lbChanged = refreshCurve(lpCurve) || lbChanged;
    if (lbChanged)
        finishRefresh();
}

bool tcPlotWidget::refreshCurve(tcPlotCurveData* apCurve)
{
    tcPlottableInterface* lpSource = currentSource();
    if (!lpSource)
        return false;
    tcPlotArray lcX, lcY;
    if (!lpSource->getData(apCurve->getKey(), lcX, lcY))
        return false;
    apCurve->setData(lcX, lcY);
    if (mpUi->statsGB->isChecked() && mpUi->statsPlotCB->currentData().toString() == apCurve->getKey())
        updateStatistics(apCurve);
    return true;
}

void tcPlotWidget::finishRefresh()
{
    if (!mbXLocked)
        mpUi->qwtPlot->setAxisAutoScale(QwtPlot::xBottom, true);
    if (!mbYLocked)
        mpUi->qwtPlot->setAxisAutoScale(QwtPlot::yLeft, true);
    mpUi->qwtPlot->replot();
    writeRangeBoxes();
    resetZoomBase();
}

void tcPlotWidget::writeRangeBoxes()
{
    mbUpdating = true;
    const QwtScaleDiv& lrX = mpUi->qwtPlot->axisScaleDiv(QwtPlot::xBottom);
    const QwtScaleDiv& lrY = mpUi->qwtPlot->axisScaleDiv(QwtPlot::yLeft);
    mpUi->xMinBox->setValue(static_cast<int>(lrX.lowerBound()));
    mpUi->xMaxBox->setValue(static_cast<int>(lrX.upperBound()));
    mpUi->yMinBox->setValue(static_cast<int>(lrY.lowerBound()));
    mpUi->yMaxBox->setValue(static_cast<int>(lrY.upperBound()));
    mbUpdating = false;
}

void tcPlotWidget::resetZoomBase()
{
    // While zoomed in, the zoom stack is kept so that the user can still
    // step back out.
    if (mpZoomer->zoomRectIndex() == 0)
        mpZoomer->setZoomBase(false);
}

void tcPlotWidget::updateStatistics(const tcPlotCurveData* apCurve)
{
    double ldSum = 0;
    int lnCount = 0;
    const size_t lnSize = apCurve->dataSize();
    for (size_t lnIndex = 0; lnIndex < lnSize; ++lnIndex)
    {
        const double ldY = apCurve->sample(lnIndex).y();
        if (std::isfinite(ldY))
        {
            ldSum += ldY;
            ++lnCount;
        }
    }
    if (lnCount == 0)
    {
        mpUi->meanLE->clear();
        mpUi->stdLE->clear();
        return;
    }
    const double ldMean = ldSum / lnCount;
    double ldSquares = 0;
    for (size_t lnIndex = 0; lnIndex < lnSize; ++lnIndex)
    {
        const double ldY = apCurve->sample(lnIndex).y();
        if (std::isfinite(ldY))
            ldSquares += (ldY - ldMean) * (ldY - ldMean);
    }
    mpUi->meanLE->setText(QString::number(ldMean, 'g', -1));
    mpUi->stdLE->setText(QString::number(std::sqrt(ldSquares / lnCount), 'g', -1));
}

void tcPlotWidget::onStatisticsCurveChanged()
{
    if (!mpUi->statsGB->isChecked())
        return;
    const QString lsKey = mpUi->statsPlotCB->currentData().toString();
    for (const tcPlotCurveData* lpCurve : qAsConst(msCurves))
        if (lpCurve->getKey() == lsKey)
        {
            updateStatistics(lpCurve);
            return;
        }
}

// ---- curves ------------------------------------------------------------------

QColor tcPlotWidget::takePaletteColor()
{
    const QColor lcColor = msPalette.value(mnPaletteIndex);
    mnPaletteIndex = (mnPaletteIndex + 1) % msPalette.size();
    return lcColor;
}

tcPlotChooser* tcPlotWidget::openChooser(tcPlotChooser* apChooser)
{
    msChoosers << apChooser;
    connect(apChooser, &tcPlotChooser::PlotChanged, this, &tcPlotWidget::onPlotChanged);
    apChooser->show();
    apChooser->raise();
    apChooser->onKeyChanged();
    return apChooser;
}

void tcPlotWidget::addRow()
{
    tcPlottableInterface* lpSource = currentSource();
    if (!lpSource)
        return;
    tcPlotChooserWidget* lpKeyWidget = lpSource->createChooserWidget(QString());
    if (!lpKeyWidget)
        return;
    openChooser(new tcPlotChooser(lpKeyWidget, takePaletteColor(), this));

    if (std::unique_ptr<tcPlotAxisDescription> lpAxis = lpSource->xAxisDescription())
    {
        QwtPlot* lpPlot = mpUi->qwtPlot;
        lpPlot->setAxisScaleDraw(QwtPlot::xBottom,
                                 lpAxis->mpScaleDraw ? lpAxis->mpScaleDraw : new QwtScaleDraw());
        if (!lpAxis->msTitle.isEmpty())
            lpPlot->setAxisTitle(QwtPlot::xBottom, lpAxis->msTitle);
        lpPlot->setAxisLabelRotation(QwtPlot::xBottom, lpAxis->mnLabelRotation);
        lpPlot->setAxisLabelAlignment(QwtPlot::xBottom, lpAxis->mnLabelAlignment);
    }
}

void tcPlotWidget::onLegendItemClicked(const QVariant& arItemInfo, int)
{
    QwtPlotItem* lpItem = mpUi->qwtPlot->infoToItem(arItemInfo);
    if (lpItem == mpAddPlotItem)
    {
        addRow();
        return;
    }
    const int lnIndex = msCurves.indexOf(static_cast<tcPlotCurveData*>(lpItem));
    tcPlottableInterface* lpSource = currentSource();
    if (lnIndex < 0 || !lpSource)
        return;
    tcPlotCurveData* lpCurve = msCurves[lnIndex];
    tcPlotChooserWidget* lpKeyWidget = lpSource->createChooserWidget(lpCurve->getKey());
    if (!lpKeyWidget)
        return;
    const tcPlotProperties lcProperties(*lpCurve, lnIndex);
    openChooser(new tcPlotChooser(lpKeyWidget, lcProperties, this));
}

tcPlotCurveData* tcPlotWidget::createCurve(const tcPlotProperties& arProperties)
{
    auto* lpCurve = new tcPlotCurveData(arProperties.msKey);
    arProperties.applyTo(*lpCurve);
    if (arProperties.mcLinePen.color() == msPalette.value(mnPaletteIndex))
        takePaletteColor();
    lpCurve->setVisible(true);
    lpCurve->attach(mpUi->qwtPlot);
    msCurves.append(lpCurve);
    mpUi->statsPlotCB->addItem(arProperties.title(), arProperties.msKey);
    return lpCurve;
}

void tcPlotWidget::onPlotChanged(const tcPlotProperties& arProperties)
{
    auto* lpChooser = qobject_cast<tcPlotChooser*>(sender());
    tcPlotCurveData* lpCurve = nullptr;
    if (arProperties.mnIndex < 0)
    {
        lpCurve = createCurve(arProperties);
        if (lpChooser)
            lpChooser->setIndex(msCurves.size() - 1);
    }
    else if (arProperties.mnIndex < msCurves.size())
    {
        lpCurve = msCurves[arProperties.mnIndex];
        // Samples of the key it showed before must not pass for the new one's.
        if (lpCurve->getKey() != arProperties.msKey)
            lpCurve->setData(nullptr, nullptr, 0);
        arProperties.applyTo(*lpCurve);
        mpUi->statsPlotCB->setItemText(arProperties.mnIndex, arProperties.title());
        mpUi->statsPlotCB->setItemData(arProperties.mnIndex, arProperties.msKey);
    }
    else
    {
        return;
    }
    setAxisTitles(arProperties.mhAttributes);
    refreshCurve(lpCurve);
    finishRefresh();
    emit SaveableUpdate(this);
}

void tcPlotWidget::setAxisTitles(const QMap<QString, QVariant>& arAttributes)
{
    if (arAttributes.contains(QStringLiteral("x-label")))
        mpUi->qwtPlot->setAxisTitle(QwtPlot::xBottom,
                                    arAttributes.value(QStringLiteral("x-label")).toString());
    if (arAttributes.contains(QStringLiteral("y-label")))
        mpUi->qwtPlot->setAxisTitle(QwtPlot::yLeft, arAttributes.value(QStringLiteral("y-label")).toString());
}

void tcPlotWidget::closeChoosers()
{
    for (const QPointer<tcPlotChooser>& lpChooser : qAsConst(msChoosers))
        if (lpChooser)
            delete lpChooser.data();
    msChoosers.clear();
}

void tcPlotWidget::removeCurveAt(int anIndex)
{
    tcPlotCurveData* lpCurve = msCurves.takeAt(anIndex);
    const int lnStatsItem = mpUi->statsPlotCB->findData(lpCurve->getKey());
    if (lnStatsItem >= 0)
        mpUi->statsPlotCB->removeItem(lnStatsItem);
    lpCurve->detach();
    delete lpCurve;
    emit SaveableUpdate(this);
}

void tcPlotWidget::removeCurves(const QString& arKey)
{
    // Open choosers edit curves by position, which removal shifts.
    closeChoosers();
    for (int lnIndex = msCurves.size() - 1; lnIndex >= 0; --lnIndex)
        if (arKey.isEmpty() || msCurves[lnIndex]->getKey() == arKey)
            removeCurveAt(lnIndex);
    mpUi->qwtPlot->replot();
}

void tcPlotWidget::onLegendContextMenu(const QPoint& arPosition)
{
    for (int lnIndex = 0; lnIndex < msCurves.size(); ++lnIndex)
    {
        QWidget* lpEntry = mpLegend->legendWidget(mpUi->qwtPlot->itemToInfo(msCurves[lnIndex]));
        if (!lpEntry || !lpEntry->rect().contains(lpEntry->mapFrom(mpLegend, arPosition)))
            continue;
        QMenu lcMenu(this);
        QAction* lpRemove = lcMenu.addAction(tr("Remove plot \"%1\"").arg(msCurves[lnIndex]->title().text()));
        if (lcMenu.exec(mpLegend->mapToGlobal(arPosition)) == lpRemove)
        {
            closeChoosers();
            removeCurveAt(lnIndex);
            mpUi->qwtPlot->replot();
        }
        return;
    }
}

void tcPlotWidget::removeRow()
{
    if (msCurves.isEmpty())
        return;
    QDialog lcDialog(this);
    lcDialog.setWindowTitle(tr("Remove Plots"));
    auto* lpLayout = new QVBoxLayout(&lcDialog);
    QList<QCheckBox*> lsBoxes;
    for (const tcPlotCurveData* lpCurve : qAsConst(msCurves))
    {
        auto* lpBox = new QCheckBox(lpCurve->title().text(), &lcDialog);
        QPalette lcPalette = lpBox->palette();
        lcPalette.setColor(QPalette::WindowText, lpCurve->pen().color());
        lpBox->setPalette(lcPalette);
        lpLayout->addWidget(lpBox);
        lsBoxes << lpBox;
    }
    auto* lpButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &lcDialog);
    connect(lpButtons, &QDialogButtonBox::accepted, &lcDialog, &QDialog::accept);
    connect(lpButtons, &QDialogButtonBox::rejected, &lcDialog, &QDialog::reject);
    lpLayout->addWidget(lpButtons);
    if (lcDialog.exec() != QDialog::Accepted)
        return;
    closeChoosers();
    for (int lnIndex = lsBoxes.size() - 1; lnIndex >= 0; --lnIndex)
        if (lsBoxes[lnIndex]->isChecked())
            removeCurveAt(lnIndex);
    mpUi->qwtPlot->replot();
}

// ---- axes ----------------------------------------------------------------------

tcAxisSettings tcPlotWidget::axisSettings() const
{
    tcAxisSettings lcSettings;
    const QwtPlot* lpPlot = mpUi->qwtPlot;
    lcSettings.mdXMin = lpPlot->axisScaleDiv(QwtPlot::xBottom).lowerBound();
    lcSettings.mdXMax = lpPlot->axisScaleDiv(QwtPlot::xBottom).upperBound();
    lcSettings.mdYMin = lpPlot->axisScaleDiv(QwtPlot::yLeft).lowerBound();
    lcSettings.mdYMax = lpPlot->axisScaleDiv(QwtPlot::yLeft).upperBound();
    lcSettings.msXTitle = lpPlot->axisTitle(QwtPlot::xBottom).text();
    lcSettings.msYTitle = lpPlot->axisTitle(QwtPlot::yLeft).text();
    lcSettings.mnXTicks = mpUi->xGridLinesSlider->value();
    lcSettings.mnYTicks = mpUi->yGridLinesSlider->value();
    lcSettings.mbXLocked = mbXLocked;
    lcSettings.mbYLocked = mbYLocked;
    lcSettings.mbXLog = mpUi->xGridLogCheckBox->isChecked();
    lcSettings.mbYLog = mpUi->yGridLogCheckBox->isChecked();
    return lcSettings;
}

bool tcPlotWidget::eventFilter(QObject* apWatched, QEvent* apEvent)
{
    if (apEvent->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(apEvent)->button() == Qt::LeftButton &&
        (apWatched == mpUi->qwtPlot->axisWidget(QwtPlot::xBottom) ||
         apWatched == mpUi->qwtPlot->axisWidget(QwtPlot::yLeft)))
    {
        openAxisDialog();
        return true;
    }
    return QWidget::eventFilter(apWatched, apEvent);
}

void tcPlotWidget::openAxisDialog()
{
    // One dialog for all windows: its changes go to the window that opened
    // it last.
    tcEditAxisDialog* lpDialog = tcEditAxisDialog::instance();
    disconnect(lpDialog, &tcEditAxisDialog::AxisChanged, nullptr, nullptr);
    connect(lpDialog, &tcEditAxisDialog::AxisChanged, this, &tcPlotWidget::onAxisChanged);
    lpDialog->setTarget(this);
    lpDialog->setSettings(axisSettings());
    lpDialog->show();
    lpDialog->raise();
    lpDialog->activateWindow();
}

void tcPlotWidget::onAxisChanged()
{
    auto* lpDialog = qobject_cast<tcEditAxisDialog*>(sender());
    if (!lpDialog)
        lpDialog = tcEditAxisDialog::instance();
    if (lpDialog->target() != this)
        return;
    const tcAxisSettings lcSettings = lpDialog->settings();
    mbUpdating = true;
    mpUi->xMinBox->setValue(static_cast<int>(lcSettings.mdXMin));
    mpUi->xMaxBox->setValue(static_cast<int>(lcSettings.mdXMax));
    mpUi->yMinBox->setValue(static_cast<int>(lcSettings.mdYMin));
    mpUi->yMaxBox->setValue(static_cast<int>(lcSettings.mdYMax));
    mpUi->xGridLinesSlider->setValue(lcSettings.mnXTicks);
    mpUi->yGridLinesSlider->setValue(lcSettings.mnYTicks);
    mpUi->xLockAxisCheckBox->setChecked(!lcSettings.mbXLocked);
    mpUi->yLockAxisCheckBox->setChecked(!lcSettings.mbYLocked);
    mpUi->xGridLogCheckBox->setChecked(lcSettings.mbXLog);
    mpUi->yGridLogCheckBox->setChecked(lcSettings.mbYLog);
    mbUpdating = false;
    mpUi->qwtPlot->setAxisTitle(QwtPlot::xBottom, lcSettings.msXTitle);
    mpUi->qwtPlot->setAxisTitle(QwtPlot::yLeft, lcSettings.msYTitle);
    applyAxes(lcSettings);
}

void tcPlotWidget::onControlsAxisChanged()
{
    if (mbUpdating)
        return;
    const bool lbXLocked = !mpUi->xLockAxisCheckBox->isChecked();
    const bool lbYLocked = !mpUi->yLockAxisCheckBox->isChecked();
    if (mbXLocked && !lbXLocked)
    {
        mbXLocked = false;
        onAutoXClicked();
        return;
    }
    if (mbYLocked && !lbYLocked)
    {
        mbYLocked = false;
        onAutoYClicked();
        return;
    }
    tcAxisSettings lcSettings = axisSettings();
    lcSettings.mdXMin = mpUi->xMinBox->value();
    lcSettings.mdXMax = mpUi->xMaxBox->value();
    lcSettings.mdYMin = mpUi->yMinBox->value();
    lcSettings.mdYMax = mpUi->yMaxBox->value();
    lcSettings.mbXLocked = lbXLocked;
    lcSettings.mbYLocked = lbYLocked;
    applyAxes(lcSettings);
}

void tcPlotWidget::applyAxes(const tcAxisSettings& arSettings)
{
    mbXLocked = arSettings.mbXLocked;
    mbYLocked = arSettings.mbYLocked;
    divideAxis(QwtPlot::xBottom, arSettings.mdXMin, arSettings.mdXMax, arSettings.mnXTicks,
               arSettings.mbXLog);
    divideAxis(QwtPlot::yLeft, arSettings.mdYMin, arSettings.mdYMax, arSettings.mnYTicks, arSettings.mbYLog);
    mpUi->qwtPlot->replot();
}

void tcPlotWidget::divideAxis(int anAxis, double adMin, double adMax, int anTicks, bool abLog)
{
    QwtScaleEngine* lpEngine = abLog ? static_cast<QwtScaleEngine*>(new QwtLogScaleEngine(10))
                                     : static_cast<QwtScaleEngine*>(new QwtLinearScaleEngine());
    lpEngine->setAttribute(QwtScaleEngine::Floating, true);
    // A logarithmic scale cannot start at or below zero.
    if (abLog && adMin <= 0)
        adMin = qMin(1.0, adMax / 10);
    mpUi->qwtPlot->setAxisScaleEngine(anAxis, lpEngine);
    mpUi->qwtPlot->setAxisScaleDiv(anAxis, lpEngine->divideScale(adMin, adMax, anTicks, 2 * anTicks));
}

void tcPlotWidget::autoScaleAxis(int anAxis)
{
    mpUi->qwtPlot->setAxisAutoScale(anAxis, true);
    mpUi->qwtPlot->replot();
    writeRangeBoxes();
    resetZoomBase();
}

void tcPlotWidget::onAutoXClicked()
{
    autoScaleAxis(QwtPlot::xBottom);
    onControlsAxisChanged();
}

void tcPlotWidget::onAutoYClicked()
{
    autoScaleAxis(QwtPlot::yLeft);
    onControlsAxisChanged();
}

void tcPlotWidget::onXGridChanged()
{
    const QwtInterval lcRange = mpUi->qwtPlot->axisScaleDiv(QwtPlot::xBottom).interval();
    divideAxis(QwtPlot::xBottom, lcRange.minValue(), lcRange.maxValue(), mpUi->xGridLinesSlider->value(),
               mpUi->xGridLogCheckBox->isChecked());
    mpUi->qwtPlot->replot();
}

void tcPlotWidget::onYGridChanged()
{
    const QwtInterval lcRange = mpUi->qwtPlot->axisScaleDiv(QwtPlot::yLeft).interval();
    divideAxis(QwtPlot::yLeft, lcRange.minValue(), lcRange.maxValue(), mpUi->yGridLinesSlider->value(),
               mpUi->yGridLogCheckBox->isChecked());
    mpUi->qwtPlot->replot();
}

void tcPlotWidget::onZoomed(const QRectF&)
{
    mbXLocked = true;
    mbYLocked = true;
    mbUpdating = true;
    mpUi->xLockAxisCheckBox->setChecked(false);
    mpUi->yLockAxisCheckBox->setChecked(!mbYLocked);
    mbUpdating = false;
    writeRangeBoxes();
    onXGridChanged();
    onYGridChanged();
}

// ---- mouse ---------------------------------------------------------------------

void tcPlotWidget::UserSetMouseMode()
{
    if (mpUi->mouseZoom->isChecked())
        mnMouseMode = MouseZoom;
    else if (mpUi->mouseCrossHair->isChecked())
        mnMouseMode = MouseCrossHair;
    else if (mpUi->mouseTrack->isChecked())
        mnMouseMode = MouseTrack;
    else
        mnMouseMode = MouseInactive;
    mpPicker->setEnabled(mnMouseMode != MouseInactive);
    mpZoomer->setEnabled(mnMouseMode == MouseZoom);
    const bool lbMarker = mnMouseMode == MouseTrack;
    mpMarker->setVisible(lbMarker);
    if (lbMarker)
        mpMarker->attach(mpUi->qwtPlot);
    else
        mpMarker->detach();
    mpPicker->setRubberBand(lbMarker ? QwtPicker::NoRubberBand : QwtPicker::CrossRubberBand);
    mpUi->trackerTextLabel->clear();
    mpUi->qwtPlot->replot();
}

void tcPlotWidget::onTrackerUpdate(QPointF acPosition)
{
    if (msCurves.isEmpty())
        return;
    QwtPlot* lpPlot = mpUi->qwtPlot;
    const QPoint lcPixel(qRound(lpPlot->transform(QwtPlot::xBottom, acPosition.x())),
                         qRound(lpPlot->transform(QwtPlot::yLeft, acPosition.y())));
    const tcPlotCurveData* lpBest = nullptr;
    int lnBestIndex = -1;
    double ldBest = 0;
    for (const tcPlotCurveData* lpCurve : qAsConst(msCurves))
    {
        double ldDistance = 0;
        const int lnIndex = lpCurve->closestPoint(lcPixel, &ldDistance);
        if (lnIndex >= 0 && (!lpBest || ldDistance < ldBest))
        {
            lpBest = lpCurve;
            lnBestIndex = lnIndex;
            ldBest = ldDistance;
        }
    }
    if (!lpBest)
        return;
    const QPointF lcSample = lpBest->sample(static_cast<size_t>(lnBestIndex));
    if (mpMarker->isVisible() && mpMarker->value() != lcSample)
    {
        mpMarker->setValue(lcSample);
        lpPlot->replot();
    }
    mpUi->trackerTextLabel->setText(tr("Curve: %1 (%2, %3)")
                                        .arg(lpBest->title().text())
                                        .arg(lcSample.x(), 0, 'g')
                                        .arg(lcSample.y(), 0, 'g'));
}

// ---- look and controls -----------------------------------------------------------

void tcPlotWidget::SetBackground(const QColor& arColor)
{
    mpUi->qwtPlot->setCanvasBackground(arColor);
    const QColor lcContrast = contrastColor(arColor);
    for (QwtPicker* lpPicker : {static_cast<QwtPicker*>(mpPicker), static_cast<QwtPicker*>(mpZoomer)})
    {
        lpPicker->setRubberBandPen(QPen(lcContrast));
        lpPicker->setTrackerPen(QPen(lcContrast));
    }
    if (const QwtSymbol* lpSymbol = mpMarker->symbol())
        mpMarker->setSymbol(
            new QwtSymbol(lpSymbol->style(), lpSymbol->brush(), QPen(lcContrast), lpSymbol->size()));
    mpUi->backColorPicker->setCurrentColor(arColor);
    mpUi->qwtPlot->replot();
}

bool tcPlotWidget::isPaused() const
{
    return mpUi->updateDisableButton->isChecked();
}

void tcPlotWidget::onPlaybackEnable(bool abPaused)
{
    mpUi->updateDisableButton->setIcon(
        QIcon(abPaused ? QStringLiteral(":/images/resources/knobs/Knob_Play.png")
                       : QStringLiteral(":/images/resources/knobs/Knob_Pause.png")));
    mpUi->updateDisableButton->setToolTip(abPaused ? tr("Resume Updating") : tr("Pause Updating"));
}

void tcPlotWidget::onGridEnable(bool abOn)
{
    mpGrid->setVisible(abOn);
    mpUi->qwtPlot->replot();
}

void tcPlotWidget::onExpand()
{
    const bool lbShow = mpUi->controlPanel->isHidden();
    mpUi->controlPanel->setVisible(lbShow);
    mpUi->expandButton->setIcon(QIcon(QString::fromLatin1(lbShow ? kLeftArrow : kRightArrow)));
}

// ---- report, export and import -------------------------------------------------

QString tcPlotWidget::dataReportText() const
{
    if (msCurves.isEmpty())
        return QString();
    QString lsText = QStringLiteral("x");
    size_t lnRows = 0;
    for (const tcPlotCurveData* lpCurve : msCurves)
    {
        lsText += QLatin1Char(',') + lpCurve->title().text();
        lnRows = qMax(lnRows, lpCurve->dataSize());
    }
    lsText += QLatin1Char('\n');
    // Every sample of every curve gets into the report; a curve without a
    // sample at a row leaves its field empty, and the x column comes from the
    // first curve that has the row.
    for (size_t lnRow = 0; lnRow < lnRows; ++lnRow)
    {
        QString lsX;
        QString lsFields;
        for (const tcPlotCurveData* lpCurve : msCurves)
        {
            lsFields += QLatin1Char(',');
            if (lnRow >= lpCurve->dataSize())
                continue;
            const QPointF lcSample = lpCurve->sample(lnRow);
            if (lsX.isNull())
                lsX = QString::number(lcSample.x(), 'g', 6);
            lsFields += QString::number(lcSample.y(), 'g', 6);
        }
        lsText += lsX + lsFields + QLatin1Char('\n');
    }
    return lsText;
}

void tcPlotWidget::GenDataReport()
{
    if (msCurves.isEmpty())
        return;
    tcReportForm::ShowDocument(dataReportText(), tr("Plot Data"));
}

QStringList tcPlotWidget::saveableItems() const
{
    QStringList lsTitles;
    for (const tcPlotCurveData* lpCurve : msCurves)
        lsTitles << lpCurve->title().text();
    return lsTitles;
}

QStringList tcPlotWidget::fileTypes() const
{
    return {tr("CSV Files (*.csv)")};
}

bool tcPlotWidget::saveItem(const QString& arTitle)
{
    if (!saveableItems().contains(arTitle))
        return false;
    const QString lsPath =
        tcFileDialogs::getSaveFileName(this, tr("Save %1").arg(arTitle), msLastDir, tr("CSV Files (*.csv)"));
    if (lsPath.isEmpty())
        return false;
    msLastDir = QFileInfo(lsPath).absolutePath();
    return saveCurveTo(arTitle, lsPath);
}

bool tcPlotWidget::saveCurveTo(const QString& arTitle, const QString& arPath)
{
    for (const tcPlotCurveData* lpCurve : qAsConst(msCurves))
    {
        if (lpCurve->title().text() != arTitle)
            continue;
        QFile lcFile(arPath);
        if (!lcFile.open(QIODevice::WriteOnly | QIODevice::Text))
            return false;
        QVector<double> lcY(static_cast<int>(lpCurve->dataSize()));
        for (int lnIndex = 0; lnIndex < lcY.size(); ++lnIndex)
            lcY[lnIndex] = lpCurve->sample(static_cast<size_t>(lnIndex)).y();
        return tcPlotCsv::write(lcFile, lcY.constData(), lcY.size());
    }
    return false;
}

bool tcPlotWidget::loadFile(const QString& arPath)
{
    QFile lcFile(arPath);
    const QString lsName = QFileInfo(arPath).fileName();
    if (!lcFile.open(QIODevice::ReadOnly))
    {
        emit Error(tr("Cannot read %1: %2").arg(arPath, lcFile.errorString()));
        return false;
    }
    const tcPlotCsv::tsCurve lcData = tcPlotCsv::read(lcFile.readAll());
    lcFile.close();
    if (lcData.mcY.isEmpty())
    {
        emit Error(tr("%1 holds no samples").arg(lsName));
        return false;
    }
    tcPlotProperties lcProperties;
    lcProperties.msKey = QStringLiteral("file:") + QFileInfo(arPath).absoluteFilePath();
    lcProperties.mhAttributes.insert(QStringLiteral("title"), lsName);
    lcProperties.mcLinePen.setWidth(1);
    tcPlotCurveData* lpCurve = createCurve(lcProperties);
    lpCurve->setData(lcData.mcX.constData(), lcData.mcY.constData(), lcData.mcY.size());
    finishRefresh();
    emit SaveableUpdate(this);
    if (lcData.mnSkipped > 0)
        emit Message(tr("%1: %2 of %3 fields were not numbers and are left out of the curve")
                         .arg(lsName)
                         .arg(lcData.mnSkipped)
                         .arg(lcData.mcY.size()));
    return true;
}
