#include "framesamples.h"
#include "imagestats.h"

#include <QtTest>

#include <opencv2/imgproc.hpp>

#include <vector>

using namespace tnFrameSamples;

namespace
{
// The plain histogram: every sample below 2^bits in the bin the general
// histogram's formula gives it, counted one by one.
std::vector<double> referenceHistogram(const cv::Mat& arMatrix, int anChannel, int anBins, int anBits)
{
    std::vector<double> lsCounts(size_t(anBins), 0.0);
    const float lfRange[] = {0.0f, float(1u << anBits)};
    const float* lpRanges[] = {lfRange};
    const int lnChannels[] = {anChannel};
    cv::Mat lcGeneral;
    cv::calcHist(&arMatrix, 1, lnChannels, cv::Mat(), lcGeneral, 1, &anBins, lpRanges, true, false);
    cv::Mat lcPlane;
    cv::extractChannel(arMatrix, lcPlane, anChannel);
    lcPlane.convertTo(lcPlane, CV_32S);
    for (int lnRow = 0; lnRow < lcPlane.rows; ++lnRow)
        for (int lnColumn = 0; lnColumn < lcPlane.cols; ++lnColumn)
        {
            const qint64 lnValue = lcPlane.at<int>(lnRow, lnColumn);
            if (lnValue < (qint64(1) << anBits))
                lsCounts[size_t(lnValue * anBins >> anBits)] += 1.0;
        }
    // The formula and the general histogram agree on these small frames.
    for (int lnBin = 0; lnBin < anBins; ++lnBin)
        if (lsCounts[size_t(lnBin)] != double(lcGeneral.at<float>(lnBin)))
            qWarning() << "general histogram differs from the plain count in bin" << lnBin;
    return lsCounts;
}
} // namespace

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

    // Random frames of every format, in sizes that leave remainders in every
    // loop and give several stripes: the counts equal the general histogram
    // of the filtered matrix, bin for bin.
    void histogramOfRandomFrames_data()
    {
        QTest::addColumn<quint32>("code");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        const quint32 lsCodes[] = {0x01080001u, 0x010C0047u, 0x01100007u, 0x0108000Bu,
                                   0x01100013u, 0x010C0053u, 0x02180014u};
        for (const quint32 lnCode : lsCodes)
        {
            QTest::addRow("%08x 101x67", lnCode) << lnCode << 101 << 67;
            QTest::addRow("%08x 7x3", lnCode) << lnCode << 7 << 3;
            QTest::addRow("%08x 1x1", lnCode) << lnCode << 1 << 1;
        }
    }
    void histogramOfRandomFrames()
    {
        QFETCH(quint32, code);
        QFETCH(int, width);
        QFETCH(int, height);
        cv::RNG lcRandom(code ^ quint32(width));
        std::vector<uchar> lsBytes(size_t(width) * size_t(height) * 4 + 8);
        for (uchar& lrByte : lsBytes)
            lrByte = static_cast<uchar>(lcRandom.uniform(0, 256));
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(lsBytes.data(), width, height, quint64(code));
        const int lnBits = lpFrame->bitsPerChannel();
        const int lsBinCounts[] = {1, 7, 256, 1000, 1 << lnBits, 4096, 65536};
        for (const int lnBins : lsBinCounts)
        {
            for (int lnChannel = 0; lnChannel < lpFrame->componentCount(); ++lnChannel)
            {
                // Counted before anything built the filtered matrix, as a
                // frame fresh from the camera.
                const tpImageBuffer lpFresh =
                    tcImageBuffer::newImage(lsBytes.data(), width, height, quint64(code));
                QVarLengthArray<double, 256> lsCentres, lsCounts;
                QCOMPARE(tcImageStats(lpFresh).ComputeHistogram(lnBins, lnChannel, lsCentres, lsCounts),
                         lnBins);
                const std::vector<double> lsExpected =
                    referenceHistogram(lpFrame->getFilteredData(false), lnChannel, lnBins, lnBits);
                // The message is made only for a wrong bin: 65536 of them a
                // case would dominate the test's time otherwise.
                for (int lnBin = 0; lnBin < lnBins; ++lnBin)
                    if (lsCounts[lnBin] != lsExpected[size_t(lnBin)])
                        QFAIL(qPrintable(QStringLiteral("%1 bins, channel %2, bin %3: %4 instead of %5")
                                             .arg(lnBins)
                                             .arg(lnChannel)
                                             .arg(lnBin)
                                             .arg(lsCounts[lnBin])
                                             .arg(lsExpected[size_t(lnBin)])));
            }
        }
    }

    // A packed frame nobody has looked at yet is counted from its bytes, so
    // the histogram unpacks nothing; once the filtered matrix exists (and a
    // filter may have changed it) that matrix is counted.
    void packedFrameCountedFromItsBytes()
    {
        std::vector<uchar> lsBytes(9 * 3 * 3 / 2 + 1, 0);
        // Samples 0..26 of a 9 x 3 frame: 27 samples, the last one alone.
        for (int lnSample = 0; lnSample < 27; ++lnSample)
        {
            const int lnValue = lnSample * 150;
            uchar* lpPair = &lsBytes[size_t(lnSample / 2 * 3)];
            if (lnSample % 2 == 0)
            {
                lpPair[0] = static_cast<uchar>(lnValue);
                lpPair[1] = static_cast<uchar>((lpPair[1] & 0xF0) | (lnValue >> 8));
            }
            else
            {
                lpPair[1] = static_cast<uchar>((lpPair[1] & 0x0F) | ((lnValue & 0x0F) << 4));
                lpPair[2] = static_cast<uchar>(lnValue >> 4);
            }
        }
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(lsBytes.data(), 9, 3, quint64(0x010C0047u));
        tcImageStats lcStats(lpFrame);
        QVarLengthArray<double, 256> lsCentres, lsCounts;
        QCOMPARE(lcStats.ComputeHistogram(4096, lsCentres, lsCounts), 4096);
        QVERIFY(!lpFrame->hasFilteredData());
        for (int lnValue = 0; lnValue < 4096; ++lnValue)
            QCOMPARE(lsCounts[lnValue], lnValue % 150 == 0 && lnValue / 150 < 27 ? 1.0 : 0.0);

        lpFrame->getFilteredData(false).setTo(cv::Scalar(4095));
        QCOMPARE(lcStats.ComputeHistogram(4096, lsCentres, lsCounts), 4096);
        QCOMPARE(lsCounts[4095], 27.0);
        QCOMPARE(lsCounts[0], 0.0);
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
