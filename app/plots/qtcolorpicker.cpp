#include "qtcolorpicker.h"

#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace
{
const int kColumns = 6;
}

QtColorPicker::QtColorPicker(QWidget* apParent) : QPushButton(apParent)
{
    connect(this, &QPushButton::clicked, this, &QtColorPicker::showPopup);
    updateLook();
}

QtColorPicker::~QtColorPicker() = default;

void QtColorPicker::setStandardColors()
{
    const QPair<Qt::GlobalColor, const char*> lcStandard[] = {{Qt::black, "Black"},
                                                              {Qt::white, "White"},
                                                              {Qt::red, "Red"},
                                                              {Qt::darkRed, "Dark red"},
                                                              {Qt::green, "Green"},
                                                              {Qt::darkGreen, "Dark green"},
                                                              {Qt::blue, "Blue"},
                                                              {Qt::darkBlue, "Dark blue"},
                                                              {Qt::cyan, "Cyan"},
                                                              {Qt::darkCyan, "Dark cyan"},
                                                              {Qt::magenta, "Magenta"},
                                                              {Qt::darkMagenta, "Dark magenta"},
                                                              {Qt::yellow, "Yellow"},
                                                              {Qt::darkYellow, "Dark yellow"},
                                                              {Qt::gray, "Gray"},
                                                              {Qt::darkGray, "Dark gray"},
                                                              {Qt::lightGray, "Light gray"}};
    for (const auto& lrColor : lcStandard)
        insertColor(QColor(lrColor.first), tr(lrColor.second));
}

void QtColorPicker::insertColor(const QColor& arColor, const QString& arName)
{
    for (const auto& lrColor : qAsConst(msColors))
        if (lrColor.first == arColor)
            return;
    msColors.append(qMakePair(arColor, arName));
    updateLook(); // the current colour may have got its name
}

QColor QtColorPicker::color(int anIndex) const
{
    return anIndex >= 0 && anIndex < msColors.size() ? msColors[anIndex].first : QColor();
}

void QtColorPicker::setColorDialogEnabled(bool abEnabled)
{
    mbDialogEnabled = abEnabled;
}

void QtColorPicker::setCurrentColor(const QColor& arColor)
{
    if (!arColor.isValid() || arColor == mcCurrent)
        return;
    mcCurrent = arColor;
    updateLook();
    emit colorChanged(mcCurrent);
}

QIcon QtColorPicker::swatch(const QColor& arColor, int anSize)
{
    QPixmap lcPixmap(anSize, anSize);
    lcPixmap.fill(arColor);
    QPainter lcPainter(&lcPixmap);
    lcPainter.setPen(Qt::gray);
    lcPainter.drawRect(0, 0, anSize - 1, anSize - 1);
    return QIcon(lcPixmap);
}

void QtColorPicker::updateLook()
{
    QString lsName = mcCurrent.name();
    for (const auto& lrColor : qAsConst(msColors))
        if (lrColor.first == mcCurrent)
            lsName = lrColor.second;
    setIcon(swatch(mcCurrent, 16));
    setText(lsName);
    setToolTip(lsName);
}

void QtColorPicker::showPopup()
{
    if (mpPopup)
        return;
    // Deleted when it closes, whichever way.
    mpPopup = new QFrame(this, Qt::Popup);
    mpPopup->setAttribute(Qt::WA_DeleteOnClose);
    mpPopup->setFrameShape(QFrame::StyledPanel);
    connect(mpPopup, &QObject::destroyed, this, [this] { mpPopup = nullptr; });
    auto* lpGrid = new QGridLayout(mpPopup);
    lpGrid->setSpacing(2);
    lpGrid->setContentsMargins(3, 3, 3, 3);
    for (int lnIndex = 0; lnIndex < msColors.size(); ++lnIndex)
    {
        auto* lpButton = new QToolButton(mpPopup);
        lpButton->setObjectName(QStringLiteral("colour%1").arg(lnIndex));
        lpButton->setIcon(swatch(msColors[lnIndex].first, 14));
        lpButton->setToolTip(msColors[lnIndex].second);
        lpButton->setAutoRaise(true);
        lpButton->setCheckable(true);
        lpButton->setChecked(msColors[lnIndex].first == mcCurrent);
        const QColor lcColor = msColors[lnIndex].first;
        connect(lpButton, &QToolButton::clicked, this,
                [this, lcColor]
                {
                    mpPopup->close();
                    setCurrentColor(lcColor);
                });
        lpGrid->addWidget(lpButton, lnIndex / kColumns, lnIndex % kColumns);
        if (lcColor == mcCurrent)
            lpButton->setFocus();
    }
    if (mbDialogEnabled)
    {
        auto* lpMore = new QPushButton(tr("More..."), mpPopup);
        lpMore->setObjectName(QStringLiteral("more"));
        connect(lpMore, &QPushButton::clicked, this, &QtColorPicker::pickFromDialog);
        lpGrid->addWidget(lpMore, (msColors.size() + kColumns - 1) / kColumns, 0, 1, kColumns);
    }
    mpPopup->move(mapToGlobal(rect().bottomLeft()));
    mpPopup->show();
}

void QtColorPicker::pickFromDialog()
{
    if (mpPopup)
        mpPopup->close();
    const QColor lcColor = QColorDialog::getColor(mcCurrent, this);
    if (!lcColor.isValid())
        return;
    insertColor(lcColor, tr("Custom"));
    setCurrentColor(lcColor);
}
