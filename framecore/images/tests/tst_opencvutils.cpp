#include "opencvutils.h"

#include <QtTest>

#include <opencv2/imgproc.hpp>

class tst_OpenCVUtils : public QObject
{
    Q_OBJECT

private slots:
    void gain_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<double>("sample");
        QTest::addColumn<double>("gain");
        QTest::addColumn<double>("result");
        QTest::newRow("8-bit saturates") << CV_8UC1 << 200.0 << 2.0 << 255.0;
        QTest::newRow("8-bit halves") << CV_8UC1 << 200.0 << 0.5 << 100.0;
        QTest::newRow("8-bit rounds to even") << CV_8UC1 << 5.0 << 0.5 << 2.0;
        QTest::newRow("16-bit") << CV_16UC1 << 1000.0 << 3.0 << 3000.0;
        QTest::newRow("16-bit saturates") << CV_16UC1 << 40000.0 << 2.0 << 65535.0;
    }
    void gain()
    {
        QFETCH(int, type);
        QFETCH(double, sample);
        QFETCH(double, gain);
        QFETCH(double, result);
        cv::Mat lcMatrix(3, 5, type, cv::Scalar(sample));
        tcOpenCVUtils::ApplyGain(lcMatrix, cv::Scalar(gain, 9, 9, 9));
        QCOMPARE(lcMatrix.type(), type);
        QCOMPARE(cv::countNonZero(lcMatrix != result), 0);
    }

    void gainPerChannelKeepsBuffer()
    {
        cv::Mat lcMatrix(2, 3, CV_8UC3, cv::Scalar(100, 100, 100));
        const uchar* lpBuffer = lcMatrix.data;
        tcOpenCVUtils::ApplyGain(lcMatrix, cv::Scalar(0.5, 1.0, 3.0));
        QCOMPARE(lcMatrix.data, lpBuffer);
        QCOMPARE(lcMatrix.at<cv::Vec3b>(1, 2), cv::Vec3b(50, 100, 255));
        cv::Mat lcWide(2, 3, CV_16UC3, cv::Scalar(1000, 1000, 1000));
        tcOpenCVUtils::ApplyGain(lcWide, cv::Scalar(2, 3, 4));
        QCOMPARE(lcWide.at<cv::Vec3w>(0, 0), cv::Vec3w(2000, 3000, 4000));
    }

    void gainLeavesOtherChannelCountsAlone()
    {
        cv::Mat lcFour(2, 2, CV_8UC4, cv::Scalar(10, 20, 30, 40));
        tcOpenCVUtils::ApplyGain(lcFour, cv::Scalar(2, 2, 2, 2));
        QCOMPARE(lcFour.at<cv::Vec4b>(1, 1), cv::Vec4b(10, 20, 30, 40));
        cv::Mat lcTwo(2, 2, CV_8UC2, cv::Scalar(10, 20));
        tcOpenCVUtils::ApplyGain(lcTwo, cv::Scalar(2, 2));
        QCOMPARE(lcTwo.at<cv::Vec2b>(0, 0), cv::Vec2b(10, 20));
        cv::Mat lcEmpty;
        tcOpenCVUtils::ApplyGain(lcEmpty, cv::Scalar(2));
        QVERIFY(lcEmpty.empty());
    }

    void brightness()
    {
        cv::Mat lcMatrix(2, 2, CV_8UC1, cv::Scalar(5));
        tcOpenCVUtils::ApplyBrightness(lcMatrix, cv::Scalar(-10));
        QCOMPARE(cv::countNonZero(lcMatrix), 0);
        tcOpenCVUtils::ApplyBrightness(lcMatrix, cv::Scalar(300));
        QCOMPARE(int(lcMatrix.at<uchar>(0, 0)), 255);
        cv::Mat lcColour(2, 2, CV_16UC3, cv::Scalar(100, 100, 100));
        tcOpenCVUtils::ApplyBrightness(lcColour, cv::Scalar(1, -200, 2047.5));
        QCOMPARE(lcColour.at<cv::Vec3w>(1, 0), cv::Vec3w(101, 0, 2148));
    }

    void gammaOneChangesNothing_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("top");
        QTest::newRow("8-bit, 8 bits") << CV_8UC1 << 8 << 255;
        QTest::newRow("8-bit colour, 8 bits") << CV_8UC3 << 8 << 255;
        QTest::newRow("16-bit, 12 bits") << CV_16UC1 << 12 << 4095;
        QTest::newRow("16-bit colour, 12 bits") << CV_16UC3 << 12 << 4095;
        QTest::newRow("16-bit, 16 bits") << CV_16UC1 << 16 << 65535;
    }
    void gammaOneChangesNothing()
    {
        QFETCH(int, type);
        QFETCH(int, bits);
        QFETCH(int, top);
        cv::Mat lcMatrix(16, 17, type);
        cv::randu(lcMatrix, 0, top + 1);
        const cv::Mat lcBefore = lcMatrix.clone();
        tcOpenCVUtils::ApplyGamma(lcMatrix, cv::Scalar(1.0), bits);
        QCOMPARE(cv::countNonZero(lcMatrix.reshape(1) != lcBefore.reshape(1)), 0);
    }

    void gammaTable_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("bits");
        QTest::addColumn<double>("gamma");
        QTest::addColumn<int>("sample");
        QTest::addColumn<int>("result");
        QTest::newRow("sqrt 64 of 255") << CV_8UC1 << 8 << 0.5 << 64 << 128; // 127.75
        QTest::newRow("sqrt 0") << CV_8UC1 << 8 << 0.5 << 0 << 0;
        QTest::newRow("sqrt top") << CV_8UC1 << 8 << 0.5 << 255 << 255;
        QTest::newRow("square 128 of 255") << CV_8UC1 << 8 << 2.0 << 128 << 64;     // 64.25
        QTest::newRow("12-bit sqrt 1024") << CV_16UC1 << 12 << 0.5 << 1024 << 2048; // 2047.75
        QTest::newRow("12-bit above range clamps") << CV_16UC1 << 12 << 0.5 << 5000 << 4095;
        QTest::newRow("12-bit far above clamps") << CV_16UC1 << 12 << 2.0 << 65535 << 4095;
        QTest::newRow("7 bits on 8-bit data") << CV_8UC1 << 7 << 0.5 << 32 << 64; // 63.75
        QTest::newRow("7 bits, sample above range") << CV_8UC1 << 7 << 0.5 << 200 << 127;
        QTest::newRow("gamma 0 lifts all") << CV_8UC1 << 8 << 0.0 << 0 << 255;
    }
    void gammaTable()
    {
        QFETCH(int, type);
        QFETCH(int, bits);
        QFETCH(double, gamma);
        QFETCH(int, sample);
        QFETCH(int, result);
        cv::Mat lcMatrix(3, 3, type, cv::Scalar(sample));
        tcOpenCVUtils::ApplyGamma(lcMatrix, cv::Scalar(gamma, 5, 5), bits);
        cv::Mat lcInt;
        lcMatrix.convertTo(lcInt, CV_32S);
        QCOMPARE(lcInt.at<int>(1, 1), result);
        QCOMPARE(cv::countNonZero(lcInt != result), 0);
    }

    void gammaLeavesUnsupportedMatricesAlone_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("bits");
        QTest::newRow("float") << CV_32FC1 << 8;
        QTest::newRow("signed 16") << CV_16SC1 << 12;
        QTest::newRow("8-bit with 12 bits") << CV_8UC1 << 12;
        QTest::newRow("no bits") << CV_16UC1 << 0;
        QTest::newRow("17 bits") << CV_16UC1 << 17;
    }
    void gammaLeavesUnsupportedMatricesAlone()
    {
        QFETCH(int, type);
        QFETCH(int, bits);
        cv::Mat lcMatrix(3, 3, type, cv::Scalar(100));
        tcOpenCVUtils::ApplyGamma(lcMatrix, cv::Scalar(0.5), bits);
        QCOMPARE(cv::countNonZero(lcMatrix.reshape(1) != 100), 0);
    }

    void lut16_data()
    {
        QTest::addColumn<int>("sample");
        QTest::addColumn<int>("result");
        QTest::newRow("first") << 0 << 1000;
        QTest::newRow("inside") << 7 << 1007;
        QTest::newRow("last") << 15 << 1015;
        QTest::newRow("just past the table") << 16 << 1015;
        QTest::newRow("far past the table") << 65535 << 1015;
    }
    void lut16()
    {
        QFETCH(int, sample);
        QFETCH(int, result);
        cv::Mat lcTable(1, 16, CV_16UC1);
        for (int lnIndex = 0; lnIndex < 16; ++lnIndex)
            lcTable.at<quint16>(lnIndex) = static_cast<quint16>(1000 + lnIndex);
        cv::Mat lcMatrix(40, 33, CV_16UC3, cv::Scalar::all(sample));
        tcOpenCVUtils::LUT16(lcMatrix, lcTable);
        QCOMPARE(cv::countNonZero(lcMatrix.reshape(1) != result), 0);
    }

    void lut16OnAView()
    {
        cv::Mat lcTable(1, 4, CV_16UC1);
        lcTable.at<quint16>(0) = 10;
        lcTable.at<quint16>(1) = 11;
        lcTable.at<quint16>(2) = 12;
        lcTable.at<quint16>(3) = 13;
        cv::Mat lcMatrix(4, 4, CV_16UC1, cv::Scalar(1));
        cv::Mat lcView = lcMatrix(cv::Rect(1, 1, 2, 2));
        tcOpenCVUtils::LUT16(lcView, lcTable);
        QCOMPARE(int(lcMatrix.at<quint16>(1, 1)), 11);
        QCOMPARE(int(lcMatrix.at<quint16>(2, 2)), 11);
        QCOMPARE(int(lcMatrix.at<quint16>(0, 0)), 1);
        QCOMPARE(int(lcMatrix.at<quint16>(3, 3)), 1);
    }

    void lut16RejectsOtherDepths()
    {
        cv::Mat lcTable(1, 4, CV_16UC1, cv::Scalar(9));
        cv::Mat lcMatrix(2, 2, CV_8UC1, cv::Scalar(1));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("LUT16"));
        tcOpenCVUtils::LUT16(lcMatrix, lcTable);
        QCOMPARE(int(lcMatrix.at<uchar>(0, 0)), 1);
    }

    void interpolationChoice_data()
    {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<QSize>("output");
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("used");
        QTest::newRow("shrink") << QSize(100, 100) << QSize(50, 50) << 2 << int(cv::INTER_AREA);
        QTest::newRow("grow") << QSize(100, 100) << QSize(200, 200) << 2 << int(cv::INTER_CUBIC);
        QTest::newRow("same") << QSize(100, 100) << QSize(100, 100) << 0 << int(cv::INTER_NEAREST);
        QTest::newRow("fewer pixels, one side longer")
            << QSize(100, 100) << QSize(400, 20) << 1 << int(cv::INTER_AREA);
        QTest::newRow("more pixels, one side shorter") << QSize(100, 100) << QSize(50, 400) << 5 << 5;
    }
    void interpolationChoice()
    {
        QFETCH(QSize, source);
        QFETCH(QSize, output);
        QFETCH(int, asked);
        QFETCH(int, used);
        QCOMPARE(tcOpenCVUtils::ChooseInterpolation(tcOpenCVUtils::ConvertQSizeToCvSize(source),
                                                    tcOpenCVUtils::ConvertQSizeToCvSize(output), asked),
                 used);
    }

    void cropAndResize_data()
    {
        QTest::addColumn<int>("outputSide");
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("expectedMethod");
        QTest::newRow("shrink uses area") << 50 << int(cv::INTER_NEAREST) << int(cv::INTER_AREA);
        QTest::newRow("grow nearest") << 200 << int(cv::INTER_NEAREST) << int(cv::INTER_NEAREST);
        QTest::newRow("grow cubic") << 200 << int(cv::INTER_CUBIC) << int(cv::INTER_CUBIC);
    }
    void cropAndResize()
    {
        QFETCH(int, outputSide);
        QFETCH(int, asked);
        QFETCH(int, expectedMethod);
        cv::Mat lcImage(300, 320, CV_8UC3);
        cv::randu(lcImage, 0, 256);
        const QRect lcSource(20, 10, 100, 100);
        const cv::Mat lcResult =
            tcOpenCVUtils::CropAndResize(lcImage, lcSource, QRect(999, 999, outputSide, outputSide), asked);
        QCOMPARE(lcResult.size(), cv::Size(outputSide, outputSide));
        QCOMPARE(lcResult.type(), lcImage.type());
        cv::Mat lcExpected;
        cv::resize(lcImage(cv::Rect(20, 10, 100, 100)), lcExpected, cv::Size(outputSide, outputSide), 0, 0,
                   expectedMethod);
        QCOMPARE(cv::norm(lcResult, lcExpected, cv::NORM_INF), 0.0);
    }

    void cropOutsideTheImage()
    {
        cv::Mat lcImage(10, 10, CV_8UC1, cv::Scalar(3));
        const cv::Mat lcPartly =
            tcOpenCVUtils::CropAndResize(lcImage, cv::Rect(5, 5, 20, 20), cv::Size(4, 4), 1);
        QCOMPARE(lcPartly.size(), cv::Size(4, 4));
        QCOMPARE(cv::countNonZero(lcPartly != 3), 0);
        QVERIFY(tcOpenCVUtils::CropAndResize(lcImage, cv::Rect(20, 20, 5, 5), cv::Size(4, 4), 1).empty());
        QVERIFY(tcOpenCVUtils::CropAndResize(lcImage, cv::Rect(0, 0, 5, 5), cv::Size(0, 4), 1).empty());
        QVERIFY(tcOpenCVUtils::CropAndResize(cv::Mat(), cv::Rect(0, 0, 5, 5), cv::Size(4, 4), 1).empty());
    }

    void conversions()
    {
        QCOMPARE(tcOpenCVUtils::ConvertQRectToCvRect(QRect(1, 2, 30, 40)), cv::Rect(1, 2, 30, 40));
        QCOMPARE(tcOpenCVUtils::ConvertQSizeToCvSize(QSize(30, 40)), cv::Size(30, 40));
        QCOMPARE(tcOpenCVUtils::ConvertQSizeToCvSize(QSize()), cv::Size(-1, -1));
    }

    void pixelAsText_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("8U") << CV_8UC1 << 7.0 << "  7";
        QTest::newRow("8U full") << CV_8UC1 << 255.0 << "255";
        QTest::newRow("8S") << CV_8SC1 << -7.0 << "  -7";
        QTest::newRow("16U") << CV_16UC1 << 4095.0 << " 4095";
        QTest::newRow("16S") << CV_16SC1 << -300.0 << "  -300";
        QTest::newRow("32F") << CV_32FC1 << 1.0 << "??";
        QTest::newRow("8U two channels") << CV_8UC2 << 1.0 << "??";
        QTest::newRow("8U four channels") << CV_8UC4 << 1.0 << "??";
    }
    void pixelAsText()
    {
        QFETCH(int, type);
        QFETCH(double, value);
        QFETCH(QString, text);
        const cv::Mat lcMatrix(2, 3, type, cv::Scalar::all(value));
        QCOMPARE(tcOpenCVUtils::PixelAsText(lcMatrix, 2, 1), text);
    }

    void pixelAsTextThreeChannels_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("text");
        QTest::newRow("8U") << CV_8UC3 << "(  1, 22,255)";
        QTest::newRow("8S") << CV_8SC3 << "(   1,  22, 127)";
        QTest::newRow("16U") << CV_16UC3 << "(    1,   22,  255)";
        QTest::newRow("16S") << CV_16SC3 << "(     1,    22,   255)";
    }
    void pixelAsTextThreeChannels()
    {
        QFETCH(int, type);
        QFETCH(QString, text);
        const cv::Mat lcMatrix(2, 3, type, cv::Scalar(1, 22, 255));
        QCOMPARE(tcOpenCVUtils::PixelAsText(lcMatrix, 0, 1), text);
    }

    void pixelAsTextOutside_data()
    {
        QTest::addColumn<QPoint>("position");
        QTest::newRow("left") << QPoint(-1, 0);
        QTest::newRow("above") << QPoint(0, -1);
        QTest::newRow("right") << QPoint(3, 0);
        QTest::newRow("below") << QPoint(0, 2);
    }
    void pixelAsTextOutside()
    {
        QFETCH(QPoint, position);
        const cv::Mat lcMatrix(2, 3, CV_8UC1, cv::Scalar(1));
        QCOMPARE(tcOpenCVUtils::PixelAsText(lcMatrix, position.x(), position.y()), QString());
        QCOMPARE(tcOpenCVUtils::PixelAsText(cv::Mat(), 0, 0), QString());
    }
};

QTEST_APPLESS_MAIN(tst_OpenCVUtils)
#include "tst_opencvutils.moc"
