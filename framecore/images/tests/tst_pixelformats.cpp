#include "framesamples.h"
#include "imagebuffer.h"
#include "pixelformat.h"

#include <QtTest>

#include <opencv2/core.hpp>

#include <cmath>
#include <vector>

using namespace tnFrameSamples;

namespace
{
// 8-bit display value of a sample shown through a scale: rounded to
// nearest (ties to even), saturated at 255.
int shown(double adValue)
{
    return static_cast<int>(std::min(255.0, std::nearbyint(adValue)));
}

// Holds frame bytes with the right alignment for 16-bit samples.
struct tcFrameBytes
{
    std::vector<quint16> msWords;
    uchar* data() { return reinterpret_cast<uchar*>(msWords.data()); }
    explicit tcFrameBytes(size_t anBytes) : msWords((anBytes + 1) / 2, 0) {}
};

bool grayImageMatches(const QImage& arImage, const std::vector<int>& arExpected, int anWidth, int anHeight)
{
    if (arImage.format() != QImage::Format_Grayscale8 || arImage.width() != anWidth ||
        arImage.height() != anHeight)
        return false;
    for (int lnY = 0; lnY < anHeight; ++lnY)
    {
        const uchar* lpLine = arImage.constScanLine(lnY);
        for (int lnX = 0; lnX < anWidth; ++lnX)
        {
            if (lpLine[lnX] != arExpected[static_cast<size_t>(lnY) * anWidth + lnX])
            {
                qWarning() << "pixel" << lnX << lnY << "is" << lpLine[lnX] << "expected"
                           << arExpected[static_cast<size_t>(lnY) * anWidth + lnX];
                return false;
            }
        }
    }
    return true;
}

// Compares an RGB888 image with a three-channel matrix, each channel scaled.
bool rgbImageMatches(const QImage& arImage, const cv::Mat& arColour, double adScale)
{
    if (arImage.format() != QImage::Format_RGB888 || arImage.width() != arColour.cols ||
        arImage.height() != arColour.rows)
        return false;
    for (int lnY = 0; lnY < arColour.rows; ++lnY)
    {
        const uchar* lpLine = arImage.constScanLine(lnY);
        for (int lnX = 0; lnX < arColour.cols; ++lnX)
        {
            for (int lnChannel = 0; lnChannel < 3; ++lnChannel)
            {
                const double ldValue = arColour.depth() == CV_8U
                                           ? arColour.at<cv::Vec3b>(lnY, lnX)[lnChannel]
                                           : arColour.at<cv::Vec<quint16, 3>>(lnY, lnX)[lnChannel];
                if (lpLine[3 * lnX + lnChannel] != shown(ldValue * adScale))
                {
                    qWarning() << "pixel" << lnX << lnY << "channel" << lnChannel << "is"
                               << lpLine[3 * lnX + lnChannel] << "expected" << shown(ldValue * adScale);
                    return false;
                }
            }
        }
    }
    return true;
}

bool matrixEquals(const cv::Mat& arLeft, const cv::Mat& arRight)
{
    return arLeft.size() == arRight.size() && arLeft.type() == arRight.type() &&
           cv::countNonZero(arLeft.reshape(1) != arRight.reshape(1)) == 0;
}

void addSizes()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    for (int lnWidth : {1, 2, 3, 5, 7, 8, 4001})
        for (int lnHeight : {1, 2, 3, 9})
            QTest::addRow("%dx%d", lnWidth, lnHeight) << lnWidth << lnHeight;
}

const char* const gsPatterns[] = {"RG", "GR", "GB", "BG"};

quint32 bayerCode(const QByteArray& arPattern, int anBits, bool abPacked)
{
    static const QHash<QByteArray, quint32> shCodes = {
        {"GR8", 0x01080008u},   {"RG8", 0x01080009u},   {"GB8", 0x0108000Au},   {"BG8", 0x0108000Bu},
        {"GR12", 0x01100010u},  {"RG12", 0x01100011u},  {"GB12", 0x01100012u},  {"BG12", 0x01100013u},
        {"BG12p", 0x010C0053u}, {"GB12p", 0x010C0055u}, {"GR12p", 0x010C0057u}, {"RG12p", 0x010C0059u}};
    return shCodes.value(arPattern + QByteArray::number(anBits) + (abPacked ? "p" : ""));
}
} // namespace

class tst_PixelFormats : public QObject
{
    Q_OBJECT

private slots:
    void properties_data()
    {
        QTest::addColumn<quint32>("code");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("channelBits");
        QTest::addColumn<int>("components");
        QTest::addColumn<quint64>("dataBytes");
        QTest::addColumn<int>("lineBytes");
        QTest::newRow("Mono8 4x3") << 0x01080001u << 4 << 3 << 8 << 8 << 1 << quint64(12) << 4;
        QTest::newRow("Mono12p 4x3") << 0x010C0047u << 4 << 3 << 12 << 12 << 1 << quint64(18) << 6;
        QTest::newRow("Mono12p 3x3") << 0x010C0047u << 3 << 3 << 12 << 12 << 1 << quint64(14) << 5;
        QTest::newRow("Mono12p 1x1") << 0x010C0047u << 1 << 1 << 12 << 12 << 1 << quint64(2) << 2;
        QTest::newRow("Mono16 5x3") << 0x01100007u << 5 << 3 << 16 << 16 << 1 << quint64(30) << 10;
        QTest::newRow("BayerRG8 5x3") << 0x01080009u << 5 << 3 << 8 << 8 << 1 << quint64(15) << 5;
        QTest::newRow("BayerGR12 5x3") << 0x01100010u << 5 << 3 << 12 << 12 << 3 << quint64(30) << 10;
        QTest::newRow("BayerBG12p 5x3") << 0x010C0053u << 5 << 3 << 12 << 12 << 3 << quint64(23) << 8;
        QTest::newRow("RGB8 5x3") << 0x02180014u << 5 << 3 << 24 << 8 << 3 << quint64(45) << 15;
        QTest::newRow("Null 5x3") << 0u << 5 << 3 << 8 << 8 << 1 << quint64(0) << 0;
        QTest::newRow("Mono8 no size") << 0x01080001u << -1 << -1 << 8 << 8 << 1 << quint64(0) << 0;
        // Sizes whose byte count does not fit 32 bits must not wrap.
        QTest::newRow("RGB8 huge") << 0x02180014u << 30000 << 30000 << 24 << 8 << 3 << quint64(2700000000u)
                                   << 90000;
        QTest::newRow("Mono16 widest")
            << 0x01100007u << 2147483647 << 1 << 16 << 16 << 1 << quint64(4294967294u) << -1;
    }
    void properties()
    {
        QFETCH(quint32, code);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, bits);
        QFETCH(int, channelBits);
        QFETCH(int, components);
        QFETCH(quint64, dataBytes);
        QFETCH(int, lineBytes);
        uchar lnByte = 0;
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(&lnByte, width, height, quint64(code));
        QCOMPARE(lpFrame->bitsPerPixel(), bits);
        QCOMPARE(lpFrame->bitsPerChannel(), channelBits);
        QCOMPARE(lpFrame->componentCount(), components);
        QCOMPARE(lpFrame->getNumDataBytes(), dataBytes);
        if (lineBytes >= 0)
            QCOMPARE(lpFrame->bytesPerLine(), lineBytes);
    }

    void mono8_data() { addSizes(); }
    void mono8()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        std::vector<uchar> lsBytes(static_cast<size_t>(width) * height);
        std::vector<int> lsExpected(lsBytes.size());
        for (size_t lnIndex = 0; lnIndex < lsBytes.size(); ++lnIndex)
            lsExpected[lnIndex] = lsBytes[lnIndex] = static_cast<uchar>(lnIndex * 37 + 11);
        const tpImageBuffer lpFrame =
            tcImageBuffer::newImage(lsBytes.data(), width, height, quint64(0x01080001u));

        const cv::Mat& lcRaw = lpFrame->getRawData();
        QCOMPARE(lcRaw.type(), CV_8UC1);
        QCOMPARE(lcRaw.data, lsBytes.data()); // no copy
        cv::Mat& lcFiltered = lpFrame->getFilteredData(false);
        QVERIFY(lcFiltered.data != lsBytes.data());
        QVERIFY(matrixEquals(lcFiltered, lcRaw));

        const QSharedPointer<QImage> lpImage = lpFrame->toQImage();
        QCOMPARE(lpImage->constBits(), lcFiltered.data); // shown without another copy
        QVERIFY(grayImageMatches(*lpImage, lsExpected, width, height));
    }

    void mono16_data() { addSizes(); }
    void mono16()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        std::vector<quint16> lsSamples(static_cast<size_t>(width) * height);
        std::vector<int> lsExpected(lsSamples.size());
        for (size_t lnIndex = 0; lnIndex < lsSamples.size(); ++lnIndex)
        {
            lsSamples[lnIndex] = static_cast<quint16>(lnIndex * 40503u + 128);
            lsExpected[lnIndex] = shown(lsSamples[lnIndex] / 256.0);
        }
        lsSamples[0] = 65535;
        lsExpected[0] = 255;
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(reinterpret_cast<uchar*>(lsSamples.data()),
                                                              width, height, quint64(0x01100007u));
        const cv::Mat& lcRaw = lpFrame->getRawData();
        QCOMPARE(lcRaw.type(), CV_16UC1);
        QCOMPARE(static_cast<void*>(lcRaw.data), static_cast<void*>(lsSamples.data()));
        QVERIFY(matrixEquals(lpFrame->getFilteredData(false), lcRaw));
        QVERIFY(grayImageMatches(*lpFrame->toQImage(), lsExpected, width, height));
    }

    void mono16Scale_data()
    {
        QTest::addColumn<int>("sample");
        QTest::addColumn<int>("shownAs");
        QTest::newRow("65535") << 65535 << 255;
        QTest::newRow("512") << 512 << 2;
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("383 rounds up") << 383 << 1;
        QTest::newRow("384 ties to even") << 384 << 2;
        QTest::newRow("640 ties to even") << 640 << 2;
    }
    void mono16Scale()
    {
        QFETCH(int, sample);
        QFETCH(int, shownAs);
        quint16 lnSample = static_cast<quint16>(sample);
        const tpImageBuffer lpFrame =
            tcImageBuffer::newImage(reinterpret_cast<uchar*>(&lnSample), 1, 1, quint64(0x01100007u));
        QCOMPARE(int(lpFrame->toQImage()->constScanLine(0)[0]), shownAs);
    }

    void mono12p_data() { addSizes(); }
    void mono12p()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        std::vector<quint16> lsSamples = samples12(static_cast<qint64>(width) * height);
        lsSamples.back() = 4095; // the last sample of an odd run sits half in the last byte
        std::vector<uchar> lsBytes = pack12(lsSamples);
        const tpImageBuffer lpFrame =
            tcImageBuffer::newImage(lsBytes.data(), width, height, quint64(0x010C0047u));
        QCOMPARE(lpFrame->getNumDataBytes(), quint64(lsBytes.size()));

        const cv::Mat& lcRaw = lpFrame->getRawData();
        QCOMPARE(lcRaw.type(), CV_16UC1);
        QCOMPARE(lcRaw.size(), cv::Size(width, height));
        const cv::Mat lcExpected(height, width, CV_16UC1, lsSamples.data());
        QVERIFY(matrixEquals(lcRaw, lcExpected));
        QVERIFY(matrixEquals(lpFrame->getFilteredData(false), lcRaw));
        QVERIFY(lpFrame->getFilteredData(false).data != lcRaw.data);

        std::vector<int> lsShown(lsSamples.size());
        for (size_t lnIndex = 0; lnIndex < lsSamples.size(); ++lnIndex)
            lsShown[lnIndex] = shown(lsSamples[lnIndex] / 16.0);
        QCOMPARE(lsShown.back(), 255); // 4095 / 16 = 255.9 saturates
        QVERIFY(grayImageMatches(*lpFrame->toQImage(), lsShown, width, height));
    }

    void mono12pUnpackingExample()
    {
        uchar lsBytes[] = {0x21, 0x43, 0x65};
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(lsBytes, 2, 1, quint64(0x010C0047u));
        const cv::Mat& lcRaw = lpFrame->getRawData();
        QCOMPARE(int(lcRaw.at<quint16>(0, 0)), 0x321);
        QCOMPARE(int(lcRaw.at<quint16>(0, 1)), 0x654);
    }

    void rgb8_data() { addSizes(); }
    void rgb8()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        std::vector<uchar> lsBytes(static_cast<size_t>(width) * height * 3);
        for (size_t lnIndex = 0; lnIndex < lsBytes.size(); ++lnIndex)
            lsBytes[lnIndex] = static_cast<uchar>(lnIndex * 53 + 1);
        const tpImageBuffer lpFrame =
            tcImageBuffer::newImage(lsBytes.data(), width, height, quint64(0x02180014u));
        const cv::Mat& lcRaw = lpFrame->getRawData();
        QCOMPARE(lcRaw.type(), CV_8UC3);
        QCOMPARE(lcRaw.data, lsBytes.data());
        cv::Mat& lcFiltered = lpFrame->getFilteredData(false);
        QVERIFY(lcFiltered.data != lsBytes.data());
        QVERIFY(matrixEquals(lcFiltered, lcRaw));
        const QSharedPointer<QImage> lpImage = lpFrame->toQImage();
        QCOMPARE(lpImage->constBits(), lcFiltered.data);
        // The first byte of each triplet is red.
        const cv::Mat lcExpected(height, width, CV_8UC3, lsBytes.data());
        QVERIFY(rgbImageMatches(*lpImage, lcExpected, 1.0));
        QCOMPARE(qRed(lpImage->pixel(0, 0)), int(lsBytes[0]));
        QCOMPARE(qBlue(lpImage->pixel(width - 1, height - 1)), int(lsBytes.back()));
    }

    void bayerAtEveryWidth_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QByteArray>("pattern");
        QTest::addColumn<int>("bits");
        QTest::addColumn<bool>("packed");
        for (int lnWidth : {1, 2, 3, 5, 7, 4001})
            for (int lnHeight : {1, 3, 9})
                for (const char* lpPattern : gsPatterns)
                {
                    QTest::addRow("%s8 %dx%d", lpPattern, lnWidth, lnHeight)
                        << lnWidth << lnHeight << QByteArray(lpPattern) << 8 << false;
                    QTest::addRow("%s12 %dx%d", lpPattern, lnWidth, lnHeight)
                        << lnWidth << lnHeight << QByteArray(lpPattern) << 12 << false;
                    QTest::addRow("%s12p %dx%d", lpPattern, lnWidth, lnHeight)
                        << lnWidth << lnHeight << QByteArray(lpPattern) << 12 << true;
                }
    }
    void bayerAtEveryWidth()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QByteArray, pattern);
        QFETCH(int, bits);
        QFETCH(bool, packed);
        const quint32 lnCode = bayerCode(pattern, bits, packed);
        QVERIFY(lnCode != 0);
        const qint64 lnCount = static_cast<qint64>(width) * height;
        std::vector<quint16> lsSamples = samples12(lnCount);
        std::vector<uchar> lsBytes;
        cv::Mat lcExpectedRaw;
        if (bits == 8)
        {
            for (quint16 lnSample : lsSamples)
                lsBytes.push_back(static_cast<uchar>(lnSample >> 4));
            lcExpectedRaw = cv::Mat(height, width, CV_8UC1, lsBytes.data()).clone();
        }
        else if (packed)
        {
            lsBytes = pack12(lsSamples);
            lcExpectedRaw = cv::Mat(height, width, CV_16UC1, lsSamples.data()).clone();
        }
        else
        {
            lcExpectedRaw = cv::Mat(height, width, CV_16UC1, lsSamples.data()).clone();
        }
        uchar* lpData = bits == 12 && !packed ? reinterpret_cast<uchar*>(lsSamples.data()) : lsBytes.data();
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(lpData, width, height, quint64(lnCode));

        const cv::Mat& lcRaw = lpFrame->getRawData();
        QVERIFY(matrixEquals(lcRaw, lcExpectedRaw));
        if (!packed)
            QCOMPARE(static_cast<void*>(lcRaw.data), static_cast<void*>(lpData));
        const cv::Mat& lcFiltered = lpFrame->getFilteredData(false);
        QCOMPARE(lcFiltered.type(), bits == 8 ? CV_8UC3 : CV_16UC3);
        QCOMPARE(lcFiltered.size(), cv::Size(width, height));
        const QSharedPointer<QImage> lpImage = lpFrame->toQImage();
        QVERIFY(rgbImageMatches(*lpImage, lcFiltered, bits == 8 ? 1.0 : 1.0 / 16.0));
        if (bits == 8)
            QCOMPARE(lpImage->constBits(), lcFiltered.data);
    }

    // A mosaic lit on one colour only must come out in that colour's channel.
    void bayerColoursLandInTheirChannels_data()
    {
        QTest::addColumn<QByteArray>("pattern");
        QTest::addColumn<int>("bits");
        QTest::addColumn<bool>("packed");
        QTest::addColumn<int>("colour");
        for (const char* lpPattern : gsPatterns)
            for (int lnColour : {0, 2})
            {
                const char* lpName = lnColour == 0 ? "red" : "blue";
                QTest::addRow("%s8 %s", lpPattern, lpName) << QByteArray(lpPattern) << 8 << false << lnColour;
                QTest::addRow("%s12 %s", lpPattern, lpName)
                    << QByteArray(lpPattern) << 12 << false << lnColour;
                QTest::addRow("%s12p %s", lpPattern, lpName)
                    << QByteArray(lpPattern) << 12 << true << lnColour;
            }
    }
    void bayerColoursLandInTheirChannels()
    {
        QFETCH(QByteArray, pattern);
        QFETCH(int, bits);
        QFETCH(bool, packed);
        QFETCH(int, colour);
        const int lnWidth = 8;
        const int lnHeight = 6;
        const teColour leLit = colour == 0 ? teColour::Red : teColour::Blue;
        const int lnLevel = bits == 8 ? 200 : 4000;
        const std::vector<quint16> lsMosaic = bayerMosaic<quint16>(pattern.constData(), lnWidth, lnHeight,
                                                                   leLit, static_cast<quint16>(lnLevel));
        std::vector<uchar> lsBytes;
        std::vector<quint16> lsWords = lsMosaic;
        uchar* lpData = reinterpret_cast<uchar*>(lsWords.data());
        if (bits == 8)
        {
            for (quint16 lnSite : lsMosaic)
                lsBytes.push_back(static_cast<uchar>(lnSite));
            lpData = lsBytes.data();
        }
        else if (packed)
        {
            lsBytes = pack12(lsMosaic);
            lpData = lsBytes.data();
        }
        const tpImageBuffer lpFrame =
            tcImageBuffer::newImage(lpData, lnWidth, lnHeight, quint64(bayerCode(pattern, bits, packed)));

        const cv::Mat& lcFiltered = lpFrame->getFilteredData(false);
        const QSharedPointer<QImage> lpImage = lpFrame->toQImage();
        const int lnShown = shown(bits == 8 ? lnLevel : lnLevel / 16.0);
        // Every interior site, whatever its own colour, sees the lit colour
        // around it at full level and nothing of the others.
        for (int lnY = 2; lnY < 4; ++lnY)
            for (int lnX = 2; lnX < 4; ++lnX)
            {
                for (int lnChannel = 0; lnChannel < 3; ++lnChannel)
                {
                    const int lnValue = bits == 8 ? lcFiltered.at<cv::Vec3b>(lnY, lnX)[lnChannel]
                                                  : lcFiltered.at<cv::Vec<quint16, 3>>(lnY, lnX)[lnChannel];
                    QCOMPARE(lnValue, lnChannel == colour ? lnLevel : 0);
                }
                const QRgb lnPixel = lpImage->pixel(lnX, lnY);
                QCOMPARE(colour == 0 ? qRed(lnPixel) : qBlue(lnPixel), lnShown);
                QCOMPARE(qGreen(lnPixel), 0);
                QCOMPARE(colour == 0 ? qBlue(lnPixel) : qRed(lnPixel), 0);
            }
    }

    void bayer12FullScaleSaturates()
    {
        std::vector<quint16> lsSites(16, 4095);
        const tpImageBuffer lpFrame =
            tcImageBuffer::newImage(reinterpret_cast<uchar*>(lsSites.data()), 4, 4, quint64(0x01100011u));
        QCOMPARE(lpFrame->toQImage()->pixel(1, 1), qRgb(255, 255, 255));
    }

    void filteredCopyIsKeptUntilReset_data()
    {
        QTest::addColumn<quint32>("code");
        QTest::newRow("Mono8") << 0x01080001u;
        QTest::newRow("Mono12p") << 0x010C0047u;
        QTest::newRow("Mono16") << 0x01100007u;
        QTest::newRow("BayerRG8") << 0x01080009u;
        QTest::newRow("BayerGB12") << 0x01100012u;
        QTest::newRow("BayerGR12p") << 0x010C0057u;
        QTest::newRow("RGB8") << 0x02180014u;
    }
    void filteredCopyIsKeptUntilReset()
    {
        QFETCH(quint32, code);
        std::vector<quint16> lsWords(5 * 4 * 3, 0x0123);
        const tpImageBuffer lpFrame =
            tcImageBuffer::newImage(reinterpret_cast<uchar*>(lsWords.data()), 5, 4, quint64(code));
        const cv::Mat lcRawCopy = lpFrame->getRawData().clone();
        cv::Mat& lcFirst = lpFrame->getFilteredData(false);
        const QSharedPointer<QImage> lpBefore = lpFrame->toQImage();
        lcFirst.setTo(cv::Scalar::all(9));
        cv::Mat& lcSecond = lpFrame->getFilteredData(false);
        QCOMPARE(&lcSecond, &lcFirst);
        QCOMPARE(cv::countNonZero(lcSecond.reshape(1) != 9), 0);
        QCOMPARE(lpFrame->toQImage()->isNull(), false);

        cv::Mat& lcReset = lpFrame->getFilteredData(true);
        QVERIFY(cv::countNonZero(lcReset.reshape(1) != 9) > 0);
        // The raw matrix and the frame's bytes are never touched by filters.
        QVERIFY(matrixEquals(lpFrame->getRawData(), lcRawCopy));
        for (quint16 lnWord : lsWords)
            QCOMPARE(lnWord, quint16(0x0123));
        QVERIFY(!lpBefore->isNull());
    }

    void sharedImageOutlivesItsFrame()
    {
        std::vector<uchar> lsBytes(7 * 3, 77);
        QSharedPointer<QImage> lpImage;
        {
            const tpImageBuffer lpFrame = tcImageBuffer::newImage(lsBytes.data(), 7, 3, quint64(0x01080001u));
            lpImage = lpFrame->toQImage();
        }
        std::fill(lsBytes.begin(), lsBytes.end(), 0);
        QCOMPARE(lpImage->size(), QSize(7, 3));
        QCOMPARE(int(lpImage->constScanLine(2)[6]), 77);
    }

    void framesWithoutPixelsConvertToNothing_data()
    {
        QTest::addColumn<quint32>("code");
        QTest::newRow("Mono8") << 0x01080001u;
        QTest::newRow("Mono12p") << 0x010C0047u;
        QTest::newRow("Mono16") << 0x01100007u;
        QTest::newRow("BayerBG8") << 0x0108000Bu;
        QTest::newRow("BayerBG12") << 0x01100013u;
        QTest::newRow("BayerBG12p") << 0x010C0053u;
        QTest::newRow("RGB8") << 0x02180014u;
    }
    void framesWithoutPixelsConvertToNothing()
    {
        QFETCH(quint32, code);
        uchar lnByte = 0;
        for (const tpImageBuffer& lpFrame :
             {tcImageBuffer::newImage(code), tcImageBuffer::newImage(&lnByte, 0, 5, quint64(code)),
              tcImageBuffer::newImage(&lnByte, -3, 2, quint64(code))})
        {
            QVERIFY(lpFrame->getRawData().empty());
            QVERIFY(lpFrame->getFilteredData(true).empty());
            const QSharedPointer<QImage> lpImage = lpFrame->toQImage();
            QVERIFY(lpImage);
            QVERIFY(lpImage->isNull());
        }
    }

    void filteredOfUnexpectedTypeIsNotShown()
    {
        std::vector<uchar> lsBytes(4, 1);
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(lsBytes.data(), 2, 2, quint64(0x01080001u));
        lpFrame->getFilteredData(false).convertTo(lpFrame->getFilteredData(false), CV_32F);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot be shown"));
        QVERIFY(lpFrame->toQImage()->isNull());
    }
};

QTEST_APPLESS_MAIN(tst_PixelFormats)
#include "tst_pixelformats.moc"
