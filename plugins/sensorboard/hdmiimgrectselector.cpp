#include "hdmiimgrectselector.h"

#include "camerainterface.h"
#include "featuresteps.h"
#include "genicamiface.h"
#include "sensorboard.h"

#include <QAction>
#include <QDebug>
#include <QMenu>

using namespace tnFeatureSteps;

tcHdmiImgRectSelector::tcHdmiImgRectSelector(tcSensorboard* apPlugin)
    : tcImgRectInterface(QStringLiteral("tcHdmiImgRectSelector"), apPlugin), mpPlugin(apPlugin),
      mpAction(new QAction(QStringLiteral("HDMI"), this)), mpMenu(new QMenu(QStringLiteral("HDMI")))
{
    setObjectName(name());
    mpAction->setCheckable(true);
    mpAction->setChecked(false);
}

tcHdmiImgRectSelector::~tcHdmiImgRectSelector()
{
    delete mpMenu.data();
}

QString tcHdmiImgRectSelector::name() const
{
    return QStringLiteral("HDMI ROI Selector");
}

QAction* tcHdmiImgRectSelector::selectionAction()
{
    return mpAction;
}

QRect tcHdmiImgRectSelector::selectRect(QWidget*, const GenApi::CNodeMapRef* apNodeMap, const QRect& arRect)
{
    mcHdmiRect = QRect();
    if (!mpAction->isChecked() || !apNodeMap)
        return mcHdmiRect;
    try
    {
        const QRect lcSnapped(snap(arRect.left(), step(*apNodeMap, "OffsetX")),
                              snap(arRect.top(), step(*apNodeMap, "OffsetY")),
                              snap(arRect.width(), step(*apNodeMap, "Width")),
                              snap(arRect.height(), step(*apNodeMap, "Height")));
        execute(*apNodeMap, "HdmiStop");
        write(*apNodeMap, "HdmiWidth", lcSnapped.width());
        write(*apNodeMap, "HdmiOffsetX", lcSnapped.left());
        write(*apNodeMap, "HdmiHeight", lcSnapped.height());
        write(*apNodeMap, "HdmiOffsetY", lcSnapped.top());
        execute(*apNodeMap, "HdmiStart");
        mcHdmiRect = lcSnapped;
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
        emit Error(QString::fromLocal8Bit(arError.GetDescription()));
        mcHdmiRect = arRect;
    }
    return mcHdmiRect;
}

bool tcHdmiImgRectSelector::isCompatible(const GenApi::CNodeMapRef* apNodeMap)
{
    if (!apNodeMap)
        return false;
    try
    {
        return GenApi::IsReadable(apNodeMap->_GetNode("HDMIControl"));
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
    }
    catch (...)
    {
        qWarning() << "Unhandled Execption";
    }
    return false;
}

QMenu* tcHdmiImgRectSelector::contextMenu(tpImageBuffer)
{
    mpMenu->clear();
    QAction* lpFull = mpMenu->addAction(QStringLiteral("Set Full ROI"));
    lpFull->setShortcut(QKeySequence());
    connect(lpFull, &QAction::triggered, this, &tcHdmiImgRectSelector::setFullRoi);
    return mpMenu;
}

// The HDMI output shows the whole current image (provided the tool is on).
void tcHdmiImgRectSelector::setFullRoi()
{
    tcCameraInterface* lpCamera = mpPlugin->camera();
    if (!lpCamera)
        return;
    QRect lcFull;
    try
    {
        const GenApi::CNodeMapRef& lrMap = lpCamera->nodeMap();
        lcFull =
            QRect(0, 0, static_cast<int>(value(lrMap, "Width")), static_cast<int>(value(lrMap, "Height")));
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
        emit Error(QString::fromLocal8Bit(arError.GetDescription()));
        return;
    }
    selectRect(nullptr, &lpCamera->nodeMap(), lcFull);
}
