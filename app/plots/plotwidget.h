#pragma once

#include "editaxisdialog.h"
#include "plotproperties.h"

#include <QColor>
#include <QList>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QStringList>
#include <QWidget>

#include <memory>

class QAction;
class QComboBox;
class QLineEdit;
class QToolBar;
class QwtLegend;
class QwtPlotCurve;
class QwtPlotGrid;
class QwtPlotMarker;
class QwtPlotPanner;
class QwtPlotPicker;
class CurveZoomer;
class tcPlotChooser;
class tcPlotCurveData;
class tcPlottableInterface;
class tcPluginManager;
namespace Ui
{
class tcPlotWidget;
}

// A plot window: curves of one plottable source at a time, each curve one
// key of that source, with a legend (whose "Add Plot..." entry adds a curve
// and whose entries edit theirs), statistics of one chosen curve, axis and
// grid controls, zoom, cross-hair and point tracking, pausing, a data report
// and CSV export and import of single curves.
//
// The window never owns its sources: it is told about them with
// onNewPlugin() and forgets each when it is destroyed. Told to follow a
// plugin manager, it also takes up the sources of plugins loaded or enabled
// later and lets go of those whose plugins leave the active set. Curves
// refresh when their source announces new data for their key.
class tcPlotWidget : public QWidget
{
    Q_OBJECT

public:
    explicit tcPlotWidget(QWidget* apParent = nullptr);
    ~tcPlotWidget() override;

    enum teMouseMode
    {
        MouseInactive = 0,
        MouseZoom = 1,
        MouseCrossHair = 2,
        MouseTrack = 3
    };

    static QList<QColor> defaultPalette();

    const QList<tcPlotCurveData*>& curves() const { return msCurves; }
    tcPlottableInterface* currentSource() const;
    QStringList sourceNames() const;
    int paletteIndex() const { return mnPaletteIndex; }
    bool isPaused() const;
    bool isXLocked() const { return mbXLocked; }
    bool isYLocked() const { return mbYLocked; }
    int mouseMode() const { return mnMouseMode; }
    tcAxisSettings axisSettings() const;
    // The text GenDataReport() shows.
    QString dataReportText() const;
    // Writes the first curve of that title to the file; false when there is
    // no such curve or the file cannot be written.
    bool saveCurveTo(const QString& arTitle, const QString& arPath);
    // Removes the curves of one key, every curve for an empty key.
    void removeCurves(const QString& arKey);
    // Opens the shared axis dialog for this window.
    void openAxisDialog();
    // Offers the plottable sources of the manager's active plugins and
    // follows that set whenever the manager announces a change.
    void followPlugins(tcPluginManager* apManager);

    // An entry for a window menu: its text follows the window title, it
    // brings the window up when triggered, and it is deleted with the window.
    QAction* createWindowAction(QObject* apParent);

    // The saving interface: curve titles, export of one, the file types,
    // import of one file as a new curve.
    virtual QStringList saveableItems() const;
    virtual bool saveItem(const QString& arTitle);
    virtual QStringList fileTypes() const;
    virtual bool loadFile(const QString& arPath);

signals:
    void SaveableUpdate(QWidget* apWidget);
    void Message(QString arText);
    void Error(QString arText);

public slots:
    void onImageSourceChanged(const QString& arName);
    void onPlotReady(tcPlottableInterface* apSource, const QString& arKey);
    void addRow();
    void removeRow();
    void onExpand();
    void onPlaybackEnable(bool abPaused);
    void onGridEnable(bool abOn);
    virtual void onNewPlugin(QObject* apSource);
    virtual void onPluginDestroyed();
    // Brings the sources in line with the followed manager's active plugins.
    void onPluginsChanged();
    void onTrackerUpdate(QPointF acPosition);
    void onXGridChanged();
    void onYGridChanged();
    void SetBackground(const QColor& arColor);
    void UserSetMouseMode();
    void onZoomed(const QRectF& arRect);
    void onLegendItemClicked(const QVariant& arItemInfo, int anIndex);
    void onLegendContextMenu(const QPoint& arPosition);
    void onPlotChanged(const tcPlotProperties& arProperties);
    void onAxisChanged();
    void GenDataReport();
    void onControlsAxisChanged();
    void onAutoXClicked();
    void onAutoYClicked();
    void updateTitle(const QString& arText);

protected:
    bool eventFilter(QObject* apWatched, QEvent* apEvent) override;

private slots:
    void onStatisticsCurveChanged();

private:
    void buildToolBar();
    void buildLegend();
    void buildTools();
    void connectControls();
    tcPlotCurveData* createCurve(const tcPlotProperties& arProperties);
    void removeCurveAt(int anIndex);
    bool refreshCurve(tcPlotCurveData* apCurve);
    void finishRefresh();
    void updateStatistics(const tcPlotCurveData* apCurve);
    void setAxisTitles(const QMap<QString, QVariant>& arAttributes);
    void applyAxes(const tcAxisSettings& arSettings);
    void divideAxis(int anAxis, double adMin, double adMax, int anTicks, bool abLog);
    void writeRangeBoxes();
    void resetZoomBase();
    void autoScaleAxis(int anAxis);
    void closeChoosers();
    QColor takePaletteColor();
    tcPlotChooser* openChooser(tcPlotChooser* apChooser);

    std::unique_ptr<Ui::tcPlotWidget> mpUi;
    QList<tcPlotCurveData*> msCurves;
    QList<QColor> msPalette;
    int mnPaletteIndex = 0;
    QToolBar* mpToolBar = nullptr;
    QComboBox* mpSourceCombo = nullptr;
    QLineEdit* mpTitleEdit = nullptr;
    QString msLastDir;
    QwtLegend* mpLegend = nullptr;
    QwtPlotCurve* mpAddPlotItem = nullptr;
    QwtPlotMarker* mpMarker = nullptr;
    QwtPlotPicker* mpPicker = nullptr;
    CurveZoomer* mpZoomer = nullptr;
    QwtPlotPanner* mpPanner = nullptr;
    QwtPlotGrid* mpGrid = nullptr;
    bool mbXLocked = false;
    bool mbYLocked = false;
    bool mbUpdating = false;
    int mnMouseMode = MouseZoom;
    QList<QPointer<tcPlotChooser>> msChoosers;
    QPointer<tcPluginManager> mpPluginManager;
    // The sources the followed manager offered, so that its changes never
    // take away a source somebody else gave.
    QList<QPointer<QObject>> msManagedSources;
};
