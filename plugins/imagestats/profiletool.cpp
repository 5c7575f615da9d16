#include "profiletool.h"

#include "imagestatssource.h"

#include <QAction>

tcProfileTool::tcProfileTool(tcImageStatsSource* apSource, QObject* apParent)
    : tcImgRectInterface(QStringLiteral("ProfileTool"), apParent), mpSource(apSource),
      mpAction(new QAction(tr("Profile Lines"), this))
{
    setObjectName(QStringLiteral("Profile Lines"));
    mpAction->setCheckable(true);
    mpAction->setToolTip(tr("Drag a rectangle: its centre row and column are the selected line profiles"));
}

QRect tcProfileTool::selectRect(QWidget*, const GenApi::CNodeMapRef*, const QRect& arRect)
{
    if (mpSource)
        mpSource->setSelection(arRect);
    return arRect;
}
