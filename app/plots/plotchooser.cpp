#include "plotchooser.h"

#include "plotchooserwidget.h"
#include "ui_plotchooser.h"

#include <QSignalBlocker>

tcPlotChooser::tcPlotChooser(tcPlotChooserWidget* apKeyWidget, const QColor& arLineColor, QWidget* apParent)
    : QDialog(apParent), mpUi(new Ui::PlotChooser)
{
    build(apKeyWidget);
    mpUi->mpLineColor->setCurrentColor(arLineColor);
    mbBuilding = false;
}

tcPlotChooser::tcPlotChooser(tcPlotChooserWidget* apKeyWidget, const tcPlotProperties& arProperties,
                             QWidget* apParent)
    : QDialog(apParent), mpUi(new Ui::PlotChooser), mnIndex(arProperties.mnIndex), msKey(arProperties.msKey)
{
    build(apKeyWidget);
    mpUi->mpLineColor->setCurrentColor(arProperties.mcLinePen.color());
    mpUi->mpTitleEdit->setText(arProperties.title());
    mpUi->mpWidthSpin->setValue(qMax(1, arProperties.mcLinePen.width()));
    mpUi->mpStyleCombo->setCurrentIndex(arProperties.mnCurveStyle + 1);
    mpUi->mpFitterCombo->setCurrentIndex(arProperties.mnFitterMode + 1);
    mpUi->mpSymbolCombo->setCurrentIndex(arProperties.mnSymbolStyle + 1);
    mpUi->mpSymbolColor->setCurrentColor(arProperties.mcSymbolPen.color());
    mpUi->mpSymbolSize->setValue(arProperties.mnSymbolSize);
    mpUi->mpSymbolFill->setChecked(arProperties.mbSymbolFill);
    mbBuilding = false;
}

tcPlotChooser::~tcPlotChooser() = default;

void tcPlotChooser::build(tcPlotChooserWidget* apKeyWidget)
{
    mpUi->setupUi(this);
    setObjectName(QStringLiteral("PlotChooser"));
    setAttribute(Qt::WA_DeleteOnClose);
    mpUi->mpStyleCombo->setCurrentIndex(1); // lines
    for (QtColorPicker* lpPicker : {mpUi->mpLineColor, mpUi->mpSymbolColor})
    {
        lpPicker->setStandardColors();
        lpPicker->setColorDialogEnabled(true);
        lpPicker->setCurrentColor(Qt::green);
    }
    mpKeyWidget = apKeyWidget;
    if (apKeyWidget)
    {
        mpUi->mpSourceLayout->addWidget(apKeyWidget);
        connect(apKeyWidget, &tcPlotChooserWidget::Changed, this, &tcPlotChooser::onKeyChanged);
    }

    connect(mpUi->mpTitleEdit, &QLineEdit::textChanged, this, &tcPlotChooser::onWidgetChanged);
    for (QComboBox* lpCombo : {mpUi->mpStyleCombo, mpUi->mpFitterCombo, mpUi->mpSymbolCombo})
        connect(lpCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                &tcPlotChooser::onWidgetChanged);
    for (QSpinBox* lpSpin : {mpUi->mpWidthSpin, mpUi->mpSymbolSize})
        connect(lpSpin, QOverload<int>::of(&QSpinBox::valueChanged), this, &tcPlotChooser::onWidgetChanged);
    for (QtColorPicker* lpPicker : {mpUi->mpLineColor, mpUi->mpSymbolColor})
        connect(lpPicker, &QtColorPicker::colorChanged, this, &tcPlotChooser::onWidgetChanged);
    connect(mpUi->mpSymbolFill, &QCheckBox::toggled, this, &tcPlotChooser::onWidgetChanged);
}

void tcPlotChooser::onKeyChanged()
{
    if (!mpKeyWidget)
        return;
    mhAttributes.clear();
    const QString lsKey = mpKeyWidget->GetKey(mhAttributes);
    // The title the user gave a curve stays until it shows something else.
    const bool lbNewKey = lsKey != msKey;
    msKey = lsKey;
    const QString lsTitle = mhAttributes.value(QStringLiteral("title")).toString();
    if (!lsTitle.isEmpty() && lbNewKey)
    {
        const QSignalBlocker lcBlock(mpUi->mpTitleEdit);
        mpUi->mpTitleEdit->setText(lsTitle);
    }
    else if (lsTitle.isEmpty())
    {
        mpUi->mpTitleEdit->setPlaceholderText(mpKeyWidget->GetSuggestedTitle());
    }
    onWidgetChanged();
}

void tcPlotChooser::onWidgetChanged()
{
    if (mbBuilding)
        return;
    tcPlotProperties lcProperties;
    lcProperties.mnIndex = mnIndex;
    lcProperties.mcLinePen = QPen(mpUi->mpLineColor->currentColor(), mpUi->mpWidthSpin->value());
    lcProperties.mnCurveStyle = mpUi->mpStyleCombo->currentIndex() - 1;
    lcProperties.mnFitterMode = mpUi->mpFitterCombo->currentIndex() - 1;
    lcProperties.mnSymbolStyle = mpUi->mpSymbolCombo->currentIndex() - 1;
    lcProperties.mcSymbolPen = QPen(mpUi->mpSymbolColor->currentColor(), mpUi->mpWidthSpin->value());
    lcProperties.mnSymbolSize = mpUi->mpSymbolSize->value();
    lcProperties.mbSymbolFill = mpUi->mpSymbolFill->isChecked();
    lcProperties.mhAttributes = mhAttributes;
    const QString lsTitle = mpUi->mpTitleEdit->text();
    lcProperties.mhAttributes.insert(QStringLiteral("title"),
                                     lsTitle.isEmpty() ? mpUi->mpTitleEdit->placeholderText() : lsTitle);
    lcProperties.msKey = msKey;
    if (!msKey.isEmpty())
        emit PlotChanged(lcProperties);
}
