// Region conversion and rendering agree with the frame's own full conversion.
#include "frameregion.h"
#include "framerenderer.h"
#include "framesamples.h"
#include "opencvutils.h"
#include "packed12unpacker.h"

#include <QtTest>

#include <opencv2/core/utility.hpp>
#include <opencv2/imgproc.hpp>

#include <random>
#include <vector>

namespace
{
struct tcFormat
{
    const char* mpName;
    quint32 mnCode;
    int mnBytesPerPixel; // 0 for 12-bit packed
};

const tcFormat gsFormats[] = {
    {"Mono8", 0x01080001u, 1},      {"Mono12p", 0x010C0047u, 0},    {"Mono16", 0x01100007u, 2},
    {"BayerGR8", 0x01080008u, 1},   {"BayerRG8", 0x01080009u, 1},   {"BayerGB8", 0x0108000Au, 1},
    {"BayerBG8", 0x0108000Bu, 1},   {"BayerGR12", 0x01100010u, 2},  {"BayerBG12", 0x01100013u, 2},
    {"BayerRG12p", 0x010C0059u, 0}, {"BayerGB12p", 0x010C0055u, 0}, {"RGB8", 0x02180014u, 3},
};

// A frame of random samples (limited to 12 bits for the 12-bit formats)
// over bytes the caller keeps.
tpImageBuffer randomFrame(const tcFormat& arFormat, int anWidth, int anHeight, std::vector<uchar>& arBytes,
                          unsigned anSeed)
{
    std::mt19937 lcRandom(anSeed);
    const size_t lnPixels = size_t(anWidth) * anHeight;
    if (arFormat.mnBytesPerPixel == 0)
    {
        std::vector<quint16> lsSamples(lnPixels);
        for (quint16& lrSample : lsSamples)
            lrSample = quint16(lcRandom() & 0x0FFF);
        arBytes = tnFrameSamples::pack12(lsSamples);
    }
    else
    {
        arBytes.resize(lnPixels * size_t(arFormat.mnBytesPerPixel));
        for (uchar& lrByte : arBytes)
            lrByte = uchar(lcRandom());
        if (QByteArray(arFormat.mpName).endsWith("12"))
            for (size_t lnIndex = 1; lnIndex < arBytes.size(); lnIndex += 2)
                arBytes[lnIndex] &= 0x0F;
    }
    return tcImageBuffer::newImage(arBytes.data(), anWidth, anHeight, quint64(arFormat.mnCode));
}

bool sameMatrix(const cv::Mat& arFirst, const cv::Mat& arSecond)
{
    if (arFirst.size() != arSecond.size() || arFirst.type() != arSecond.type())
        return false;
    cv::Mat lcDiff;
    cv::absdiff(arFirst, arSecond, lcDiff);
    return cv::countNonZero(lcDiff.reshape(1)) == 0;
}

cv::Mat viewOf(const QImage& arImage)
{
    QImage lcCopy = arImage;
    return tcFrameRegion::matOf(lcCopy).clone();
}
} // namespace

class tst_FrameRegion : public QObject
{
    Q_OBJECT

private slots:
    void regionsMatchTheFullConversion_data();
    void regionsMatchTheFullConversion();
    void binnedMosaicKeepsEachColour_data();
    void binnedMosaicKeepsEachColour();
    void binnedMonoIsTheBlockMean();
    void binnedPackedMatchesUnpackedSamples_data();
    void binnedPackedMatchesUnpackedSamples();
    void binFactorFollowsTheShrink();
    void zoomedOutViewFollowsTheFullConversion();
    void renderAtOneToOneAndMagnifiedIsExact();
    void renderShowsTheFilteredMatrix();
    void unknownFormatsAndEmptyRegionsGiveNothing();
    void renderQueueLetsGoOfAFrameOnceRendered();
};

void tst_FrameRegion::regionsMatchTheFullConversion_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QRect>("region");
    for (int lnFormat = 0; lnFormat < int(std::size(gsFormats)); ++lnFormat)
        for (const QRect& lrRegion : {QRect(0, 0, 38, 29), QRect(0, 0, 5, 4), QRect(3, 5, 11, 7),
                                      QRect(33, 24, 5, 5), QRect(17, 0, 1, 1), QRect(36, 28, 9, 9)})
            QTest::addRow("%s %d,%d %dx%d", gsFormats[lnFormat].mpName, lrRegion.x(), lrRegion.y(),
                          lrRegion.width(), lrRegion.height())
                << lnFormat << lrRegion;
}

void tst_FrameRegion::regionsMatchTheFullConversion()
{
    QFETCH(int, format);
    QFETCH(QRect, region);
    std::vector<uchar> lsBytes;
    const tpImageBuffer lpFrame = randomFrame(gsFormats[format], 38, 29, lsBytes, 7u + unsigned(format));
    const cv::Rect lcRegion = tcOpenCVUtils::ConvertQRectToCvRect(region);
    const cv::Rect lcInside = lcRegion & cv::Rect(0, 0, 38, 29);

    QVERIFY(sameMatrix(tcFrameRegion::raw(*lpFrame, lcRegion), lpFrame->getRawData()(lcInside)));
    QVERIFY(
        sameMatrix(tcFrameRegion::filtered(*lpFrame, lcRegion), lpFrame->getFilteredData(false)(lcInside)));
    const QImage lcWhole = *lpFrame->toQImage();
    const QImage lcPart = tcFrameRegion::display(*lpFrame, lcRegion);
    QCOMPARE(lcPart.format(), lcWhole.format());
    QCOMPARE(lcPart, lcWhole.copy(QRect(lcInside.x, lcInside.y, lcInside.width, lcInside.height)));
}

void tst_FrameRegion::binnedMosaicKeepsEachColour_data()
{
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<quint32>("code");
    QTest::addColumn<int>("lit");
    for (const auto& lrEntry :
         {std::make_pair(QByteArray("RG"), 0x01100011u), std::make_pair(QByteArray("GR"), 0x01100010u),
          std::make_pair(QByteArray("GB"), 0x01100012u), std::make_pair(QByteArray("BG"), 0x01100013u)})
        for (int lnLit = 0; lnLit < 3; ++lnLit)
            QTest::addRow("%s lit %d", lrEntry.first.constData(), lnLit)
                << lrEntry.first << lrEntry.second << lnLit;
}

void tst_FrameRegion::binnedMosaicKeepsEachColour()
{
    QFETCH(QByteArray, pattern);
    QFETCH(quint32, code);
    QFETCH(int, lit);
    // Bayer12 in 16-bit words: a level of 1600 shows as 100.
    std::vector<quint16> lsSites = tnFrameSamples::bayerMosaic<quint16>(
        pattern.constData(), 40, 24, static_cast<tnFrameSamples::teColour>(lit), quint16(1600));
    const tpImageBuffer lpFrame =
        tcImageBuffer::newImage(reinterpret_cast<uchar*>(lsSites.data()), 40, 24, quint64(code));
    for (int lnBin : {2, 4, 8})
    {
        const QImage lcBinned = tcFrameRegion::binned(*lpFrame, cv::Rect(0, 0, 40, 24), lnBin);
        QCOMPARE(lcBinned.size(), QSize(40 / lnBin, 24 / lnBin));
        for (int lnChannel = 0; lnChannel < 3; ++lnChannel)
            QCOMPARE(int(lcBinned.constScanLine(1)[3 + lnChannel]), lnChannel == lit ? 100 : 0);
    }
    // An odd origin is moved to the mosaic's phase, not read out of step.
    const QImage lcShifted = tcFrameRegion::binned(*lpFrame, cv::Rect(3, 1, 30, 20), 2);
    QCOMPARE(lcShifted.size(), QSize(15, 10));
    QCOMPARE(int(lcShifted.constScanLine(0)[lit]), 100);
    // An odd block would mix the mosaic's colours.
    QVERIFY(tcFrameRegion::binned(*lpFrame, cv::Rect(0, 0, 40, 24), 3).isNull());
}

void tst_FrameRegion::binnedMonoIsTheBlockMean()
{
    for (const tcFormat& lrFormat : {gsFormats[0], gsFormats[1], gsFormats[2], gsFormats[11]})
    {
        std::vector<uchar> lsBytes;
        const tpImageBuffer lpFrame = randomFrame(lrFormat, 48, 36, lsBytes, 99u);
        const QImage lcBinned = tcFrameRegion::binned(*lpFrame, cv::Rect(0, 0, 48, 36), 3);
        QCOMPARE(lcBinned.size(), QSize(16, 12));
        cv::Mat lcExpected;
        cv::resize(viewOf(*lpFrame->toQImage()), lcExpected, cv::Size(16, 12), 0, 0, cv::INTER_AREA);
        cv::Mat lcDiff;
        cv::absdiff(viewOf(lcBinned), lcExpected, lcDiff);
        double ldMax = 0;
        cv::minMaxLoc(lcDiff.reshape(1), nullptr, &ldMax);
        // The mean of the samples before or after the reduction to 8 bits.
        QVERIFY2(ldMax <= 1.0, lrFormat.mpName);
    }
}

void tst_FrameRegion::binnedPackedMatchesUnpackedSamples_data()
{
    QTest::addColumn<quint32>("packed");
    QTest::addColumn<quint32>("words"); // the same samples in 16-bit words; 0: none
    QTest::addColumn<QRect>("region");
    QTest::addColumn<int>("bin");
    const quint32 lnRG12p = 0x010C0059u;
    const quint32 lnRG12 = 0x01100011u;
    const quint32 lnMono12p = 0x010C0047u;
    // Regions that start off the mosaic's phase, end inside a vector step,
    // and bins the fixed-size and the general loops take.
    for (const QRect& lrRegion : {QRect(0, 0, 1000, 60), QRect(7, 3, 913, 41), QRect(0, 0, 34, 16)})
        for (int lnBin : {2, 4, 6, 8, 12})
            QTest::addRow("RG12p %dx%d bin %d", lrRegion.width(), lrRegion.height(), lnBin)
                << lnRG12p << lnRG12 << lrRegion << lnBin;
    // Red on the other column or line: the fixed-size blocks' other branches.
    QTest::addRow("GR12p bin 4") << 0x010C0057u << 0x01100010u << QRect(2, 2, 990, 56) << 4;
    QTest::addRow("BG12p bin 4") << 0x010C0053u << 0x01100013u << QRect(2, 2, 990, 56) << 4;
    for (int lnBin : {2, 3, 5, 8})
        QTest::addRow("Mono12p bin %d", lnBin) << lnMono12p << 0u << QRect(1, 0, 999, 60) << lnBin;
}

void tst_FrameRegion::binnedPackedMatchesUnpackedSamples()
{
    QFETCH(quint32, packed);
    QFETCH(quint32, words);
    QFETCH(QRect, region);
    QFETCH(int, bin);
    const int lnWidth = 1000;
    const int lnHeight = 60;
    std::mt19937 lcRandom(11);
    std::vector<quint16> lsSamples(size_t(lnWidth) * lnHeight);
    for (quint16& lrSample : lsSamples)
        lrSample = quint16(lcRandom() & 0x0FFF);
    std::vector<uchar> lsPacked = tnFrameSamples::pack12(lsSamples);
    const tpImageBuffer lpPacked =
        tcImageBuffer::newImage(lsPacked.data(), lnWidth, lnHeight, quint64(packed));
    const cv::Rect lcRegion = tcOpenCVUtils::ConvertQRectToCvRect(region);

    const QImage lcBinned = tcFrameRegion::binned(*lpPacked, lcRegion, bin);
    QVERIFY(!lcBinned.isNull());
    // The vector steps, the portable loop and one thread give the same pixels.
    tcPacked12Unpacker::setSimdAllowed(false);
    const QImage lcPortable = tcFrameRegion::binned(*lpPacked, lcRegion, bin);
    tcPacked12Unpacker::setSimdAllowed(true);
    QCOMPARE(lcPortable, lcBinned);
    const int lnThreads = cv::getNumThreads();
    cv::setNumThreads(0); // the calling thread alone
    const QImage lcOneThread = tcFrameRegion::binned(*lpPacked, lcRegion, bin);
#ifndef __SANITIZE_THREAD__
    // The thread sanitizer's build keeps OpenCV's loops in the calling thread
    // throughout: its worker pool hands work over unseen by the sanitizer.
    cv::setNumThreads(lnThreads);
#else
    Q_UNUSED(lnThreads);
#endif
    QCOMPARE(lcOneThread, lcBinned);

    if (words != 0)
    {
        // The 16-bit column sums of packed lines agree with the 32-bit sums
        // of the same samples delivered unpacked.
        const tpImageBuffer lpWords = tcImageBuffer::newImage(reinterpret_cast<uchar*>(lsSamples.data()),
                                                              lnWidth, lnHeight, quint64(words));
        QCOMPARE(lcBinned, tcFrameRegion::binned(*lpWords, lcRegion, bin));
        // Fewer output lines than blocks: line pairs picked, the same in both.
        const int lnRows = std::max(1, lcBinned.height() * 2 / 3);
        const QImage lcThinned = tcFrameRegion::binned(*lpPacked, lcRegion, bin, lnRows);
        QCOMPARE(lcThinned.height(), bin >= 4 && lnRows < lcBinned.height() ? lnRows : lcBinned.height());
        QCOMPARE(lcThinned, tcFrameRegion::binned(*lpWords, lcRegion, bin, lnRows));
        return;
    }
    // A mono block is the rounded mean of its samples, reduced to 8 bits;
    // blocks of four lines or more take an even and an odd line from their
    // middle.
    const cv::Rect lcSource = tcFrameRegion::binnedSource(tcFrameRegion::layout(packed), lcRegion, bin);
    const int lnFirstLine = bin >= 4 ? bin / 2 & ~1 : 0;
    const int lnLines = bin >= 4 ? 2 : bin;
    for (int lnY = 0; lnY < lcBinned.height(); ++lnY)
        for (int lnX = 0; lnX < lcBinned.width(); ++lnX)
        {
            quint64 lnSum = 0;
            for (int lnRow = lnFirstLine; lnRow < lnFirstLine + lnLines; ++lnRow)
                for (int lnColumn = 0; lnColumn < bin; ++lnColumn)
                    lnSum += lsSamples[size_t(lcSource.y + lnY * bin + lnRow) * lnWidth + size_t(lcSource.x) +
                                       size_t(lnX * bin + lnColumn)];
            const quint64 lnDivisor = quint64(lnLines) * bin * 16;
            QCOMPARE(int(lcBinned.constScanLine(lnY)[lnX]), int((2 * lnSum + lnDivisor) / (2 * lnDivisor)));
        }
}

void tst_FrameRegion::binFactorFollowsTheShrink()
{
    const tcFrameRegion::tcLayout lcBayer = tcFrameRegion::layout(0x010C0059u);
    const tcFrameRegion::tcLayout lcMono = tcFrameRegion::layout(0x01080001u);
    // The whole 7920 x 6004 sensor in a 1424 x 1080 drawing: blocks of 4.
    QCOMPARE(tcFrameRegion::binFactor(lcBayer, cv::Size(7920, 6004), cv::Size(1424, 1080)), 4);
    QCOMPARE(tcFrameRegion::binFactor(lcMono, cv::Size(7920, 6004), cv::Size(1424, 1080)), 5);
    QCOMPARE(tcFrameRegion::binFactor(lcBayer, cv::Size(2048, 1536), cv::Size(1424, 1068)), 1);
    QCOMPARE(tcFrameRegion::binFactor(lcBayer, cv::Size(300, 300), cv::Size(100, 100)), 2);
    QCOMPARE(tcFrameRegion::binFactor(lcMono, cv::Size(100, 100), cv::Size(400, 400)), 1);
    QCOMPARE(
        tcFrameRegion::binFactor(tcFrameRegion::layout(0x01100003u), cv::Size(8000, 6000), cv::Size(10, 10)),
        1);
}

void tst_FrameRegion::zoomedOutViewFollowsTheFullConversion()
{
    // Smooth colour fields (red across, blue down, green diagonal) in a
    // packed mosaic: a view shrunk four, six and 4.8 times (line pairs picked
    // per output line) shows what the full conversion shrunk by area shows,
    // give or take a few levels.
    const int lnWidth = 960;
    const int lnHeight = 720;
    std::vector<quint16> lsSites(size_t(lnWidth) * lnHeight);
    for (int lnY = 0; lnY < lnHeight; ++lnY)
        for (int lnX = 0; lnX < lnWidth; ++lnX)
        {
            const tnFrameSamples::teColour leColour = tnFrameSamples::bayerColour("GB", lnX, lnY);
            const int lnLevel = leColour == tnFrameSamples::teColour::Red    ? lnX * 4
                                : leColour == tnFrameSamples::teColour::Blue ? lnY * 5
                                                                             : (lnX + lnY) * 2;
            lsSites[size_t(lnY) * lnWidth + size_t(lnX)] = quint16(std::min(lnLevel, 4095));
        }
    std::vector<uchar> lsBytes = tnFrameSamples::pack12(lsSites);
    const tpImageBuffer lpFrame =
        tcImageBuffer::newImage(lsBytes.data(), lnWidth, lnHeight, quint64(0x010C0055u));
    const cv::Mat lcWhole = viewOf(*lpFrame->toQImage());
    for (const QSize& lrSize : {QSize(240, 180), QSize(160, 120), QSize(200, 150)})
    {
        tcRenderRequest lcRequest;
        lcRequest.mpFrame = lpFrame;
        lcRequest.mcSource = QRect(0, 0, lnWidth, lnHeight);
        lcRequest.mcSize = lrSize;
        const QImage lcView = tcFrameRenderer::render(lcRequest);
        QCOMPARE(lcView.size(), lrSize);
        cv::Mat lcExpected;
        cv::resize(lcWhole, lcExpected, cv::Size(lrSize.width(), lrSize.height()), 0, 0, cv::INTER_AREA);
        cv::Mat lcDiff;
        cv::absdiff(viewOf(lcView), lcExpected, lcDiff);
        double ldMax = 0;
        cv::minMaxLoc(lcDiff.reshape(1), nullptr, &ldMax);
        QVERIFY2(ldMax <= 4.0, qPrintable(QString::number(ldMax)));
    }
}

void tst_FrameRegion::renderAtOneToOneAndMagnifiedIsExact()
{
    for (const tcFormat& lrFormat : {gsFormats[1], gsFormats[4], gsFormats[9], gsFormats[11]})
    {
        std::vector<uchar> lsBytes;
        const tpImageBuffer lpFrame = randomFrame(lrFormat, 64, 48, lsBytes, 5u);
        QImage lcWhole = *lpFrame->toQImage();
        for (int lnInterpolation : {0, 1, 2})
        {
            tcRenderRequest lcRequest;
            lcRequest.mpFrame = lpFrame;
            lcRequest.mcSource = QRect(10, 7, 20, 15);
            lcRequest.mnInterpolation = lnInterpolation;
            lcRequest.mcSize = QSize(20, 15);
            QCOMPARE(tcFrameRenderer::render(lcRequest), lcWhole.copy(lcRequest.mcSource));
            lcRequest.mcSize = QSize(60, 45);
            const cv::Mat lcExpected =
                tcOpenCVUtils::CropAndResize(tcFrameRegion::matOf(lcWhole), lcRequest.mcSource,
                                             QRect(QPoint(), lcRequest.mcSize), lnInterpolation);
            QVERIFY2(sameMatrix(viewOf(tcFrameRenderer::render(lcRequest)), lcExpected), lrFormat.mpName);
        }
    }
}

void tst_FrameRegion::renderShowsTheFilteredMatrix()
{
    std::vector<uchar> lsBytes;
    const tpImageBuffer lpFrame = randomFrame(gsFormats[9], 64, 48, lsBytes, 3u);
    cv::Mat& lrFiltered = lpFrame->getFilteredData(false);
    lrFiltered.setTo(cv::Scalar(160, 320, 480)); // a display filter's work
    tcRenderRequest lcRequest;
    lcRequest.mpFrame = lpFrame;
    lcRequest.mcFiltered = lrFiltered;
    lcRequest.mcSource = QRect(0, 0, 64, 48);
    for (const QSize& lrSize : {QSize(64, 48), QSize(16, 12), QSize(128, 96)})
    {
        lcRequest.mcSize = lrSize;
        const QImage lcImage = tcFrameRenderer::render(lcRequest);
        QCOMPARE(lcImage.size(), lrSize);
        QCOMPARE(lcImage.pixel(3, 3), qRgb(10, 20, 30));
    }
}

void tst_FrameRegion::unknownFormatsAndEmptyRegionsGiveNothing()
{
    std::vector<uchar> lsBytes(100, 1);
    const tpImageBuffer lpUnknown = tcImageBuffer::newImage(lsBytes.data(), 10, 10, quint64(0x01100003u));
    QVERIFY(tcFrameRegion::raw(*lpUnknown, cv::Rect(0, 0, 2, 2)).empty());
    QVERIFY(tcFrameRegion::display(*lpUnknown, cv::Rect(0, 0, 2, 2)).isNull());
    const tpImageBuffer lpMono = tcImageBuffer::newImage(lsBytes.data(), 10, 10, quint64(0x01080001u));
    QVERIFY(tcFrameRegion::raw(*lpMono, cv::Rect(20, 20, 2, 2)).empty());
    QVERIFY(tcFrameRegion::display(*lpMono, cv::Rect(-5, -5, 2, 2)).isNull());
    tcRenderRequest lcRequest;
    lcRequest.mpFrame = lpMono;
    lcRequest.mcSource = QRect(0, 0, 10, 10);
    QVERIFY(tcFrameRenderer::render(lcRequest).isNull()); // no output size
    const tpImageBuffer lpEmpty = tcImageBuffer::newImage();
    QVERIFY(tcFrameRegion::binned(*lpEmpty, cv::Rect(0, 0, 4, 4), 2).isNull());
}

void tst_FrameRegion::renderQueueLetsGoOfAFrameOnceRendered()
{
    std::vector<uchar> lsBytes;
    tpImageBuffer lpFrame = randomFrame(gsFormats[9], 640, 480, lsBytes, 4u);
    const QWeakPointer<tcImageBuffer> lpWatch = lpFrame;
    tcRenderQueue lcQueue;
    tcRenderRequest lcRequest;
    lcRequest.mpFrame = lpFrame;
    lcRequest.mcSource = QRect(0, 0, 640, 480);
    lcRequest.mcSize = QSize(320, 240);
    lcRequest.mnSerial = 1;
    lcQueue.submit(lcRequest);
    lcRequest = tcRenderRequest();
    lpFrame.reset();
    // Without this thread's event loop running: the render thread alone lets
    // the frame go once it has rendered it.
    QElapsedTimer lcClock;
    lcClock.start();
    while (!lpWatch.isNull() && lcClock.elapsed() < 10000)
        QThread::msleep(5);
    QVERIFY(lpWatch.isNull());
    QVERIFY(lcQueue.isBusy()); // the result is not taken yet
    QVERIFY(lcQueue.waitIdle(10000));
}

QTEST_GUILESS_MAIN(tst_FrameRegion)
#include "tst_frameregion.moc"
