#include "imgrectinterface.h"

namespace
{
const int snMetaTypeId = qRegisterMetaType<tcImgRectInterface*>("tcImgRectInterface*");
}

tcImgRectInterface::tcImgRectInterface(const QString& arDebugName, QObject* apParent)
    : tcViewerInterface(QStringLiteral("tcImgRectInterface"), arDebugName, apParent)
{
    Q_UNUSED(snMetaTypeId);
}

tcImgRectInterface::~tcImgRectInterface() = default;

QAction* tcImgRectInterface::selectionAction()
{
    return nullptr;
}

QRect tcImgRectInterface::selectRect(QWidget*, const GenApi::CNodeMapRef*, const QRect& arRect)
{
    return arRect;
}
