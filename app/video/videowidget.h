#pragma once

#include "debugsource.h"
#include "imagebuffer.h"

#include <QList>
#include <QMap>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

namespace Ui
{
class VideoWidget;
}
class QAction;
class QActionGroup;
class QComboBox;
class QMenu;
class QRubberBand;
class QToolBar;
class tcCameraInterface;
class tcGLVideoWidget;
class tcImgRectInterface;
class tcViewerInterface;

// The video panel: the drawing surface with its tool bar, the tabs of the
// plugins' control widgets, the pixel read-out and frame counter, the
// context menu and the mouse tools (zoom rectangle, plugin rectangle tools,
// Shift-drag panning, wheel zoom). Frames come in through NewFrame().
class tcVideoWidget : public QWidget, public tcDebugSource
{
    Q_OBJECT

public:
    // The pieces of the plugin manager's active plugins are hooked up.
    tcVideoWidget(tcCameraInterface* apCamera, QWidget* apParent = nullptr);
    // The given plugin pieces are hooked up instead.
    tcVideoWidget(tcCameraInterface* apCamera, const QList<tcViewerInterface*>& alPlugins,
                  QWidget* apParent = nullptr);
    ~tcVideoWidget() override;

    // A panel that shows one frame and stays as it is: the frame is copied
    // (so the camera gets its buffer back), no live frames are meant for it
    // and closing it leaves the camera streaming. The frame may be null.
    static tcVideoWidget* newSnapshot(tcCameraInterface* apCamera, const tpImageBuffer& apFrame,
                                      QWidget* apParent = nullptr);
    static tcVideoWidget* newSnapshot(tcCameraInterface* apCamera, const tpImageBuffer& apFrame,
                                      const QList<tcViewerInterface*>& alPlugins,
                                      QWidget* apParent = nullptr);
    bool isSnapshot() const { return mbSnapshot; }

    tcGLVideoWidget* surface() const { return mpGLVideoWidget; }
    unsigned renderedCount() const { return mnRendered; }
    double zoom() const { return mdZoom; }
    QString imageFile() const { return msImageFile; }

    // Without asking: load a picture or raw frame, save the shown one.
    // False after the failure box was shown (the display stays as it was).
    bool loadImageFrom(const QString& arPath);
    bool saveImageTo(const QString& arPath);

signals:
    void StartVideo();
    void StopVideo();
    void Message(QString text);
    void Error(QString text);

public slots:
    void NewFrame(tpImageBuffer pImage);
    void copyImage();
    void saveImage();
    void loadImage();

protected:
    void wheelEvent(QWheelEvent* apEvent) override;
    void mousePressEvent(QMouseEvent* apEvent) override;
    void mouseReleaseEvent(QMouseEvent* apEvent) override;
    void closeEvent(QCloseEvent* apEvent) override;
    bool eventFilter(QObject* apWatched, QEvent* apEvent) override;

private slots:
    void contextMenuRequested(QPoint acPos);
    void scaleDebug();
    void zoomFull();
    void setOne2One(bool abOn);
    void toolTriggered(QAction* apAction);
    void zoomToggled(bool abOn);
    void interpolationChosen(int anIndex);
    void fullScreenToggled(bool abOn);
    void on_btnShowOptions_clicked();

private:
    tcVideoWidget(tcCameraInterface* apCamera, const QList<tcViewerInterface*>& alPlugins, bool abSnapshot,
                  QWidget* apParent);
    void buildActions();
    void buildToolBar();
    void hookUpPlugins(const QList<tcViewerInterface*>& alPlugins);
    void takePluginPieces();
    void releasePluginPieces();
    void mouseMovedOnSurface(const QPoint& arPanelPos);
    void wheelZoom(int anDelta, const QPoint& arSurfacePos);
    void updateInfo();
    void updateZoomEnabled();
    void failureBox(const QString& arText, const QString& arPath, const QString& arReason);
    tcImgRectInterface* pluginOf(QAction* apAction) const;
    QMenu* pluginMenu(tcViewerInterface* apPlugin);

    std::unique_ptr<Ui::VideoWidget> mpUi;
    QPointer<tcCameraInterface> mpCamera;
    tcGLVideoWidget* mpGLVideoWidget = nullptr;
    QRubberBand* mpRubberBand = nullptr;
    QToolBar* mpToolBar = nullptr;
    QActionGroup* mpToolGroup = nullptr;
    QComboBox* mpInterpolationCombo = nullptr;
    QAction* mpCopyAction = nullptr;
    QAction* mpLoadAction = nullptr;
    QAction* mpKeepAspectAction = nullptr;
    QAction* mpOne2OneAction = nullptr;
    QAction* mpNoneAction = nullptr;
    QAction* mpZoomAction = nullptr;
    QAction* mpFullScreenAction = nullptr;
    QMap<QAction*, tcImgRectInterface*> mhSelectors;
    QList<QPointer<tcViewerInterface>> msPlugins;
    QList<QAction*> msPluginActions;
    QList<QPointer<QWidget>> msPluginTabs;
    QStringList msPluginTabTitles;
    // The selector map's actions, watched: a plugin may go before the panel.
    QList<QPointer<QAction>> mlToolActions;

    bool mbSnapshot = false;
    int mnMouseMode = 0;
    bool mbSelectionArmed = false;
    QPoint mcPressPoint;
    unsigned mnRendered = 0;
    QString msImageFile;

    const double mdMinZoom = 0.1;
    const double mdUnitZoom = 1.0;
    const double mdMaxZoom = 4.0;
    const double mdZoomStep = 0.1;
    double mdZoom = 1.0;
};
