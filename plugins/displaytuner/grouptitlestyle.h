#pragma once

#include <QProxyStyle>

// The application's style with room for the whole title of a group box.
//
// Some styles (Fusion among them) size the title from the ink of its
// characters but draw it by their advances, so a title such as
// "ROI [ 2048 x 1536 Sensor ]" loses its last characters. This style widens
// the title to the advance of its text and leaves everything else to the
// application's style.
class tcGroupTitleStyle : public QProxyStyle
{
    Q_OBJECT

public:
    explicit tcGroupTitleStyle(QObject* apParent = nullptr);

    QRect subControlRect(ComplexControl aeControl, const QStyleOptionComplex* apOption,
                         SubControl aeSubControl, const QWidget* apWidget = nullptr) const override;
};
