#pragma once

#include "framecore_export.h"

#include <QLabel>
#include <QPointer>

// A short note shown like a tool tip at the mouse; a click inside it (press
// and release both inside) closes and deletes it.
class FRAMECORE_EXPORT tcPopupInfo : public QLabel
{
    Q_OBJECT

public:
    tcPopupInfo(const QString& arText, QWidget* apParent = nullptr);

    void popup(QWidget* apOwner);
    QWidget* owner() const { return mpOwner; }

protected:
    void mousePressEvent(QMouseEvent* apEvent) override;
    void mouseReleaseEvent(QMouseEvent* apEvent) override;

private:
    QPointer<QWidget> mpOwner;
    bool mbPressed = false;
};
