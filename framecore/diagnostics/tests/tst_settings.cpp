#include "settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

    // A default file that cannot be used is reported by name and reason and
    // kept aside before any store writes to its place.
    void unusableDefaultFileIsKeptAside_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("problem");
        QTest::newRow("garbage") << QByteArray("\x93\x11garbage\x01\xfe[[[ not ini\n\x7f")
                                 << "it holds binary data, not text";
        QTest::newRow("not INI") << QByteArray("[Video\nzoom=2\n")
                                 << "it is not a valid INI file (damaged or cut short)";
        QTest::newRow("truncated") << QByteArray("[Video]\nzoom=2\n[Log Win")
                                   << "it is not a valid INI file (damaged or cut short)";
        QTest::newRow("binary") << QByteArray("[Video]\nzoom=2\n\0\0\0\0", 20)
                                << "it holds binary data, not text";
    }

    void unusableDefaultFileIsKeptAside()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, problem);
        QTemporaryDir lcDir;
        const QString lsIni = lcDir.filePath(QStringLiteral("kestle.ini"));
        auto write = [](const QString& arPath, const QByteArray& arBytes)
        {
            QFile lcFile(arPath);
            QVERIFY(lcFile.open(QIODevice::WriteOnly));
            lcFile.write(arBytes);
        };
        write(lsIni + QStringLiteral(".bad"), "an earlier one");
        write(lsIni, content);

        const QString lsKept = lsIni + QStringLiteral(".bad.1");
        const QString lsReport =
            QStringLiteral(
                "Settings file %1 is unusable: %2. It is kept as %3; settings start from their defaults.")
                .arg(lsIni, problem, lsKept);
        QTest::ignoreMessage(QtWarningMsg, qPrintable(lsReport));
        tcSettings::setDefaultIniFile(lsIni);
        QCOMPARE(tcSettings::defaultFileProblem(), lsReport);
        QCOMPARE(tcSettings::getDefaultIniFile(), lsIni);

        QFile lcKept(lsKept);
        QVERIFY(lcKept.open(QIODevice::ReadOnly));
        QCOMPARE(lcKept.readAll(), content);
        QFile lcEarlier(lsIni + QStringLiteral(".bad"));
        QVERIFY(lcEarlier.open(QIODevice::ReadOnly));
        QCOMPARE(lcEarlier.readAll(), QByteArray("an earlier one"));

        // The store starts empty and writes a fresh file in the old one's place.
        {
            std::unique_ptr<tcSettings> lpSettings(tcSettings::getSettings(QString()));
            QVERIFY(lpSettings->allKeys().isEmpty());
            lpSettings->setGrpValue(QStringLiteral("Video"), QStringLiteral("zoom"), 3);
        }
        QSettings lcReader(lsIni, QSettings::IniFormat);
        QCOMPARE(lcReader.status(), QSettings::NoError);
        QCOMPARE(lcReader.allKeys(), QStringList{QStringLiteral("Video/zoom")});
        QVERIFY(lcKept.exists());
    }

    void folderAsDefaultFileIsReportedAndLeftAlone()
    {
        QTemporaryDir lcDir;
        const QString lsIni = lcDir.filePath(QStringLiteral("kestle.ini"));
        QVERIFY(QDir().mkpath(lsIni + QStringLiteral("/inside")));
        const QString lsReport =
            QStringLiteral("Settings file %1 is unusable: it is a folder, not a file. Settings "
                           "are neither read from nor saved to it.")
                .arg(lsIni);
        QTest::ignoreMessage(QtWarningMsg, qPrintable(lsReport));
        tcSettings::setDefaultIniFile(lsIni);
        QCOMPARE(tcSettings::defaultFileProblem(), lsReport);
        QVERIFY(QFileInfo(lsIni + QStringLiteral("/inside")).isDir());
        QVERIFY(!QFileInfo::exists(lsIni + QStringLiteral(".bad")));
    }

    void usableOrMissingDefaultFileIsLeftAsItIs()
    {
        const QString lsIni = iniPath(QStringLiteral("fine.ini"));
        QCOMPARE(tcSettings::fileProblem(lsIni), QString());
        tcSettings::setDefaultIniFile(lsIni);
        QCOMPARE(tcSettings::defaultFileProblem(), QString());
        {
            tcSettings lcSettings(lsIni);
            lcSettings.setValue(QStringLiteral("Log Window/level"), 2);
        }
        tcSettings::setDefaultIniFile(lsIni);
        QCOMPARE(tcSettings::defaultFileProblem(), QString());
        QVERIFY(!QFileInfo::exists(lsIni + QStringLiteral(".bad")));
        QCOMPARE(tcSettings(lsIni).value(QStringLiteral("Log Window/level")).toInt(), 2);
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
