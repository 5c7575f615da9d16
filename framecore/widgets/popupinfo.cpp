#include "popupinfo.h"

#include <QCursor>
#include <QMouseEvent>

tcPopupInfo::tcPopupInfo(const QString& arText, QWidget* apParent) : QLabel(arText, apParent)
{
    setWindowFlags(Qt::ToolTip);
    setStyleSheet(QStringLiteral("QLabel { font: normal; background-color: cornsilk;}"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    resize(150, 100);
}

void tcPopupInfo::popup(QWidget* apOwner)
{
    mpOwner = apOwner;
    setMaximumWidth(apOwner ? apOwner->width() / 2 : 250);
    adjustSize();
    QPoint lcPos = mapFromGlobal(QCursor::pos());
    lcPos.setY(qMax(0, lcPos.y() - height() / 2));
    move(lcPos);
    show();
}

void tcPopupInfo::mousePressEvent(QMouseEvent* apEvent)
{
    mbPressed = rect().contains(apEvent->pos());
    QLabel::mousePressEvent(apEvent);
}

void tcPopupInfo::mouseReleaseEvent(QMouseEvent* apEvent)
{
    const bool lbClose = mbPressed && rect().contains(apEvent->pos());
    mbPressed = false;
    QLabel::mouseReleaseEvent(apEvent);
    if (lbClose)
        close();
}
