#include "appsettings.h"
#include "gentlsettings.h"
#include "modaldialogs.h"
#include "producerbinding.h"
#include "producerfiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
void touch(const QString& arPath)
{
    QFile lcFile(arPath);
    QVERIFY(lcFile.open(QIODevice::WriteOnly));
}

QLineEdit* fieldOf(QWidget* apPage, const char* apChooser)
{
    return apPage->findChild<QWidget*>(QLatin1String(apChooser))
        ->findChild<QLineEdit*>(QStringLiteral("lineEdit"));
}

const QStringList kAppKeys{"xmlDir",
                           "xsltFile",
                           "simCamXmlFile",
                           "autoOpenVideoWidget",
                           "openVideoWidgetMaximized",
                           "openLast",
                           "showAllNotifcations",
                           "showUpdateNotifications",
                           "enableDownloader",
                           "enablePeriodicUpdate"};
} // namespace

class tst_SettingsPages : public QObject
{
    Q_OBJECT

    QTemporaryDir mcDir;

    QString iniPath() const { return mcDir.filePath(QStringLiteral("pages.ini")); }

private slots:
    void init() { QFile::remove(iniPath()); }
    void cleanup() { qunsetenv(tcProducerFiles::kSearchPathVariable); }

    void applicationPageDefaults()
    {
        QSettings lcSettings(iniPath(), QSettings::IniFormat);
        lcSettings.setValue(QStringLiteral("xsltFile"), QString()); // empty means unset
        tcAppSettings lcPage;
        QCOMPARE(lcPage.windowTitle(), QStringLiteral("Application"));
        lcPage.readSettings(&lcSettings);
        QCOMPARE(fieldOf(&lcPage, "xmlPathWidget")->text(), tcAppSettings::defaultXmlDir());
        QVERIFY(tcAppSettings::defaultXmlDir().endsWith(QStringLiteral("/Tarnwick LLC/Kestrix/xml")));
        QCOMPARE(fieldOf(&lcPage, "xslPathWidget")->text(),
                 QCoreApplication::applicationDirPath() + QStringLiteral("/xml_to_documentation.xsl"));
        QCOMPARE(fieldOf(&lcPage, "simCamXMLPathWidget")->text(), QString());
        QCOMPARE(fieldOf(&lcPage, "simCamXMLPathWidget")->placeholderText(),
                 QStringLiteral("Location of Simulated Camera XML file"));
        for (QCheckBox* lpBox : lcPage.findChildren<QCheckBox*>())
            QCOMPARE(lpBox->isChecked(), lpBox->objectName() != QLatin1String("checkBoxConnectPrevious"));
    }

    void applicationPageWritesAllTenKeys()
    {
        QSettings lcSettings(iniPath(), QSettings::IniFormat);
        lcSettings.setValue(QStringLiteral("xmlDir"), mcDir.path());
        lcSettings.setValue(QStringLiteral("enableDownloader"), false);
        tcAppSettings lcPage;
        QSignalSpy lcDirty(&lcPage, &tcSettingsWidget::dirty);
        lcPage.readSettings(&lcSettings);
        QCOMPARE(lcDirty.count(), 0);
        QCOMPARE(fieldOf(&lcPage, "xmlPathWidget")->text(), mcDir.path());
        QVERIFY(!lcPage.findChild<QCheckBox*>(QStringLiteral("cbEnableDownloader"))->isChecked());

        lcPage.findChild<QCheckBox*>(QStringLiteral("checkBoxConnectPrevious"))->click();
        QCOMPARE(lcDirty.count(), 1);
        QVERIFY(lcDirty.first().first().value<tcSettingsWidget*>() == &lcPage);
        QTest::keyClicks(fieldOf(&lcPage, "simCamXMLPathWidget"), QStringLiteral("/x.xml"));
        QVERIFY(lcDirty.count() > 1);

        lcSettings.clear();
        lcPage.writeSettings(&lcSettings);
        QStringList lsKeys = lcSettings.allKeys();
        lsKeys.sort();
        QStringList lsExpected = kAppKeys;
        lsExpected.sort();
        QCOMPARE(lsKeys, lsExpected);
        QCOMPARE(lcSettings.value(QStringLiteral("openLast")).toBool(), true);
        QCOMPARE(lcSettings.value(QStringLiteral("enableDownloader")).toBool(), false);
        QCOMPARE(lcSettings.value(QStringLiteral("simCamXmlFile")).toString(), QStringLiteral("/x.xml"));
        QCOMPARE(lcSettings.value(QStringLiteral("xmlDir")).toString(), mcDir.path());
    }

    void genTLPageKeepsItsGroup()
    {
        QSettings lcSettings(iniPath(), QSettings::IniFormat);
        tcGenTLSettings lcPage;
        QCOMPARE(lcPage.windowTitle(), QStringLiteral("Gen TL"));
        QSignalSpy lcDirty(&lcPage, &tcSettingsWidget::dirty);
        lcPage.readSettings(&lcSettings);
        const QString lsBundled = tcProducerBinding::bundledProducerPath();
        QCOMPARE(lcPage.producerPath(), QFile::exists(lsBundled) ? lsBundled : QString());
        QCOMPARE(lcDirty.count(), 0);

        // Unchanged: nothing is written.
        lcSettings.setValue(QStringLiteral("GenTL/default_path"), QStringLiteral("/a.cti"));
        lcPage.readSettings(&lcSettings);
        QCOMPARE(lcPage.producerPath(), QStringLiteral("/a.cti"));
        lcSettings.remove(QStringLiteral("GenTL/default_path"));
        lcSettings.setValue(QStringLiteral("GenTL/default_path"), QStringLiteral("/a.cti"));
        lcPage.writeSettings(&lcSettings);
        QCOMPARE(lcSettings.allKeys(), QStringList{"GenTL/default_path"});

        QTest::keyClicks(fieldOf(&lcPage, "dllPathWidget"), QStringLiteral("x"));
        QVERIFY(lcDirty.count() >= 1);
        lcPage.writeSettings(&lcSettings);
        QCOMPARE(lcSettings.value(QStringLiteral("GenTL/default_path")).toString(),
                 QStringLiteral("/a.ctix"));
    }

    void producerFilesFromTheSearchPath()
    {
        // Two folders with producers, one missing, one listed twice, the
        // bundled producer inside a listed folder, and a file that is no
        // producer.
        QDir lcRoot(mcDir.path());
        QVERIFY(lcRoot.mkpath(QStringLiteral("vendorA")));
        QVERIFY(lcRoot.mkpath(QStringLiteral("vendorB")));
        const QString lsA = mcDir.filePath(QStringLiteral("vendorA"));
        const QString lsB = mcDir.filePath(QStringLiteral("vendorB"));
        touch(lsA + QStringLiteral("/zeta.cti"));
        touch(lsA + QStringLiteral("/GenTL.cti"));
        touch(lsA + QStringLiteral("/readme.txt"));
        touch(lsB + QStringLiteral("/GenTL.cti"));
        QVERIFY(QFile::link(lsA + QStringLiteral("/zeta.cti"), lsB + QStringLiteral("/alias.cti")));

        const QString lsSearch = QStringList{lsA, mcDir.filePath(QStringLiteral("missing")), lsB,
                                             lsA + QStringLiteral("/../vendorA")}
                                     .join(QDir::listSeparator());
        const QStringList lsFound = tcProducerFiles::find(lsSearch, lsA + QStringLiteral("/GenTL.cti"));
        QCOMPARE(lsFound, (QStringList{lsA + QStringLiteral("/GenTL.cti"), lsA + QStringLiteral("/zeta.cti"),
                                       lsB + QStringLiteral("/GenTL.cti")}));

        QCOMPARE(tcProducerFiles::find(QString(), QString()), QStringList());
        QCOMPARE(tcProducerFiles::find(mcDir.filePath(QStringLiteral("missing")), mcDir.filePath("none.cti")),
                 QStringList());
    }

    void genTLPageOffersFoundProducers()
    {
        QVERIFY(QDir(mcDir.path()).mkpath(QStringLiteral("found")));
        const QString lsFolder = mcDir.filePath(QStringLiteral("found"));
        touch(lsFolder + QStringLiteral("/first.cti"));
        touch(lsFolder + QStringLiteral("/second.cti"));
        qputenv(tcProducerFiles::kSearchPathVariable, lsFolder.toLocal8Bit());

        QSettings lcSettings(iniPath(), QSettings::IniFormat);
        lcSettings.setValue(QStringLiteral("GenTL/default_path"), lsFolder + QStringLiteral("/second.cti"));
        tcGenTLSettings lcPage;
        lcPage.readSettings(&lcSettings);
        auto* lpCombo = lcPage.findChild<QComboBox*>(QStringLiteral("producerCombo"));
        const QStringList lsOffered = lcPage.offeredProducers();
        QVERIFY(lsOffered.contains(lsFolder + QStringLiteral("/first.cti")));
        QCOMPARE(lpCombo->currentData().toString(), lsFolder + QStringLiteral("/second.cti"));
        QCOMPARE(lpCombo->currentText(), QStringLiteral("second.cti (%1)").arg(lsFolder));

        QSignalSpy lcDirty(&lcPage, &tcSettingsWidget::dirty);
        const int lnFirst = lsOffered.indexOf(lsFolder + QStringLiteral("/first.cti"));
        lpCombo->setCurrentIndex(lnFirst);
        emit lpCombo->activated(lnFirst);
        QCOMPARE(lcPage.producerPath(), lsFolder + QStringLiteral("/first.cti"));
        QVERIFY(lcDirty.count() >= 1);

        // A path typed by hand that is none of them leaves the drop-down on
        // its placeholder.
        fieldOf(&lcPage, "dllPathWidget")->setText(QStringLiteral("/typed/by/hand.cti"));
        QCOMPARE(lpCombo->currentIndex(), -1);
    }
};

QTEST_MAIN(tst_SettingsPages)
#include "tst_settingspages.moc"
