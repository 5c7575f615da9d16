#include "imagesinkinterface.h"

tcImageSinkInterface::tcImageSinkInterface(const QString& arDebugName, QObject* apParent)
    : tcViewerInterface(QStringLiteral("tcImageSinkInterface"), arDebugName, apParent)
{
}

tcImageSinkInterface::~tcImageSinkInterface() = default;

void tcImageSinkInterface::NewFrame(tpImageBuffer)
{
}
