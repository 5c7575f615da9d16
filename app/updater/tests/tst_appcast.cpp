#include "appcast.h"
#include "versionnumber.h"

#include <QtTest>

namespace
{
const QByteArray kSha(64, 'a');

QByteArray release(const QByteArray& arVersion, const QByteArray& arInstaller = "setup.exe",
                   const QByteArray& arSha = kSha)
{
    return "<release><version>" + arVersion + "</version><date>2026-12-01</date><notes>Faster.</notes>" +
           "<installer url=\"" + arInstaller + "\" sha256=\"" + arSha + "\"/></release>";
}
} // namespace

class tst_AppCast : public QObject
{
    Q_OBJECT

private slots:
    void versionNumbers_data()
    {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::addColumn<int>("order");
        QTest::newRow("equal") << "0.9.0"
                               << "0.9.0" << 0;
        QTest::newRow("missing parts are zero") << "1.0"
                                                << "1.0.0" << 0;
        QTest::newRow("patch") << "0.9.1"
                               << "0.9.0" << 1;
        QTest::newRow("numeric, not text") << "0.10.0"
                                           << "0.9.9" << 1;
        QTest::newRow("older") << "0.8.12"
                               << "0.9" << -1;
        QTest::newRow("four parts") << "1.2.3.4"
                                    << "1.2.3.5" << -1;
    }
    void versionNumbers()
    {
        QFETCH(QString, left);
        QFETCH(QString, right);
        QFETCH(int, order);
        tcVersionNumber lcLeft;
        tcVersionNumber lcRight;
        QVERIFY(tcVersionNumber::parse(left, lcLeft));
        QVERIFY(tcVersionNumber::parse(right, lcRight));
        QCOMPARE(lcLeft.compare(lcRight), order);
        QCOMPARE(lcRight.compare(lcLeft), -order);
    }

    void versionNumbersThatDoNotParse()
    {
        tcVersionNumber lcVersion;
        for (const char* lpText : {"", "abc", "1..2", "1.2.", ".1", "1.2.3-beta", "v1.0", "1.2.3.4.5", "-1.0",
                                   "1.0 build 3", "99999999999.0"})
            QVERIFY2(!tcVersionNumber::parse(QString::fromLatin1(lpText), lcVersion), lpText);
        QVERIFY(tcVersionNumber::parse(QStringLiteral(" 2.0 "), lcVersion));
        QCOMPARE(lcVersion.toString(), QStringLiteral("2.0"));
    }

    void readsTheNewestRelease()
    {
        const QByteArray lcXml = "<?xml version=\"1.0\"?>\n<appcast><channel/>" + release("0.9.1") +
                                 release("1.0.0", "https://other.example/k-1.0.0.exe", QByteArray(64, 'B')) +
                                 release("0.9.5") + "</appcast>";
        tcAppCast lcCast;
        QString lsError;
        QVERIFY2(tcAppCast::parse(lcXml, QUrl("http://updates.example/kestrix/cast.xml"), lcCast, lsError),
                 qPrintable(lsError));
        QCOMPARE(lcCast.msVersion, QStringLiteral("1.0.0"));
        QCOMPARE(lcCast.msDate, QStringLiteral("2026-12-01"));
        QCOMPARE(lcCast.msNotes, QStringLiteral("Faster."));
        QCOMPARE(lcCast.mcInstallerUrl, QUrl("https://other.example/k-1.0.0.exe"));
        QCOMPARE(lcCast.msSha256, QByteArray(64, 'b')); // kept in lower case
    }

    void resolvesARelativeInstaller()
    {
        tcAppCast lcCast;
        QString lsError;
        QVERIFY(tcAppCast::parse("<appcast>" + release("0.9.1", "files/setup.exe") + "</appcast>",
                                 QUrl("http://127.0.0.1:8080/kx/cast.xml"), lcCast, lsError));
        QCOMPARE(lcCast.mcInstallerUrl, QUrl("http://127.0.0.1:8080/kx/files/setup.exe"));
    }

    void rejectsBadDescriptions_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("error");
        QTest::newRow("web page") << QByteArray("<html><body>oops") << "not an update description";
        QTest::newRow("not xml") << QByteArray("version=1.0") << "line 1";
        QTest::newRow("empty") << QByteArray() << "line 1";
        QTest::newRow("truncated") << QByteArray("<appcast>") + release("1.0").left(40) << "line 1";
        QTest::newRow("garbage after root") << "<appcast>" + release("1.0") + "</appcast><x"
                                            << "line 1";
        QTest::newRow("other document") << QByteArray("<rss><release/></rss>") << "not an update description";
        QTest::newRow("no release") << QByteArray("<appcast></appcast>") << "lists no release";
        QTest::newRow("no version") << QByteArray("<appcast><release><installer url=\"a\" sha256=\"" + kSha +
                                                  "\"/></release></appcast>")
                                    << "has no version";
        QTest::newRow("bad version") << "<appcast>" + release("1.0-rc1") + "</appcast>"
                                     << "the version \"1.0-rc1\" is not a version number";
        QTest::newRow("no installer")
            << QByteArray("<appcast><release><version>1.0</version></release></appcast>")
            << "names no installer";
        QTest::newRow("file installer") << "<appcast>" + release("1.0", "file:///etc/passwd") + "</appcast>"
                                        << "not an http or https address";
        QTest::newRow("short checksum") << "<appcast>" + release("1.0", "a.exe", "abcd") + "</appcast>"
                                        << "no valid SHA-256";
        QTest::newRow("checksum not hex")
            << "<appcast>" + release("1.0", "a.exe", QByteArray(64, 'g')) + "</appcast>"
            << "no valid SHA-256";
    }
    void rejectsBadDescriptions()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QString, error);
        tcAppCast lcCast;
        QString lsError;
        QVERIFY(!tcAppCast::parse(xml, QUrl("http://updates.example/cast.xml"), lcCast, lsError));
        QVERIFY2(lsError.contains(error), qPrintable(lsError));
    }
};

QTEST_GUILESS_MAIN(tst_AppCast)
#include "tst_appcast.moc"
