#include "roiimgrectselector.h"

#include "featuresteps.h"
#include "sensorboard.h"

#include <QAction>

using namespace tnFeatureSteps;

tcRoiImgRectSelector::tcRoiImgRectSelector(tcSensorboard* apPlugin)
    : tcImgRectInterface(QStringLiteral("tcRoiImgRectSelector"), apPlugin), mpPlugin(apPlugin),
      mpAction(new QAction(QStringLiteral("ROI"), this))
{
    setObjectName(name());
    mpAction->setCheckable(true);
    mpAction->setChecked(false);
}

QString tcRoiImgRectSelector::name() const
{
    return QStringLiteral("ROI Selector");
}

QAction* tcRoiImgRectSelector::selectionAction()
{
    return mpAction;
}

QRect tcRoiImgRectSelector::selectRect(QWidget*, const GenApi::CNodeMapRef* apNodeMap, const QRect& arRect)
{
    if (!mpAction->isChecked() || !apNodeMap)
        return QRect();
    try
    {
        const int64_t lnStepX = step(*apNodeMap, "Width");
        const int64_t lnStepY = step(*apNodeMap, "Height");
        const QRect lcSnapped(snap(arRect.left(), lnStepX), snap(arRect.top(), lnStepY),
                              snap(arRect.width(), lnStepX), snap(arRect.height(), lnStepY));
        execute(*apNodeMap, "AcquisitionStop");
        write(*apNodeMap, "Width", lcSnapped.width());
        write(*apNodeMap, "OffsetX", lcSnapped.left());
        write(*apNodeMap, "Height", lcSnapped.height());
        write(*apNodeMap, "OffsetY", lcSnapped.top());
        return lcSnapped;
    }
    catch (const GenICam::GenericException& arError)
    {
        emit Error(QString::fromLocal8Bit(arError.GetDescription()));
    }
    return arRect;
}
