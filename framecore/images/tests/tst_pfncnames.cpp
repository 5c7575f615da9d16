#include "pfncnames.h"

#include <QSet>
#include <QtTest>

class tst_PfncNames : public QObject
{
    Q_OBJECT

private slots:
    void knownNames_data()
    {
        QTest::addColumn<quint32>("code");
        QTest::addColumn<QString>("name");
        QTest::newRow("invalid") << 0u << "InvalidPixelFormat";
        QTest::newRow("first") << 0x01010037u << "Mono1p";
        QTest::newRow("Mono8") << 0x01080001u << "Mono8";
        QTest::newRow("Mono10") << 0x01100003u << "Mono10";
        QTest::newRow("Mono12p") << 0x010C0047u << "Mono12p";
        QTest::newRow("Mono16") << 0x01100007u << "Mono16";
        QTest::newRow("BayerGR8") << 0x01080008u << "BayerGR8";
        QTest::newRow("BayerRG12") << 0x01100011u << "BayerRG12";
        QTest::newRow("BayerBG12p") << 0x010C0053u << "BayerBG12p";
        QTest::newRow("RGB8") << 0x02180014u << "RGB8";
        QTest::newRow("legacy Mono12Packed") << 0x010C0006u << "Mono12Packed";
        QTest::newRow("legacy BayerGR10Packed") << 0x010C0026u << "BayerGR10Packed";
        QTest::newRow("last") << 0x02240034u << "RGB12V1Packed";
        QTest::newRow("unknown") << 0x12345678u << "UnknownPixelFormat";
        QTest::newRow("all bits") << 0xFFFFFFFFu << "UnknownPixelFormat";
    }
    void knownNames()
    {
        QFETCH(quint32, code);
        QFETCH(QString, name);
        QCOMPARE(QString::fromLatin1(PixelFormats::pfncName(code)), name);
    }

    void tableHasEveryCodeOnce()
    {
        const std::vector<quint32> lsCodes = PixelFormats::pfncCodes();
        QCOMPARE(lsCodes.size(), size_t(242));
        QVERIFY(std::is_sorted(lsCodes.begin(), lsCodes.end()));
        QVERIFY(std::adjacent_find(lsCodes.begin(), lsCodes.end()) == lsCodes.end());
        QSet<QString> lsNames;
        for (quint32 lnCode : lsCodes)
        {
            const QString lsName = QString::fromLatin1(PixelFormats::pfncName(lnCode));
            QVERIFY2(lsName != QLatin1String("UnknownPixelFormat"), qPrintable(QString::number(lnCode, 16)));
            QVERIFY2(!lsNames.contains(lsName), qPrintable(lsName));
            lsNames.insert(lsName);
            for (QChar lcChar : lsName)
                QVERIFY(lcChar.unicode() < 128);
        }
    }
};

QTEST_APPLESS_MAIN(tst_PfncNames)
#include "tst_pfncnames.moc"
