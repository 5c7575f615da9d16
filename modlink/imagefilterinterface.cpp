#include "imagefilterinterface.h"

tcImageFilterInterface::tcImageFilterInterface(const QString& arDebugName, QObject* apParent)
    : tcViewerInterface(QStringLiteral("tcImageFilterInterface"), arDebugName, apParent)
{
}

tcImageFilterInterface::~tcImageFilterInterface() = default;

tpImageBuffer tcImageFilterInterface::filterImage(tpImageBuffer apImage)
{
    return apImage;
}
