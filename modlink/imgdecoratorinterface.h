#pragma once

#include "viewerinterface.h"

#include <QTransform>

class QImage;
class QPainter;

// A piece that paints over the shown image (outlines, marks, text) after the
// video display has drawn it, with the painter of the display.
//
// A display tells decorators where the image went through two QRect
// properties of its widget: "imageSourceRect", the part of the image drawn
// (image pixels), and "imageTargetRect", where it was drawn (widget pixels).
// imageToDisplay() turns them into the mapping from image to widget.
class MODLINK_EXPORT tcImgDecoratorInterface : public tcViewerInterface
{
    Q_OBJECT

public:
    ~tcImgDecoratorInterface() override;

    // An action that switches the decoration on and off, for displays that
    // offer it; null when the decorator has none.
    virtual QAction* decorationAction();
    // Called with the painter's state saved; by default paints nothing.
    virtual void paintDecoration(QWidget* apView, QPainter* apPainter, const QImage* apImage);

    // Maps image pixels to the view's pixels. Without the two properties the
    // whole image is taken to fill the whole view.
    QTransform imageToDisplay(const QWidget* apView, QPainter* apPainter, const QImage* apImage) const;

protected:
    explicit tcImgDecoratorInterface(const QString& arDebugName, QObject* apParent = nullptr);
};
