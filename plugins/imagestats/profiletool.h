#pragma once

#include "imgrectinterface.h"

#include <QPointer>

class tcImageStatsSource;

// The video display's rectangle tool for the line profiles: the centre row
// and column of the dragged rectangle become the "selected" lines. Nothing is
// applied to the camera.
class tcProfileTool : public tcImgRectInterface
{
    Q_OBJECT

public:
    tcProfileTool(tcImageStatsSource* apSource, QObject* apParent = nullptr);

    QAction* selectionAction() override { return mpAction; }
    QRect selectRect(QWidget* apView, const GenApi::CNodeMapRef* apNodeMap, const QRect& arRect) override;

private:
    QPointer<tcImageStatsSource> mpSource;
    QAction* mpAction;
};
