#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the display draws which part of the image, and the way back from a
// widget position to an image pixel. Pure arithmetic, kept apart from the
// widget so that every case can be checked without painting.
//
// Images are addressed by their own pixels, (0,0) at the top left, whatever
// the frame's offset on the sensor.
struct tcViewGeometry
{
    QSize mcWidget;
    QSize mcImage;
    QRect mcZoom; // null: the whole image
    QPoint mcPan; // widget pixels
    bool mbKeepAspect = true;
    bool mbOneToOne = false;

    struct tcPlan
    {
        QRect mcSource;      // image pixels drawn
        QRect mcDestination; // where they go, widget pixels (may reach past the widget)
        // The part of the destination inside the widget and the source pixels
        // it needs: all a renderer has to produce.
        QRect mcVisibleSource;
        QRect mcVisibleTarget;
        bool isEmpty() const { return mcSource.isEmpty() || mcDestination.isEmpty(); }
    };

    QRect imageRect() const { return QRect(QPoint(0, 0), mcImage); }
    QRect effectiveZoom() const { return mcZoom.isNull() ? imageRect() : mcZoom; }

    tcPlan plan() const;

    // The image pixel under a widget position for a drawn plan, limited to
    // the image.
    static QPoint widgetToImage(const tcPlan& arPlan, const QPoint& arPos, const QSize& arImage);
    // A rectangle of widget pixels as image pixels (its corners mapped).
    static QRect widgetToImage(const tcPlan& arPlan, const QRect& arRect, const QSize& arImage);
};
