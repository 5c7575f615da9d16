#include "imagebuffer.h"
#include "pixelformat.h"

#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

#include <thread>
#include <vector>

namespace
{
// Receives frames through a queued connection, as the GUI side does.
class tcFrameSink : public QObject
{
    Q_OBJECT
public:
    tpImageBuffer mpLast;
public slots:
    void NewFrame(tpImageBuffer apImage) { mpLast = apImage; }
};

class tcFrameSource : public QObject
{
    Q_OBJECT
signals:
    void NewFrame(tpImageBuffer apImage);
};
} // namespace

class tst_ImageBuffer : public QObject
{
    Q_OBJECT

private slots:
    void emptyFrameIsNull()
    {
        const tpImageBuffer lpFrame = tcImageBuffer::newImage();
        QVERIFY(lpFrame);
        QVERIFY(lpFrame->isNull());
        QCOMPARE(lpFrame->getSize(), QSize());
        QVERIFY(!lpFrame->getSize().isValid());
        QCOMPARE(lpFrame->getPixelFormat()->getName(), QStringLiteral("NULL"));
        QCOMPARE(lpFrame->getFrameId(), quint64(0));
        QCOMPARE(lpFrame->getTopLeft(), QPoint(0, 0));
        QVERIFY(!lpFrame->getAcquireTime().isValid());
        QVERIFY(lpFrame->getElapsedTimer().isValid());
        const QSharedPointer<QImage> lpImage = lpFrame->toQImage();
        QVERIFY(lpImage);
        QCOMPARE(lpImage->size(), QSize(1, 1));
        QCOMPARE(lpImage->format(), QImage::Format_Grayscale8);
        QVERIFY(lpFrame->getRawData().empty());
        QVERIFY(lpFrame->getFilteredData(false).empty());
    }

    void nullness_data()
    {
        QTest::addColumn<bool>("withData");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("isNull");
        QTest::newRow("no data") << false << 4 << 4 << true;
        QTest::newRow("0 x 0") << true << 0 << 0 << true;
        QTest::newRow("0 x 5") << true << 0 << 5 << false;
        QTest::newRow("5 x 0") << true << 5 << 0 << false;
        QTest::newRow("4 x 4") << true << 4 << 4 << false;
    }
    void nullness()
    {
        QFETCH(bool, withData);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, isNull);
        std::vector<uchar> lsBytes(16, 7);
        const tpImageBuffer lpFrame =
            tcImageBuffer::newImage(withData ? lsBytes.data() : nullptr, width, height, quint64(0x01080001u));
        QCOMPARE(lpFrame->isNull(), isNull);
        QCOMPARE(lpFrame->width(), width);
        QCOMPARE(lpFrame->height(), height);
        // A frame without pixels has nothing to convert, whatever isNull says.
        if (width == 0 || height == 0 || !withData)
        {
            QVERIFY(lpFrame->getRawData().empty());
            QVERIFY(lpFrame->toQImage()->isNull());
        }
    }

    void codeIsNarrowedTo32Bits()
    {
        uchar lnByte = 0;
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(&lnByte, 1, 1, Q_UINT64_C(0xABCD000001080001));
        QCOMPARE(lpFrame->getPixelFormat()->getCode(), 0x01080001u);
        QCOMPARE(lpFrame->getPixelFormat()->getName(), QStringLiteral("Mono8"));
        const tpImageBuffer lpEmpty = tcImageBuffer::newImage(Q_UINT64_C(0x100000000) | 0x02180014u);
        QCOMPARE(lpEmpty->getPixelFormat()->getName(), QStringLiteral("RGB8"));
        QCOMPARE(tcImageBuffer::newImage(0x010C0047u)->getPixelFormat()->getName(),
                 QStringLiteral("Mono12p"));
    }

    void unregisteredCodeGivesNullFormat()
    {
        QTest::ignoreMessage(QtWarningMsg, "Creating NULL pixel format for format = 17825795");
        uchar lnByte = 0;
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(&lnByte, 1, 1, quint64(0x01100003u));
        QCOMPARE(lpFrame->getPixelFormat()->getName(), QStringLiteral("NULL"));
        QCOMPARE(lpFrame->toQImage()->size(), QSize(1, 1));
    }

    void acquireTimeRounding_data()
    {
        QTest::addColumn<quint64>("microseconds");
        QTest::addColumn<qint64>("milliseconds");
        QTest::newRow("0") << quint64(0) << qint64(0);
        QTest::newRow("999") << quint64(999) << qint64(0);
        QTest::newRow("1000") << quint64(1000) << qint64(1);
        QTest::newRow("1999") << quint64(1999) << qint64(1);
        QTest::newRow("2000") << quint64(2000) << qint64(2);
        QTest::newRow("2026") << Q_UINT64_C(1796688000123456) << Q_INT64_C(1796688000123);
    }
    void acquireTimeRounding()
    {
        QFETCH(quint64, microseconds);
        QFETCH(qint64, milliseconds);
        const tpImageBuffer lpFrame = tcImageBuffer::newImage();
        lpFrame->setAcquireTime(microseconds);
        QVERIFY(lpFrame->getAcquireTime().isValid());
        QCOMPARE(lpFrame->getAcquireTime().toMSecsSinceEpoch(), milliseconds);
    }

    void settersAndGetters()
    {
        std::vector<uchar> lsBytes(6, 1);
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(lsBytes.data(), 3, 2, quint64(0x01080001u));
        lpFrame->setFrameId(42);
        lpFrame->setTopLeft(QPoint(8, 16));
        const QDateTime lcTime = QDateTime::fromMSecsSinceEpoch(123456789);
        lpFrame->setAcquireTime(lcTime);
        QCOMPARE(lpFrame->getFrameId(), quint64(42));
        QCOMPARE(lpFrame->getTopLeft(), QPoint(8, 16));
        QCOMPARE(lpFrame->getAcquireTime(), lcTime);
        QCOMPARE(lpFrame->data(), lsBytes.data());
        QCOMPARE(lpFrame->getSize(), QSize(3, 2));
        std::vector<uchar> lsOther(6, 2);
        lpFrame->setData(lsOther.data());
        QCOMPARE(static_cast<const tcImageBuffer&>(*lpFrame).data(), lsOther.data());
    }

    void forwardsToItsFormat()
    {
        std::vector<uchar> lsBytes(64, 0);
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(lsBytes.data(), 5, 3, quint64(0x010C0047u));
        QCOMPARE(lpFrame->bitsPerPixel(), 12);
        QCOMPARE(lpFrame->bitsPerChannel(), 12);
        QCOMPARE(lpFrame->componentCount(), 1);
        QCOMPARE(lpFrame->getNumDataBytes(), quint64(23)); // 15 samples × 12 bits = 22.5 bytes
        QCOMPARE(lpFrame->bytesPerLine(), 8);              // 5 × 12 bits = 7.5 bytes
        QCOMPARE(lpFrame->getRawData().type(), CV_16UC1);
    }

    void destroyedOnceWithDataLeftAlone()
    {
        std::vector<uchar> lsBytes(12, 0xA5);
        tpImageBuffer lpFrame = tcImageBuffer::newImage(lsBytes.data(), 4, 3, quint64(0x01080001u));
        QObject* lpAddress = lpFrame.data();
        QPointer<tcImageBuffer> lpWatch(lpFrame.data());
        QWeakPointer<tcImageBuffer> lpWeak = lpFrame;
        QSignalSpy lcSpy(lpFrame.data(), &QObject::destroyed);
        // Build both matrices so that their release is part of the deletion.
        lpFrame->getFilteredData(false).setTo(0);
        QVERIFY(!lpFrame->toQImage()->isNull());

        tpImageBuffer lpSecond = lpFrame;
        lpFrame.reset();
        QCOMPARE(lcSpy.count(), 0);
        QVERIFY(!lpWatch.isNull());
        lpSecond.reset();
        QCOMPARE(lcSpy.count(), 1);
        // The frame is gone: read the recorded address without touching it.
        QCOMPARE(*static_cast<QObject* const*>(lcSpy.at(0).at(0).constData()), lpAddress);
        QVERIFY(lpWatch.isNull());
        QVERIFY(lpWeak.toStrongRef().isNull());
        for (uchar lnByte : lsBytes)
            QCOMPARE(lnByte, uchar(0xA5));
    }

    void destroyedReachesDirectSlotInReleasingThread()
    {
        std::vector<uchar> lsBytes(4, 0);
        tpImageBuffer lpFrame = tcImageBuffer::newImage(lsBytes.data(), 2, 2, quint64(0x01080001u));
        int lnCalls = 0;
        std::thread::id lcReleasingThread;
        QObject lcReceiver;
        connect(
            lpFrame.data(), &QObject::destroyed, &lcReceiver,
            [&](QObject*)
            {
                ++lnCalls;
                lcReleasingThread = std::this_thread::get_id();
            },
            Qt::DirectConnection);
        // A plain thread whose join the thread sanitizer understands.
        std::thread lcThread([lpOnly = std::move(lpFrame)]() mutable { lpOnly.reset(); });
        const std::thread::id lcWorker = lcThread.get_id();
        lcThread.join();
        QCOMPARE(lnCalls, 1);
        QVERIFY(lcReleasingThread == lcWorker);
    }

    void travelsThroughQueuedConnections()
    {
        QVERIFY(QMetaType::type("tpImageBuffer") != QMetaType::UnknownType);
        QCOMPARE(tcImageBuffer::registerMetaType(), QMetaType::type("tpImageBuffer"));
        tcFrameSource lcSource;
        tcFrameSink lcSink;
        QVERIFY(connect(&lcSource, SIGNAL(NewFrame(tpImageBuffer)), &lcSink, SLOT(NewFrame(tpImageBuffer)),
                        Qt::QueuedConnection));
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(0x01080001u);
        emit lcSource.NewFrame(lpFrame);
        QVERIFY(!lcSink.mpLast);
        QTRY_COMPARE(lcSink.mpLast, lpFrame);
    }

    void debugOutput()
    {
        std::vector<uchar> lsBytes(6, 0);
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(lsBytes.data(), 3, 2, quint64(0x01080001u));
        lpFrame->setFrameId(7);
        QString lsText;
        QDebug(&lsText) << *lpFrame;
        QCOMPARE(lsText, QStringLiteral("Frame  7 QSize(3, 2) \"Mono8\" "));
    }
};

QTEST_MAIN(tst_ImageBuffer)
#include "tst_imagebuffer.moc"
