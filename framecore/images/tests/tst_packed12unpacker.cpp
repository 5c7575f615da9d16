#include "framesamples.h"
#include "packed12unpacker.h"

#include <QtTest>

#include <vector>

using namespace tnFrameSamples;
using tpRanges = std::vector<tcPacked12Unpacker::tpRowRange>;
Q_DECLARE_METATYPE(tpRanges)

class tst_Packed12Unpacker : public QObject
{
    Q_OBJECT

private slots:
    void bytesToSamples()
    {
        const uchar lsBytes[] = {0x21, 0x43, 0x65};
        quint16 lsSamples[2] = {0, 0};
        tcPacked12Unpacker::unpack(lsBytes, 2, 1, lsSamples);
        QCOMPARE(int(lsSamples[0]), 0x321);
        QCOMPARE(int(lsSamples[1]), 0x654);
    }

    void lastOddSampleUsesOnlyItsOwnBytes()
    {
        // Three samples need 4.5 bytes: the last one reads byte 3 and the low
        // nibble of byte 4, and nothing else.
        const std::vector<uchar> lsBytes = {0x21, 0x43, 0x65, 0xBA, 0xFC};
        std::vector<quint16> lsSamples(3, 0);
        tcPacked12Unpacker::unpack(lsBytes.data(), 3, 1, lsSamples.data());
        QCOMPARE(int(lsSamples[2]), 0xCBA);
    }

    void threadSplits_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<tpRanges>("ranges");
        QTest::newRow("0") << 0 << tpRanges{};
        QTest::newRow("1") << 1 << tpRanges{{0, 1}};
        QTest::newRow("7") << 7 << tpRanges{{0, 7}};
        QTest::newRow("8") << 8 << tpRanges{{0, 4}, {4, 8}};
        QTest::newRow("12") << 12 << tpRanges{{0, 4}, {4, 8}, {8, 12}};
        QTest::newRow("15") << 15 << tpRanges{{0, 5}, {5, 10}, {10, 15}};
        QTest::newRow("17") << 17 << tpRanges{{0, 4}, {4, 8}, {8, 12}, {12, 17}};
        QTest::newRow("4000") << 4000 << tpRanges{{0, 1000}, {1000, 2000}, {2000, 3000}, {3000, 4000}};
        QTest::newRow("4003") << 4003 << tpRanges{{0, 1000}, {1000, 2000}, {2000, 3000}, {3000, 4003}};
    }
    void threadSplits()
    {
        QFETCH(int, height);
        QFETCH(tpRanges, ranges);
        QCOMPARE(tcPacked12Unpacker::splitRows(height), ranges);
    }

    // Odd widths put thread boundaries in the middle of byte triples; the
    // buffers are sized exactly, so a sanitizer build catches any overrun.
    void wholeFramesAtEveryWidth_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("simd");
        for (bool lbSimd : {true, false})
            for (int lnWidth : {1, 2, 3, 5, 7, 16, 17, 4001})
                for (int lnHeight : {1, 2, 7, 8, 9, 20, 23})
                    QTest::addRow("%dx%d%s", lnWidth, lnHeight, lbSimd ? "" : " portable")
                        << lnWidth << lnHeight << lbSimd;
    }
    void wholeFramesAtEveryWidth()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, simd);
        tcPacked12Unpacker::setSimdAllowed(simd);
        const std::vector<quint16> lsExpected = samples12(static_cast<qint64>(width) * height);
        const std::vector<uchar> lsBytes = pack12(lsExpected);
        std::vector<quint16> lsSamples(lsExpected.size(), 0xFFFF);
        tcPacked12Unpacker::unpack(lsBytes.data(), width, height, lsSamples.data());
        tcPacked12Unpacker::setSimdAllowed(true);
        QCOMPARE(lsSamples, lsExpected);
    }

    void partialRangesJoinUp()
    {
        const std::vector<quint16> lsExpected = samples12(101);
        const std::vector<uchar> lsBytes = pack12(lsExpected);
        std::vector<quint16> lsSamples(101, 0xFFFF);
        // Boundaries on both halves of a triple, ranges long and short.
        const qint64 lsBounds[] = {0, 3, 4, 9, 11, 40, 57, 58, 100, 101};
        for (size_t lnIndex = 0; lnIndex + 1 < std::size(lsBounds); ++lnIndex)
            tcPacked12Unpacker::unpackSamples(lsBounds[lnIndex], lsBounds[lnIndex + 1], lsBytes.data(),
                                              lsSamples.data());
        QCOMPARE(lsSamples, lsExpected);
        tcPacked12Unpacker::unpackSamples(5, 5, lsBytes.data(), lsSamples.data()); // empty range
        QCOMPARE(lsSamples, lsExpected);
    }

    void rowsOfTheWorkerRoutine()
    {
        const int lnWidth = 5;
        const std::vector<quint16> lsExpected = samples12(lnWidth * 4);
        const std::vector<uchar> lsBytes = pack12(lsExpected);
        std::vector<quint16> lsSamples(lsExpected.size(), 0xFFFF);
        tcPacked12Unpacker::unpackRows(1, 3, lnWidth, lsBytes.data(), lsSamples.data());
        for (int lnIndex = 0; lnIndex < lnWidth * 4; ++lnIndex)
        {
            const bool lbInside = lnIndex >= lnWidth && lnIndex < 3 * lnWidth;
            QCOMPARE(lsSamples[lnIndex], lbInside ? lsExpected[lnIndex] : quint16(0xFFFF));
        }
    }
};

QTEST_APPLESS_MAIN(tst_Packed12Unpacker)
#include "tst_packed12unpacker.moc"
