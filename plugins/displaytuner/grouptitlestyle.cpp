#include "grouptitlestyle.h"

#include <QApplication>
#include <QStyleFactory>
#include <QStyleOptionGroupBox>

// A fresh instance of the application's style: the proxy owns its base.
tcGroupTitleStyle::tcGroupTitleStyle(QObject* apParent)
    : QProxyStyle(QStyleFactory::create(QApplication::style()->objectName()))
{
    setParent(apParent);
}

QRect tcGroupTitleStyle::subControlRect(ComplexControl aeControl, const QStyleOptionComplex* apOption,
                                        SubControl aeSubControl, const QWidget* apWidget) const
{
    QRect lcRect = QProxyStyle::subControlRect(aeControl, apOption, aeSubControl, apWidget);
    const auto* lpGroup = qstyleoption_cast<const QStyleOptionGroupBox*>(apOption);
    if (aeControl != CC_GroupBox || aeSubControl != SC_GroupBoxLabel || !lpGroup || lcRect.isEmpty())
        return lcRect;
    const QFontMetrics& lrMetrics = lpGroup->fontMetrics;
    const int lnMissing =
        lrMetrics.horizontalAdvance(lpGroup->text) - lrMetrics.boundingRect(lpGroup->text).width();
    if (lnMissing > 0)
        lcRect.setRight(qMin(lcRect.right() + lnMissing, apOption->rect.right()));
    return lcRect;
}
