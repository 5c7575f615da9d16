#include "imgdecoratorinterface.h"

#include <QImage>
#include <QRect>
#include <QVariant>
#include <QWidget>

tcImgDecoratorInterface::tcImgDecoratorInterface(const QString& arDebugName, QObject* apParent)
    : tcViewerInterface(QStringLiteral("tcImgDecoratorInterface"), arDebugName, apParent)
{
}

tcImgDecoratorInterface::~tcImgDecoratorInterface() = default;

QAction* tcImgDecoratorInterface::decorationAction()
{
    return nullptr;
}

void tcImgDecoratorInterface::paintDecoration(QWidget*, QPainter*, const QImage*)
{
}

QTransform tcImgDecoratorInterface::imageToDisplay(const QWidget* apView, QPainter*, const QImage* apImage) const
{
    if (!apView)
        return {};
    QRect lcSource = apView->property("imageSourceRect").toRect();
    QRect lcTarget = apView->property("imageTargetRect").toRect();
    if (lcSource.isEmpty() || lcTarget.isEmpty())
    {
        if (!apImage || apImage->isNull())
            return {};
        lcSource = apImage->rect();
        lcTarget = apView->rect();
        if (lcTarget.isEmpty())
            return {};
    }
    const qreal lnScaleX = qreal(lcTarget.width()) / lcSource.width();
    const qreal lnScaleY = qreal(lcTarget.height()) / lcSource.height();
    return QTransform::fromTranslate(-lcSource.x(), -lcSource.y()) * QTransform::fromScale(lnScaleX, lnScaleY) *
           QTransform::fromTranslate(lcTarget.x(), lcTarget.y());
}
