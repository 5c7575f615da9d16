#include "framesamples.h"
#include "imagestats.h"

#include <QtTest>

#include <opencv2/imgproc.hpp>

#include <vector>

using namespace tnFrameSamples;

class tst_ImageStats : public QObject
{
    Q_OBJECT

private slots:
    void histogramOfMono8()
    {
        std::vector<uchar> lsBytes(16 * 16);
        for (size_t lnIndex = 0; lnIndex < lsBytes.size(); ++lnIndex)
            lsBytes[lnIndex] = static_cast<uchar>(lnIndex);
        lsBytes[0] = 9; // value 9 twice, value 0 never
        tcImageStats lcStats(tcImageBuffer::newImage(lsBytes.data(), 16, 16, quint64(0x01080001u)));
        QVarLengthArray<double, 256> lsCentres;
        QVarLengthArray<double, 256> lsCounts;
        QCOMPARE(lcStats.ComputeHistogram(256, lsCentres, lsCounts), 256);
        QCOMPARE(lsCentres.size(), 256);
        QCOMPARE(lsCounts.size(), 256);
        for (int lnBin = 0; lnBin < 256; ++lnBin)
            QCOMPARE(lsCentres[lnBin], lnBin + 0.5);
        QCOMPARE(lsCounts[0], 0.0);
        QCOMPARE(lsCounts[9], 2.0);
        QCOMPARE(lsCounts[255], 1.0);
    }

    void histogramCentres_data()
    {
        QTest::addColumn<quint32>("code");
        QTest::addColumn<int>("bins");
        QTest::addColumn<double>("first");
        QTest::addColumn<double>("step");
        QTest::newRow("Mono12p 256") << 0x010C0047u << 256 << 8.0 << 16.0;
        QTest::newRow("Mono16 256") << 0x01100007u << 256 << 128.0 << 256.0;
        QTest::newRow("Mono8 16") << 0x01080001u << 16 << 8.0 << 16.0;
        QTest::newRow("RGB8 256, per channel") << 0x02180014u << 256 << 0.5 << 1.0;
        QTest::newRow("BayerRG12 64") << 0x01100011u << 64 << 32.0 << 64.0;
    }
    void histogramCentres()
    {
        QFETCH(quint32, code);
        QFETCH(int, bins);
        QFETCH(double, first);
        QFETCH(double, step);
        std::vector<quint16> lsWords(8 * 8 * 3, 0);
        tcImageStats lcStats(
            tcImageBuffer::newImage(reinterpret_cast<uchar*>(lsWords.data()), 8, 8, quint64(code)));
        QVarLengthArray<double, 256> lsCentres;
        QVarLengthArray<double, 256> lsCounts;
        QCOMPARE(lcStats.ComputeHistogram(bins, lsCentres, lsCounts), bins);
        for (int lnBin = 0; lnBin < bins; ++lnBin)
            QCOMPARE(lsCentres[lnBin], first + lnBin * step);
        QCOMPARE(lsCounts[0], 64.0); // every sample (channel 0) is 0
    }

    void histogramCountsOf12BitSamples()
    {
        std::vector<quint16> lsSamples = {0, 15, 16, 4095, 4080, 2048};
        const std::vector<uchar> lsBytes = pack12(lsSamples);
        std::vector<uchar> lsData = lsBytes;
        tcImageStats lcStats(tcImageBuffer::newImage(lsData.data(), 3, 2, quint64(0x010C0047u)));
        QVarLengthArray<double, 256> lsCentres;
        QVarLengthArray<double, 256> lsCounts;
        QCOMPARE(lcStats.ComputeHistogram(256, lsCentres, lsCounts), 256);
        QCOMPARE(lsCounts[0], 2.0);
        QCOMPARE(lsCounts[1], 1.0);
        QCOMPARE(lsCounts[128], 1.0);
        QCOMPARE(lsCounts[255], 2.0);
    }

    void histogramUsesTheFilteredMatrix()
    {
        std::vector<uchar> lsBytes(4, 10);
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(lsBytes.data(), 2, 2, quint64(0x01080001u));
        lpFrame->getFilteredData(false).setTo(200);
        tcImageStats lcStats(lpFrame);
        QVarLengthArray<double, 256> lsCentres;
        QVarLengthArray<double, 256> lsCounts;
        lcStats.ComputeHistogram(256, lsCentres, lsCounts);
        QCOMPARE(lsCounts[200], 4.0);
        QCOMPARE(lsCounts[10], 0.0);
    }

    void histogramOfEachChannel()
    {
        // RGB8: red 10 everywhere, green 20, blue counts 0..3.
        std::vector<uchar> lsBytes;
        for (uchar lnPixel = 0; lnPixel < 4; ++lnPixel)
            lsBytes.insert(lsBytes.end(), {10, 20, lnPixel});
        tcImageStats lcStats(tcImageBuffer::newImage(lsBytes.data(), 2, 2, quint64(0x02180014u)));
        QVarLengthArray<double, 256> lsCentres;
        QVarLengthArray<double, 256> lsCounts;
        QCOMPARE(lcStats.ComputeHistogram(256, 1, lsCentres, lsCounts), 256);
        QCOMPARE(lsCounts[20], 4.0);
        QCOMPARE(lcStats.ComputeHistogram(256, 2, lsCentres, lsCounts), 256);
        QCOMPARE(lsCounts[3], 1.0);
        QCOMPARE(lsCounts[20], 0.0);
        QCOMPARE(lcStats.ComputeHistogram(256, 3, lsCentres, lsCounts), 0);
        QCOMPARE(lcStats.ComputeHistogram(256, -1, lsCentres, lsCounts), 0);
    }

    void histogramAgreesWithTheGeneralOne_data()
    {
        QTest::addColumn<quint32>("code");
        QTest::addColumn<int>("bins");
        QTest::newRow("Mono12p 1024") << 0x010C0047u << 1024;
        QTest::newRow("Mono12p 4096") << 0x010C0047u << 4096;
        QTest::newRow("Mono12p 1000, no power of two") << 0x010C0047u << 1000;
        QTest::newRow("Mono8 64") << 0x01080001u << 64;
        QTest::newRow("Mono16 65536") << 0x01100007u << 65536;
        QTest::newRow("RGB8 256") << 0x02180014u << 256;
    }
    void histogramAgreesWithTheGeneralOne()
    {
        QFETCH(quint32, code);
        QFETCH(int, bins);
        // Odd width; the filtered samples are set by hand, some beyond the
        // frame's bit depth (as a gain filter may leave them).
        std::vector<uchar> lsBytes(37 * 23 * 6, 0);
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(lsBytes.data(), 37, 23, quint64(code));
        cv::Mat& lrFiltered = lpFrame->getFilteredData(false);
        cv::RNG lcRandom(7);
        lcRandom.fill(lrFiltered, cv::RNG::UNIFORM, 0, lrFiltered.depth() == CV_8U ? 256 : 65536);
        const int lnChannel = lrFiltered.channels() - 1;

        tcImageStats lcStats(lpFrame);
        QVarLengthArray<double, 256> lsCentres;
        QVarLengthArray<double, 256> lsCounts;
        QCOMPARE(lcStats.ComputeHistogram(bins, lnChannel, lsCentres, lsCounts), bins);

        const float lfRange[] = {0.0f, float(1u << lpFrame->bitsPerChannel())};
        const float* lpRanges[] = {lfRange};
        const int lnChannels[] = {lnChannel};
        cv::Mat lcExpected;
        cv::calcHist(&lrFiltered, 1, lnChannels, cv::Mat(), lcExpected, 1, &bins, lpRanges, true, false);
        for (int lnBin = 0; lnBin < bins; ++lnBin)
            QCOMPARE(lsCounts[lnBin], double(lcExpected.at<float>(lnBin)));
    }

    void histogramWithoutUsableFrame()
    {
        QVarLengthArray<double, 256> lsCentres(3);
        QVarLengthArray<double, 256> lsCounts(3);
        QCOMPARE(tcImageStats().ComputeHistogram(256, lsCentres, lsCounts), 0);
        QCOMPARE(tcImageStats(tcImageBuffer::newImage()).ComputeHistogram(256, lsCentres, lsCounts), 0);
        std::vector<uchar> lsBytes(4, 1);
        tcImageStats lcStats(tcImageBuffer::newImage(lsBytes.data(), 2, 2, quint64(0x01080001u)));
        QCOMPARE(lcStats.ComputeHistogram(0, lsCentres, lsCounts), 0);
        QCOMPARE(lsCentres.size(), 3);
    }

    void minimumAndMaximumOnFirstRequest()
    {
        std::vector<quint16> lsSamples = {300, 12, 4000, 77};
        const tpImageBuffer lpFrame =
            tcImageBuffer::newImage(reinterpret_cast<uchar*>(lsSamples.data()), 2, 2, quint64(0x01100007u));
        tcImageStats lcStats(lpFrame);
        QVERIFY(!lcStats.isComputed());
        QCOMPARE(lcStats.minValue(), 12);
        QVERIFY(lcStats.isComputed());
        QCOMPARE(lcStats.maxValue(), 4000);
        // Kept: later changes of the bytes do not show until a new frame is set.
        lsSamples[0] = 5;
        QCOMPARE(lcStats.minValue(), 12);
        lcStats.setImage(lpFrame);
        QVERIFY(!lcStats.isComputed());
        QCOMPARE(lcStats.minValue(), 5);
    }

    void minimumAndMaximumOfColourFrames()
    {
        std::vector<uchar> lsBytes = {10, 20, 30, 40, 250, 60};
        tcImageStats lcStats(tcImageBuffer::newImage(lsBytes.data(), 2, 1, quint64(0x02180014u)));
        QCOMPARE(lcStats.minValue(), 10);
        QCOMPARE(lcStats.maxValue(), 250);
    }

    void minimumAndMaximumWithoutPixels()
    {
        tcImageStats lcNone;
        QCOMPARE(lcNone.minValue(), 0);
        QCOMPARE(lcNone.maxValue(), 0);
        QVERIFY(!lcNone.isComputed());
        tcImageStats lcEmpty(tcImageBuffer::newImage());
        QCOMPARE(lcEmpty.maxValue(), 0);
        QVERIFY(lcEmpty.isComputed());
    }

    void copiesShareTheFrame()
    {
        std::vector<uchar> lsBytes = {1, 2, 3, 4};
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(lsBytes.data(), 2, 2, quint64(0x01080001u));
        tcImageStats lcFirst(lpFrame);
        QCOMPARE(lcFirst.maxValue(), 4);
        tcImageStats lcCopy(lcFirst);
        QCOMPARE(lcCopy.getImage(), lpFrame);
        QVERIFY(lcCopy.isComputed());
        QCOMPARE(lcCopy.maxValue(), 4);
        tcImageStats lcMoved(std::move(lcCopy));
        QCOMPARE(lcMoved.getImage(), lpFrame);
        tcImageStats lcAssigned;
        lcAssigned = lcMoved;
        QCOMPARE(lcAssigned.minValue(), 1);
    }
};

QTEST_APPLESS_MAIN(tst_ImageStats)
#include "tst_imagestats.moc"
