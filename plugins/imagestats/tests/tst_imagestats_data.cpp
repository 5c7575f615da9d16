#include "frameintegrity.h"
#include "framesamples.h"
#include "imagestatschooser.h"
#include "imagestatskey.h"
#include "imagestatssource.h"
#include "lineprofile.h"
#include "profiletool.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

#include <cmath>
#include <memory>
#include <vector>

namespace
{
const quint64 kMono8 = 0x01080001u;
const quint64 kMono12p = 0x010C0047u;
const quint64 kMono16 = 0x01100007u;
const quint64 kRgb8 = 0x02180014u;

// A source whose clock the test moves, announcing as often as it may.
struct tsSource
{
    tsSource()
    {
        mcSource.setClock([this] { return mnNow; });
        mcSource.setMinimumInterval(0);
    }
    tcImageStatsSource mcSource;
    qint64 mnNow = 0;
};

tpImageBuffer frame(std::vector<uchar>& arBytes, int anWidth, int anHeight, quint64 anFormat,
                    quint64 anId = 1)
{
    tpImageBuffer lpFrame = tcImageBuffer::newImage(arBytes.data(), anWidth, anHeight, anFormat);
    lpFrame->setFrameId(anId);
    return lpFrame;
}
} // namespace

class tst_ImageStatsData : public QObject
{
    Q_OBJECT

private slots:
    void keys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("bins");
        QTest::addColumn<int>("line");
        QTest::newRow("histogram") << "histogram:2:64" << int(tcImageStatsKey::Histogram) << 2 << 64 << 0;
        QTest::newRow("row") << "hprofile:17:1" << int(tcImageStatsKey::HorizontalProfile) << 1 << 0 << 17;
        QTest::newRow("selected column")
            << "vprofile:-1:0" << int(tcImageStatsKey::VerticalProfile) << 0 << 0 << -1;
        QTest::newRow("gap") << "idgap" << int(tcImageStatsKey::FrameIdGap) << 0 << 0 << 0;
        QTest::newRow("interval") << "interval" << int(tcImageStatsKey::FrameInterval) << 0 << 0 << 0;
        QTest::newRow("lost") << "lost" << int(tcImageStatsKey::LostFrames) << 0 << 0 << 0;
        QTest::newRow("incomplete") << "incomplete" << int(tcImageStatsKey::IncompleteFrames) << 0 << 0 << 0;
        QTest::newRow("empty") << "" << int(tcImageStatsKey::None) << 0 << 0 << 0;
        QTest::newRow("unknown") << "spectrum:1:2" << int(tcImageStatsKey::None) << 0 << 0 << 0;
        QTest::newRow("missing number") << "histogram:1" << int(tcImageStatsKey::None) << 0 << 0 << 0;
        QTest::newRow("text number") << "hprofile:x:0" << int(tcImageStatsKey::None) << 0 << 0 << 0;
        QTest::newRow("negative channel") << "histogram:-1:0" << int(tcImageStatsKey::None) << 0 << 0 << 0;
        QTest::newRow("line below -1") << "hprofile:-2:0" << int(tcImageStatsKey::None) << 0 << 0 << 0;
        QTest::newRow("extra part") << "idgap:1" << int(tcImageStatsKey::None) << 0 << 0 << 0;
    }
    void keys()
    {
        QFETCH(QString, key);
        QFETCH(int, kind);
        const tcImageStatsKey lcKey = tcImageStatsKey::parse(key);
        QCOMPARE(int(lcKey.kind()), kind);
        if (!lcKey.isValid())
        {
            QVERIFY(lcKey.toString().isEmpty());
            return;
        }
        QTEST(lcKey.channel(), "channel");
        QTEST(lcKey.bins(), "bins");
        QTEST(lcKey.line(), "line");
        QCOMPARE(lcKey.toString(), key);
        QVERIFY(!lcKey.title().isEmpty() && !lcKey.xLabel().isEmpty() && !lcKey.yLabel().isEmpty());
    }

    void histogramOfKnownFrame()
    {
        tsSource lcSource;
        std::vector<uchar> lsBytes(16 * 16);
        for (size_t lnIndex = 0; lnIndex < lsBytes.size(); ++lnIndex)
            lsBytes[lnIndex] = static_cast<uchar>(lnIndex);
        lsBytes[0] = 9;
        tcPlotArray lcX, lcY;
        // Nothing computed before a plot asked and a frame came.
        QVERIFY(!lcSource.mcSource.getData(QStringLiteral("histogram:0:0"), lcX, lcY));
        QSignalSpy lcReady(&lcSource.mcSource, &tcPlottableInterface::PlotReady);
        lcSource.mcSource.takeFrame(frame(lsBytes, 16, 16, kMono8));
        QCOMPARE(lcReady.size(), 1);
        QCOMPARE(lcReady[0][1].toString(), QStringLiteral("histogram:0:0"));
        QVERIFY(lcSource.mcSource.getData(QStringLiteral("histogram:0:0"), lcX, lcY));
        QCOMPARE(lcY.size(), 256); // 8 bits: a bin per value
        QCOMPARE(lcX[0], 0.5);
        QCOMPARE(lcY[0], 0.0);
        QCOMPARE(lcY[9], 2.0);
        QCOMPARE(lcY[255], 1.0);
    }

    void histogramBinsOfDeepFrames()
    {
        tsSource lcSource;
        std::vector<quint16> lsSamples = {0, 3, 4, 4095, 4092, 2048};
        std::vector<uchar> lsBytes = tnFrameSamples::pack12(lsSamples);
        tcPlotArray lcX, lcY;
        lcSource.mcSource.getData(QStringLiteral("histogram:0:0"), lcX, lcY);
        lcSource.mcSource.getData(QStringLiteral("histogram:0:4096"), lcX, lcY);
        lcSource.mcSource.takeFrame(frame(lsBytes, 3, 2, kMono12p));
        // Automatic: 1024 bins of four values each.
        QVERIFY(lcSource.mcSource.getData(QStringLiteral("histogram:0:0"), lcX, lcY));
        QCOMPARE(lcY.size(), 1024);
        QCOMPARE(lcX[0], 2.0);
        QCOMPARE(lcY[0], 2.0);
        QCOMPARE(lcY[1], 1.0);
        QCOMPARE(lcY[512], 1.0);
        QCOMPARE(lcY[1023], 2.0);
        // Raw depth on request.
        QVERIFY(lcSource.mcSource.getData(QStringLiteral("histogram:0:4096"), lcX, lcY));
        QCOMPARE(lcY.size(), 4096);
        QCOMPARE(lcY[4095], 1.0);
        QCOMPARE(lcY[4092], 1.0);
        QCOMPARE(tcImageStatsSource::autoBinCount(16), 1024);
        QCOMPARE(tcImageStatsSource::autoBinCount(8), 256);
    }

    void histogramOfEachChannel()
    {
        tsSource lcSource;
        std::vector<uchar> lsBytes;
        for (uchar lnPixel = 0; lnPixel < 6; ++lnPixel)
            lsBytes.insert(lsBytes.end(), {7, 200, static_cast<uchar>(lnPixel % 2)});
        tcPlotArray lcX, lcY;
        for (const char* lpKey : {"histogram:0:0", "histogram:1:0", "histogram:2:0", "histogram:3:0"})
            lcSource.mcSource.getData(QString::fromLatin1(lpKey), lcX, lcY);
        lcSource.mcSource.takeFrame(frame(lsBytes, 3, 2, kRgb8));
        QVERIFY(lcSource.mcSource.getData(QStringLiteral("histogram:0:0"), lcX, lcY));
        QCOMPARE(lcY[7], 6.0);
        QVERIFY(lcSource.mcSource.getData(QStringLiteral("histogram:1:0"), lcX, lcY));
        QCOMPARE(lcY[200], 6.0);
        QVERIFY(lcSource.mcSource.getData(QStringLiteral("histogram:2:0"), lcX, lcY));
        QCOMPARE(lcY[0], 3.0);
        QCOMPARE(lcY[1], 3.0);
        // RGB has no fourth channel: an empty curve.
        QVERIFY(lcSource.mcSource.getData(QStringLiteral("histogram:3:0"), lcX, lcY));
        QVERIFY(lcY.isEmpty());
    }

    void lineProfiles()
    {
        // Mono16 4 x 3 frame with sample = 100 * row + column.
        std::vector<quint16> lsSamples;
        for (int lnRow = 0; lnRow < 3; ++lnRow)
            for (int lnColumn = 0; lnColumn < 4; ++lnColumn)
                lsSamples.push_back(static_cast<quint16>(100 * lnRow + lnColumn));
        std::vector<uchar> lsBytes(reinterpret_cast<uchar*>(lsSamples.data()),
                                   reinterpret_cast<uchar*>(lsSamples.data() + lsSamples.size()));
        tsSource lcSource;
        tcPlotArray lcX, lcY;
        const QStringList lsKeys = {"hprofile:2:0", "vprofile:3:0", "hprofile:-1:0", "vprofile:-1:0",
                                    "hprofile:3:0"};
        for (const QString& lrKey : lsKeys)
            lcSource.mcSource.getData(lrKey, lcX, lcY);
        tcProfileTool lcTool(&lcSource.mcSource);
        QCOMPARE(lcTool.selectRect(nullptr, nullptr, QRect(0, 0, 3, 3)), QRect(0, 0, 3, 3));
        lcSource.mcSource.takeFrame(frame(lsBytes, 4, 3, kMono16));

        QVERIFY(lcSource.mcSource.getData(QStringLiteral("hprofile:2:0"), lcX, lcY));
        QCOMPARE(lcY.size(), 4);
        QCOMPARE(lcX[3], 3.0);
        QCOMPARE(lcY[0], 200.0);
        QCOMPARE(lcY[3], 203.0);
        QVERIFY(lcSource.mcSource.getData(QStringLiteral("vprofile:3:0"), lcX, lcY));
        QCOMPARE(lcY.size(), 3);
        QCOMPARE(lcY[2], 203.0);
        // The tool's rectangle centre (1, 1) is the selected row and column.
        QVERIFY(lcSource.mcSource.getData(QStringLiteral("hprofile:-1:0"), lcX, lcY));
        QCOMPARE(lcY[2], 102.0);
        QVERIFY(lcSource.mcSource.getData(QStringLiteral("vprofile:-1:0"), lcX, lcY));
        QCOMPARE(lcY[0], 1.0);
        // A row below the frame has an empty curve, not an old one.
        QVERIFY(lcSource.mcSource.getData(QStringLiteral("hprofile:3:0"), lcX, lcY));
        QVERIFY(lcY.isEmpty() && lcX.isEmpty());
    }

    void lineProfileBounds()
    {
        cv::Mat lcMatrix(2, 3, CV_8UC3, cv::Scalar(1, 2, 3));
        tcPlotArray lcX(5), lcY(5);
        QVERIFY(!tcLineProfile::extract(lcMatrix, tcLineProfile::Horizontal, 2, 0, lcX, lcY));
        QVERIFY(!tcLineProfile::extract(lcMatrix, tcLineProfile::Vertical, 3, 0, lcX, lcY));
        QVERIFY(!tcLineProfile::extract(lcMatrix, tcLineProfile::Vertical, 0, 3, lcX, lcY));
        QVERIFY(!tcLineProfile::extract(cv::Mat(2, 2, CV_64F), tcLineProfile::Vertical, 0, 0, lcX, lcY));
        QCOMPARE(lcX.size(), 5);
        QVERIFY(tcLineProfile::extract(lcMatrix, tcLineProfile::Vertical, 2, 2, lcX, lcY));
        QCOMPARE(lcY.size(), 2);
        QCOMPARE(lcY[1], 3.0);
    }

    void idleCurvesCostNothing()
    {
        tsSource lcSource;
        std::vector<uchar> lsBytes(64, 1);
        lcSource.mcSource.setWatchTime(2000);
        QSignalSpy lcReady(&lcSource.mcSource, &tcPlottableInterface::PlotReady);
        for (int lnFrame = 0; lnFrame < 5; ++lnFrame)
            lcSource.mcSource.takeFrame(frame(lsBytes, 8, 8, kMono8, lnFrame));
        QCOMPARE(lcSource.mcSource.computations(), 0);
        QCOMPARE(lcReady.size(), 0);

        tcPlotArray lcX, lcY;
        lcSource.mcSource.getData(QStringLiteral("histogram:0:0"), lcX, lcY);
        lcSource.mcSource.takeFrame(frame(lsBytes, 8, 8, kMono8, 5));
        QCOMPARE(lcSource.mcSource.computations(), 1);

        // Nobody asked for 2.5 s (a paused or closed window): no more work,
        // but an announcement each second so that a resumed window asks again.
        lcReady.clear();
        for (int lnFrame = 0; lnFrame < 50; ++lnFrame)
        {
            lcSource.mnNow += 50;
            lcSource.mcSource.takeFrame(frame(lsBytes, 8, 8, kMono8, 6 + lnFrame));
        }
        // Watched until 2000 ms; the last poll was at 2000 ms, the next is due
        // at 3000 ms.
        QCOMPARE(lcSource.mcSource.computations(), 1 + 40);
        QCOMPARE(lcReady.size(), 40);
        lcReady.clear();
        lcSource.mnNow += 1000;
        lcSource.mcSource.takeFrame(frame(lsBytes, 8, 8, kMono8, 60));
        QCOMPARE(lcReady.size(), 1);
        QCOMPARE(lcSource.mcSource.computations(), 41);
    }

    void announcesAtMostTenTimesASecond()
    {
        tcImageStatsSource lcSource;
        qint64 lnNow = 0;
        lcSource.setClock([&lnNow] { return lnNow; });
        std::vector<uchar> lsBytes(64, 1);
        tcPlotArray lcX, lcY;
        lcSource.getData(QStringLiteral("idgap"), lcX, lcY);
        QSignalSpy lcReady(&lcSource, &tcPlottableInterface::PlotReady);
        for (int lnFrame = 0; lnFrame < 200; ++lnFrame) // 1 s at 200 frames per second
        {
            lcSource.takeFrame(frame(lsBytes, 8, 8, kMono8, lnFrame));
            lcSource.getData(QStringLiteral("idgap"), lcX, lcY);
            lnNow += 5;
        }
        QCOMPARE(lcReady.size(), 10);
        QCOMPARE(lcSource.integrity().frames(), quint64(200));
    }

    void frameIntegrity()
    {
        tcFrameIntegrity lcIntegrity(5);
        const QDateTime lcStart = QDateTime::fromMSecsSinceEpoch(1000000);
        const quint64 lnIds[] = {1, 2, 3, 6, 7, 10};
        const int lnTimes[] = {0, 10, 20, 50, 60, 95};
        for (int lnIndex = 0; lnIndex < 6; ++lnIndex)
            lcIntegrity.addFrame(lnIds[lnIndex], lcStart.addMSecs(lnTimes[lnIndex]));
        QCOMPARE(lcIntegrity.frames(), quint64(6));
        QCOMPARE(lcIntegrity.lost(), quint64(4));
        QCOMPARE(lcIntegrity.history().size(), size_t(5)); // the oldest went
        tcPlotArray lcX, lcY;
        lcIntegrity.gaps(lcX, lcY);
        QCOMPARE(QVector<double>(lcX.begin(), lcX.end()), QVector<double>({2, 3, 6, 7, 10}));
        QCOMPARE(QVector<double>(lcY.begin(), lcY.end()), QVector<double>({0, 0, 2, 0, 2}));
        lcIntegrity.intervals(lcX, lcY);
        QCOMPARE(QVector<double>(lcY.begin(), lcY.end()), QVector<double>({10, 10, 30, 10, 35}));
        lcIntegrity.lostSoFar(lcX, lcY);
        QCOMPARE(lcY[4], 4.0);

        // A restarted stream (ids from 0 again) and an ended one lose nothing.
        lcIntegrity.addFrame(0, QDateTime());
        lcIntegrity.endSequence();
        lcIntegrity.addFrame(5, lcStart);
        QCOMPARE(lcIntegrity.lost(), quint64(4));
        QCOMPARE(lcIntegrity.sequences(), 3);
        lcIntegrity.intervals(lcX, lcY);
        QVERIFY(std::isnan(lcY[4]));
        lcIntegrity.reset();
        QCOMPARE(lcIntegrity.frames(), quint64(0));
        QVERIFY(lcIntegrity.history().empty());
    }

    // Incomplete frames are reported by id before the frame after them:
    // counted as incomplete, and not as lost, in the gap they leave.
    void incompleteFramesAreNotLost()
    {
        tcFrameIntegrity lcIntegrity;
        lcIntegrity.addFrame(1, QDateTime());
        lcIntegrity.addIncomplete(2);
        lcIntegrity.addFrame(3, QDateTime()); // 2 incomplete
        lcIntegrity.addIncomplete(5);
        lcIntegrity.addFrame(7, QDateTime()); // 4 and 6 lost, 5 incomplete
        lcIntegrity.addIncomplete(~quint64(0));
        lcIntegrity.addFrame(9, QDateTime()); // id unknown: 8 counts as lost as well
        QCOMPARE(lcIntegrity.frames(), quint64(4));
        QCOMPARE(lcIntegrity.incomplete(), quint64(3));
        QCOMPARE(lcIntegrity.lost(), quint64(3));
        tcPlotArray lcX, lcY;
        lcIntegrity.gaps(lcX, lcY);
        QCOMPARE(QVector<double>(lcY.begin(), lcY.end()), QVector<double>({0, 0, 2, 1}));
        lcIntegrity.incompleteSoFar(lcX, lcY);
        QCOMPARE(QVector<double>(lcY.begin(), lcY.end()), QVector<double>({0, 1, 2, 3}));

        // An incomplete first frame of a new stream closes no gap.
        lcIntegrity.endSequence();
        lcIntegrity.addIncomplete(1);
        lcIntegrity.addFrame(2, QDateTime());
        lcIntegrity.addFrame(3, QDateTime());
        QCOMPARE(lcIntegrity.lost(), quint64(3));
        QCOMPARE(lcIntegrity.incomplete(), quint64(4));
        lcIntegrity.reset();
        QCOMPARE(lcIntegrity.incomplete(), quint64(0));
    }

    void integrityThroughTheSource()
    {
        tsSource lcSource;
        std::vector<uchar> lsBytes(64, 1);
        tcPlotArray lcX, lcY;
        QVERIFY(!lcSource.mcSource.getData(QStringLiteral("idgap"), lcX, lcY));
        QSignalSpy lcCounts(&lcSource.mcSource, &tcImageStatsSource::countsChanged);
        for (quint64 lnId : {4, 5, 9})
            lcSource.mcSource.takeFrame(frame(lsBytes, 8, 8, kMono8, lnId));
        lcSource.mcSource.takeFrame(tpImageBuffer()); // stream ended
        lcSource.mcSource.takeFrame(frame(lsBytes, 8, 8, kMono8, 100));
        QCOMPARE(lcCounts.last()[1].toULongLong(), quint64(3));
        lcSource.mcSource.takeIncomplete(101);
        QCOMPARE(lcCounts.last()[2].toULongLong(), quint64(1));
        lcSource.mcSource.takeFrame(frame(lsBytes, 8, 8, kMono8, 102));
        QCOMPARE(lcCounts.last()[1].toULongLong(), quint64(3));
        QVERIFY(lcSource.mcSource.getData(QStringLiteral("incomplete"), lcX, lcY));
        QCOMPARE(lcY.last(), 1.0);
        QVERIFY(lcSource.mcSource.getData(QStringLiteral("idgap"), lcX, lcY));
        QCOMPARE(QVector<double>(lcY.begin(), lcY.end()), QVector<double>({0, 0, 3, 0, 0}));
        QVERIFY(lcSource.mcSource.getData(QStringLiteral("lost"), lcX, lcY));
        QCOMPARE(lcY[4], 3.0);
        QVERIFY(lcSource.mcSource.getData(QStringLiteral("interval"), lcX, lcY));
        QCOMPARE(lcX[3], 100.0);
        QCOMPARE(lcSource.mcSource.computations(), 0);
        lcSource.mcSource.resetIntegrity();
        QVERIFY(!lcSource.mcSource.getData(QStringLiteral("idgap"), lcX, lcY));
    }

    void chooser()
    {
        tcImageStatsChooser lcChooser(tcImageStatsKey::parse(QStringLiteral("vprofile:7:2")), 3,
                                      QSize(640, 480), QPoint(5, 6));
        QMap<QString, QVariant> lcAttributes;
        QCOMPARE(lcChooser.GetKey(lcAttributes), QStringLiteral("vprofile:7:2"));
        QCOMPARE(lcAttributes.value(QStringLiteral("x-label")).toString(), QStringLiteral("Row"));
        QCOMPARE(lcAttributes.value(QStringLiteral("title")).toString(),
                 QStringLiteral("Column 7, channel 2"));
        auto* lpSpin1 = lcChooser.findChild<QSpinBox*>(QStringLiteral("mpSpinBox1"));
        QCOMPARE(lpSpin1->maximum(), 639);
        QSignalSpy lcChanged(&lcChooser, &tcPlotChooserWidget::Changed);
        lpSpin1->setValue(-1);
        QCOMPARE(lcChanged.size(), 1);
        QCOMPARE(lcChooser.GetKey(lcAttributes), QStringLiteral("vprofile:-1:2"));

        auto* lpCombo = lcChooser.findChild<QComboBox*>(QStringLiteral("mpSourceCombo"));
        lpCombo->setCurrentIndex(lpCombo->findText(QStringLiteral("Frame Id Gap")));
        QCOMPARE(lcChanged.size(), 2);
        QCOMPARE(lcChooser.GetKey(lcAttributes), QStringLiteral("idgap"));
        QVERIFY(lpSpin1->isHidden());
        lpCombo->setCurrentIndex(lpCombo->findText(QStringLiteral("Histogram")));
        QCOMPARE(lcChooser.GetKey(lcAttributes), QStringLiteral("histogram:0:0"));
        QCOMPARE(lpSpin1->maximum(), 2);

        // A new plot starts at the histogram; an empty combo gives no key.
        tcImageStatsChooser lcFresh(tcImageStatsKey(), 1, QSize(), QPoint());
        QCOMPARE(lcFresh.GetKey(lcAttributes), QStringLiteral("histogram:0:0"));
        lcFresh.findChild<QComboBox*>()->clear();
        QVERIFY(lcFresh.GetKey(lcAttributes).isEmpty());
        QVERIFY(lcFresh.GetCurrentSourceName().isEmpty());
    }
};

QTEST_MAIN(tst_ImageStatsData)
#include "tst_imagestats_data.moc"
