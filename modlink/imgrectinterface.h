#pragma once

#include "viewerinterface.h"

#include <QMetaType>
#include <QRect>

#define tcImgRectInterface_iid "com.tarnwick.Kestrix.tcImgRectInterface.1"

// The display keeps a tool in its action's data and casts it back by the
// interface id, which works across library boundaries.
class tcImgRectInterface;
Q_DECLARE_INTERFACE(tcImgRectInterface, tcImgRectInterface_iid)

// A rectangle tool of the video display: the display shows its checkable
// action beside "Zoom", and hands it each rectangle the user drags while the
// action is checked, in image pixels.
class MODLINK_EXPORT tcImgRectInterface : public tcViewerInterface
{
    Q_OBJECT
    Q_INTERFACES(tcImgRectInterface)

public:
    ~tcImgRectInterface() override;

    // The tool's checkable action; null when the tool has none.
    virtual QAction* selectionAction();
    // Applies the dragged rectangle to the camera and returns the rectangle
    // actually applied, which the display then shows. By default nothing is
    // applied and the rectangle comes back as dragged.
    virtual QRect selectRect(QWidget* apView, const GenApi::CNodeMapRef* apNodeMap, const QRect& arRect);

protected:
    explicit tcImgRectInterface(const QString& arDebugName, QObject* apParent = nullptr);
};

Q_DECLARE_METATYPE(tcImgRectInterface*)
