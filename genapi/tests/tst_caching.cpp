#include "describeddevice.h"

#include <GenApi/GenApi.h>

#include <QtTest>

#include <atomic>
#include <thread>

using namespace GenApi;

namespace
{
using tsDevice = tsDescribedDevice;

std::string reg(const char* apName, int anAddress, const char* apCaching, const std::string& arExtra = "")
{
    return std::string("<IntReg Name=\"") + apName + "\"><Address>" + std::to_string(anAddress) +
           "</Address><Length>4</Length><AccessMode>RW</AccessMode><pPort>Device</pPort><Cachable>" +
           apCaching + "</Cachable>" + arExtra + "</IntReg>";
}

// Counts callback calls per node.
class tcListener
{
public:
    void onChange(INode* apNode)
    {
        ++mnCalls;
        mpLast = apNode;
    }
    int mnCalls = 0;
    INode* mpLast = nullptr;
};
} // namespace

class tst_Caching : public QObject
{
    Q_OBJECT

private slots:
    void writeThroughServesFromCache();
    void noCacheAlwaysReadsDevice();
    void writeAroundReadsAfterWrite();
    void ignoreCacheAndVerifyReadDevice();
    void selectorChangeInvalidates();
    void invalidatorInvalidates();
    void invalidateNodeGoesToDependentsOnly();
    void cachingModePropagates();
    void weakestCachingModeWins();
    void callbacksFireOncePerChange();
    void callbacksReachDependents();
    void noCallbackAfterDeregister();
    void outsideLockCallbacks();
    void deregisterAfterMapIsGone();
    void pollingInvalidates();
    void commandCompletionFiresCallback();
    void commandCompletionInvalidatesWhatItsRegisterInvalidates();
    void writeOnlyCommandIsDoneAtOnce();
    void selfClearingValueIsReadFromDevice();
    void invalidateNodesFiresEveryCallback();
    void threadsShareOneMap();
};

void tst_Caching::writeThroughServesFromCache()
{
    tsDevice cDevice(reg("R", 0, "WriteThrough"));
    CIntegerPtr pReg = cDevice.node("R");
    QCOMPARE(pReg->GetValue(), int64_t(0));
    QCOMPARE(cDevice.mcPort.readCount(), 1);
    QVERIFY(CValuePtr(pReg)->IsValueCacheValid());
    pReg->GetValue();
    QCOMPARE(cDevice.mcPort.readCount(), 1);
    pReg->SetValue(9);
    QCOMPARE(pReg->GetValue(), int64_t(9));
    QCOMPARE(cDevice.mcPort.readCount(), 1);
    // A change behind the node map's back stays unseen until invalidated.
    cDevice.mcPort.pokeLE32(0, 11);
    QCOMPARE(pReg->GetValue(), int64_t(9));
    cDevice.mcMap._InvalidateNodes();
    QVERIFY(!CValuePtr(pReg)->IsValueCacheValid());
    QCOMPARE(pReg->GetValue(), int64_t(11));
}

void tst_Caching::noCacheAlwaysReadsDevice()
{
    tsDevice cDevice(reg("R", 0, "NoCache"));
    CIntegerPtr pReg = cDevice.node("R");
    pReg->GetValue();
    pReg->GetValue();
    QCOMPARE(cDevice.mcPort.readCount(), 2);
    cDevice.mcPort.pokeLE32(0, 5);
    QCOMPARE(pReg->GetValue(), int64_t(5));
    QVERIFY(!pReg->GetNode()->IsCachable());
}

void tst_Caching::writeAroundReadsAfterWrite()
{
    tsDevice cDevice(reg("R", 0, "WriteAround"));
    CIntegerPtr pReg = cDevice.node("R");
    pReg->GetValue();
    pReg->GetValue();
    QCOMPARE(cDevice.mcPort.readCount(), 1);
    pReg->SetValue(3);
    QVERIFY(!CValuePtr(pReg)->IsValueCacheValid());
    QCOMPARE(pReg->GetValue(), int64_t(3));
    QCOMPARE(cDevice.mcPort.readCount(), 2);
    QCOMPARE(pReg->GetNode()->GetCachingMode(), WriteAround);
}

void tst_Caching::ignoreCacheAndVerifyReadDevice()
{
    tsDevice cDevice(reg("R", 0, "WriteThrough"));
    CIntegerPtr pReg = cDevice.node("R");
    pReg->GetValue();
    pReg->GetValue(false, true);
    pReg->GetValue(true, false);
    QCOMPARE(cDevice.mcPort.readCount(), 3);
}

void tst_Caching::selectorChangeInvalidates()
{
    tsDevice cDevice("<Integer Name=\"GainSelector\"><Value>0</Value><Min>0</Min><Max>1</Max>"
                     "<pSelected>Gain</pSelected></Integer>" +
                     reg("Gain", 0x100, "WriteThrough", "<pIndex Offset=\"4\">GainSelector</pIndex>"));
    cDevice.mcPort.pokeLE32(0x100, 10);
    cDevice.mcPort.pokeLE32(0x104, 20);
    CIntegerPtr pGain = cDevice.node("Gain");
    CIntegerPtr pSelector = cDevice.node("GainSelector");
    QCOMPARE(pGain->GetValue(), int64_t(10));
    pSelector->SetValue(1);
    QCOMPARE(pGain->GetValue(), int64_t(20));
    pSelector->SetValue(0);
    QCOMPARE(pGain->GetValue(), int64_t(10));
    CSelectorPtr pSel = pSelector;
    QVERIFY(pSel->IsSelector());
    FeatureList_t cSelected;
    pSel->GetSelectedFeatures(cSelected);
    QCOMPARE(cSelected.size(), size_t(1));
    QVERIFY(cSelected[0]->GetNode() == pGain->GetNode());
    CSelectorPtr(pGain)->GetSelectingFeatures(cSelected);
    QCOMPARE(cSelected.size(), size_t(1));
}

void tst_Caching::invalidatorInvalidates()
{
    tsDevice cDevice(reg("UserSetLoad", 0x10, "WriteThrough") +
                     reg("Exposure", 0x20, "WriteThrough", "<pInvalidator>UserSetLoad</pInvalidator>") +
                     reg("Unrelated", 0x30, "WriteThrough"));
    CIntegerPtr pExposure = cDevice.node("Exposure");
    CIntegerPtr pUnrelated = cDevice.node("Unrelated");
    QCOMPARE(pExposure->GetValue(), int64_t(0));
    pUnrelated->GetValue();
    cDevice.mcPort.pokeLE32(0x20, 500); // the device changes it when a user set loads
    cDevice.mcPort.pokeLE32(0x30, 1);
    CIntegerPtr(cDevice.node("UserSetLoad"))->SetValue(1);
    QCOMPARE(pExposure->GetValue(), int64_t(500));
    QCOMPARE(pUnrelated->GetValue(), int64_t(0)); // still cached
}

void tst_Caching::invalidateNodeGoesToDependentsOnly()
{
    tsDevice cDevice(reg("R", 0, "WriteThrough") + "<Integer Name=\"I\"><pValue>R</pValue></Integer>");
    CIntegerPtr pInteger = cDevice.node("I");
    QCOMPARE(pInteger->GetValue(), int64_t(0));
    cDevice.mcPort.pokeLE32(0, 4);
    pInteger->GetNode()->InvalidateNode(); // the register keeps its cache
    QCOMPARE(pInteger->GetValue(), int64_t(0));
    cDevice.node("R")->InvalidateNode(); // reaches the integer too
    QCOMPARE(pInteger->GetValue(), int64_t(4));
}

void tst_Caching::cachingModePropagates()
{
    tsDevice cDevice(reg("Fast", 0, "NoCache") + reg("Slow", 4, "WriteThrough", "<pAddress>Base</pAddress>") +
                     "<IntReg Name=\"Base\"><Address>8</Address><Length>4</Length><AccessMode>RO</AccessMode>"
                     "<pPort>Device</pPort><Cachable>NoCache</Cachable></IntReg>"
                     "<Integer Name=\"I\"><pValue>Fast</pValue></Integer>"
                     "<IntSwissKnife Name=\"K\"><pVariable Name=\"F\">Fast</pVariable><Formula>F+1</Formula>"
                     "</IntSwissKnife>"
                     "<Integer Name=\"Cached\"><Value>1</Value></Integer>");
    QCOMPARE(cDevice.node("I")->GetCachingMode(), NoCache);
    QCOMPARE(cDevice.node("K")->GetCachingMode(), NoCache);
    QCOMPARE(cDevice.node("Slow")->GetCachingMode(), NoCache);
    QCOMPARE(cDevice.node("Cached")->GetCachingMode(), WriteThrough);
    CIntegerPtr pKnife = cDevice.node("K");
    cDevice.mcPort.pokeLE32(0, 1);
    QCOMPARE(pKnife->GetValue(), int64_t(2));
    cDevice.mcPort.pokeLE32(0, 6);
    QCOMPARE(pKnife->GetValue(), int64_t(7));
}

void tst_Caching::weakestCachingModeWins()
{
    tsDevice cDevice(
        reg("Around", 0, "WriteAround") + reg("Never", 4, "NoCache") +
        "<Integer Name=\"Through\"><pValue>Around</pValue></Integer>"
        "<IntSwissKnife Name=\"K\"><pVariable Name=\"T\">Through</pVariable><Formula>T*2</Formula>"
        "</IntSwissKnife>"
        "<Integer Name=\"Both\"><pValue>Around</pValue><pMax>Never</pMax></Integer>");
    QCOMPARE(cDevice.node("Through")->GetCachingMode(), WriteAround);
    QCOMPARE(cDevice.node("K")->GetCachingMode(), WriteAround);
    QCOMPARE(cDevice.node("Both")->GetCachingMode(), NoCache);
    // Written through the integer, the value is still fetched afresh once.
    CIntegerPtr pThrough = cDevice.node("Through");
    pThrough->SetValue(3);
    QVERIFY(!CValuePtr(pThrough)->IsValueCacheValid());
    cDevice.mcPort.resetCounts();
    QCOMPARE(pThrough->GetValue(), int64_t(3));
    QCOMPARE(cDevice.mcPort.readCount(), 1);
    QCOMPARE(pThrough->GetValue(), int64_t(3));
    QCOMPARE(cDevice.mcPort.readCount(), 1);
}

void tst_Caching::callbacksFireOncePerChange()
{
    tsDevice cDevice(reg("R", 0, "WriteThrough") + "<Integer Name=\"I\"><pValue>R</pValue></Integer>");
    tcListener cListener;
    INode* pNode = cDevice.node("I");
    Register(pNode, cListener, &tcListener::onChange);
    CIntegerPtr pInteger = pNode;
    pInteger->SetValue(5);
    QCOMPARE(cListener.mnCalls, 1);
    QVERIFY(cListener.mpLast == pNode);
    pInteger->GetValue();
    QCOMPARE(cListener.mnCalls, 1); // reads do not fire
    CValuePtr(pInteger)->FromString("6");
    QCOMPARE(cListener.mnCalls, 2);
    QVERIFY_EXCEPTION_THROWN(pInteger->SetValue(-1), GenICam::OutOfRangeException);
    QCOMPARE(cListener.mnCalls, 2); // a refused write changes nothing
}

void tst_Caching::callbacksReachDependents()
{
    tsDevice cDevice(reg("R", 0, "WriteThrough") + "<Integer Name=\"I\"><pValue>R</pValue></Integer>" +
                     "<IntSwissKnife Name=\"K\"><pVariable Name=\"X\">I</pVariable><Formula>X*2</Formula>"
                     "</IntSwissKnife>" +
                     reg("Other", 8, "WriteThrough"));
    int nKnife = 0;
    int nOther = 0;
    Register(cDevice.node("K"), [&](INode*) { ++nKnife; });
    Register(cDevice.node("Other"), [&](INode*) { ++nOther; });
    CIntegerPtr(cDevice.node("R"))->SetValue(3);
    QCOMPARE(nKnife, 1);
    QCOMPARE(nOther, 0);
    QCOMPARE(CIntegerPtr(cDevice.node("K"))->GetValue(), int64_t(6));
    cDevice.node("I")->InvalidateNode();
    QCOMPARE(nKnife, 2);
}

void tst_Caching::noCallbackAfterDeregister()
{
    tsDevice cDevice("<Integer Name=\"I\"><Value>0</Value></Integer>");
    int nCalls = 0;
    const CallbackHandleType hHandle = Register(cDevice.node("I"), [&](INode*) { ++nCalls; });
    CIntegerPtr pInteger = cDevice.node("I");
    pInteger->SetValue(1);
    Deregister(hHandle);
    pInteger->SetValue(2);
    QCOMPARE(nCalls, 1);
    Deregister(hHandle); // twice is harmless
    QVERIFY(!cDevice.node("I")->DeregisterCallback(hHandle));
}

void tst_Caching::outsideLockCallbacks()
{
    tsDevice cDevice("<Integer Name=\"I\"><Value>0</Value></Integer>");
    CIntegerPtr pInteger = cDevice.node("I");
    int nInside = 0;
    int nOutside = 0;
    int nInsideSeenByOutside = -1;
    Register(
        cDevice.node("I"), [&](INode*) { ++nInside; }, cbPostInsideLock);
    Register(
        cDevice.node("I"),
        [&](INode*)
        {
            ++nOutside;
            nInsideSeenByOutside = nInside;
            // The lock is released: another thread can use the map now.
            std::thread cOther([&] { pInteger->GetValue(); });
            cOther.join();
        },
        cbPostOutsideLock);
    pInteger->SetValue(4);
    QCOMPARE(nInside, 1);
    QCOMPARE(nOutside, 1);
    QCOMPARE(nInsideSeenByOutside, 1);
}

void tst_Caching::deregisterAfterMapIsGone()
{
    CallbackHandleType hHandle = 0;
    {
        tsDevice cDevice("<Integer Name=\"I\"><Value>0</Value></Integer>");
        hHandle = Register(cDevice.node("I"), [](INode*) {});
    }
    Deregister(hHandle); // must not touch the destroyed map
    QVERIFY(true);
}

void tst_Caching::pollingInvalidates()
{
    tsDevice cDevice(
        reg("Temp", 0, "WriteThrough", "<PollingTime>100</PollingTime>") + reg("Block", 4, "WriteThrough") +
        reg("Held", 8, "WriteThrough", "<PollingTime>10</PollingTime><pBlockPolling>Block</pBlockPolling>"));
    CIntegerPtr pTemp = cDevice.node("Temp");
    int nCalls = 0;
    Register(cDevice.node("Temp"), [&](INode*) { ++nCalls; });
    QCOMPARE(pTemp->GetValue(), int64_t(0));
    cDevice.mcPort.pokeLE32(0, 42);
    cDevice.mcMap._Poll(60);
    QCOMPARE(nCalls, 0);
    QCOMPARE(pTemp->GetValue(), int64_t(0));
    cDevice.mcMap._Poll(60);
    QCOMPARE(nCalls, 1);
    QCOMPARE(pTemp->GetValue(), int64_t(42));

    CIntegerPtr pHeld = cDevice.node("Held");
    CIntegerPtr(cDevice.node("Block"))->SetValue(1);
    pHeld->GetValue();
    cDevice.mcPort.pokeLE32(8, 5);
    cDevice.mcMap._Poll(50);
    QCOMPARE(pHeld->GetValue(), int64_t(0)); // polling blocked
    CIntegerPtr(cDevice.node("Block"))->SetValue(0);
    cDevice.mcMap._Poll(50);
    QCOMPARE(pHeld->GetValue(), int64_t(5));
}

void tst_Caching::commandCompletionFiresCallback()
{
    tsDevice cDevice(reg("Cmd", 0, "WriteThrough") +
                     "<Command Name=\"Go\"><pValue>Cmd</pValue><CommandValue>1</CommandValue>"
                     "<PollingTime>10</PollingTime></Command>");
    CCommandPtr pGo = cDevice.node("Go");
    int nCalls = 0;
    Register(cDevice.node("Go"), [&](INode*) { ++nCalls; });
    pGo->Execute();
    QCOMPARE(nCalls, 1);
    QVERIFY(!pGo->IsDone());
    QCOMPARE(nCalls, 1);
    cDevice.mcPort.pokeLE32(0, 0);
    QVERIFY(pGo->IsDone());
    QCOMPARE(nCalls, 2);
    QVERIFY(pGo->IsDone());
    QCOMPARE(nCalls, 2);
}

void tst_Caching::commandCompletionInvalidatesWhatItsRegisterInvalidates()
{
    tsDevice cDevice(reg("CmdReg", 0x10, "WriteThrough") +
                     reg("Setting", 0x20, "WriteThrough", "<pInvalidator>CmdReg</pInvalidator>") +
                     "<Command Name=\"UserSetLoad\"><pValue>CmdReg</pValue><CommandValue>1</CommandValue>"
                     "</Command>");
    CCommandPtr pLoad = cDevice.node("UserSetLoad");
    CIntegerPtr pSetting = cDevice.node("Setting");
    QCOMPARE(pSetting->GetValue(), int64_t(0));
    pLoad->Execute();
    // Read while the device is still loading: the old value is cached again.
    QCOMPARE(pSetting->GetValue(), int64_t(0));
    int nCalls = 0;
    Register(pSetting->GetNode(), [&](INode*) { ++nCalls; });
    cDevice.mcPort.pokeLE32(0x20, 5);
    QVERIFY(!pLoad->IsDone());
    QCOMPARE(nCalls, 0);
    cDevice.mcPort.pokeLE32(0x10, 0);
    QVERIFY(pLoad->IsDone());
    QCOMPARE(nCalls, 1);
    QCOMPARE(pSetting->GetValue(), int64_t(5));
}

void tst_Caching::writeOnlyCommandIsDoneAtOnce()
{
    tsDevice cDevice(
        "<IntReg Name=\"WoReg\"><Address>0</Address><Length>4</Length><AccessMode>WO</AccessMode>"
        "<pPort>Device</pPort></IntReg>" +
        reg("RwReg", 4, "WriteThrough") +
        "<Command Name=\"Trigger\"><pValue>WoReg</pValue><CommandValue>1</CommandValue>"
        "<PollingTime>10</PollingTime></Command>"
        "<Command Name=\"Imposed\"><ImposedAccessMode>WO</ImposedAccessMode><pValue>RwReg</pValue>"
        "<CommandValue>1</CommandValue><PollingTime>10</PollingTime></Command>");
    for (const char* pName : {"Trigger", "Imposed"})
    {
        CCommandPtr pCommand = cDevice.node(pName);
        QCOMPARE(pCommand->GetNode()->GetAccessMode(), WO);
        pCommand->Execute();
        int nCalls = 0;
        Register(pCommand->GetNode(), [&](INode*) { ++nCalls; });
        cDevice.mcPort.resetCounts();
        cDevice.mcMap._Poll(50); // never polled
        QVERIFY(pCommand->IsDone());
        QCOMPARE(cDevice.mcPort.readCount(), 0);
        QCOMPARE(nCalls, 0);
    }
}

void tst_Caching::selfClearingValueIsReadFromDevice()
{
    tsDevice cDevice(
        reg("AutoReg", 0, "WriteThrough") +
        reg("GainReg", 4, "WriteThrough", "<pInvalidator>GainAuto</pInvalidator>") +
        "<Enumeration Name=\"GainAuto\"><EnumEntry Name=\"Off\"><Value>0</Value></EnumEntry>"
        "<EnumEntry Name=\"Once\"><Value>1</Value><IsSelfClearing>Yes</IsSelfClearing></EnumEntry>"
        "<EnumEntry Name=\"Continuous\"><Value>2</Value></EnumEntry><pValue>AutoReg</pValue>"
        "<PollingTime>100</PollingTime></Enumeration>");
    CEnumerationPtr pAuto = cDevice.node("GainAuto");
    CIntegerPtr pGain = cDevice.node("GainReg");
    pAuto->FromString("Once");
    QCOMPARE(pGain->GetValue(), int64_t(0));
    int nAutoCalls = 0;
    int nGainCalls = 0;
    Register(pAuto->GetNode(), [&](INode*) { ++nAutoCalls; });
    Register(pGain->GetNode(), [&](INode*) { ++nGainCalls; });

    // Pending: every read asks the device, and polling keeps going.
    cDevice.mcPort.resetCounts();
    QCOMPARE(std::string(pAuto->ToString().c_str()), std::string("Once"));
    QCOMPARE(std::string(pAuto->ToString().c_str()), std::string("Once"));
    QCOMPARE(cDevice.mcPort.readCount(), 2);
    cDevice.mcMap._Poll(100);
    QCOMPARE(nAutoCalls, 1);

    // The device has set the gain and cleared the value.
    cDevice.mcPort.pokeLE32(4, 17);
    cDevice.mcPort.pokeLE32(0, 0);
    nAutoCalls = 0;
    nGainCalls = 0;
    QCOMPARE(std::string(pAuto->ToString().c_str()), std::string("Off"));
    QCOMPARE(nGainCalls, 1);
    QCOMPARE(pGain->GetValue(), int64_t(17));

    // Cleared: served from the cache again, no more polling.
    cDevice.mcPort.resetCounts();
    nAutoCalls = 0;
    QCOMPARE(pAuto->GetIntValue(), int64_t(0));
    QCOMPARE(cDevice.mcPort.readCount(), 0);
    cDevice.mcMap._Poll(100);
    cDevice.mcMap._Poll(100);
    QCOMPARE(nAutoCalls, 0);
}

void tst_Caching::invalidateNodesFiresEveryCallback()
{
    tsDevice cDevice(reg("R", 0, "WriteThrough") +
                     "<Integer Name=\"I\"><Value>1</Value></Integer>"
                     "<Category Name=\"Cat\"><pFeature>I</pFeature></Category>");
    CIntegerPtr pReg = cDevice.node("R");
    QCOMPARE(pReg->GetValue(), int64_t(0));
    QList<QString> cCalled;
    for (const char* pName : {"R", "I", "Cat"})
        Register(cDevice.node(pName), [&](INode* apNode) { cCalled << apNode->GetName().c_str(); });
    cDevice.mcPort.pokeLE32(0, 9);
    cDevice.mcPort.resetCounts();
    cDevice.mcMap._InvalidateNodes();
    std::sort(cCalled.begin(), cCalled.end());
    QCOMPARE(cCalled, (QList<QString>{"Cat", "I", "R"}));
    QVERIFY(!CValuePtr(pReg)->IsValueCacheValid());
    QCOMPARE(pReg->GetValue(), int64_t(9));
    QCOMPARE(cDevice.mcPort.readCount(), 1);
}

void tst_Caching::threadsShareOneMap()
{
    tsDevice cDevice(reg("A", 0, "WriteThrough") + "<Integer Name=\"I\"><pValue>A</pValue></Integer>" +
                     "<IntSwissKnife Name=\"K\"><pVariable Name=\"X\">I</pVariable><Formula>X+1</Formula>"
                     "</IntSwissKnife>");
    std::atomic<bool> bBad{false};
    int nCalls = 0;
    Register(cDevice.node("K"), [&](INode*) { ++nCalls; }); // runs under the map's lock
    auto writer = [&](int64_t anBase)
    {
        CIntegerPtr pInteger = cDevice.node("I");
        for (int64_t i = 0; i < 2000; ++i)
            pInteger->SetValue(anBase + i);
    };
    auto reader = [&]()
    {
        CIntegerPtr pKnife = cDevice.node("K");
        CIntegerPtr pInteger = cDevice.node("I");
        for (int i = 0; i < 4000; ++i)
        {
            const int64_t nKnife = pKnife->GetValue();
            if (nKnife < 1)
                bBad = true;
            pInteger->GetValue();
        }
    };
    std::thread cWriter1(writer, 0);
    std::thread cWriter2(writer, 100000);
    std::thread cReader(reader);
    cWriter1.join();
    cWriter2.join();
    cReader.join();
    QVERIFY(!bBad);
    QCOMPARE(nCalls, 4000);
    const int64_t nFinal = CIntegerPtr(cDevice.node("I"))->GetValue();
    QCOMPARE(CIntegerPtr(cDevice.node("K"))->GetValue(), nFinal + 1);
    QCOMPARE(int64_t(cDevice.mcPort.peekLE32(0)), nFinal);
}

QTEST_APPLESS_MAIN(tst_Caching)
#include "tst_caching.moc"
