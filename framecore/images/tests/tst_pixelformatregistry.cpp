#include "imagebuffer.h"
#include "pixelformat.h"
#include "pixelformatbayer12.h"
#include "pixelformatbayer12p.h"
#include "pixelformatbayer8.h"
#include "pixelformatmono12p.h"
#include "pixelformatmono16.h"
#include "pixelformatmono8.h"
#include "pixelformatnull.h"
#include "pixelformatregistry.h"
#include "pixelformatrgb8.h"

#include <QtTest>

using namespace PixelFormats;

class tst_PixelFormatRegistry : public QObject
{
    Q_OBJECT

private slots:
    void seventeenCodesInAscendingOrder()
    {
        const QList<quint32> lsExpected = {0u,          0x01080001u, 0x01080008u, 0x01080009u, 0x0108000Au,
                                           0x0108000Bu, 0x010C0047u, 0x010C0053u, 0x010C0055u, 0x010C0057u,
                                           0x010C0059u, 0x01100007u, 0x01100010u, 0x01100011u, 0x01100012u,
                                           0x01100013u, 0x02180014u};
        QCOMPARE(tcPixelFormatRegistry::registeredCodes(), lsExpected);
    }

    // The library registers while it loads, before any test code runs, so the
    // log lines are read from a second run of this program.
    void registersInFixedOrderWhileLoading()
    {
        QProcess lcChild;
        QProcessEnvironment lcEnvironment = QProcessEnvironment::systemEnvironment();
        lcEnvironment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("*.debug=true"));
        lcEnvironment.remove(QStringLiteral("QT_MESSAGE_PATTERN"));
        lcChild.setProcessEnvironment(lcEnvironment);
        lcChild.start(QCoreApplication::applicationFilePath(), {QStringLiteral("-functions")});
        QVERIFY(lcChild.waitForFinished(30000));
        QStringList lsLines;
        for (const QString& lsLine : QString::fromLocal8Bit(lcChild.readAllStandardError()).split('\n'))
        {
            if (lsLine.contains(QLatin1String("Registering pixel format")))
                lsLines << lsLine.trimmed();
        }
        const QStringList lsExpected = {"Registering pixel format 17301505 [ Mono8 ]",
                                        "Registering pixel format 0 [ InvalidPixelFormat ]",
                                        "Registering pixel format 17563719 [ Mono12p ]",
                                        "Registering pixel format 17825799 [ Mono16 ]",
                                        "Registering pixel format 17301515 [ BayerBG8 ]",
                                        "Registering pixel format 17301514 [ BayerGB8 ]",
                                        "Registering pixel format 17301512 [ BayerGR8 ]",
                                        "Registering pixel format 17301513 [ BayerRG8 ]",
                                        "Registering pixel format 17825811 [ BayerBG12 ]",
                                        "Registering pixel format 17825810 [ BayerGB12 ]",
                                        "Registering pixel format 17825808 [ BayerGR12 ]",
                                        "Registering pixel format 17825809 [ BayerRG12 ]",
                                        "Registering pixel format 17563731 [ BayerBG12p ]",
                                        "Registering pixel format 17563733 [ BayerGB12p ]",
                                        "Registering pixel format 17563735 [ BayerGR12p ]",
                                        "Registering pixel format 17563737 [ BayerRG12p ]",
                                        "Registering pixel format 35127316 [ RGB8 ]"};
        QCOMPARE(lsLines, lsExpected);
    }

    void createsTheClassOfEachCode_data()
    {
        QTest::addColumn<quint32>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        QTest::newRow("Null") << 0u << "NULL"
                              << "Null";
        QTest::newRow("Mono8") << 0x01080001u << "Mono8"
                               << "Mono8";
        QTest::newRow("Mono12p") << 0x010C0047u << "Mono12p"
                                 << "Mono12p";
        QTest::newRow("Mono16") << 0x01100007u << "Mono16"
                                << "Mono16";
        QTest::newRow("BayerGR8") << 0x01080008u << "BayerGR8"
                                  << "Bayer8";
        QTest::newRow("BayerRG8") << 0x01080009u << "BayerRG8"
                                  << "Bayer8";
        QTest::newRow("BayerGB8") << 0x0108000Au << "BayerGB8"
                                  << "Bayer8";
        QTest::newRow("BayerBG8") << 0x0108000Bu << "BayerBG8"
                                  << "Bayer8";
        QTest::newRow("BayerGR12") << 0x01100010u << "BayerGR12"
                                   << "Bayer12";
        QTest::newRow("BayerRG12") << 0x01100011u << "BayerRG12"
                                   << "Bayer12";
        QTest::newRow("BayerGB12") << 0x01100012u << "BayerGB12"
                                   << "Bayer12";
        QTest::newRow("BayerBG12") << 0x01100013u << "BayerBG12"
                                   << "Bayer12";
        QTest::newRow("BayerBG12p") << 0x010C0053u << "BayerBG12p"
                                    << "Bayer12p";
        QTest::newRow("BayerGB12p") << 0x010C0055u << "BayerGB12p"
                                    << "Bayer12p";
        QTest::newRow("BayerGR12p") << 0x010C0057u << "BayerGR12p"
                                    << "Bayer12p";
        QTest::newRow("BayerRG12p") << 0x010C0059u << "BayerRG12p"
                                    << "Bayer12p";
        QTest::newRow("RGB8") << 0x02180014u << "RGB8"
                              << "RGB8";
    }
    void createsTheClassOfEachCode()
    {
        QFETCH(quint32, code);
        QFETCH(QString, name);
        QFETCH(QString, className);
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(code);
        const tcPixelFormat* lpFormat = lpFrame->getPixelFormat();
        QVERIFY(lpFormat);
        QCOMPARE(lpFormat->getName(), name);
        QCOMPARE(lpFormat->getCode(), code);
        QCOMPARE(classOf(lpFormat), className);
    }

    void unregisteredCodeGivesNullFormatAndWarns()
    {
        QTest::ignoreMessage(QtWarningMsg, "Creating NULL pixel format for format = 17825795");
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(0x01100003u); // Mono10
        QCOMPARE(lpFrame->getPixelFormat()->getName(), QStringLiteral("NULL"));
        QCOMPARE(classOf(lpFrame->getPixelFormat()), QStringLiteral("Null"));
    }

    void duplicateRegistrationKeepsTheFirst()
    {
        QTest::ignoreMessage(QtWarningMsg, "Pixel format  17301505 already registered!");
        QVERIFY(!tcPixelFormatRegistry::registerClass<tcPixelFormatRGB8>(0x01080001u));
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(0x01080001u);
        QCOMPARE(classOf(lpFrame->getPixelFormat()), QStringLiteral("Mono8"));
    }

    void newCodeCanBeRegistered()
    {
        const quint32 lnMono8s = 0x01080002u;
        QVERIFY(!tcPixelFormatRegistry::isRegistered(lnMono8s));
        QTest::ignoreMessage(QtDebugMsg, "Registering pixel format 17301506 [ Mono8s ]");
        QVERIFY(tcPixelFormatRegistry::registerClass<tcPixelFormatMono8>(lnMono8s));
        QVERIFY(tcPixelFormatRegistry::isRegistered(lnMono8s));
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(lnMono8s);
        QCOMPARE(lpFrame->getPixelFormat()->getName(), QStringLiteral("Mono8s"));
    }

    void factoryWithoutResultFallsBackToNull()
    {
        const quint32 lnMono12 = 0x01100005u; // Mono12, not registered by the library
        QVERIFY(tcPixelFormatRegistry::registerFormat(
            lnMono12, [](const tcImageBuffer&) -> tcPixelFormat* { return nullptr; }));
        const tpImageBuffer lpFrame = tcImageBuffer::newImage(lnMono12);
        QVERIFY(lpFrame->getPixelFormat());
        QCOMPARE(lpFrame->getPixelFormat()->getName(), QStringLiteral("NULL"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("without a factory"));
        QVERIFY(!tcPixelFormatRegistry::registerFormat(0x01100025u, nullptr));
    }

    void bayerConversionPerPattern_data()
    {
        QTest::addColumn<quint32>("code");
        QTest::addColumn<int>("conversion");
        QTest::newRow("GR8") << 0x01080008u << 49;
        QTest::newRow("GR12") << 0x01100010u << 49;
        QTest::newRow("GR12p") << 0x010C0057u << 49;
        QTest::newRow("GB8") << 0x0108000Au << 47;
        QTest::newRow("GB12") << 0x01100012u << 47;
        QTest::newRow("GB12p") << 0x010C0055u << 47;
        QTest::newRow("BG8") << 0x0108000Bu << 46;
        QTest::newRow("BG12") << 0x01100013u << 46;
        QTest::newRow("BG12p") << 0x010C0053u << 46;
        QTest::newRow("RG8") << 0x01080009u << 48;
        QTest::newRow("RG12") << 0x01100011u << 48;
        QTest::newRow("RG12p") << 0x010C0059u << 48;
        QTest::newRow("other") << 0x01080001u << 48;
    }
    void bayerConversionPerPattern()
    {
        QFETCH(quint32, code);
        QFETCH(int, conversion);
        QCOMPARE(tcPixelFormat::bayerToRgbConversion(code), conversion);
    }

private:
    static QString classOf(const tcPixelFormat* apFormat)
    {
        if (dynamic_cast<const tcPixelFormatNull*>(apFormat))
            return QStringLiteral("Null");
        if (dynamic_cast<const tcPixelFormatMono8*>(apFormat))
            return QStringLiteral("Mono8");
        if (dynamic_cast<const tcPixelFormatMono12p*>(apFormat))
            return QStringLiteral("Mono12p");
        if (dynamic_cast<const tcPixelFormatMono16*>(apFormat))
            return QStringLiteral("Mono16");
        if (dynamic_cast<const tcPixelFormatBayer8*>(apFormat))
            return QStringLiteral("Bayer8");
        if (dynamic_cast<const tcPixelFormatBayer12*>(apFormat))
            return QStringLiteral("Bayer12");
        if (dynamic_cast<const tcPixelFormatBayer12p*>(apFormat))
            return QStringLiteral("Bayer12p");
        if (dynamic_cast<const tcPixelFormatRGB8*>(apFormat))
            return QStringLiteral("RGB8");
        return QStringLiteral("?");
    }
};

QTEST_GUILESS_MAIN(tst_PixelFormatRegistry)
#include "tst_pixelformatregistry.moc"
