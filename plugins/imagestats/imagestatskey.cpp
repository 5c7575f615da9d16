#include "imagestatskey.h"

#include <QCoreApplication>
#include <QStringList>

namespace
{
struct tsKindName
{
    tcImageStatsKey::teKind meKind;
    const char* mpName;
    int mnNumbers;
};

const tsKindName kKindNames[] = {
    {tcImageStatsKey::Histogram, "histogram", 2},      {tcImageStatsKey::HorizontalProfile, "hprofile", 2},
    {tcImageStatsKey::VerticalProfile, "vprofile", 2}, {tcImageStatsKey::FrameIdGap, "idgap", 0},
    {tcImageStatsKey::FrameInterval, "interval", 0},   {tcImageStatsKey::LostFrames, "lost", 0}};

QString tr(const char* apText)
{
    return QCoreApplication::translate("tcImageStatsKey", apText);
}
} // namespace

tcImageStatsKey::tcImageStatsKey(teKind aeKind, int anFirst, int anSecond)
    : meKind(aeKind), mnFirst(anFirst), mnSecond(anSecond)
{
}

tcImageStatsKey tcImageStatsKey::parse(const QString& arKey)
{
    const QStringList lsParts = arKey.split(QLatin1Char(':'));
    for (const tsKindName& lrName : kKindNames)
    {
        if (lsParts.first() != QLatin1String(lrName.mpName) || lsParts.size() != lrName.mnNumbers + 1)
            continue;
        int lnNumbers[2] = {0, 0};
        for (int lnIndex = 0; lnIndex < lrName.mnNumbers; ++lnIndex)
        {
            bool lbOk = false;
            lnNumbers[lnIndex] = lsParts[lnIndex + 1].toInt(&lbOk);
            if (!lbOk)
                return tcImageStatsKey();
        }
        const tcImageStatsKey lcKey(lrName.meKind, lnNumbers[0], lnNumbers[1]);
        // Negative channels and bin counts, and lines below -1, are no keys.
        if (lcKey.channel() < 0 || lcKey.bins() < 0 || lcKey.line() < -1)
            return tcImageStatsKey();
        return lcKey;
    }
    return tcImageStatsKey();
}

QString tcImageStatsKey::toString() const
{
    for (const tsKindName& lrName : kKindNames)
        if (lrName.meKind == meKind)
            return lrName.mnNumbers ? QStringLiteral("%1:%2:%3")
                                          .arg(QLatin1String(lrName.mpName))
                                          .arg(mnFirst)
                                          .arg(mnSecond)
                                    : QString::fromLatin1(lrName.mpName);
    return QString();
}

bool tcImageStatsKey::needsPixels() const
{
    return meKind == Histogram || meKind == HorizontalProfile || meKind == VerticalProfile;
}

int tcImageStatsKey::channel() const
{
    switch (meKind)
    {
    case Histogram:
        return mnFirst;
    case HorizontalProfile:
    case VerticalProfile:
        return mnSecond;
    default:
        return 0;
    }
}

int tcImageStatsKey::bins() const
{
    return meKind == Histogram ? mnSecond : 0;
}

int tcImageStatsKey::line() const
{
    return meKind == HorizontalProfile || meKind == VerticalProfile ? mnFirst : 0;
}

QString tcImageStatsKey::title() const
{
    const QString lsLine = line() < 0 ? tr("selected") : QString::number(line());
    switch (meKind)
    {
    case Histogram:
        return tr("Histogram, channel %1").arg(channel());
    case HorizontalProfile:
        return tr("Row %1, channel %2").arg(lsLine).arg(channel());
    case VerticalProfile:
        return tr("Column %1, channel %2").arg(lsLine).arg(channel());
    case FrameIdGap:
        return tr("Frame id gap");
    case FrameInterval:
        return tr("Frame interval");
    case LostFrames:
        return tr("Lost frames");
    default:
        return QString();
    }
}

QString tcImageStatsKey::xLabel() const
{
    switch (meKind)
    {
    case Histogram:
        return tr("Pixel value");
    case HorizontalProfile:
        return tr("Column");
    case VerticalProfile:
        return tr("Row");
    case FrameIdGap:
    case FrameInterval:
    case LostFrames:
        return tr("Frame id");
    default:
        return QString();
    }
}

QString tcImageStatsKey::yLabel() const
{
    switch (meKind)
    {
    case Histogram:
        return tr("Pixels");
    case HorizontalProfile:
    case VerticalProfile:
        return tr("Pixel value");
    case FrameIdGap:
        return tr("Frames lost before");
    case FrameInterval:
        return tr("Interval (ms)");
    case LostFrames:
        return tr("Frames lost in all");
    default:
        return QString();
    }
}
