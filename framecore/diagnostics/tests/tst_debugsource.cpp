#include "debugsource.h"
#include "settings.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace
{
class tcProbe : public tcDebugSource
{
public:
    explicit tcProbe(const QString& arName) : tcDebugSource(arName) {}
    tcProbe(const QString& arName, int anLevel) : tcDebugSource(arName, anLevel) {}
    tcProbe(const QString& arName, bool abUnregistered) : tcDebugSource(arName, abUnregistered) {}
    tcProbe() = default;
    tcProbe(const tcProbe&) = default;
    using tcDebugSource::setInstanceName;
};

QString gsIniFile;
QSettings* testSettings()
{
    return new QSettings(gsIniFile, QSettings::IniFormat);
}
} // namespace

class tst_DebugSource : public QObject
{
    Q_OBJECT

private slots:
    void init() { tcDebugSource::setSettingsFunc(nullptr); }

    void levelWithoutSettingsIsZero()
    {
        tcProbe lcSource(QStringLiteral("lonely"));
        QCOMPARE(lcSource.GetDbgLevel(), 0);
        tcProbe lcDefault;
        QCOMPARE(lcDefault.getName(), QStringLiteral("tcDebugSource"));
        QCOMPARE(lcDefault.GetDbgLevel(), 0);
    }

    void levelFromSettings_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("level");
        QTest::newRow("number") << "tcCameraInterface"
                                << "tcCameraInterface/debugLevel" << QVariant(3) << 3;
        QTest::newRow("text") << "tcGenTLPort"
                              << "tcGenTLPort/debugLevel" << QVariant("abc") << 0;
        QTest::newRow("negative") << "CAM"
                                  << "CAM/debugLevel" << QVariant(-1) << -1;
        QTest::newRow("empty name reads top level") << ""
                                                    << "debugLevel" << QVariant(2) << 2;
        QTest::newRow("missing key") << "GENI"
                                     << "other/debugLevel" << QVariant(5) << 0;
    }

    void levelFromSettings()
    {
        QFETCH(QString, name);
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(int, level);
        QTemporaryDir lcDir;
        gsIniFile = lcDir.filePath(QStringLiteral("levels.ini"));
        {
            QSettings lcWriter(gsIniFile, QSettings::IniFormat);
            lcWriter.setValue(key, stored);
        }
        tcDebugSource::setSettingsFunc(&testSettings);
        tcProbe lcSource(name);
        QCOMPARE(lcSource.GetDbgLevel(), level);
        tcProbe lcUnregistered(name, true);
        QCOMPARE(lcUnregistered.GetDbgLevel(), level);
        tcProbe lcExplicit(name, 7);
        QCOMPARE(lcExplicit.GetDbgLevel(), 7);
    }

    void sourcesBuiltBeforeSettingsKeepTheirLevel()
    {
        tcProbe lcEarly(QStringLiteral("early"));
        QTemporaryDir lcDir;
        gsIniFile = lcDir.filePath(QStringLiteral("levels.ini"));
        QSettings(gsIniFile, QSettings::IniFormat).setValue(QStringLiteral("early/debugLevel"), 4);
        tcDebugSource::setSettingsFunc(&testSettings);
        QCOMPARE(lcEarly.GetDbgLevel(), 0);
        tcProbe lcLate(QStringLiteral("early"));
        QCOMPARE(lcLate.GetDbgLevel(), 4);
    }

    void sharedNamesNewestFirst()
    {
        auto lpFirst = std::make_unique<tcProbe>(QStringLiteral("twin"));
        tcProbe lcSecond(QStringLiteral("twin"));
        const auto lcSources = tcDebugSource::getDbgSources(QStringLiteral("twin"));
        QCOMPARE(lcSources.size(), 2);
        QCOMPARE(lcSources.at(0), static_cast<tcDebugSource*>(&lcSecond));
        QCOMPARE(lcSources.at(1), static_cast<tcDebugSource*>(lpFirst.get()));
        QCOMPARE(tcDebugSource::getDbgSourceNames().count(QStringLiteral("twin")), 2);

        tcDebugSource::SetDbgLevel(QStringLiteral("twin"), 3);
        QCOMPARE(lpFirst->GetDbgLevel(), 3);
        QCOMPARE(lcSecond.GetDbgLevel(), 3);

        lpFirst.reset();
        QCOMPARE(tcDebugSource::getDbgSources(QStringLiteral("twin")).size(), 1);
        tcDebugSource::SetDbgLevel(QStringLiteral("nobody"), 2); // no source: nothing happens
        QVERIFY(tcDebugSource::getDbgSources(QStringLiteral("nobody")).isEmpty());
    }

    void unregisteredSourcesStayOutOfTheRegistry()
    {
        {
            tcProbe lcHidden(QStringLiteral("hidden"), true);
            QVERIFY(tcDebugSource::getDbgSources(QStringLiteral("hidden")).isEmpty());
            QVERIFY(!tcDebugSource::getDbgSourceNames().contains(QStringLiteral("hidden")));
        }
        tcProbe lcVisible(QStringLiteral("hidden"));
        {
            tcProbe lcHidden(QStringLiteral("hidden"), true);
        }
        QCOMPARE(tcDebugSource::getDbgSources(QStringLiteral("hidden")).size(), 1);
    }

    void copiesAreNotRegistered()
    {
        tcProbe lcOriginal(QStringLiteral("original"), 2);
        {
            tcProbe lcCopy(lcOriginal);
            QCOMPARE(lcCopy.getName(), QStringLiteral("original"));
            QCOMPARE(lcCopy.GetDbgLevel(), 2);
            QCOMPARE(lcCopy.getInstanceName(), lcOriginal.getInstanceName());
            QCOMPARE(tcDebugSource::getDbgSources(QStringLiteral("original")).size(), 1);
        }
        const auto lcSources = tcDebugSource::getDbgSources(QStringLiteral("original"));
        QCOMPARE(lcSources.size(), 1);
        QCOMPARE(lcSources.at(0), static_cast<tcDebugSource*>(&lcOriginal));
    }

    void instanceNames()
    {
        tcProbe lcSource(QStringLiteral("named"));
        QCOMPARE(lcSource.getInstanceName(), QString::number(reinterpret_cast<quintptr>(&lcSource), 16));
        lcSource.setInstanceName(QStringLiteral("front camera left"));
        QCOMPARE(lcSource.getInstanceName(), QStringLiteral("front_camera_left"));
    }

    void levelIsSafeToReadFromOtherThreads()
    {
        tcProbe lcSource(QStringLiteral("threaded"));
        std::atomic<bool> lbStop{false};
        std::atomic<bool> lbTorn{false};
        std::unique_ptr<QThread> lpReader(QThread::create(
            [&]
            {
                while (!lbStop.load())
                {
                    const int lnLevel = lcSource.GetDbgLevel();
                    if (lnLevel != 0 && lnLevel != -1 && lnLevel != 0x7fffffff)
                        lbTorn = true;
                }
            }));
        lpReader->start();
        for (int i = 0; i < 100000; ++i)
            lcSource.SetDbgLevel(i % 2 ? -1 : 0x7fffffff);
        lbStop = true;
        lpReader->wait();
        QVERIFY(!lbTorn);
    }
};

QTEST_APPLESS_MAIN(tst_DebugSource)
#include "tst_debugsource.moc"
