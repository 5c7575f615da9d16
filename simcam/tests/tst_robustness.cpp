// Random GenTL calls from several threads at once: stale, foreign and wrong-kind
// handles, odd sizes and addresses, every command number. The producer must
// answer each call with a GenTL error code and never crash or corrupt memory
// (run under AddressSanitizer and ThreadSanitizer as well).
#include "producerlibrary.h"

#include <QtTest>

#include <array>
#include <list>
#include <mutex>
#include <random>
#include <thread>

using namespace GenTL;

namespace
{

bool knownCode(GC_ERROR anCode)
{
    return anCode == GC_ERR_SUCCESS || (anCode <= GC_ERR_ERROR && anCode >= GC_ERR_BUSY);
}

enum teKind
{
    System,
    Interface,
    Device,
    Port,
    Stream,
    Buffer,
    Event,
    KindCount
};

// Handles seen so far by kind, shared by all threads; some are closed by now.
// Most picks take the kind a call expects, the rest anything at all.
class tcHandlePool
{
public:
    void add(teKind aeKind, void* apHandle)
    {
        if (apHandle == nullptr)
        {
            return;
        }
        std::lock_guard<std::mutex> lcGuard(mcLock);
        mcHandles[aeKind].push_back(apHandle);
    }
    void* pick(teKind aeKind, std::mt19937& arRandom)
    {
        std::lock_guard<std::mutex> lcGuard(mcLock);
        const int lnDice = std::uniform_int_distribution<int>(0, 19)(arRandom);
        if (lnDice == 0)
        {
            return nullptr;
        }
        if (lnDice == 1)
        {
            return &mnForeign;
        }
        if (lnDice < 5)
        {
            aeKind = teKind(std::uniform_int_distribution<int>(0, KindCount - 1)(arRandom));
        }
        const std::vector<void*>& lrHandles = mcHandles[aeKind];
        if (lrHandles.empty())
        {
            return nullptr;
        }
        // Recent handles are more likely alive.
        const size_t lnBack =
            std::min<size_t>(lrHandles.size() - 1, std::geometric_distribution<size_t>(0.3)(arRandom));
        return lrHandles[lrHandles.size() - 1 - lnBack];
    }

private:
    std::mutex mcLock;
    std::array<std::vector<void*>, KindCount> mcHandles;
    int mnForeign = 0;
};

} // namespace

class tcRobustnessTest : public QObject
{
    Q_OBJECT

private slots:
    void randomCallsFromThreads();
};

void tcRobustnessTest::randomCallsFromThreads()
{
    tcProducerLibrary lcLib;
    QVERIFY2(lcLib.loaded(), lcLib.loadError().c_str());
    QCOMPARE(lcLib.GCInitLib(), GC_ERR_SUCCESS);
    TL_HANDLE lhSystem = nullptr;
    QCOMPARE(lcLib.TLOpen(&lhSystem), GC_ERR_SUCCESS);
    tcHandlePool lcPool;
    lcPool.add(System, lhSystem);
    // Memory handed to DSAnnounceBuffer must outlive every stream that may hold
    // it, and each announcement gets a block of its own: two streams filling
    // the same memory at once would race on it, which is the caller's fault,
    // not the producer's. One list per worker, so no lock is needed.
    constexpr unsigned knWorkers = 3;
    std::array<std::list<std::vector<uint8_t>>, knWorkers> lcMemory;
    std::atomic<int> lnBadCodes{0};
    std::array<std::atomic<int>, 22> lcSuccesses{};
    const auto lfWorker = [&](unsigned anSeed)
    {
        std::mt19937 lcRandom(anSeed);
        const auto lfNumber = [&](int anFrom, int anTo)
        { return std::uniform_int_distribution<int>(anFrom, anTo)(lcRandom); };
        int lnOperation = 0;
        const auto lfCheck = [&](GC_ERROR anCode)
        {
            if (!knownCode(anCode))
            {
                ++lnBadCodes;
            }
            if (anCode == GC_ERR_SUCCESS)
            {
                ++lcSuccesses[size_t(lnOperation)];
            }
        };
        for (int lnCall = 0; lnCall < 4000; ++lnCall)
        {
            std::array<uint8_t, 256> lcOut{};
            size_t lnSize = size_t(lfNumber(0, 300));
            INFO_DATATYPE lnType = 0;
            void* lpOut = lfNumber(0, 4) == 0 ? nullptr : lcOut.data();
            if (lnSize > lcOut.size())
            {
                lnSize = lcOut.size();
            }
            lnOperation = lfNumber(0, 21);
            // The kind of handle each operation expects first.
            static const teKind scKinds[22] = {
                System, Interface, Device, Port,   Port,   Port,   Port,  Device, Stream, Stream, Stream,
                Stream, Stream,    Stream, Stream, Stream, Stream, Event, Event,  Stream, Stream, Interface};
            void* lpHandle = lcPool.pick(scKinds[lnOperation], lcRandom);
            switch (lnOperation)
            {
            case 0:
            {
                IF_HANDLE lhInterface = nullptr;
                lfCheck(lcLib.TLOpenInterface(lpHandle, lfNumber(0, 1) ? "SimIF0" : "SimIF1", &lhInterface));
                lcPool.add(Interface, lhInterface);
                break;
            }
            case 1:
            {
                static const char* const scIds[] = {"SimCam-Mono-0001", "SimCam-Color-0002",
                                                    "SimCam-CMV50000-0003"};
                DEV_HANDLE lhDevice = nullptr;
                lfCheck(lcLib.IFOpenDevice(lpHandle, scIds[lfNumber(0, 2)], lfNumber(0, 5), &lhDevice));
                lcPool.add(Device, lhDevice);
                PORT_HANDLE lhPort = nullptr;
                if (lhDevice != nullptr && lcLib.DevGetPort(lhDevice, &lhPort) == GC_ERR_SUCCESS)
                {
                    lcPool.add(Port, lhPort);
                }
                break;
            }
            case 2:
            {
                DS_HANDLE lhStream = nullptr;
                lfCheck(lcLib.DevOpenDataStream(lpHandle, "Stream0", &lhStream));
                lcPool.add(Stream, lhStream);
                break;
            }
            case 3:
            {
                // Registers and the description, any address and length that fits the buffer.
                const uint64_t lnAddress = lfNumber(0, 3) == 0 ? uint64_t(0x10000 + lfNumber(0, 70000))
                                                               : uint64_t(lfNumber(0, 0x400));
                lfCheck(lcLib.GCReadPort(lpHandle, lnAddress, lpOut, &lnSize));
                break;
            }
            case 4:
            {
                // Half the time a command the camera takes (start, stop, a frame
                // count), otherwise noise at any address.
                uint64_t lnAddress = uint64_t(lfNumber(0, 0x320));
                uint32_t lnValue = uint32_t(lcRandom());
                size_t lnLength = size_t(lfNumber(1, 4));
                if (lfNumber(0, 1) == 0)
                {
                    lnAddress = lfNumber(0, 1) == 0 ? 0x0128 : 0x0124;
                    lnValue = uint32_t(lfNumber(1, 2));
                    lnLength = 4;
                }
                lfCheck(lcLib.GCWritePort(lpHandle, lnAddress, &lnValue, &lnLength));
                break;
            }
            case 5:
                lfCheck(lcLib.GCGetPortInfo(lpHandle, lfNumber(-1, 14), &lnType, lpOut, &lnSize));
                break;
            case 6:
                lfCheck(lcLib.GCGetPortURLInfo(lpHandle, uint32_t(lfNumber(0, 2)), lfNumber(-1, 12), &lnType,
                                               lpOut, &lnSize));
                break;
            case 7:
                lfCheck(lcLib.DevGetInfo(lpHandle, lfNumber(-1, 11), &lnType, lpOut, &lnSize));
                break;
            case 8:
                lfCheck(lcLib.DSGetInfo(lpHandle, lfNumber(-1, 15), &lnType, lpOut, &lnSize));
                break;
            case 9:
            {
                BUFFER_HANDLE lhBuffer = nullptr;
                if (lfNumber(0, 1) == 0)
                {
                    lfCheck(lcLib.DSAllocAndAnnounceBuffer(lpHandle, size_t(lfNumber(0, 40000)), nullptr,
                                                           &lhBuffer));
                }
                else
                {
                    std::vector<uint8_t>& lrBlock = lcMemory[anSeed - 1].emplace_back(64 * 1024);
                    lfCheck(
                        lcLib.DSAnnounceBuffer(lpHandle, lrBlock.data(), lrBlock.size(), nullptr, &lhBuffer));
                }
                lcPool.add(Buffer, lhBuffer);
                break;
            }
            case 10:
                lfCheck(lcLib.DSQueueBuffer(lpHandle, lcPool.pick(Buffer, lcRandom)));
                break;
            case 11:
                lfCheck(lcLib.DSRevokeBuffer(lpHandle, lcPool.pick(Buffer, lcRandom), nullptr, nullptr));
                break;
            case 12:
                lfCheck(lcLib.DSFlushQueue(lpHandle, lfNumber(-1, 5)));
                break;
            case 13:
                lfCheck(lcLib.DSStartAcquisition(lpHandle, lfNumber(0, 1), uint64_t(lfNumber(0, 5))));
                break;
            case 14:
                lfCheck(lcLib.DSStopAcquisition(lpHandle, lfNumber(0, 2)));
                break;
            case 15:
                lfCheck(lcLib.DSGetBufferInfo(lpHandle, lcPool.pick(Buffer, lcRandom), lfNumber(-1, 32),
                                              &lnType, lpOut, &lnSize));
                break;
            case 16:
            {
                EVENT_HANDLE lhEvent = nullptr;
                lfCheck(lcLib.GCRegisterEvent(lpHandle, lfNumber(0, 6), &lhEvent));
                lcPool.add(Event, lhEvent);
                break;
            }
            case 17:
                lfCheck(lcLib.EventGetData(lpHandle, lpOut, &lnSize, uint64_t(lfNumber(0, 5))));
                break;
            case 18:
                lfCheck(lfNumber(0, 1) ? lcLib.EventKill(lpHandle) : lcLib.EventFlush(lpHandle));
                break;
            case 19:
                lfCheck(lcLib.GCUnregisterEvent(lpHandle, lfNumber(0, 2)));
                break;
            case 20:
                // Closing now and then, so that later calls meet dead handles.
                if (lfNumber(0, 19) == 0)
                {
                    switch (lfNumber(0, 2))
                    {
                    case 0:
                        lfCheck(lcLib.DSClose(lpHandle));
                        break;
                    case 1:
                        lfCheck(lcLib.DevClose(lcPool.pick(Device, lcRandom)));
                        break;
                    default:
                        lfCheck(lcLib.IFClose(lcPool.pick(Interface, lcRandom)));
                        break;
                    }
                }
                break;
            default:
            {
                lfCheck(lcLib.IFUpdateDeviceList(lpHandle, nullptr, 0));
                char lcId[64];
                size_t lnIdSize = size_t(lfNumber(0, 64));
                lfCheck(lcLib.IFGetDeviceID(lpHandle, uint32_t(lfNumber(0, 4)), lcId, &lnIdSize));
                break;
            }
            }
        }
    };
    std::vector<std::thread> lcThreads;
    for (unsigned lnSeed = 1; lnSeed <= knWorkers; ++lnSeed)
    {
        lcThreads.emplace_back(lfWorker, lnSeed);
    }
    for (std::thread& lrThread : lcThreads)
    {
        lrThread.join();
    }
    QCOMPARE(int(lnBadCodes), 0);
    // The calls reached deep enough: modules opened, registers written, buffers
    // announced and queued, acquisitions started.
    for (int lnOperation : {0, 1, 2, 3, 4, 9, 10, 13})
    {
        QVERIFY2(lcSuccesses[size_t(lnOperation)] > 0,
                 qPrintable(QString("operation %1 never succeeded").arg(lnOperation)));
    }
    QString lcCounts;
    for (const std::atomic<int>& lrCount : lcSuccesses)
    {
        lcCounts += QString::number(lrCount) + " ";
    }
    qInfo("successes per operation: %s", qPrintable(lcCounts));
    // Whatever state the calls left, closing cleans it all up.
    QCOMPARE(lcLib.GCCloseLib(), GC_ERR_SUCCESS);
}

QTEST_GUILESS_MAIN(tcRobustnessTest)
#include "tst_robustness.moc"
