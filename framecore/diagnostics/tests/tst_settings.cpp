#include "settings.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class tst_Settings : public QObject
{
    Q_OBJECT

    QTemporaryDir mcDir;

    QString iniPath(const QString& arName) const { return mcDir.filePath(arName); }

private slots:
    void init() { tcSettings::setDefaultIniFile(QString()); }

    void factoryWithoutDefaultUsesSystemScope()
    {
        std::unique_ptr<tcSettings> lpSettings(tcSettings::getSettings(QString()));
        QCOMPARE(lpSettings->scope(), QSettings::SystemScope);
        QCOMPARE(lpSettings->format(), QSettings::IniFormat);
        QCOMPARE(lpSettings->organizationName(), QStringLiteral("Tarnwick LLC"));
        QCOMPARE(lpSettings->applicationName(), QCoreApplication::applicationName());
    }

    void factoryUsesDefaultFile()
    {
        const QString lsDefault = iniPath(QStringLiteral("default.ini"));
        tcSettings::setDefaultIniFile(lsDefault);
        QCOMPARE(tcSettings::getDefaultIniFile(), lsDefault);
        {
            std::unique_ptr<QSettings> lpSettings(tcSettings::getQSettings());
            QCOMPARE(lpSettings->fileName(), lsDefault);
            lpSettings->setValue(QStringLiteral("startMaximized"), true);
        }
        QSettings lcReader(lsDefault, QSettings::IniFormat);
        QCOMPARE(lcReader.value(QStringLiteral("startMaximized")).toBool(), true);

        const QString lsOther = iniPath(QStringLiteral("other.ini"));
        std::unique_ptr<tcSettings> lpOther(tcSettings::getSettings(lsOther));
        QCOMPARE(lpOther->fileName(), lsOther);
    }

    void groupValues()
    {
        tcSettings lcSettings(iniPath(QStringLiteral("groups.ini")));
        QCOMPARE(lcSettings.grpValue(QStringLiteral("Video"), QStringLiteral("zoom"), 1).toInt(), 1);
        lcSettings.setGrpValue(QStringLiteral("Video"), QStringLiteral("zoom"), 4);
        QCOMPARE(lcSettings.value(QStringLiteral("Video/zoom")).toInt(), 4);
        QCOMPARE(lcSettings.grpValue(QStringLiteral("Video"), QStringLiteral("zoom"), 1).toInt(), 4);

        // An empty group addresses the top level.
        lcSettings.setValue(QStringLiteral("top"), QStringLiteral("here"));
        QCOMPARE(lcSettings.grpValue(QString(), QStringLiteral("top"), QString()).toString(),
                 QStringLiteral("here"));
        lcSettings.setGrpValue(QString(), QStringLiteral("written"), 9);
        QCOMPARE(lcSettings.value(QStringLiteral("written")).toInt(), 9);
    }

    void scrambledRoundTripOfEveryLatin1Character()
    {
        tcSettings lcSettings(iniPath(QStringLiteral("secret.ini")));
        QString lsAll;
        for (int i = 1; i < 256; ++i)
            lsAll += QChar(i);
        for (int nLength : {0, 1, 2, 3, 4, 255})
        {
            const QString lsText = lsAll.left(nLength);
            lcSettings.setEncrypted(QStringLiteral("secret"), lsText);
            QCOMPARE(lcSettings.getEncrypted(QStringLiteral("secret")), lsText);
        }
        lcSettings.sync();
        tcSettings lcReader(iniPath(QStringLiteral("secret.ini")));
        QCOMPARE(lcReader.getEncrypted(QStringLiteral("secret")), lsAll);
        QCOMPARE(lcReader.getEncrypted(QStringLiteral("missing")), QString());
    }

    void scrambledStoredBytes()
    {
        tcSettings lcSettings(iniPath(QStringLiteral("bytes.ini")));
        // "abcd" -> Base64 "YWJjZA" (no padding) -> halves swapped.
        lcSettings.setEncrypted(QStringLiteral("key"), QStringLiteral("abcd"));
        const QByteArray lcExpected("\x95\x75\xA4\xA6\xA5\x14", 6);
        QCOMPARE(lcSettings.value(QStringLiteral("key")).toByteArray(), lcExpected);
    }

    void userDocsDir()
    {
        const QString lsDocs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(tcSettings::userDocsDir(QStringLiteral("xml")),
                 QStringLiteral("%1/Tarnwick LLC/tst_settings/xml").arg(lsDocs));
        QVERIFY(tcSettings::userDocsDir(QString()).endsWith(QStringLiteral("/tst_settings")));
    }

    void versionString()
    {
        const QString lsVersion = appVersion();
        QVERIFY2(lsVersion.startsWith(QStringLiteral("0.9.0 build 132 ")), qPrintable(lsVersion));
        const QRegularExpression lcPattern(
            QStringLiteral("^0\\.9\\.0 build 132 [A-Z][a-z]{2} \\d{1,2} \\d{4} \\d\\d:\\d\\d:\\d\\d$"));
        QVERIFY2(lcPattern.match(lsVersion).hasMatch(), qPrintable(lsVersion));
    }
};

int main(int argc, char** argv)
{
    QCoreApplication lcApp(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tarnwick LLC"));
    tst_Settings lcTest;
    return QTest::qExec(&lcTest, argc, argv);
}
#include "tst_settings.moc"
