// The display filter on frames of every format it meets: untouched when
// switched off, the fixed order of its steps, the 8-bit scale of colour
// frames, and the look-up table against the steps it stands for.
#include "displayfilter.h"
#include "framesamples.h"

#include <QtTest>

#include <vector>

namespace
{
constexpr unsigned kMono8 = 0x01080001;
constexpr unsigned kMono12p = 0x010C0047;
constexpr unsigned kMono16 = 0x01100007;
constexpr unsigned kBayerRG8 = 0x01080009;
constexpr unsigned kBayerRG12 = 0x01100011;
constexpr unsigned kBayerGB12p = 0x010C0055;
constexpr unsigned kRGB8 = 0x02180014;

// A frame over bytes the test keeps alive.
struct tcFrame
{
    std::vector<uchar> msBytes;
    tpImageBuffer mpImage;

    tcFrame(std::vector<uchar> asBytes, int anWidth, int anHeight, unsigned anFormat)
        : msBytes(std::move(asBytes))
    {
        mpImage = tcImageBuffer::newImage(msBytes.data(), anWidth, anHeight, quint64(anFormat));
    }
    cv::Mat& filtered() { return mpImage->getFilteredData(false); }
};

template <class T> std::vector<uchar> bytesOf(const std::vector<T>& arSamples)
{
    const auto* lpBytes = reinterpret_cast<const uchar*>(arSamples.data());
    return std::vector<uchar>(lpBytes, lpBytes + arSamples.size() * sizeof(T));
}

tcFrame mono12p(const std::vector<quint16>& arSamples, int anWidth)
{
    return tcFrame(tnFrameSamples::pack12(arSamples), anWidth, int(arSamples.size()) / anWidth, kMono12p);
}

// Pseudo-random samples of the given bit count, enough for a width × height
// frame with anChannels samples per pixel.
std::vector<quint16> samples(int anCount, int anBits)
{
    std::vector<quint16> lsSamples(static_cast<size_t>(anCount));
    for (int lnIndex = 0; lnIndex < anCount; ++lnIndex)
        lsSamples[size_t(lnIndex)] = quint16((lnIndex * 2654435761u + 0x5A3) & ((1u << anBits) - 1));
    return lsSamples;
}

std::vector<uchar> samples8(int anCount)
{
    std::vector<uchar> lsBytes(static_cast<size_t>(anCount));
    for (int lnIndex = 0; lnIndex < anCount; ++lnIndex)
        lsBytes[size_t(lnIndex)] = uchar((lnIndex * 2654435761u) >> 7);
    return lsBytes;
}

cv::Vec3w pixel16(tcFrame& arFrame, int anX, int anY)
{
    return arFrame.filtered().at<cv::Vec3w>(anY, anX);
}

cv::Vec3b pixel8(tcFrame& arFrame, int anX, int anY)
{
    return arFrame.filtered().at<cv::Vec3b>(anY, anX);
}

// A 2 × 2 RGB8 frame of pixels (64, 100, 200) after the correction.
cv::Vec3b correctedRgb8(const tcDisplayCorrection& arCorrection)
{
    std::vector<uchar> lsPixels;
    for (int lnPixel = 0; lnPixel < 4; ++lnPixel)
        lsPixels.insert(lsPixels.end(), {64, 100, 200});
    tcFrame lcFrame(lsPixels, 2, 2, kRGB8);
    tcDisplayFilter lcFilter;
    lcFilter.setCorrection(arCorrection);
    lcFilter.filterImage(lcFrame.mpImage);
    return pixel8(lcFrame, 1, 1);
}
} // namespace

class tst_DisplayFilter : public QObject
{
    Q_OBJECT

private slots:
    void allDisabled_passesFramesUntouched();
    void brightnessHalf_onMono12p_addsHalfTheRangeAndClips();
    void steps_runInFixedOrder();
    void gainAndGamma_onBayerFrames_perChannel();
    void rgb8_scalesWithEightBitsPerChannel();
    void table_agreesWithTheSteps_data();
    void table_agreesWithTheSteps();
    void changedSettings_takeEffectOnTheNextFrame();
    void framesWithoutPixels_passUnchanged();
};

void tst_DisplayFilter::allDisabled_passesFramesUntouched()
{
    tcDisplayFilter lcFilter;
    QCOMPARE(lcFilter.name(), QStringLiteral("Brightness And Gain Filter"));
    QCOMPARE(lcFilter.typeName(), QStringLiteral("tcImageFilterInterface"));
    // Values set but switched off change nothing.
    lcFilter.setGain(cv::Scalar(3, 3, 3, 3));
    lcFilter.setBrightness(cv::Scalar(0.5, 0.5, 0.5, 0));
    lcFilter.setGamma(cv::Scalar(0.3, 0.3, 0.3, 1));

    const std::vector<quint16> lsSamples = samples(16 * 8, 12);
    tcFrame lcFrame = mono12p(lsSamples, 16);
    const std::vector<uchar> lsBytes = lcFrame.msBytes;
    QCOMPARE(lcFilter.filterImage(lcFrame.mpImage), lcFrame.mpImage);
    // Not even a copy to correct was made.
    QVERIFY(!lcFrame.mpImage->hasFilteredData());
    QCOMPARE(lcFrame.msBytes, lsBytes);
    const cv::Mat& lrFiltered = lcFrame.filtered();
    QCOMPARE(cv::norm(lrFiltered, lcFrame.mpImage->getRawData(), cv::NORM_INF), 0.0);
}

void tst_DisplayFilter::brightnessHalf_onMono12p_addsHalfTheRangeAndClips()
{
    tcDisplayFilter lcFilter;
    lcFilter.setBrightnessEnabled(true);
    lcFilter.setBrightness(cv::Scalar(0.5, 0.5, 0.5, 0));
    const std::vector<quint16> lsSamples{0, 1, 100, 2046, 2047, 2048, 3000, 4095};
    tcFrame lcFrame = mono12p(lsSamples, 8);
    QCOMPARE(lcFilter.filterImage(lcFrame.mpImage), lcFrame.mpImage);
    // 0.5 × 4095 = 2047.5, which the saturating conversion rounds to 2048.
    const std::vector<quint16> lsExpected{2048, 2049, 2148, 4094, 4095, 4095, 4095, 4095};
    for (int lnIndex = 0; lnIndex < 8; ++lnIndex)
        QCOMPARE(lcFrame.filtered().at<quint16>(0, lnIndex), lsExpected[size_t(lnIndex)]);
}

void tst_DisplayFilter::steps_runInFixedOrder()
{
    // Gain 2, brightness 0.08 (20.4 → 20 on 8 bits), gamma 0.5: 22 → 44 → 64
    // → 128. Any other order gives another value (brightness first: 84, …).
    tcDisplayFilter lcFilter;
    lcFilter.setGainEnabled(true);
    lcFilter.setGain(cv::Scalar(2, 2, 2, 2));
    lcFilter.setBrightnessEnabled(true);
    lcFilter.setBrightness(cv::Scalar(0.08, 0.08, 0.08, 0));
    lcFilter.setGammaEnabled(true);
    lcFilter.setGamma(cv::Scalar(0.5, 1, 1, 1));
    tcFrame lcFrame(std::vector<uchar>{22, 0, 200, 255}, 4, 1, kMono8);
    lcFilter.filterImage(lcFrame.mpImage);
    QCOMPARE(int(lcFrame.filtered().at<uchar>(0, 0)), 128);
    // 0 → 0 → 20 → round(√(20/255) × 255) = 71.
    QCOMPARE(int(lcFrame.filtered().at<uchar>(0, 1)), 71);
    QCOMPARE(int(lcFrame.filtered().at<uchar>(0, 2)), 255);

    // Clipping comes last, at the top of the bit range: a 12-bit sample
    // doubled to 6000 in its 16-bit word ends at 4095.
    tcDisplayFilter lcGainOnly;
    lcGainOnly.setGainEnabled(true);
    lcGainOnly.setGain(cv::Scalar(2, 2, 2, 2));
    tcFrame lcTwelve = mono12p({3000, 1000}, 2);
    lcGainOnly.filterImage(lcTwelve.mpImage);
    QCOMPARE(int(lcTwelve.filtered().at<quint16>(0, 0)), 4095);
    QCOMPARE(int(lcTwelve.filtered().at<quint16>(0, 1)), 2000);
}

void tst_DisplayFilter::gainAndGamma_onBayerFrames_perChannel()
{
    // A flat mosaic demosaics to the same level in every channel.
    tcDisplayFilter lcFilter;
    lcFilter.setGainEnabled(true);
    lcFilter.setGain(cv::Scalar(2, 1, 0.5, 1));
    tcFrame lcBayer8(std::vector<uchar>(8 * 8, 40), 8, 8, kBayerRG8);
    lcFilter.filterImage(lcBayer8.mpImage);
    QCOMPARE(pixel8(lcBayer8, 3, 3), cv::Vec3b(80, 40, 20));

    tcFrame lcBayer12(bytesOf(std::vector<quint16>(8 * 8, 1000)), 8, 8, kBayerRG12);
    lcFilter.filterImage(lcBayer12.mpImage);
    QCOMPARE(pixel16(lcBayer12, 4, 4), cv::Vec3w(2000, 1000, 500));

    // Gamma 0.5 over 12 bits: round(√(1024/4095) × 4095) = 2048, in every
    // channel; packed Bayer frames are corrected like unpacked ones.
    tcDisplayFilter lcGamma;
    lcGamma.setGammaEnabled(true);
    lcGamma.setGamma(cv::Scalar(0.5, 3, 3, 3));
    tcFrame lcPacked(tnFrameSamples::pack12(std::vector<quint16>(8 * 8, 1024)), 8, 8, kBayerGB12p);
    lcGamma.filterImage(lcPacked.mpImage);
    QCOMPARE(pixel16(lcPacked, 2, 5), cv::Vec3w(2048, 2048, 2048));
}

void tst_DisplayFilter::rgb8_scalesWithEightBitsPerChannel()
{
    // Brightness 0.1 adds 0.1 × 255 (25.5 → 26), not a tenth of 2^24 that
    // would saturate every channel; gamma 0.5 maps 64 to 128 as on mono.
    tcDisplayCorrection lcBrightness;
    lcBrightness.mbBrightnessEnabled = true;
    lcBrightness.mcBrightness = cv::Scalar(0.1, 0.1, 0.1, 0);
    QCOMPARE(correctedRgb8(lcBrightness), cv::Vec3b(90, 126, 226));

    // √(100/255) × 255 = 159.7, √(200/255) × 255 = 225.8.
    tcDisplayCorrection lcGamma;
    lcGamma.mbGammaEnabled = true;
    lcGamma.mcGamma = cv::Scalar(0.5, 1, 1, 1);
    QCOMPARE(correctedRgb8(lcGamma), cv::Vec3b(128, 160, 226));

    tcDisplayCorrection lcGain;
    lcGain.mbGainEnabled = true;
    lcGain.mcGain = cv::Scalar(2, 0.5, 1.5, 1);
    QCOMPARE(correctedRgb8(lcGain), cv::Vec3b(128, 50, 255));
}

void tst_DisplayFilter::table_agreesWithTheSteps_data()
{
    QTest::addColumn<unsigned>("format");
    QTest::addColumn<QByteArray>("bytes");
    const int lnWidth = 64;
    const int lnHeight = 48;
    const int lnPixels = lnWidth * lnHeight;
    const auto lcBytes = [](const std::vector<uchar>& arBytes)
    { return QByteArray(reinterpret_cast<const char*>(arBytes.data()), int(arBytes.size())); };
    QTest::newRow("Mono8") << kMono8 << lcBytes(samples8(lnPixels));
    QTest::newRow("Mono12p") << kMono12p << lcBytes(tnFrameSamples::pack12(samples(lnPixels, 12)));
    QTest::newRow("Mono16") << kMono16 << lcBytes(bytesOf(samples(lnPixels, 16)));
    QTest::newRow("BayerRG8") << kBayerRG8 << lcBytes(samples8(lnPixels));
    QTest::newRow("BayerRG12") << kBayerRG12 << lcBytes(bytesOf(samples(lnPixels, 12)));
    // Stray bits above the 12 significant ones still map like the steps.
    QTest::newRow("BayerRG12, stray bits") << kBayerRG12 << lcBytes(bytesOf(samples(lnPixels, 16)));
    QTest::newRow("RGB8") << kRGB8 << lcBytes(samples8(lnPixels * 3));
}

void tst_DisplayFilter::table_agreesWithTheSteps()
{
    QFETCH(unsigned, format);
    QFETCH(QByteArray, bytes);
    tcDisplayFilter lcFilter;
    lcFilter.setGainEnabled(true);
    lcFilter.setGain(cv::Scalar(1.7, 0.8, 1.3, 1));
    lcFilter.setBrightnessEnabled(true);
    lcFilter.setBrightness(cv::Scalar(-0.05, 0.1, 0.02, 0));
    lcFilter.setGammaEnabled(true);
    lcFilter.setGamma(cv::Scalar(0.7, 1, 1, 1));

    std::vector<uchar> lsBytes(bytes.begin(), bytes.end());
    tcFrame lcFrame(lsBytes, 64, 48, format);
    lcFilter.filterImage(lcFrame.mpImage);
    cv::Mat lcStepped = lcFrame.mpImage->getFilteredData(false).clone();
    cv::Mat& lrExpected = lcFrame.mpImage->getFilteredData(true);
    lcFilter.correction().applyInSteps(lrExpected, lcFrame.mpImage->bitsPerChannel());
    QCOMPARE(lcStepped.type(), lrExpected.type());
    QCOMPARE(cv::norm(lcStepped, lrExpected, cv::NORM_INF), 0.0);
    // The corrections did change the frame.
    QVERIFY(cv::norm(lcStepped, lcFrame.mpImage->getFilteredData(true), cv::NORM_INF) > 0);
}

void tst_DisplayFilter::changedSettings_takeEffectOnTheNextFrame()
{
    tcDisplayFilter lcFilter;
    lcFilter.setGainEnabled(true);
    lcFilter.setGain(cv::Scalar(2, 2, 2, 2));
    tcFrame lcFirst(std::vector<uchar>{10, 20}, 2, 1, kMono8);
    lcFilter.filterImage(lcFirst.mpImage);
    QCOMPARE(int(lcFirst.filtered().at<uchar>(0, 1)), 40);

    lcFilter.setGain(cv::Scalar(3, 3, 3, 3));
    tcFrame lcSecond(std::vector<uchar>{10, 20}, 2, 1, kMono8);
    lcFilter.filterImage(lcSecond.mpImage);
    QCOMPARE(int(lcSecond.filtered().at<uchar>(0, 1)), 60);

    // Filtering the same frame again after a reset starts from the raw data.
    lcFirst.mpImage->getFilteredData(true);
    lcFilter.filterImage(lcFirst.mpImage);
    QCOMPARE(int(lcFirst.filtered().at<uchar>(0, 0)), 30);

    lcFilter.setGainEnabled(false);
    tcFrame lcThird(std::vector<uchar>{10, 20}, 2, 1, kMono8);
    lcFilter.filterImage(lcThird.mpImage);
    QCOMPARE(int(lcThird.filtered().at<uchar>(0, 1)), 20);
}

void tst_DisplayFilter::framesWithoutPixels_passUnchanged()
{
    tcDisplayFilter lcFilter;
    lcFilter.setGainEnabled(true);
    lcFilter.setGain(cv::Scalar(2, 2, 2, 2));
    QVERIFY(lcFilter.filterImage(tpImageBuffer()).isNull());
    const tpImageBuffer lpEmpty = tcImageBuffer::newImage();
    QCOMPARE(lcFilter.filterImage(lpEmpty), lpEmpty);
}

QTEST_GUILESS_MAIN(tst_DisplayFilter)
#include "tst_displayfilter.moc"
