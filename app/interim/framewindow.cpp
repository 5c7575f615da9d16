#include "framewindow.h"

#include "camerainterface.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QToolBar>
#include <QVBoxLayout>

// The drawing surface: the picture centred on black, scaled to fit.
class tcFrameSurface : public QWidget
{
public:
    explicit tcFrameSurface(QWidget* apParent) : QWidget(apParent)
    {
        setObjectName(QStringLiteral("mpFrameSurface"));
        setMinimumSize(160, 120);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        QPalette lcPalette = palette();
        lcPalette.setColor(QPalette::Window, Qt::black);
        setPalette(lcPalette);
        setAutoFillBackground(true);
    }

    // The frame stays referenced until the next one comes, no longer.
    void setFrame(const tpImageBuffer& arFrame, const QSharedPointer<QImage>& arImage)
    {
        mpFrame = arFrame;
        mpImage = arImage;
        update();
    }
    QImage image() const { return mpImage ? *mpImage : QImage(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!mpImage || mpImage->isNull())
            return;
        QPainter lcPainter(this);
        const QSize lcSize = mpImage->size().scaled(size(), Qt::KeepAspectRatio);
        const QRect lcTarget(QPoint((width() - lcSize.width()) / 2, (height() - lcSize.height()) / 2),
                             lcSize);
        lcPainter.setRenderHint(QPainter::SmoothPixmapTransform, lcSize.width() < mpImage->width() / 2);
        lcPainter.drawImage(lcTarget, *mpImage);
    }

private:
    tpImageBuffer mpFrame;
    QSharedPointer<QImage> mpImage;
};

tcFrameWindow::tcFrameWindow(tcCameraInterface* apCamera, QWidget* apParent)
    : QWidget(apParent), tcDebugSource(QStringLiteral("tcFrameWindow")), mpCamera(apCamera),
      mpSurface(new tcFrameSurface(this)), mpInfo(new QLabel(this))
{
    debugMinLevel(1);
    setWindowTitle(apCamera ? QStringLiteral("Video") : QStringLiteral("Snapshot"));
    auto* lpLayout = new QVBoxLayout(this);
    lpLayout->setContentsMargins(2, 2, 2, 2);
    if (apCamera)
    {
        auto* lpToolBar = new QToolBar(this);
        mpPlay = lpToolBar->addAction(QStringLiteral("Pause"));
        mpPlay->setObjectName(QStringLiteral("actionPlayPause"));
        connect(mpPlay, &QAction::triggered, this,
                [this] { setPlaying(!(mpCamera && mpCamera->IsRunning())); });
        lpLayout->addWidget(lpToolBar);
    }
    lpLayout->addWidget(mpSurface, 1);
    mpInfo->setObjectName(QStringLiteral("labelInfo"));
    lpLayout->addWidget(mpInfo);
    resize(640, 480);
}

tcFrameWindow::~tcFrameWindow() = default;

void tcFrameWindow::showStill(const tpImageBuffer& arFrame)
{
    if (!arFrame || arFrame->isNull())
    {
        mpInfo->setText(QStringLiteral("No frame received yet"));
        return;
    }
    const QSharedPointer<QImage> lpShown = arFrame->toQImage();
    auto lpCopy = QSharedPointer<QImage>::create(lpShown ? lpShown->copy() : QImage());
    mpSurface->setFrame(tpImageBuffer(), lpCopy);
    mpInfo->setText(QStringLiteral("Snapshot of frame %1").arg(arFrame->getFrameId() + 1));
}

QImage tcFrameWindow::image() const
{
    return mpSurface->image();
}

void tcFrameWindow::NewFrame(tpImageBuffer apFrame)
{
    if (!apFrame || apFrame->isNull())
    {
        mpSurface->setFrame(tpImageBuffer(), QSharedPointer<QImage>());
        return;
    }
    mpSurface->setFrame(apFrame, apFrame->toQImage());
    ++mnRendered;
    mpInfo->setText(QStringLiteral("Frame %1 [%2 rendered]").arg(apFrame->getFrameId() + 1).arg(mnRendered));
}

void tcFrameWindow::showEvent(QShowEvent* apEvent)
{
    QWidget::showEvent(apEvent);
    if (mpCamera && !mbStarted)
    {
        mbStarted = true;
        if (!mpCamera->IsRunning())
            setPlaying(true);
    }
}

void tcFrameWindow::closeEvent(QCloseEvent* apEvent)
{
    if (mpCamera)
        emit StopVideo();
    mpSurface->setFrame(tpImageBuffer(), QSharedPointer<QImage>());
    QWidget::closeEvent(apEvent);
}

void tcFrameWindow::setPlaying(bool abPlay)
{
    if (abPlay)
        emit StartVideo();
    else
        emit StopVideo();
    if (mpPlay)
        mpPlay->setText(abPlay ? QStringLiteral("Pause") : QStringLiteral("Play"));
}
