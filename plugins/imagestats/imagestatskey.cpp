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
    const char* mpXLabel;
    const char* mpYLabel;
};

const tsKindName kKindNames[] = {
    {tcImageStatsKey::Histogram, "histogram", 2, QT_TRANSLATE_NOOP("tcImageStatsKey", "Pixel value"),
     QT_TRANSLATE_NOOP("tcImageStatsKey", "Pixels")},
    {tcImageStatsKey::HorizontalProfile, "hprofile", 2, QT_TRANSLATE_NOOP("tcImageStatsKey", "Column"),
     QT_TRANSLATE_NOOP("tcImageStatsKey", "Pixel value")},
    {tcImageStatsKey::VerticalProfile, "vprofile", 2, QT_TRANSLATE_NOOP("tcImageStatsKey", "Row"),
     QT_TRANSLATE_NOOP("tcImageStatsKey", "Pixel value")},
    {tcImageStatsKey::FrameIdGap, "idgap", 0, QT_TRANSLATE_NOOP("tcImageStatsKey", "Frame id"),
     QT_TRANSLATE_NOOP("tcImageStatsKey", "Frames lost before")},
    {tcImageStatsKey::FrameInterval, "interval", 0, QT_TRANSLATE_NOOP("tcImageStatsKey", "Frame id"),
     QT_TRANSLATE_NOOP("tcImageStatsKey", "Interval (ms)")},
    {tcImageStatsKey::LostFrames, "lost", 0, QT_TRANSLATE_NOOP("tcImageStatsKey", "Frame id"),
     QT_TRANSLATE_NOOP("tcImageStatsKey", "Frames lost in all")},
    {tcImageStatsKey::IncompleteFrames, "incomplete", 0, QT_TRANSLATE_NOOP("tcImageStatsKey", "Frame id"),
     QT_TRANSLATE_NOOP("tcImageStatsKey", "Incomplete frames in all")}};

const tsKindName* entryOf(tcImageStatsKey::teKind aeKind)
{
    for (const tsKindName& lrName : kKindNames)
        if (lrName.meKind == aeKind)
            return &lrName;
    return nullptr;
}

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
    const tsKindName* lpEntry = entryOf(meKind);
    if (!lpEntry)
        return QString();
    const QString lsName = QString::fromLatin1(lpEntry->mpName);
    return lpEntry->mnNumbers ? QStringLiteral("%1:%2:%3").arg(lsName).arg(mnFirst).arg(mnSecond) : lsName;
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
    case IncompleteFrames:
        return tr("Incomplete frames");
    default:
        return QString();
    }
}

QString tcImageStatsKey::xLabel() const
{
    const tsKindName* lpEntry = entryOf(meKind);
    return lpEntry ? tr(lpEntry->mpXLabel) : QString();
}

QString tcImageStatsKey::yLabel() const
{
    const tsKindName* lpEntry = entryOf(meKind);
    return lpEntry ? tr(lpEntry->mpYLabel) : QString();
}
