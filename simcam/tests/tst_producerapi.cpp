// The producer's API as a consumer meets it: loading, library life cycle,
// enumeration, info queries, descriptions, registers and refused input.
#include "producerlibrary.h"
#include "simcamsession.h"

#include <QtTest>

#include <cstdlib>
#include <cstring>
#include <thread>

using namespace GenTL;

class tcProducerApiTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exportsExactlyTheGenTLFunctions();
    void oneProducerPerFolder();
    void libraryLifeCycle();
    void lastErrorIsPerThread();
    void systemInfo_data();
    void systemInfo();
    void infoSizeConventions();
    void enumeration();
    void deviceInfoAgrees_data();
    void deviceInfoAgrees();
    void badHandles_data();
    void badHandles();
    void indexesOutOfRange();
    void doubleOpensAndUnknownIds();
    void parents();
    void descriptions_data();
    void descriptions();
    void descriptionFromFile();
    void descriptionFromRelativePath();
    void descriptionFileIgnored_data();
    void descriptionFileIgnored();
    void portInfo();
    void modulePorts_data();
    void modulePorts();
    void modulePortControls();
    void registerAccess();
    void payloadFollowsGeometry();
    void parametersLockWhileAcquiring();
    void readOnlyDevice();
    void userDefinedName();
    void stackedAccess();
    void sensorRegisterBanks();
    void hdmiWindowLocksWhileRunning();
    void badFaultSpecificationIsRefused_data();
    void badFaultSpecificationIsRefused();
    void everyFunctionCanFail();

private:
    std::unique_ptr<tcProducerLibrary> mpLib;
};

void tcProducerApiTest::initTestCase()
{
    mpLib = std::make_unique<tcProducerLibrary>();
    QVERIFY2(mpLib->loaded(), mpLib->loadError().c_str());
}

void tcProducerApiTest::exportsExactlyTheGenTLFunctions()
{
    QVERIFY2(mpLib->missing().empty(),
             ("missing: " + (mpLib->missing().empty() ? "" : mpLib->missing().front())).c_str());
    // Internals stay hidden: neither the producer's classes nor the C++ runtime leak out.
    QVERIFY(mpLib->symbol("_ZN6simcam10tcProducer8instanceEv") == nullptr);
    QVERIFY(mpLib->symbol("gcSimCamMonoXml") == nullptr);
    QVERIFY(
        mpLib->symbol(
            "_ZN6simcam16tcFaultInjector9configureERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE") ==
        nullptr);
    // The default producer beside the program is the same library.
    tcProducerLibrary lcDefault(std::string(std::getenv("KESTRIX_BIN_DIR")) + "/GenTL.cti");
    QVERIFY2(lcDefault.loaded(), lcDefault.loadError().c_str());
    QVERIFY(lcDefault.missing().empty());
}

void tcProducerApiTest::oneProducerPerFolder()
{
    // A consumer scanning a folder for producers must find each camera once.
    const QStringList lcFilter{"*.cti"};
    const QDir lcProgramDir(QString::fromLocal8Bit(std::getenv("KESTRIX_BIN_DIR")));
    QCOMPARE(lcProgramDir.entryList(lcFilter, QDir::Files), QStringList{"GenTL.cti"});
    const QFileInfo lcOwn(QString::fromStdString(tcProducerLibrary::defaultPath()));
    QCOMPARE(lcOwn.fileName(), QString("simcam.cti"));
    QVERIFY(lcOwn.absoluteDir() != lcProgramDir);
    QCOMPARE(lcOwn.absoluteDir().entryList(lcFilter, QDir::Files), QStringList{"simcam.cti"});
}

void tcProducerApiTest::libraryLifeCycle()
{
    TL_HANDLE lhSystem = nullptr;
    QCOMPARE(mpLib->TLOpen(&lhSystem), GC_ERR_NOT_INITIALIZED);
    size_t lnSize = 0;
    INFO_DATATYPE lnType = 0;
    QCOMPARE(mpLib->GCGetInfo(TL_INFO_VENDOR, &lnType, nullptr, &lnSize), GC_ERR_NOT_INITIALIZED);
    QCOMPARE(mpLib->GCCloseLib(), GC_ERR_NOT_INITIALIZED);

    QCOMPARE(mpLib->GCInitLib(), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->GCInitLib(), GC_ERR_RESOURCE_IN_USE);
    QCOMPARE(mpLib->TLOpen(&lhSystem), GC_ERR_SUCCESS);
    TL_HANDLE lhSecond = nullptr;
    QCOMPARE(mpLib->TLOpen(&lhSecond), GC_ERR_RESOURCE_IN_USE);
    QCOMPARE(mpLib->TLOpen(nullptr), GC_ERR_INVALID_PARAMETER);
    // Closing the library closes the system; its handle dies with it.
    QCOMPARE(mpLib->GCCloseLib(), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->GCCloseLib(), GC_ERR_NOT_INITIALIZED);
    QCOMPARE(mpLib->GCInitLib(), GC_ERR_SUCCESS);
    uint32_t lnCount = 0;
    QCOMPARE(mpLib->TLGetNumInterfaces(lhSystem, &lnCount), GC_ERR_INVALID_HANDLE);
    QCOMPARE(mpLib->TLOpen(&lhSystem), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->TLClose(lhSystem), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->TLClose(lhSystem), GC_ERR_INVALID_HANDLE);
    QCOMPARE(mpLib->GCCloseLib(), GC_ERR_SUCCESS);
}

void tcProducerApiTest::lastErrorIsPerThread()
{
    QCOMPARE(mpLib->GCInitLib(), GC_ERR_SUCCESS);
    std::thread(
        [this]
        {
            GC_ERROR lnCode = -1;
            char lcText[256];
            size_t lnSize = sizeof lcText;
            QCOMPARE(mpLib->GCGetLastError(&lnCode, lcText, &lnSize), GC_ERR_SUCCESS);
            QCOMPARE(lnCode, GC_ERR_SUCCESS);
            QCOMPARE(std::string(lcText), std::string("No Error"));
        })
        .join();
    QCOMPARE(mpLib->TLClose(nullptr), GC_ERR_INVALID_HANDLE);
    GC_ERROR lnCode = 0;
    size_t lnSize = 0;
    QCOMPARE(mpLib->GCGetLastError(&lnCode, nullptr, &lnSize), GC_ERR_SUCCESS);
    QCOMPARE(lnCode, GC_ERR_INVALID_HANDLE);
    std::vector<char> lcText(lnSize);
    QCOMPARE(mpLib->GCGetLastError(&lnCode, lcText.data(), &lnSize), GC_ERR_SUCCESS);
    QVERIFY(std::string(lcText.data()).find("TLClose") != std::string::npos);
    // A failing GCGetLastError keeps the error it was asked about.
    char lcTiny[2];
    lnSize = sizeof lcTiny;
    QCOMPARE(mpLib->GCGetLastError(&lnCode, lcTiny, &lnSize), GC_ERR_BUFFER_TOO_SMALL);
    lnSize = 0;
    QCOMPARE(mpLib->GCGetLastError(&lnCode, nullptr, &lnSize), GC_ERR_SUCCESS);
    QCOMPARE(lnCode, GC_ERR_INVALID_HANDLE);
    // Success does not clear the stored error.
    QCOMPARE(mpLib->GCGetInfo(TL_INFO_VENDOR, reinterpret_cast<INFO_DATATYPE*>(&lnCode), nullptr, &lnSize),
             GC_ERR_SUCCESS);
    QCOMPARE(mpLib->GCGetLastError(&lnCode, nullptr, &lnSize), GC_ERR_SUCCESS);
    QCOMPARE(lnCode, GC_ERR_INVALID_HANDLE);
    QCOMPARE(mpLib->GCCloseLib(), GC_ERR_SUCCESS);
}

void tcProducerApiTest::systemInfo_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint64>("number");
    QTest::newRow("id") << int(TL_INFO_ID) << int(INFO_DATATYPE_STRING) << "SimCamTL" << quint64(0);
    QTest::newRow("vendor") << int(TL_INFO_VENDOR) << int(INFO_DATATYPE_STRING) << "Kestrix" << quint64(0);
    QTest::newRow("tltype") << int(TL_INFO_TLTYPE) << int(INFO_DATATYPE_STRING) << "Custom" << quint64(0);
    QTest::newRow("name") << int(TL_INFO_NAME) << int(INFO_DATATYPE_STRING) << "simcam.cti" << quint64(0);
    QTest::newRow("encoding") << int(TL_INFO_CHAR_ENCODING) << int(INFO_DATATYPE_INT32) << "" << quint64(0);
    QTest::newRow("major") << int(TL_INFO_GENTL_VER_MAJOR) << int(INFO_DATATYPE_UINT32) << "" << quint64(1);
    QTest::newRow("minor") << int(TL_INFO_GENTL_VER_MINOR) << int(INFO_DATATYPE_UINT32) << "" << quint64(5);
}

void tcProducerApiTest::systemInfo()
{
    QFETCH(int, command);
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(quint64, number);
    QCOMPARE(mpLib->GCInitLib(), GC_ERR_SUCCESS);
    TL_HANDLE lhSystem = nullptr;
    QCOMPARE(mpLib->TLOpen(&lhSystem), GC_ERR_SUCCESS);
    for (int lnVia = 0; lnVia < 2; ++lnVia)
    {
        INFO_DATATYPE lnType = -1;
        size_t lnSize = 0;
        const auto lfQuery = [&](void* apBuffer)
        {
            return lnVia == 0 ? mpLib->GCGetInfo(command, &lnType, apBuffer, &lnSize)
                              : mpLib->TLGetInfo(lhSystem, command, &lnType, apBuffer, &lnSize);
        };
        QCOMPARE(lfQuery(nullptr), GC_ERR_SUCCESS);
        QCOMPARE(int(lnType), type);
        std::vector<char> lcBuffer(lnSize);
        QCOMPARE(lfQuery(lcBuffer.data()), GC_ERR_SUCCESS);
        if (type == INFO_DATATYPE_STRING)
        {
            QCOMPARE(QString(lcBuffer.data()), text);
            QCOMPARE(lnSize, size_t(text.size() + 1));
        }
        else
        {
            uint32_t lnValue = 0;
            std::memcpy(&lnValue, lcBuffer.data(), sizeof lnValue);
            QCOMPARE(lnSize, size_t(4));
            QCOMPARE(quint64(lnValue), number);
        }
    }
    QCOMPARE(mpLib->GCCloseLib(), GC_ERR_SUCCESS);
}

void tcProducerApiTest::infoSizeConventions()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    INFO_DATATYPE lnType = 0;
    size_t lnSize = 0;
    QCOMPARE(mpLib->DevGetInfo(lcSession.mhDevice, DEVICE_INFO_MODEL, &lnType, nullptr, &lnSize),
             GC_ERR_SUCCESS);
    QCOMPARE(lnSize, std::strlen("SimCam Mono 2048") + 1);
    // One byte short: refused, and the buffer is left alone.
    std::vector<char> lcBuffer(lnSize - 1, 'x');
    size_t lnShort = lcBuffer.size();
    QCOMPARE(mpLib->DevGetInfo(lcSession.mhDevice, DEVICE_INFO_MODEL, &lnType, lcBuffer.data(), &lnShort),
             GC_ERR_BUFFER_TOO_SMALL);
    QCOMPARE(lcBuffer.front(), 'x');
    QCOMPARE(mpLib->DevGetInfo(lcSession.mhDevice, DEVICE_INFO_MODEL, &lnType, nullptr, nullptr),
             GC_ERR_INVALID_PARAMETER);
    QCOMPARE(mpLib->DevGetInfo(lcSession.mhDevice, DEVICE_INFO_MODEL, nullptr, nullptr, &lnSize),
             GC_ERR_INVALID_PARAMETER);
    QCOMPARE(mpLib->DevGetInfo(lcSession.mhDevice, 777, &lnType, nullptr, &lnSize), GC_ERR_NOT_IMPLEMENTED);
    QCOMPARE(mpLib->TLGetInfo(lcSession.mhSystem, 4242, &lnType, nullptr, &lnSize), GC_ERR_NOT_IMPLEMENTED);
    QCOMPARE(mpLib->IFGetInfo(lcSession.mhInterface, 99, &lnType, nullptr, &lnSize), GC_ERR_NOT_IMPLEMENTED);
    // IDs follow the same size convention.
    char lcId[4];
    size_t lnIdSize = sizeof lcId;
    QCOMPARE(mpLib->IFGetDeviceID(lcSession.mhInterface, 0, lcId, &lnIdSize), GC_ERR_BUFFER_TOO_SMALL);
    lnIdSize = 0;
    QCOMPARE(mpLib->IFGetDeviceID(lcSession.mhInterface, 0, nullptr, &lnIdSize), GC_ERR_SUCCESS);
    QCOMPARE(lnIdSize, std::strlen(gcSimCamIds[0]) + 1);
}

void tcProducerApiTest::enumeration()
{
    QCOMPARE(mpLib->GCInitLib(), GC_ERR_SUCCESS);
    TL_HANDLE lhSystem = nullptr;
    QCOMPARE(mpLib->TLOpen(&lhSystem), GC_ERR_SUCCESS);
    bool8_t lbChanged = 7;
    QCOMPARE(mpLib->TLUpdateInterfaceList(lhSystem, &lbChanged, 1000), GC_ERR_SUCCESS);
    QCOMPARE(lbChanged, bool8_t(0));
    QCOMPARE(mpLib->TLUpdateInterfaceList(lhSystem, nullptr, GENTL_INFINITE), GC_ERR_SUCCESS);
    uint32_t lnInterfaces = 0;
    QCOMPARE(mpLib->TLGetNumInterfaces(lhSystem, &lnInterfaces), GC_ERR_SUCCESS);
    QCOMPARE(lnInterfaces, 2u);
    const uint32_t lcExpectedDevices[2] = {3, 0};
    for (uint32_t lnIf = 0; lnIf < lnInterfaces; ++lnIf)
    {
        char lcId[64];
        size_t lnSize = sizeof lcId;
        QCOMPARE(mpLib->TLGetInterfaceID(lhSystem, lnIf, lcId, &lnSize), GC_ERR_SUCCESS);
        const std::string lcTlType =
            infoString([&](INFO_DATATYPE* t, void* b, size_t* s)
                       { return mpLib->TLGetInterfaceInfo(lhSystem, lcId, INTERFACE_INFO_TLTYPE, t, b, s); });
        QCOMPARE(lcTlType, std::string("Custom"));
        IF_HANDLE lhInterface = nullptr;
        QCOMPARE(mpLib->TLOpenInterface(lhSystem, lcId, &lhInterface), GC_ERR_SUCCESS);
        QCOMPARE(infoString([&](INFO_DATATYPE* t, void* b, size_t* s)
                            { return mpLib->IFGetInfo(lhInterface, INTERFACE_INFO_ID, t, b, s); }),
                 std::string(lcId));
        QCOMPARE(mpLib->IFUpdateDeviceList(lhInterface, &lbChanged, 1000), GC_ERR_SUCCESS);
        QCOMPARE(lbChanged, bool8_t(0));
        uint32_t lnDevices = 99;
        QCOMPARE(mpLib->IFGetNumDevices(lhInterface, &lnDevices), GC_ERR_SUCCESS);
        QCOMPARE(lnDevices, lcExpectedDevices[lnIf]);
        for (uint32_t lnDev = 0; lnDev < lnDevices; ++lnDev)
        {
            char lcDevId[64];
            lnSize = sizeof lcDevId;
            QCOMPARE(mpLib->IFGetDeviceID(lhInterface, lnDev, lcDevId, &lnSize), GC_ERR_SUCCESS);
            QCOMPARE(std::string(lcDevId), std::string(gcSimCamIds[lnDev]));
            int32_t lnStatus = -1;
            INFO_DATATYPE lnType = 0;
            size_t lnStatusSize = sizeof lnStatus;
            QCOMPARE(mpLib->IFGetDeviceInfo(lhInterface, lcDevId, DEVICE_INFO_ACCESS_STATUS, &lnType,
                                            &lnStatus, &lnStatusSize),
                     GC_ERR_SUCCESS);
            QCOMPARE(lnType, INFO_DATATYPE_INT32);
            QCOMPARE(lnStatus, int32_t(DEVICE_ACCESS_STATUS_READWRITE));
            for (int lnCmd : {DEVICE_INFO_VENDOR, DEVICE_INFO_MODEL, DEVICE_INFO_SERIAL_NUMBER,
                              DEVICE_INFO_TLTYPE, DEVICE_INFO_DISPLAYNAME, DEVICE_INFO_VERSION})
            {
                GC_ERROR lnResult = GC_ERR_ERROR;
                const std::string lcText =
                    infoString([&](INFO_DATATYPE* t, void* b, size_t* s)
                               { return mpLib->IFGetDeviceInfo(lhInterface, lcDevId, lnCmd, t, b, s); },
                               &lnResult);
                QCOMPARE(lnResult, GC_ERR_SUCCESS);
                QVERIFY(!lcText.empty());
            }
        }
        const std::string lcModel = lnDevices == 3
                                        ? infoString(
                                              [&](INFO_DATATYPE* t, void* b, size_t* s) {
                                                  return mpLib->IFGetDeviceInfo(lhInterface, gcSimCamIds[2],
                                                                                DEVICE_INFO_MODEL, t, b, s);
                                              })
                                        : std::string("CMV50000");
        QVERIFY(lcModel.rfind("CMV50000", 0) == 0);
        QCOMPARE(mpLib->IFClose(lhInterface), GC_ERR_SUCCESS);
    }
    QCOMPARE(mpLib->GCCloseLib(), GC_ERR_SUCCESS);
}

void tcProducerApiTest::deviceInfoAgrees_data()
{
    QTest::addColumn<int>("device");
    QTest::newRow("mono") << 0;
    QTest::newRow("colour") << 1;
    QTest::newRow("cmv50000") << 2;
}

void tcProducerApiTest::deviceInfoAgrees()
{
    QFETCH(int, device);
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[device]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    for (int lnCmd : {DEVICE_INFO_ID, DEVICE_INFO_VENDOR, DEVICE_INFO_MODEL, DEVICE_INFO_SERIAL_NUMBER,
                      DEVICE_INFO_VERSION, DEVICE_INFO_DISPLAYNAME})
    {
        const std::string lcViaInterface = infoString(
            [&](INFO_DATATYPE* t, void* b, size_t* s)
            { return mpLib->IFGetDeviceInfo(lcSession.mhInterface, gcSimCamIds[device], lnCmd, t, b, s); });
        const std::string lcViaDevice =
            infoString([&](INFO_DATATYPE* t, void* b, size_t* s)
                       { return mpLib->DevGetInfo(lcSession.mhDevice, lnCmd, t, b, s); });
        QVERIFY(!lcViaDevice.empty());
        QCOMPARE(lcViaInterface, lcViaDevice);
    }
    // The model read through the port matches the device info.
    char lcModel[33] = {};
    size_t lnSize = 32;
    QCOMPARE(mpLib->GCReadPort(lcSession.mhPort, simcamreg::ModelName, lcModel, &lnSize), GC_ERR_SUCCESS);
    QCOMPARE(std::string(lcModel),
             infoString([&](INFO_DATATYPE* t, void* b, size_t* s)
                        { return mpLib->DevGetInfo(lcSession.mhDevice, DEVICE_INFO_MODEL, t, b, s); }));
    int32_t lnStatus = 0;
    INFO_DATATYPE lnType = 0;
    lnSize = sizeof lnStatus;
    QCOMPARE(mpLib->DevGetInfo(lcSession.mhDevice, DEVICE_INFO_ACCESS_STATUS, &lnType, &lnStatus, &lnSize),
             GC_ERR_SUCCESS);
    QCOMPARE(lnStatus, int32_t(DEVICE_ACCESS_STATUS_OPEN_READWRITE));
    uint64_t lnFrequency = 0;
    lnSize = sizeof lnFrequency;
    QCOMPARE(mpLib->DevGetInfo(lcSession.mhDevice, DEVICE_INFO_TIMESTAMP_FREQUENCY, &lnType, &lnFrequency,
                               &lnSize),
             GC_ERR_SUCCESS);
    QCOMPARE(lnType, INFO_DATATYPE_UINT64);
    QCOMPARE(lnFrequency, uint64_t(1000000000));
}

void tcProducerApiTest::badHandles_data()
{
    QTest::addColumn<int>("kind"); // 0 null, 1 wrong kind, 2 closed, 3 garbage
    QTest::newRow("null") << 0;
    QTest::newRow("wrong kind") << 1;
    QTest::newRow("closed") << 2;
    QTest::newRow("foreign pointer") << 3;
}

void tcProducerApiTest::badHandles()
{
    QFETCH(int, kind);
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    int lnForeign = 0;
    void* lpBad = nullptr;
    void* lpBadStream = nullptr;
    switch (kind)
    {
    case 1:
        lpBad = lcSession.mhStream; // a stream where a device, interface or system is expected
        lpBadStream = lcSession.mhDevice;
        break;
    case 2:
    {
        // Open and close a second interface to get a dead handle of each kind.
        IF_HANDLE lhOther = nullptr;
        QCOMPARE(mpLib->TLOpenInterface(lcSession.mhSystem, "SimIF1", &lhOther), GC_ERR_SUCCESS);
        QCOMPARE(mpLib->IFClose(lhOther), GC_ERR_SUCCESS);
        lpBad = lhOther;
        DS_HANDLE lhStream = lcSession.mhStream;
        QCOMPARE(mpLib->DSClose(lhStream), GC_ERR_SUCCESS);
        lcSession.mhStream = nullptr;
        lpBadStream = lhStream;
        break;
    }
    case 3:
        lpBad = &lnForeign;
        lpBadStream = &lnForeign;
        break;
    default:
        break;
    }
    uint32_t lnCount = 0;
    INFO_DATATYPE lnType = 0;
    size_t lnSize = 0;
    QCOMPARE(mpLib->TLGetNumInterfaces(lpBad, &lnCount), GC_ERR_INVALID_HANDLE);
    QCOMPARE(mpLib->IFGetNumDevices(lpBad, &lnCount), GC_ERR_INVALID_HANDLE);
    QCOMPARE(mpLib->IFClose(lpBad), GC_ERR_INVALID_HANDLE);
    QCOMPARE(mpLib->DevGetInfo(lpBad, DEVICE_INFO_ID, &lnType, nullptr, &lnSize), GC_ERR_INVALID_HANDLE);
    QCOMPARE(mpLib->DevClose(lpBad), GC_ERR_INVALID_HANDLE);
    QCOMPARE(mpLib->DSGetInfo(lpBadStream, STREAM_INFO_ID, &lnType, nullptr, &lnSize), GC_ERR_INVALID_HANDLE);
    QCOMPARE(mpLib->DSStartAcquisition(lpBadStream, ACQ_START_FLAGS_DEFAULT, 1), GC_ERR_INVALID_HANDLE);
    QCOMPARE(mpLib->DSClose(lpBadStream), GC_ERR_INVALID_HANDLE);
    QCOMPARE(mpLib->EventKill(lpBad), GC_ERR_INVALID_HANDLE);
    EVENT_HANDLE lhEvent = nullptr;
    if (kind != 2)
    {
        QCOMPARE(mpLib->GCRegisterEvent(lpBadStream == lcSession.mhDevice ? nullptr : lpBadStream,
                                        EVENT_NEW_BUFFER, &lhEvent),
                 GC_ERR_INVALID_HANDLE);
    }
    char lcByte = 0;
    size_t lnOne = 1;
    if (kind != 1)
    {
        QCOMPARE(mpLib->GCReadPort(lpBad, 0, &lcByte, &lnOne), GC_ERR_INVALID_HANDLE);
    }
    // The remote port is no device, and cannot signal events.
    QCOMPARE(mpLib->DevClose(lcSession.mhPort), GC_ERR_INVALID_HANDLE);
    QCOMPARE(mpLib->GCRegisterEvent(lcSession.mhPort, EVENT_NEW_BUFFER, &lhEvent), GC_ERR_INVALID_HANDLE);
    // Every refusal is described.
    GC_ERROR lnCode = 0;
    char lcText[256];
    size_t lnTextSize = sizeof lcText;
    QCOMPARE(mpLib->GCGetLastError(&lnCode, lcText, &lnTextSize), GC_ERR_SUCCESS);
    QCOMPARE(lnCode, GC_ERR_INVALID_HANDLE);
    QVERIFY(std::strlen(lcText) > 10);
}

void tcProducerApiTest::indexesOutOfRange()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    char lcId[64];
    size_t lnSize = sizeof lcId;
    QCOMPARE(mpLib->TLGetInterfaceID(lcSession.mhSystem, 2, lcId, &lnSize), GC_ERR_INVALID_INDEX);
    lnSize = sizeof lcId;
    QCOMPARE(mpLib->IFGetDeviceID(lcSession.mhInterface, 3, lcId, &lnSize), GC_ERR_INVALID_INDEX);
    lnSize = sizeof lcId;
    QCOMPARE(mpLib->DevGetDataStreamID(lcSession.mhDevice, 1, lcId, &lnSize), GC_ERR_INVALID_INDEX);
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    BUFFER_HANDLE lhBuffer = nullptr;
    QCOMPARE(mpLib->DSGetBufferID(lcSession.mhStream, 0, &lhBuffer), GC_ERR_INVALID_INDEX);
    QCOMPARE(lcSession.announceAndQueue(2, 64), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->DSGetBufferID(lcSession.mhStream, 1, &lhBuffer), GC_ERR_SUCCESS);
    QCOMPARE(lhBuffer, lcSession.mcBuffers[1]);
    QCOMPARE(mpLib->DSGetBufferID(lcSession.mhStream, 2, &lhBuffer), GC_ERR_INVALID_INDEX);
    INFO_DATATYPE lnType = 0;
    lnSize = 0;
    QCOMPARE(mpLib->GCGetPortURLInfo(lcSession.mhPort, 5, URL_INFO_URL, &lnType, nullptr, &lnSize),
             GC_ERR_INVALID_INDEX);
}

void tcProducerApiTest::doubleOpensAndUnknownIds()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[1]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    IF_HANDLE lhInterface = nullptr;
    QCOMPARE(mpLib->TLOpenInterface(lcSession.mhSystem, "SimIF0", &lhInterface), GC_ERR_RESOURCE_IN_USE);
    QCOMPARE(mpLib->TLOpenInterface(lcSession.mhSystem, "NoSuchInterface", &lhInterface), GC_ERR_INVALID_ID);
    QCOMPARE(mpLib->TLOpenInterface(lcSession.mhSystem, nullptr, &lhInterface), GC_ERR_INVALID_PARAMETER);
    DEV_HANDLE lhDevice = nullptr;
    QCOMPARE(mpLib->IFOpenDevice(lcSession.mhInterface, gcSimCamIds[1], DEVICE_ACCESS_CONTROL, &lhDevice),
             GC_ERR_RESOURCE_IN_USE);
    QCOMPARE(mpLib->IFOpenDevice(lcSession.mhInterface, "SimCam-None", DEVICE_ACCESS_CONTROL, &lhDevice),
             GC_ERR_INVALID_ID);
    QCOMPARE(mpLib->IFOpenDevice(lcSession.mhInterface, gcSimCamIds[0], DEVICE_ACCESS_UNKNOWN, &lhDevice),
             GC_ERR_NOT_IMPLEMENTED);
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    DS_HANDLE lhStream = nullptr;
    QCOMPARE(mpLib->DevOpenDataStream(lcSession.mhDevice, "Stream0", &lhStream), GC_ERR_RESOURCE_IN_USE);
    QCOMPARE(mpLib->DevOpenDataStream(lcSession.mhDevice, "Stream7", &lhStream), GC_ERR_INVALID_ID);
    // After closing, the device can be opened again by its known id.
    QCOMPARE(mpLib->DevClose(lcSession.mhDevice), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->DSGetBufferID(lcSession.mhStream, 0, nullptr), GC_ERR_INVALID_HANDLE);
    QCOMPARE(mpLib->IFOpenDevice(lcSession.mhInterface, gcSimCamIds[1], DEVICE_ACCESS_CONTROL, &lhDevice),
             GC_ERR_SUCCESS);
    lcSession.mhDevice = lhDevice;
}

void tcProducerApiTest::parents()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    void* lpParent = nullptr;
    QCOMPARE(mpLib->DSGetParentDev(lcSession.mhStream, &lpParent), GC_ERR_SUCCESS);
    QCOMPARE(lpParent, lcSession.mhDevice);
    QCOMPARE(mpLib->DevGetParentIF(lcSession.mhDevice, &lpParent), GC_ERR_SUCCESS);
    QCOMPARE(lpParent, lcSession.mhInterface);
    QCOMPARE(mpLib->IFGetParentTL(lcSession.mhInterface, &lpParent), GC_ERR_SUCCESS);
    QCOMPARE(lpParent, lcSession.mhSystem);
    QCOMPARE(mpLib->IFGetParentTL(lcSession.mhInterface, nullptr), GC_ERR_INVALID_PARAMETER);
}

void tcProducerApiTest::descriptions_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("zipped");
    QTest::addColumn<QString>("modelName");
    QTest::newRow("mono, plain") << 0 << "SimCamMono.xml" << false << "SimCamMono2048";
    QTest::newRow("colour, zipped") << 1 << "SimCamColor.zip" << true << "SimCamColor1936";
    QTest::newRow("cmv50000, plain") << 2 << "SimCamCMV50000.xml" << false << "CMV50000_Evaluation";
}

void tcProducerApiTest::descriptions()
{
    QFETCH(int, device);
    QFETCH(QString, fileName);
    QFETCH(bool, zipped);
    QFETCH(QString, modelName);
    unsetenv("SIMCAM_XML_FILE");
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[device]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    uint32_t lnUrls = 0;
    QCOMPARE(mpLib->GCGetNumPortURLs(lcSession.mhPort, &lnUrls), GC_ERR_SUCCESS);
    QCOMPARE(lnUrls, 1u);
    const std::string lcUrl =
        infoString([&](INFO_DATATYPE* t, void* b, size_t* s)
                   { return mpLib->GCGetPortURLInfo(lcSession.mhPort, 0, URL_INFO_URL, t, b, s); });
    INFO_DATATYPE lnType = 0;
    uint64_t lnAddress = 0, lnLength = 0;
    size_t lnSize = 8;
    QCOMPARE(mpLib->GCGetPortURLInfo(lcSession.mhPort, 0, URL_INFO_FILE_REGISTER_ADDRESS, &lnType, &lnAddress,
                                     &lnSize),
             GC_ERR_SUCCESS);
    QCOMPARE(lnType, INFO_DATATYPE_UINT64);
    lnSize = 8;
    QCOMPARE(mpLib->GCGetPortURLInfo(lcSession.mhPort, 0, URL_INFO_FILE_SIZE, &lnType, &lnLength, &lnSize),
             GC_ERR_SUCCESS);
    int32_t lnScheme = -1;
    lnSize = 4;
    QCOMPARE(mpLib->GCGetPortURLInfo(lcSession.mhPort, 0, URL_INFO_SCHEME, &lnType, &lnScheme, &lnSize),
             GC_ERR_SUCCESS);
    QCOMPARE(lnScheme, int32_t(URL_SCHEME_LOCAL));
    // The URL text carries the same facts: name;address;length in hex.
    char lcExpected[128];
    std::snprintf(lcExpected, sizeof lcExpected, "local:///%s;%llX;%llX?SchemaVersion=1.1.0",
                  fileName.toLatin1().constData(), static_cast<unsigned long long>(lnAddress),
                  static_cast<unsigned long long>(lnLength));
    QCOMPARE(lcUrl, std::string(lcExpected));
    QCOMPARE(infoString([&](INFO_DATATYPE* t, void* b, size_t* s)
                        { return mpLib->GCGetPortURLInfo(lcSession.mhPort, 0, URL_INFO_FILENAME, t, b, s); }),
             fileName.toStdString());
    int32_t lnSchemaMinor = 0;
    lnSize = 4;
    QCOMPARE(mpLib->GCGetPortURLInfo(lcSession.mhPort, 0, URL_INFO_SCHEMA_VER_MINOR, &lnType, &lnSchemaMinor,
                                     &lnSize),
             GC_ERR_SUCCESS);
    QCOMPARE(lnSchemaMinor, 1);

    QByteArray lcFile(int(lnLength), '\0');
    lnSize = lnLength;
    QCOMPARE(mpLib->GCReadPort(lcSession.mhPort, lnAddress, lcFile.data(), &lnSize), GC_ERR_SUCCESS);
    QCOMPARE(lnSize, size_t(lnLength));
    if (zipped)
    {
        QVERIFY(lcFile.startsWith(QByteArray("PK\x03\x04", 4)));
        QVERIFY(lcFile.contains("SimCamColor.xml"));
    }
    else
    {
        QVERIFY(lcFile.startsWith("<?xml"));
        QVERIFY(lcFile.contains(("ModelName=\"" + modelName + "\"").toLatin1()));
        QVERIFY(lcFile.trimmed().endsWith("</RegisterDescription>"));
    }
    // Reading past the end of the file is refused, not padded.
    char lcByte;
    lnSize = 1;
    QCOMPARE(mpLib->GCReadPort(lcSession.mhPort, lnAddress + lnLength, &lcByte, &lnSize),
             GC_ERR_INVALID_ADDRESS);
    // The legacy call lists the same URL, ended by an extra NUL.
    lnSize = 0;
    QCOMPARE(mpLib->GCGetPortURL(lcSession.mhPort, nullptr, &lnSize), GC_ERR_SUCCESS);
    QCOMPARE(lnSize, lcUrl.size() + 2);
    std::vector<char> lcList(lnSize);
    QCOMPARE(mpLib->GCGetPortURL(lcSession.mhPort, lcList.data(), &lnSize), GC_ERR_SUCCESS);
    QCOMPARE(std::string(lcList.data()), lcUrl);
    QCOMPARE(lcList.back(), '\0');
}

void tcProducerApiTest::descriptionFromFile()
{
    QTemporaryFile lcFile;
    QVERIFY(lcFile.open());
    lcFile.write("<RegisterDescription/>");
    lcFile.flush();
    const std::string lcPath = QFileInfo(lcFile).absoluteFilePath().toStdString();
    setenv("SIMCAM_XML_FILE", lcPath.c_str(), 1);
    {
        tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
        QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
        uint32_t lnUrls = 0;
        QCOMPARE(mpLib->GCGetNumPortURLs(lcSession.mhPort, &lnUrls), GC_ERR_SUCCESS);
        QCOMPARE(lnUrls, 2u);
        const std::string lcUrl =
            infoString([&](INFO_DATATYPE* t, void* b, size_t* s)
                       { return mpLib->GCGetPortURLInfo(lcSession.mhPort, 0, URL_INFO_URL, t, b, s); });
        QVERIFY2(lcUrl.rfind("file:///", 0) == 0, lcUrl.c_str());
        QCOMPARE(
            infoString([&](INFO_DATATYPE* t, void* b, size_t* s)
                       { return mpLib->GCGetPortURLInfo(lcSession.mhPort, 0, URL_INFO_FILENAME, t, b, s); }),
            lcPath);
        int32_t lnScheme = -1;
        INFO_DATATYPE lnType = 0;
        size_t lnSize = 4;
        QCOMPARE(mpLib->GCGetPortURLInfo(lcSession.mhPort, 0, URL_INFO_SCHEME, &lnType, &lnScheme, &lnSize),
                 GC_ERR_SUCCESS);
        QCOMPARE(lnScheme, int32_t(URL_SCHEME_FILE));
        uint64_t lnAddress = 0;
        lnSize = 8;
        QCOMPARE(mpLib->GCGetPortURLInfo(lcSession.mhPort, 0, URL_INFO_FILE_REGISTER_ADDRESS, &lnType,
                                         &lnAddress, &lnSize),
                 GC_ERR_NOT_AVAILABLE);
        // The description in the registers stays reachable as the second URL.
        QVERIFY(infoString([&](INFO_DATATYPE* t, void* b, size_t* s)
                           { return mpLib->GCGetPortURLInfo(lcSession.mhPort, 1, URL_INFO_URL, t, b, s); })
                    .rfind("local:", 0) == 0);
    }
    unsetenv("SIMCAM_XML_FILE");
}

void tcProducerApiTest::descriptionFromRelativePath()
{
    // A relative path counts from the working directory; the URL is absolute.
    QTemporaryDir lcDir;
    QVERIFY(lcDir.isValid());
    QFile lcFile(lcDir.filePath("mono.xml"));
    QVERIFY(lcFile.open(QIODevice::WriteOnly));
    lcFile.write("<RegisterDescription/>");
    lcFile.close();
    const QString lcOldDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(lcDir.path()));
    setenv("SIMCAM_XML_FILE", "./mono.xml", 1);
    std::string lcUrl, lcName;
    {
        tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
        if (lcSession.ok())
        {
            lcUrl =
                infoString([&](INFO_DATATYPE* t, void* b, size_t* s)
                           { return mpLib->GCGetPortURLInfo(lcSession.mhPort, 0, URL_INFO_URL, t, b, s); });
            lcName = infoString(
                [&](INFO_DATATYPE* t, void* b, size_t* s)
                { return mpLib->GCGetPortURLInfo(lcSession.mhPort, 0, URL_INFO_FILENAME, t, b, s); });
        }
    }
    unsetenv("SIMCAM_XML_FILE");
    QDir::setCurrent(lcOldDir);
    const std::string lcPath = QFileInfo(lcFile).canonicalFilePath().toStdString();
    QCOMPARE(lcName, lcPath);
    QCOMPARE(lcUrl, "file://" + lcPath);
}

void tcProducerApiTest::descriptionFileIgnored_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing") << "/nonexistent/simcam/description.xml";
    QTest::newRow("directory") << QDir::tempPath();
    QTest::newRow("device") << "/dev/null";
}

void tcProducerApiTest::descriptionFileIgnored()
{
    // Anything but a readable regular file leaves the built-in description the only one offered.
    QFETCH(QString, path);
    setenv("SIMCAM_XML_FILE", path.toLocal8Bit().constData(), 1);
    uint32_t lnUrls = 0;
    std::string lcUrl;
    {
        tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
        QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
        QCOMPARE(mpLib->GCGetNumPortURLs(lcSession.mhPort, &lnUrls), GC_ERR_SUCCESS);
        lcUrl = infoString([&](INFO_DATATYPE* t, void* b, size_t* s)
                           { return mpLib->GCGetPortURLInfo(lcSession.mhPort, 0, URL_INFO_URL, t, b, s); });
    }
    unsetenv("SIMCAM_XML_FILE");
    QCOMPARE(lnUrls, 1u);
    QVERIFY2(lcUrl.rfind("local:///SimCamMono.xml;", 0) == 0, lcUrl.c_str());
}

void tcProducerApiTest::portInfo()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[2]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    QCOMPARE(infoString([&](INFO_DATATYPE* t, void* b, size_t* s)
                        { return mpLib->GCGetPortInfo(lcSession.mhPort, PORT_INFO_ID, t, b, s); }),
             std::string(gcSimCamIds[2]));
    QCOMPARE(infoString([&](INFO_DATATYPE* t, void* b, size_t* s)
                        { return mpLib->GCGetPortInfo(lcSession.mhPort, PORT_INFO_MODULE, t, b, s); }),
             std::string("Device"));
    QCOMPARE(infoString([&](INFO_DATATYPE* t, void* b, size_t* s)
                        { return mpLib->GCGetPortInfo(lcSession.mhDevice, PORT_INFO_MODULE, t, b, s); }),
             std::string("TLDevice"));
    bool8_t lbValue = 0;
    INFO_DATATYPE lnType = 0;
    size_t lnSize = 1;
    QCOMPARE(mpLib->GCGetPortInfo(lcSession.mhPort, PORT_INFO_ACCESS_WRITE, &lnType, &lbValue, &lnSize),
             GC_ERR_SUCCESS);
    QCOMPARE(lnType, INFO_DATATYPE_BOOL8);
    QCOMPARE(lbValue, bool8_t(1));
    // Every port is named as the Port node of the descriptions.
    QCOMPARE(infoString([&](INFO_DATATYPE* t, void* b, size_t* s)
                        { return mpLib->GCGetPortInfo(lcSession.mhPort, PORT_INFO_PORTNAME, t, b, s); }),
             std::string("Device"));
    QCOMPARE(infoString([&](INFO_DATATYPE* t, void* b, size_t* s)
                        { return mpLib->GCGetPortInfo(lcSession.mhSystem, PORT_INFO_PORTNAME, t, b, s); }),
             std::string("Device"));
}

void tcProducerApiTest::modulePorts_data()
{
    QTest::addColumn<int>("module");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("system") << 0 << "SimCamSystem.xml";
    QTest::newRow("interface") << 1 << "SimCamInterface.xml";
    QTest::newRow("device") << 2 << "SimCamDevice.xml";
    QTest::newRow("stream") << 3 << "SimCamStream.xml";
}

void tcProducerApiTest::modulePorts()
{
    // Each module's own port has a register map holding its description.
    QFETCH(int, module);
    QFETCH(QString, fileName);
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    const PORT_HANDLE lhPort = std::vector<PORT_HANDLE>{
        lcSession.mhSystem, lcSession.mhInterface, lcSession.mhDevice, lcSession.mhStream}[size_t(module)];
    bool8_t lbValue = 1;
    INFO_DATATYPE lnType = 0;
    size_t lnSize = 1;
    QCOMPARE(mpLib->GCGetPortInfo(lhPort, PORT_INFO_ACCESS_NI, &lnType, &lbValue, &lnSize), GC_ERR_SUCCESS);
    QCOMPARE(lbValue, bool8_t(0));
    lnSize = 1;
    QCOMPARE(mpLib->GCGetPortInfo(lhPort, PORT_INFO_ACCESS_READ, &lnType, &lbValue, &lnSize), GC_ERR_SUCCESS);
    QCOMPARE(lbValue, bool8_t(1));
    uint32_t lnUrls = 0;
    QCOMPARE(mpLib->GCGetNumPortURLs(lhPort, &lnUrls), GC_ERR_SUCCESS);
    QCOMPARE(lnUrls, 1u);
    const std::string lcUrl =
        infoString([&](INFO_DATATYPE* t, void* b, size_t* s)
                   { return mpLib->GCGetPortURLInfo(lhPort, 0, URL_INFO_URL, t, b, s); });
    QVERIFY2(lcUrl.rfind("local:///" + fileName.toStdString() + ";10000;", 0) == 0, lcUrl.c_str());
    uint64_t lnLength = 0;
    lnSize = 8;
    QCOMPARE(mpLib->GCGetPortURLInfo(lhPort, 0, URL_INFO_FILE_SIZE, &lnType, &lnLength, &lnSize),
             GC_ERR_SUCCESS);
    QByteArray lcFile(int(lnLength), '\0');
    lnSize = lnLength;
    QCOMPARE(mpLib->GCReadPort(lhPort, 0x10000, lcFile.data(), &lnSize), GC_ERR_SUCCESS);
    QVERIFY(lcFile.startsWith("<?xml"));
    QVERIFY(lcFile.trimmed().endsWith("</RegisterDescription>"));
    // Refused access: past the description, no register, the read-only description and identity.
    char lcBytes[8] = {};
    lnSize = 1;
    QCOMPARE(mpLib->GCReadPort(lhPort, 0x10000 + lnLength, lcBytes, &lnSize), GC_ERR_INVALID_ADDRESS);
    lnSize = 1;
    QCOMPARE(mpLib->GCReadPort(lhPort, 0x8000, lcBytes, &lnSize), GC_ERR_INVALID_ADDRESS);
    lnSize = 1;
    QCOMPARE(mpLib->GCWritePort(lhPort, 0x10000, lcBytes, &lnSize), GC_ERR_ACCESS_DENIED);
    lnSize = 8;
    QCOMPARE(mpLib->GCWritePort(lhPort, 0x0000, lcBytes, &lnSize), GC_ERR_ACCESS_DENIED);
    // The first register holds the module's id, as its info query gives it.
    char lcId[256] = {};
    lnSize = sizeof lcId;
    QCOMPARE(mpLib->GCReadPort(lhPort, 0x0000, lcId, &lnSize), GC_ERR_SUCCESS);
    const std::string lcExpected =
        std::vector<std::string>{"SimCamTL", "SimIF0", gcSimCamIds[0], "Stream0"}[size_t(module)];
    QCOMPARE(std::string(lcId), lcExpected);
}

void tcProducerApiTest::modulePortControls()
{
    // Selectors take only existing entries, commands only 1, and both are written whole.
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    const auto lfWrite = [&](PORT_HANDLE ahPort, uint64_t anAddress, uint64_t anValue, size_t anSize = 8)
    {
        size_t lnSize = anSize;
        return mpLib->GCWritePort(ahPort, anAddress, &anValue, &lnSize);
    };
    const auto lfRead = [&](PORT_HANDLE ahPort, uint64_t anAddress)
    {
        uint64_t lnValue = ~0ull;
        size_t lnSize = 8;
        return mpLib->GCReadPort(ahPort, anAddress, &lnValue, &lnSize) == GC_ERR_SUCCESS ? lnValue : ~0ull;
    };
    const uint64_t InterfaceSelector = 0x2018, InterfaceCount = 0x2020, DeviceSelector = 0x2008,
                   DeviceUpdateList = 0x2000;
    QCOMPARE(lfRead(lcSession.mhSystem, InterfaceCount), 2ull);
    QCOMPARE(lfWrite(lcSession.mhSystem, InterfaceSelector, 1), GC_ERR_SUCCESS);
    QCOMPARE(lfRead(lcSession.mhSystem, InterfaceSelector), 1ull);
    QCOMPARE(lfWrite(lcSession.mhSystem, InterfaceSelector, 2), GC_ERR_INVALID_VALUE);
    QCOMPARE(lfRead(lcSession.mhSystem, InterfaceSelector), 1ull);
    QCOMPARE(lfWrite(lcSession.mhSystem, InterfaceSelector, 0, 4), GC_ERR_INVALID_ADDRESS);
    QCOMPARE(lfWrite(lcSession.mhInterface, DeviceSelector, 2), GC_ERR_SUCCESS);
    QCOMPARE(lfWrite(lcSession.mhInterface, DeviceSelector, 3), GC_ERR_INVALID_VALUE);
    QCOMPARE(lfWrite(lcSession.mhInterface, DeviceUpdateList, 2), GC_ERR_INVALID_VALUE);
    QCOMPARE(lfWrite(lcSession.mhInterface, DeviceUpdateList, 1), GC_ERR_SUCCESS);
    QCOMPARE(lfRead(lcSession.mhInterface, DeviceUpdateList), 0ull);
    QCOMPARE(lfRead(lcSession.mhInterface, DeviceSelector), 2ull);
}

void tcProducerApiTest::registerAccess()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[1]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    QCOMPARE(lcSession.u32(simcamreg::SensorWidth, true), 1936u);
    QCOMPARE(lcSession.u32(simcamreg::SensorHeight, true), 1216u);
    // Big-endian register: its bytes in address order.
    uint8_t lcBytes[4];
    size_t lnSize = 4;
    QCOMPARE(mpLib->GCReadPort(lcSession.mhPort, simcamreg::SensorWidth, lcBytes, &lnSize), GC_ERR_SUCCESS);
    QCOMPARE(int(lcBytes[2]), 0x07);
    QCOMPARE(int(lcBytes[3]), 0x90);
    // Unaligned, partial reads and writes are served.
    lnSize = 2;
    QCOMPARE(mpLib->GCReadPort(lcSession.mhPort, simcamreg::SensorWidth + 2, lcBytes, &lnSize),
             GC_ERR_SUCCESS);
    QCOMPARE(int(lcBytes[0]), 0x07);
    QCOMPARE(lcSession.writeU32(simcamreg::Width, 640, true), GC_ERR_SUCCESS);
    const uint8_t lcLow = 0xA0; // 640 -> 672 through the last byte only
    lnSize = 1;
    QCOMPARE(mpLib->GCWritePort(lcSession.mhPort, simcamreg::Width + 3, &lcLow, &lnSize), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.u32(simcamreg::Width, true), 672u);
    // Values the camera cannot take are refused and change nothing.
    QCOMPARE(lcSession.writeU32(simcamreg::Width, 650, true),
             GC_ERR_INVALID_VALUE); // off the 16-pixel increment
    QCOMPARE(lcSession.writeU32(simcamreg::Width, 4000, true), GC_ERR_INVALID_VALUE);
    QCOMPARE(lcSession.writeU32(simcamreg::PixelFormat, 0x01080001),
             GC_ERR_INVALID_VALUE); // Mono8: not a colour format
    QCOMPARE(lcSession.writeU32(simcamreg::AcquisitionCommand, 7), GC_ERR_INVALID_VALUE);
    QCOMPARE(lcSession.writeFrameRate(1000.0), GC_ERR_INVALID_VALUE);
    QCOMPARE(lcSession.u32(simcamreg::Width, true), 672u);
    QCOMPARE(lcSession.writeU32(simcamreg::SensorWidth, 100, true), GC_ERR_ACCESS_DENIED);
    QCOMPARE(lcSession.writeU32(0x10000, 0), GC_ERR_ACCESS_DENIED); // the description
    uint32_t lnValue = 0;
    QCOMPARE(lcSession.readU32(0x0F00, lnValue), GC_ERR_INVALID_ADDRESS);
    QCOMPARE(lcSession.readU32(simcamreg::RegAddress, lnValue),
             GC_ERR_INVALID_ADDRESS); // no sensor registers here
    QCOMPARE(lcSession.writeU32(0x0F00, 1), GC_ERR_INVALID_ADDRESS);
    lnSize = 4;
    QCOMPARE(mpLib->GCReadPort(lcSession.mhPort, simcamreg::Width, nullptr, &lnSize),
             GC_ERR_INVALID_PARAMETER);
    QCOMPARE(mpLib->GCReadPort(lcSession.mhPort, simcamreg::Width, lcBytes, nullptr),
             GC_ERR_INVALID_PARAMETER);
    // A range wrapping around the address space is refused.
    lnSize = 4;
    QCOMPARE(mpLib->GCReadPort(lcSession.mhPort, UINT64_MAX - 1, lcBytes, &lnSize), GC_ERR_INVALID_ADDRESS);
}

void tcProducerApiTest::payloadFollowsGeometry()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[1]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.payloadSize(), size_t(1936 * 1216));
    QCOMPARE(lcSession.writeU32(simcamreg::Width, 320, true), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::Height, 240, true), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.u32(simcamreg::PayloadSize, true), 320u * 240u);
    QCOMPARE(lcSession.writeU32(simcamreg::PixelFormat, 0x010C0057), GC_ERR_SUCCESS); // BayerGR12p
    QCOMPARE(lcSession.payloadSize(), size_t(320 * 240 * 3 / 2));
    QCOMPARE(lcSession.writeU32(simcamreg::PixelFormat, 0x02180014), GC_ERR_SUCCESS); // RGB8
    QCOMPARE(lcSession.u32(simcamreg::PayloadSize, true), 320u * 240u * 3u);
    QCOMPARE(lcSession.writeU32(simcamreg::PixelFormat, 0x01100012), GC_ERR_SUCCESS); // BayerGB12
    QCOMPARE(lcSession.payloadSize(), size_t(320 * 240 * 2));
}

void tcProducerApiTest::parametersLockWhileAcquiring()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    QCOMPARE(lcSession.writeU32(simcamreg::Width, 1024, true), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::TLParamsLocked, 1), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::Width, 512, true), GC_ERR_ACCESS_DENIED);
    QCOMPARE(lcSession.writeU32(simcamreg::OffsetX, 16), GC_ERR_SUCCESS); // offsets may move
    QCOMPARE(lcSession.writeU32(simcamreg::TLParamsLocked, 0), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::Width, 512, true), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::AcquisitionCommand, 1), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.u32(simcamreg::Status, true) & 1u, 1u);
    QCOMPARE(lcSession.writeU32(simcamreg::PixelFormat, 0x01100007), GC_ERR_ACCESS_DENIED);
    QCOMPARE(lcSession.writeU32(simcamreg::Height, 100, true), GC_ERR_ACCESS_DENIED);
    QCOMPARE(lcSession.writeU32(simcamreg::AcquisitionConfig, 0x102), GC_ERR_ACCESS_DENIED); // mode change
    QCOMPARE(lcSession.writeFrameRate(12.5), GC_ERR_SUCCESS); // rate may change
    QCOMPARE(lcSession.writeU32(simcamreg::AcquisitionCommand, 2), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.u32(simcamreg::Status, true) & 1u, 0u);
    QCOMPARE(lcSession.writeU32(simcamreg::PixelFormat, 0x01100007), GC_ERR_SUCCESS);
}

void tcProducerApiTest::readOnlyDevice()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0], DEVICE_ACCESS_READONLY);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    QCOMPARE(lcSession.u32(simcamreg::Width, true), 2048u);
    QCOMPARE(lcSession.writeU32(simcamreg::Width, 1024, true), GC_ERR_ACCESS_DENIED);
    int32_t lnStatus = 0;
    INFO_DATATYPE lnType = 0;
    size_t lnSize = sizeof lnStatus;
    QCOMPARE(mpLib->DevGetInfo(lcSession.mhDevice, DEVICE_INFO_ACCESS_STATUS, &lnType, &lnStatus, &lnSize),
             GC_ERR_SUCCESS);
    QCOMPARE(lnStatus, int32_t(DEVICE_ACCESS_STATUS_OPEN_READONLY));
}

void tcProducerApiTest::userDefinedName()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    GC_ERROR lnResult = GC_ERR_SUCCESS;
    infoString([&](INFO_DATATYPE* t, void* b, size_t* s)
               { return mpLib->DevGetInfo(lcSession.mhDevice, DEVICE_INFO_USER_DEFINED_NAME, t, b, s); },
               &lnResult);
    QCOMPARE(lnResult, GC_ERR_NOT_AVAILABLE);
    const char lcName[32] = "left camera";
    size_t lnSize = sizeof lcName;
    QCOMPARE(mpLib->GCWritePort(lcSession.mhPort, 0x0080, lcName, &lnSize), GC_ERR_SUCCESS);
    QCOMPARE(infoString(
                 [&](INFO_DATATYPE* t, void* b, size_t* s)
                 {
                     return mpLib->IFGetDeviceInfo(lcSession.mhInterface, gcSimCamIds[0],
                                                   DEVICE_INFO_USER_DEFINED_NAME, t, b, s);
                 }),
             std::string("left camera"));
}

void tcProducerApiTest::stackedAccess()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    uint8_t lcWidth[4] = {0, 0, 0x04, 0x00}; // 1024, big-endian
    uint8_t lcBad[4] = {0, 0, 0x0F, 0xA0};   // 4000: taller than the sensor
    uint8_t lcHeight[4] = {0, 0, 0x01, 0x00};
    PORT_REGISTER_STACK_ENTRY lcEntries[3] = {
        {simcamreg::Width, lcWidth, 4}, {simcamreg::Height, lcBad, 4}, {simcamreg::Height, lcHeight, 4}};
    size_t lnCount = 3;
    QCOMPARE(mpLib->GCWritePortStacked(lcSession.mhPort, lcEntries, &lnCount), GC_ERR_INVALID_VALUE);
    QCOMPARE(lnCount, size_t(1)); // entries done before the failing one
    QCOMPARE(lcSession.u32(simcamreg::Width, true), 1024u);
    uint8_t lcRead[2][4];
    PORT_REGISTER_STACK_ENTRY lcReads[2] = {{simcamreg::Width, lcRead[0], 4},
                                            {simcamreg::SensorHeight, lcRead[1], 4}};
    lnCount = 2;
    QCOMPARE(mpLib->GCReadPortStacked(lcSession.mhPort, lcReads, &lnCount), GC_ERR_SUCCESS);
    QCOMPARE(lnCount, size_t(2));
    QCOMPARE(int(lcRead[0][2]), 0x04);
    QCOMPARE(int(lcRead[1][2]), 0x06); // 1536 = 0x600
}

void tcProducerApiTest::sensorRegisterBanks()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[2]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    const auto lfPeek = [&](uint32_t anAddress)
    {
        lcSession.writeU32(simcamreg::RegAddress, anAddress);
        lcSession.writeU32(simcamreg::RegCommand, 1);
        return lcSession.u32(simcamreg::RegValue);
    };
    const auto lfPoke = [&](uint32_t anAddress, uint32_t anValue)
    {
        lcSession.writeU32(simcamreg::RegAddress, anAddress);
        lcSession.writeU32(simcamreg::RegValue, anValue);
        return lcSession.writeU32(simcamreg::RegCommand, 2);
    };
    // Every bank has its own contents, and register 0 selects the bank.
    std::vector<uint32_t> lcFirst;
    for (uint32_t lnBank = 0; lnBank < 4; ++lnBank)
    {
        QCOMPARE(lfPoke(0, lnBank), GC_ERR_SUCCESS);
        QCOMPARE(lfPeek(0), lnBank);
        lcFirst.push_back(lfPeek(5));
    }
    QVERIFY(lcFirst[0] != lcFirst[1] && lcFirst[1] != lcFirst[2] && lcFirst[2] != lcFirst[3]);
    QCOMPARE(lfPoke(0, 2), GC_ERR_SUCCESS);
    QCOMPARE(lfPoke(17, 0x1234), GC_ERR_SUCCESS);
    QCOMPARE(lfPeek(17), 0x1234u);
    QCOMPARE(lfPoke(0, 1), GC_ERR_SUCCESS);
    QVERIFY(lfPeek(17) != 0x1234u);
    QCOMPARE(lfPoke(0, 2), GC_ERR_SUCCESS);
    QCOMPARE(lfPeek(17), 0x1234u);
    // Out of range: bank 4, register 128.
    QCOMPARE(lfPoke(0, 4), GC_ERR_INVALID_VALUE);
    QCOMPARE(lfPeek(0), 2u);
    QCOMPARE(lcSession.writeU32(simcamreg::RegAddress, 128), GC_ERR_INVALID_VALUE);
    QCOMPARE(lcSession.writeU32(simcamreg::RegCommand, 3), GC_ERR_INVALID_VALUE);
}

void tcProducerApiTest::hdmiWindowLocksWhileRunning()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[2]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    QCOMPARE(lcSession.writeU32(simcamreg::HdmiWidth, 4000), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::HdmiWidth, 8000), GC_ERR_INVALID_VALUE); // wider than the sensor
    QCOMPARE(lcSession.writeU32(simcamreg::HdmiCommand, 1), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.u32(simcamreg::Status, true) & 2u, 2u);
    QCOMPARE(lcSession.writeU32(simcamreg::HdmiWidth, 2000), GC_ERR_ACCESS_DENIED);
    QCOMPARE(lcSession.writeU32(simcamreg::HdmiCommand, 2), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::HdmiWidth, 2000), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.u32(simcamreg::HdmiWidth), 2000u);
}

void tcProducerApiTest::badFaultSpecificationIsRefused_data()
{
    QTest::addColumn<QString>("faults");
    QTest::addColumn<QString>("entry");
    QTest::newRow("no '@'") << "GCReadPort=-1010"
                            << "GCReadPort=-1010";
    QTest::newRow("unknown frame fault") << "incomplete@1, sparkle@2"
                                         << "sparkle@2";
    QTest::newRow("not an error code") << "GCReadPort=12@1"
                                       << "GCReadPort=12@1";
    QTest::newRow("not a number") << "GCReadPort=-10x@1"
                                  << "GCReadPort=-10x@1";
    QTest::newRow("code too large") << "GCReadPort=-99999999999999999999@1"
                                    << "GCReadPort=-99999999999999999999@1";
    QTest::newRow("count from 0") << "GCReadPort=-1010@0"
                                  << "GCReadPort=-1010@0";
    QTest::newRow("count too large") << "GCReadPort=-1010@99999999999999999999"
                                     << "@99999999999999999999";
    QTest::newRow("misspelt function") << "DSGetInfo=-1010@1,TLopen=-1010@1"
                                       << "TLopen=-1010@1";
}

void tcProducerApiTest::badFaultSpecificationIsRefused()
{
    QFETCH(QString, faults);
    QFETCH(QString, entry);
    setenv("SIMCAM_FAULTS", faults.toLatin1().constData(), 1);
    const GC_ERROR lnInit = mpLib->GCInitLib();
    unsetenv("SIMCAM_FAULTS");
    QCOMPARE(lnInit, GC_ERR_INVALID_PARAMETER);
    // The last error names the bad entry although the library is not initialised.
    GC_ERROR lnCode = 0;
    char lcText[512] = {};
    size_t lnSize = sizeof lcText;
    QCOMPARE(mpLib->GCGetLastError(&lnCode, lcText, &lnSize), GC_ERR_SUCCESS);
    QCOMPARE(lnCode, GC_ERR_INVALID_PARAMETER);
    QVERIFY2(std::string(lcText).find("SIMCAM_FAULTS") != std::string::npos, lcText);
    QVERIFY2(std::string(lcText).find(entry.toStdString()) != std::string::npos, lcText);
    TL_HANDLE lhSystem = nullptr;
    QCOMPARE(mpLib->TLOpen(&lhSystem), GC_ERR_NOT_INITIALIZED);
    QCOMPARE(mpLib->GCInitLib(), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->GCCloseLib(), GC_ERR_SUCCESS);
}

void tcProducerApiTest::everyFunctionCanFail()
{
    // Each exported name is a valid fault target, and the fault fires.
    const std::vector<std::string> lcNames = {
#define SIMCAM_NAME(name) #name,
        SIMCAM_GENTL_FUNCTIONS(SIMCAM_NAME)
#undef SIMCAM_NAME
    };
    for (const std::string& lrName : lcNames)
    {
        setenv("SIMCAM_FAULTS", (lrName + "=-1010@1000").c_str(), 1);
        const GC_ERROR lnInit = mpLib->GCInitLib();
        unsetenv("SIMCAM_FAULTS");
        QVERIFY2(lnInit == GC_ERR_SUCCESS, (lrName + ": " + mpLib->lastError()).c_str());
        QCOMPARE(mpLib->GCCloseLib(), GC_ERR_SUCCESS);
    }
    setenv("SIMCAM_FAULTS", "TLOpen=-1010@1", 1);
    QCOMPARE(mpLib->GCInitLib(), GC_ERR_SUCCESS);
    unsetenv("SIMCAM_FAULTS");
    TL_HANDLE lhSystem = nullptr;
    QCOMPARE(mpLib->TLOpen(&lhSystem), GC_ERR_IO);
    QCOMPARE(mpLib->TLOpen(&lhSystem), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->GCCloseLib(), GC_ERR_SUCCESS);
}

QTEST_GUILESS_MAIN(tcProducerApiTest)
#include "tst_producerapi.moc"
