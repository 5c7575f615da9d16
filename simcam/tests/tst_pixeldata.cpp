// Pixel data of every format each camera offers, checked sample by sample
// against the test patterns' definition (support/patternreference).
#include "patternreference.h"
#include "producerlibrary.h"
#include "simcamsession.h"

#include <QtTest>

using namespace GenTL;

class tcPixelDataTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void framesFollowThePattern_data();
    void framesFollowThePattern();

private:
    std::unique_ptr<tcProducerLibrary> mpLib;
};

void tcPixelDataTest::initTestCase()
{
    mpLib = std::make_unique<tcProducerLibrary>();
    QVERIFY2(mpLib->loaded(), mpLib->loadError().c_str());
}

void tcPixelDataTest::framesFollowThePattern_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("pattern");
    for (const char* lpFormat : {"Mono8", "Mono12p", "Mono16"})
    {
        QTest::newRow(qPrintable(QString("mono %1 ramp").arg(lpFormat))) << 0 << lpFormat << 1;
    }
    for (const tcReferenceFormat& lrFormat : tcPatternReference::formats())
    {
        if (lrFormat.msName.rfind("Mono", 0) == 0)
        {
            continue;
        }
        for (int lnPattern : {1, 2})
        {
            QTest::newRow(qPrintable(
                QString("colour %1 %2").arg(lrFormat.msName.c_str(), lnPattern == 1 ? "ramp" : "bars")))
                << 1 << QString::fromStdString(lrFormat.msName) << lnPattern;
        }
    }
    for (const char* lpFormat : {"BayerGR12p", "BayerGR8", "BayerGR12"})
    {
        QTest::newRow(qPrintable(QString("cmv50000 %1 bars").arg(lpFormat))) << 2 << lpFormat << 2;
    }
}

void tcPixelDataTest::framesFollowThePattern()
{
    QFETCH(int, device);
    QFETCH(QString, format);
    QFETCH(int, pattern);
    const tcReferenceFormat* lpFormat = tcPatternReference::format(format.toStdString());
    QVERIFY(lpFormat != nullptr);
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[device]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    // Nearly the full width, so that every colour bar shows, shifted by an offset in x and y.
    const uint32_t lnSensorWidth = lcSession.u32(simcamreg::SensorWidth, true);
    const uint32_t lnOffsetX = 32, lnOffsetY = 2, lnWidth = lnSensorWidth - 64, lnHeight = 24;
    QCOMPARE(lcSession.writeU32(simcamreg::Width, lnWidth, true), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::Height, lnHeight, true), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::OffsetX, lnOffsetX), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::OffsetY, lnOffsetY), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::PixelFormat, lpFormat->mnCode), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::AcquisitionConfig, uint32_t(pattern) << 8), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeFrameRate(30.0), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::ExposureTimeRaw, 100), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    const size_t lnPayload = lcSession.payloadSize();
    QCOMPARE(lnPayload, tcPatternReference::rowBytes(*lpFormat, lnWidth) * lnHeight);
    QCOMPARE(lcSession.announceAndQueue(3, lnPayload, true), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.startAcquisition(3), GC_ERR_SUCCESS);

    const uint32_t lnMax = (1u << lpFormat->mnBits) - 1;
    for (int lnFrame = 0; lnFrame < 3; ++lnFrame)
    {
        BUFFER_HANDLE lhBuffer = nullptr;
        QCOMPARE(lcSession.waitBuffer(lhBuffer), GC_ERR_SUCCESS);
        uint64_t lnFrameId = 0, lnCode = 0;
        void* lpBase = nullptr;
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_FRAMEID, lnFrameId), GC_ERR_SUCCESS);
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_PIXELFORMAT, lnCode), GC_ERR_SUCCESS);
        QCOMPARE(lnCode, uint64_t(lpFormat->mnCode));
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_BASE, lpBase), GC_ERR_SUCCESS);
        const uint8_t* lpImage = static_cast<const uint8_t*>(lpBase);
        const uint32_t lnStampWidth = tcPatternReference::stampWidth(lnFrameId);
        int lnStampOn = 0;
        for (uint32_t lnJ = 0; lnJ < lnHeight; ++lnJ)
        {
            for (uint32_t lnI = 0; lnI < lnWidth; ++lnI)
            {
                uint32_t lcGot[3], lcWant[3];
                tcPatternReference::decode(*lpFormat, lpImage, lnWidth, lnI, lnJ, lcGot);
                if (lnJ < tcPatternReference::StampHeight && lnI < lnStampWidth)
                {
                    // The frame id is drawn in full-scale white on black.
                    QVERIFY(lcGot[0] == 0 || lcGot[0] == lnMax);
                    lnStampOn += lcGot[0] == lnMax;
                    continue;
                }
                tcPatternReference::expected(*lpFormat, pattern, lnSensorWidth, lnOffsetX + lnI,
                                             lnOffsetY + lnJ, lnFrameId, lcWant);
                for (int lnChannel = 0; lnChannel < lpFormat->mnChannels; ++lnChannel)
                {
                    if (lcGot[lnChannel] != lcWant[lnChannel])
                    {
                        QFAIL(qPrintable(QString("frame %1 pixel (%2, %3) channel %4: got %5, expected %6")
                                             .arg(lnFrameId)
                                             .arg(lnI)
                                             .arg(lnJ)
                                             .arg(lnChannel)
                                             .arg(lcGot[lnChannel])
                                             .arg(lcWant[lnChannel])));
                    }
                }
            }
        }
        QVERIFY(lnStampOn > 10); // digits are drawn
        QCOMPARE(mpLib->DSQueueBuffer(lcSession.mhStream, lhBuffer), GC_ERR_SUCCESS);
    }
    QVERIFY(lcSession.tearDownStream());
}

QTEST_GUILESS_MAIN(tcPixelDataTest)
#include "tst_pixeldata.moc"
