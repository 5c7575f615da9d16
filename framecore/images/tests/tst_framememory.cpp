#include "framememory.h"
#include "imagebuffer.h"

#include <QtTest>

#include <opencv2/core.hpp>

#include <thread>
#include <vector>

class tst_FrameMemory : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        tcFrameMemory::setRetainLimit(size_t(64) << 20);
        tcFrameMemory::trim();
        QCOMPARE(tcFrameMemory::retainedBytes(), size_t(0));
    }
    void cleanupTestCase() { tcFrameMemory::setRetainLimit(size_t(1) << 30); }

    void largeBuffersAreReused()
    {
        const size_t lnBytes = size_t(3) << 20;
        uchar* lpFirst = tcFrameMemory::acquire(lnBytes);
        QVERIFY(lpFirst);
        QCOMPARE(reinterpret_cast<quintptr>(lpFirst) % 64, quintptr(0));
        lpFirst[0] = 1;
        lpFirst[lnBytes - 1] = 2;
        tcFrameMemory::release(lpFirst);
        QCOMPARE(tcFrameMemory::retainedBytes(), lnBytes);
        // Another size does not take it ...
        uchar* lpOther = tcFrameMemory::acquire(lnBytes + 1);
        QVERIFY(lpOther != lpFirst);
        tcFrameMemory::release(lpOther);
        // ... the same size does.
        uchar* lpAgain = tcFrameMemory::acquire(lnBytes);
        QCOMPARE(lpAgain, lpFirst);
        QCOMPARE(tcFrameMemory::retainedBytes(), lnBytes + 1);
        tcFrameMemory::release(lpAgain);
        tcFrameMemory::trim();
        QCOMPARE(tcFrameMemory::retainedBytes(), size_t(0));
    }

    void smallBuffersAreNotKept()
    {
        uchar* lpSmall = tcFrameMemory::acquire(100);
        QVERIFY(lpSmall);
        tcFrameMemory::release(lpSmall);
        QCOMPARE(tcFrameMemory::retainedBytes(), size_t(0));
        QVERIFY(tcFrameMemory::acquire(0) != nullptr);
    }

    void limitBoundsWhatIsKept()
    {
        const size_t lnBytes = size_t(2) << 20;
        tcFrameMemory::setRetainLimit(5 * lnBytes / 2);
        std::vector<uchar*> lsBuffers;
        for (int lnIndex = 0; lnIndex < 4; ++lnIndex)
            lsBuffers.push_back(tcFrameMemory::acquire(lnBytes));
        for (uchar* lpBuffer : lsBuffers)
            tcFrameMemory::release(lpBuffer);
        QCOMPARE(tcFrameMemory::retainedBytes(), 2 * lnBytes);
        tcFrameMemory::setRetainLimit(lnBytes);
        QCOMPARE(tcFrameMemory::retainedBytes(), lnBytes);
        QCOMPARE(tcFrameMemory::retainLimit(), lnBytes);
    }

    void foreignPointersAreIgnored()
    {
        std::vector<uchar> lsMine(16);
        tcFrameMemory::release(lsMine.data());
        tcFrameMemory::release(nullptr);
        QCOMPARE(tcFrameMemory::retainedBytes(), size_t(0));
    }

    void matricesReturnTheirBuffers()
    {
        const void* lpData = nullptr;
        {
            cv::Mat lcMatrix;
            lcMatrix.allocator = tcFrameMemory::matAllocator();
            lcMatrix.create(1024, 1024, CV_16UC1);
            QCOMPARE(lcMatrix.step[0], size_t(2048));
            QVERIFY(lcMatrix.isContinuous());
            lcMatrix.setTo(7);
            lpData = lcMatrix.data;
            cv::Mat lcShare = lcMatrix;
            lcMatrix.release();
            QCOMPARE(tcFrameMemory::retainedBytes(), size_t(0)); // still shared
        }
        QCOMPARE(tcFrameMemory::retainedBytes(), size_t(2) << 20);
        cv::Mat lcNext;
        lcNext.allocator = tcFrameMemory::matAllocator();
        lcNext.create(2048, 512, CV_8UC2);
        QCOMPARE(static_cast<const void*>(lcNext.data), lpData);
        QCOMPARE(tcFrameMemory::retainedBytes(), size_t(0));
    }

    void buffersComeBackFromOtherThreads()
    {
        const size_t lnBytes = size_t(1) << 20;
        std::vector<uchar*> lsBuffers;
        for (int lnIndex = 0; lnIndex < 8; ++lnIndex)
            lsBuffers.push_back(tcFrameMemory::acquire(lnBytes));
        std::vector<std::thread> lsThreads;
        for (uchar* lpBuffer : lsBuffers)
            lsThreads.emplace_back([lpBuffer] { tcFrameMemory::release(lpBuffer); });
        for (std::thread& lrThread : lsThreads)
            lrThread.join();
        QCOMPARE(tcFrameMemory::retainedBytes(), 8 * lnBytes);
    }

    void convertedImagesOutliveTheirFrame()
    {
        std::vector<quint16> lsSamples(1000 * 1100, 512);
        QSharedPointer<QImage> lpImage;
        {
            const tpImageBuffer lpFrame = tcImageBuffer::newImage(reinterpret_cast<uchar*>(lsSamples.data()),
                                                                  1000, 1100, quint64(0x01100007u));
            lpImage = lpFrame->toQImage();
        }
        QCOMPARE(lpImage->size(), QSize(1000, 1100));
        QCOMPARE(int(lpImage->constScanLine(1099)[999]), 2);
        const size_t lnKept = tcFrameMemory::retainedBytes();
        lpImage.reset();
        // The image's buffer went back too.
        QCOMPARE(tcFrameMemory::retainedBytes(), lnKept + 1000 * 1100);
    }
};

QTEST_APPLESS_MAIN(tst_FrameMemory)
#include "tst_framememory.moc"
