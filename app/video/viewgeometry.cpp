#include "viewgeometry.h"

#include <QRectF>

#include <algorithm>
#include <cmath>

namespace
{
// Moves the source back inside the image before cutting it to it, so that a
// pan past an edge shows the edge instead of shrinking the view.
QRect keepInside(QRect acSource, const QRect& arImage)
{
    if (acSource.left() < arImage.left())
        acSource.moveLeft(arImage.left());
    if (acSource.top() < arImage.top())
        acSource.moveTop(arImage.top());
    if (acSource.right() > arImage.right())
        acSource.moveRight(arImage.right());
    if (acSource.bottom() > arImage.bottom())
        acSource.moveBottom(arImage.bottom());
    acSource = acSource.intersected(arImage);
    acSource.setWidth(std::max(1, acSource.width()));
    acSource.setHeight(std::max(1, acSource.height()));
    return acSource;
}
} // namespace

tcViewGeometry::tcPlan tcViewGeometry::plan() const
{
    tcPlan lcPlan;
    if (mcImage.isEmpty() || mcWidget.isEmpty())
        return lcPlan;
    const QRect lcZoom = effectiveZoom();
    const double ldScaleX = double(mcWidget.width()) / lcZoom.width();
    const double ldScaleY = double(mcWidget.height()) / lcZoom.height();
    QRect lcDestination(QPoint(0, 0), mcWidget);
    QRect lcSource = lcZoom;

    if (mbOneToOne)
    {
        lcSource = keepInside(QRect(-mcPan, mcWidget), imageRect());
        lcDestination = QRect(QPoint(0, 0), lcSource.size());
    }
    else
    {
        if (mbKeepAspect)
        {
            if (lcZoom != imageRect())
            {
                // A zoomed region fills the widget; what lies past its right
                // or bottom edge is cut off.
                const double ldScale = std::max(ldScaleX, ldScaleY);
                lcDestination = QRect(0, 0, int(lcZoom.width() * ldScale), int(lcZoom.height() * ldScale));
            }
            else if (ldScaleX > ldScaleY)
            {
                const int lnWidth = int(lcZoom.width() * ldScaleY);
                lcDestination = QRect(mcPan.x() + (mcWidget.width() - lnWidth) / 2, mcPan.y(), lnWidth,
                                      mcWidget.height());
            }
            else
            {
                const int lnHeight = int(lcZoom.height() * ldScaleX);
                lcDestination = QRect(mcPan.x(), mcPan.y() + (mcWidget.height() - lnHeight) / 2,
                                      mcWidget.width(), lnHeight);
            }
        }
        // The pan is in widget pixels; the source moves by as many image
        // pixels as the drag covers on screen, so the image follows the hand.
        if (!lcDestination.isEmpty())
            lcSource.translate(
                -int(std::lround(mcPan.x() * double(lcZoom.width()) / lcDestination.width())),
                -int(std::lround(mcPan.y() * double(lcZoom.height()) / lcDestination.height())));
        if (lcZoom == imageRect() && mbKeepAspect)
            lcSource = lcZoom; // unzoomed, the pan moves the destination instead
        lcSource = keepInside(lcSource, imageRect());
    }
    if (lcDestination.isEmpty())
        return lcPlan;
    lcPlan.mcSource = lcSource;
    lcPlan.mcDestination = lcDestination;

    const QRect lcVisible = lcDestination.intersected(QRect(QPoint(0, 0), mcWidget));
    if (lcVisible.isEmpty())
        return lcPlan;
    if (lcVisible == lcDestination)
    {
        lcPlan.mcVisibleSource = lcSource;
        lcPlan.mcVisibleTarget = lcDestination;
        return lcPlan;
    }
    // Only the source pixels that land inside the widget, widened to whole
    // pixels, and the exact place they are drawn.
    const double ldPerPixelX = double(lcSource.width()) / lcDestination.width();
    const double ldPerPixelY = double(lcSource.height()) / lcDestination.height();
    const int lnLeft = int(std::floor((lcVisible.left() - lcDestination.left()) * ldPerPixelX));
    const int lnTop = int(std::floor((lcVisible.top() - lcDestination.top()) * ldPerPixelY));
    const int lnRight = std::min(
        lcSource.width(), int(std::ceil((lcVisible.right() + 1 - lcDestination.left()) * ldPerPixelX)));
    const int lnBottom = std::min(
        lcSource.height(), int(std::ceil((lcVisible.bottom() + 1 - lcDestination.top()) * ldPerPixelY)));
    lcPlan.mcVisibleSource = QRect(lcSource.left() + lnLeft, lcSource.top() + lnTop,
                                   std::max(1, lnRight - lnLeft), std::max(1, lnBottom - lnTop));
    const QRectF lcTarget(
        lcDestination.left() + lnLeft / ldPerPixelX, lcDestination.top() + lnTop / ldPerPixelY,
        lcPlan.mcVisibleSource.width() / ldPerPixelX, lcPlan.mcVisibleSource.height() / ldPerPixelY);
    lcPlan.mcVisibleTarget = lcTarget.toAlignedRect();
    return lcPlan;
}

QPoint tcViewGeometry::widgetToImage(const tcPlan& arPlan, const QPoint& arPos, const QSize& arImage)
{
    if (arPlan.isEmpty() || arImage.isEmpty())
        return QPoint(0, 0);
    const double ldX = arPlan.mcSource.left() + (arPos.x() - arPlan.mcDestination.left()) *
                                                    double(arPlan.mcSource.width()) /
                                                    arPlan.mcDestination.width();
    const double ldY = arPlan.mcSource.top() + (arPos.y() - arPlan.mcDestination.top()) *
                                                   double(arPlan.mcSource.height()) /
                                                   arPlan.mcDestination.height();
    return QPoint(std::clamp(int(std::floor(ldX)), 0, arImage.width() - 1),
                  std::clamp(int(std::floor(ldY)), 0, arImage.height() - 1));
}

QRect tcViewGeometry::widgetToImage(const tcPlan& arPlan, const QRect& arRect, const QSize& arImage)
{
    if (arPlan.isEmpty() || arImage.isEmpty() || arRect.isEmpty())
        return QRect();
    // The band's edges (not its pixels' centres) are mapped, so that a band
    // over the whole drawing is the whole image.
    const double ldPerPixelX = double(arPlan.mcSource.width()) / arPlan.mcDestination.width();
    const double ldPerPixelY = double(arPlan.mcSource.height()) / arPlan.mcDestination.height();
    const auto lcEdgeX = [&](int anX)
    {
        const double ldX = arPlan.mcSource.left() + (anX - arPlan.mcDestination.left()) * ldPerPixelX;
        return std::clamp(int(std::lround(ldX)), 0, arImage.width());
    };
    const auto lcEdgeY = [&](int anY)
    {
        const double ldY = arPlan.mcSource.top() + (anY - arPlan.mcDestination.top()) * ldPerPixelY;
        return std::clamp(int(std::lround(ldY)), 0, arImage.height());
    };
    const int lnLeft = lcEdgeX(arRect.left());
    const int lnTop = lcEdgeY(arRect.top());
    return QRect(lnLeft, lnTop, std::max(1, lcEdgeX(arRect.right() + 1) - lnLeft),
                 std::max(1, lcEdgeY(arRect.bottom() + 1) - lnTop));
}
