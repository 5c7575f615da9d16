#include "startupoptions.h"

#include <QtTest>

#include <vector>

class tst_StartupOptions : public QObject
{
    Q_OBJECT

private slots:
    void scan_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("internal");
        QTest::addColumn<bool>("threadId");
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("log");

        QTest::newRow("nothing") << QStringList{} << false << false << "ini0"
                                 << "log0";
        QTest::newRow("logfile last changes nothing") << QStringList{"-logfile"} << false << false << "ini0"
                                                      << "log0";
        QTest::newRow("inifile last changes nothing") << QStringList{"-inifile"} << false << false << "ini0"
                                                      << "log0";
        QTest::newRow("both paths") << QStringList{"-logfile", "/tmp/a.log", "-inifile", "/tmp/b.ini"}
                                    << false << false << "/tmp/b.ini"
                                    << "/tmp/a.log";
        QTest::newRow("inifile with more letters")
            << QStringList{"-inifileXYZ", "/x.ini"} << false << false << "/x.ini"
            << "log0";
        QTest::newRow("logfile must be exact")
            << QStringList{"-logfileX", "/x.log"} << false << false << "ini0"
            << "log0";
        QTest::newRow("adddbgtid exact") << QStringList{"-adddbgtid"} << false << true << "ini0"
                                         << "log0";
        QTest::newRow("adddbgtid with letters") << QStringList{"-adddbgtidX"} << false << false << "ini0"
                                                << "log0";
        QTest::newRow("internal prefix") << QStringList{"-internalfoo"} << true << false << "ini0"
                                         << "log0";
        QTest::newRow("value is skipped") << QStringList{"-logfile", "-internal"} << false << false << "ini0"
                                          << "-internal";
        QTest::newRow("utf8 path") << QStringList{"-inifile", QString::fromUtf8("/tmp/\xc3\xa9t\xc3\xa9.ini")}
                                   << false << false << QString::fromUtf8("/tmp/\xc3\xa9t\xc3\xa9.ini")
                                   << "log0";
        QTest::newRow("qt options pass")
            << QStringList{"-platform", "offscreen", "-adddbgtid"} << false << true << "ini0"
            << "log0";
    }

    void scan()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, internal);
        QFETCH(bool, threadId);
        QFETCH(QString, ini);
        QFETCH(QString, log);

        std::vector<QByteArray> lcStore{QByteArray("kestrix")};
        for (const QString& lsArg : args)
            lcStore.push_back(lsArg.toUtf8());
        std::vector<char*> lcArgv;
        for (QByteArray& lrArg : lcStore)
            lcArgv.push_back(lrArg.data());

        tcStartupOptions lcOptions;
        lcOptions.msIniPath = QStringLiteral("ini0");
        lcOptions.msLogPath = QStringLiteral("log0");
        lcOptions.scan(static_cast<int>(lcArgv.size()), lcArgv.data());
        QCOMPARE(lcOptions.mbInternal, internal);
        QCOMPARE(lcOptions.mbAddThreadId, threadId);
        QCOMPARE(lcOptions.msIniPath, ini);
        QCOMPARE(lcOptions.msLogPath, log);
    }

    void defaultPaths()
    {
        const tcStartupOptions lcOptions = tcStartupOptions::withDefaultPaths();
        QVERIFY(lcOptions.msIniPath.endsWith(QStringLiteral("/kestle.ini")));
        QVERIFY(lcOptions.msLogPath.endsWith(
            QStringLiteral("/kestle_%1.log").arg(QCoreApplication::applicationPid())));
        QVERIFY(!lcOptions.msIniPath.contains(QStringLiteral("Tarnwick")));
    }
};

QTEST_APPLESS_MAIN(tst_StartupOptions)
#include "tst_startupoptions.moc"
