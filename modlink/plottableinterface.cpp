#include "plottableinterface.h"

#include "plotchooserwidget.h"

tcPlottableInterface::tcPlottableInterface(const QString& arDebugName, QObject* apParent)
    : tcViewerInterface(QStringLiteral("tcPlottableInterface"), arDebugName, apParent)
{
}

tcPlottableInterface::~tcPlottableInterface() = default;

tcPlotChooserWidget* tcPlottableInterface::createChooserWidget(const QString&)
{
    return nullptr;
}

bool tcPlottableInterface::getData(const QString&, tcPlotArray&, tcPlotArray&)
{
    return false;
}

std::unique_ptr<tcPlotAxisDescription> tcPlottableInterface::xAxisDescription()
{
    return nullptr;
}
