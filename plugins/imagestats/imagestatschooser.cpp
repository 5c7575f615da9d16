#include "imagestatschooser.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>

tcImageStatsChooser::tcImageStatsChooser(const tcImageStatsKey& arPreset, int anChannels,
                                         const QSize& arFrameSize, const QPoint& arSelection,
                                         QWidget* apParent)
    : tcPlotChooserWidget(apParent), mnChannels(qMax(1, anChannels)), mcFrameSize(arFrameSize),
      mcSelection(arSelection)
{
    const std::pair<tcImageStatsKey::teKind, const char*> lcKinds[] = {
        {tcImageStatsKey::Histogram, "Histogram"},
        {tcImageStatsKey::HorizontalProfile, "Horizontal Profile"},
        {tcImageStatsKey::VerticalProfile, "Vertical Profile"},
        {tcImageStatsKey::FrameIdGap, "Frame Id Gap"},
        {tcImageStatsKey::FrameInterval, "Frame Interval"},
        {tcImageStatsKey::LostFrames, "Lost Frames"},
        {tcImageStatsKey::IncompleteFrames, "Incomplete Frames"}};
    for (const auto& lrKind : lcKinds)
        mpSourceCombo->addItem(tr(lrKind.second), static_cast<int>(lrKind.first));

    const tcImageStatsKey lcPreset =
        arPreset.isValid() ? arPreset : tcImageStatsKey(tcImageStatsKey::Histogram);
    mpSourceCombo->setCurrentIndex(qMax(0, mpSourceCombo->findData(static_cast<int>(lcPreset.kind()))));
    onKindChanged();
    if (lcPreset.kind() == tcImageStatsKey::Histogram)
    {
        mpSpinBox1->setValue(lcPreset.channel());
        mpSpinBox2->setValue(lcPreset.bins());
    }
    else if (lcPreset.needsPixels())
    {
        mpSpinBox1->setValue(lcPreset.line());
        mpSpinBox2->setValue(lcPreset.channel());
    }

    connect(mpSourceCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &tcImageStatsChooser::onKindChanged);
    connect(mpSourceCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &tcPlotChooserWidget::Changed);
    connect(mpSpinBox1, QOverload<int>::of(&QSpinBox::valueChanged), this, &tcPlotChooserWidget::Changed);
    connect(mpSpinBox2, QOverload<int>::of(&QSpinBox::valueChanged), this, &tcPlotChooserWidget::Changed);
}

void tcImageStatsChooser::onKindChanged()
{
    const auto leKind = static_cast<tcImageStatsKey::teKind>(mpSourceCombo->currentData().toInt());
    const bool lbPixels = tcImageStatsKey(leKind).needsPixels();
    for (QWidget* lpWidget : {static_cast<QWidget*>(mpLabel1), static_cast<QWidget*>(mpSpinBox1),
                              static_cast<QWidget*>(mpLabel2), static_cast<QWidget*>(mpSpinBox2)})
        lpWidget->setVisible(lbPixels);
    if (!lbPixels)
        return;

    // Quietly: the combo's own change is announced once.
    const QSignalBlocker lcBlock1(mpSpinBox1);
    const QSignalBlocker lcBlock2(mpSpinBox2);
    const int lnOpen = 65535;
    if (leKind == tcImageStatsKey::Histogram)
    {
        mpLabel1->setText(tr("Channel"));
        mpSpinBox1->setSpecialValueText(QString());
        mpSpinBox1->setRange(0, mnChannels - 1);
        mpSpinBox1->setValue(0);
        mpLabel2->setText(tr("Bins"));
        mpSpinBox2->setSpecialValueText(tr("Auto"));
        mpSpinBox2->setRange(0, 65536);
        mpSpinBox2->setValue(0);
        return;
    }
    const bool lbRow = leKind == tcImageStatsKey::HorizontalProfile;
    const int lnLines = lbRow ? mcFrameSize.height() : mcFrameSize.width();
    mpLabel1->setText(lbRow ? tr("Row") : tr("Column"));
    mpSpinBox1->setSpecialValueText(tr("Selected"));
    mpSpinBox1->setRange(-1, lnLines > 0 ? lnLines - 1 : lnOpen);
    mpSpinBox1->setValue(-1);
    mpSpinBox1->setToolTip(tr("\"Selected\" follows the rectangle drawn with the profile tool on the video "
                              "(now %1)")
                               .arg(lbRow ? mcSelection.y() : mcSelection.x()));
    mpLabel2->setText(tr("Channel"));
    mpSpinBox2->setSpecialValueText(QString());
    mpSpinBox2->setRange(0, mnChannels - 1);
    mpSpinBox2->setValue(0);
}

tcImageStatsKey tcImageStatsChooser::currentKey() const
{
    const auto leKind = static_cast<tcImageStatsKey::teKind>(mpSourceCombo->currentData().toInt());
    if (mpSourceCombo->currentIndex() < 0)
        return tcImageStatsKey();
    return tcImageStatsKey(leKind, mpSpinBox1->value(), mpSpinBox2->value());
}

QString tcImageStatsChooser::GetKey(QMap<QString, QVariant>& arAttributes)
{
    const tcImageStatsKey lcKey = currentKey();
    if (!lcKey.isValid())
        return QString();
    arAttributes.insert(QStringLiteral("title"), lcKey.title());
    arAttributes.insert(QStringLiteral("x-label"), lcKey.xLabel());
    arAttributes.insert(QStringLiteral("y-label"), lcKey.yLabel());
    return lcKey.toString();
}
