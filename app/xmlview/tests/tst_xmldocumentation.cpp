#include "shareddescriptions.h"
#include "xmldocumentation.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

namespace
{
QString readText(const QString& arPath)
{
    QFile lcFile(arPath);
    return lcFile.open(QIODevice::ReadOnly) ? QString::fromUtf8(lcFile.readAll()) : QString();
}

// The page as a reader sees it.
QString plainText(const QString& arHtml)
{
    QTextDocument lcDocument;
    lcDocument.setHtml(arHtml);
    return lcDocument.toPlainText();
}
} // namespace

class tst_XmlDocumentation : public QObject
{
    Q_OBJECT

private slots:
    void simulatedCameraFeaturesAreDocumented()
    {
        const QString lsXml = readText(QStringLiteral(KX_SIMCAM_DESCRIPTIONS "/SimCamMono.xml"));
        QVERIFY(!lsXml.isEmpty());
        QString lsHtml;
        QString lsError;
        QVERIFY2(tcXmlDocumentation::transform(lsXml, QStringLiteral(KX_STYLE_SHEET), lsHtml, &lsError),
                 qPrintable(lsError));
        const QString lsText = plainText(lsHtml);
        // Categories with their display names, features with type, access and range.
        for (const char* lpText : {"Kestrix SimCamMono2048", "Image Format Control", "Acquisition Control",
                                   "Feature", "Type", "Description", "Access", "Value range", "Enumeration",
                                   "Mono8", "Mono12p", "Mono16", "AcquisitionStart", "execute", "RO"})
            QVERIFY2(lsText.contains(QLatin1String(lpText)), lpText);
        QVERIFY(lsHtml.contains(QStringLiteral("<table")));
    }

    void realDescriptionsTransform()
    {
        KX_SKIP_WITHOUT_SHARED_DESCRIPTIONS();
        const QString lsDir = sharedDescriptionsDir();
        QStringList lsFiles = QDir(lsDir).entryList({QStringLiteral("*.xml")}, QDir::Files);
        QVERIFY(!lsFiles.isEmpty());
#ifdef KESTRIX_SANITIZED_BUILD
        // A minute a description under the sanitizers: the smallest one shows
        // the engine's memory use as well as all of them would.
        lsFiles = QDir(lsDir)
                      .entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Size | QDir::Reversed)
                      .mid(0, 1);
#endif
        for (const QString& lsFile : lsFiles)
        {
            QString lsHtml;
            QString lsError;
            QElapsedTimer lcClock;
            lcClock.start();
            QVERIFY2(tcXmlDocumentation::transform(readText(lsDir + QLatin1Char('/') + lsFile),
                                                   QStringLiteral(KX_STYLE_SHEET), lsHtml, &lsError),
                     qPrintable(lsFile + QStringLiteral(": ") + lsError));
            QVERIFY2(plainText(lsHtml).contains(QStringLiteral("Value range")), qPrintable(lsFile));
            qInfo().noquote() << lsFile << lsHtml.size() << "characters in" << lcClock.elapsed() << "ms";
        }
    }

    void failuresGiveReasons_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<QByteArray>("sheet");
        QTest::addColumn<QString>("reason");
        const QString lsGood = QStringLiteral("<RegisterDescription ModelName=\"M\"/>");
        QTest::newRow("no description")
            << QString() << QByteArray("keep") << "There is no description to document";
        QTest::newRow("broken description")
            << QStringLiteral("<RegisterDescription") << QByteArray("keep") << "";
        QTest::newRow("missing sheet") << lsGood << QByteArray() << "cannot be read";
        QTest::newRow("broken sheet") << lsGood << QByteArray("<xsl:stylesheet version=\"2.0\"") << "";
        QTest::newRow("not a sheet") << lsGood << QByteArray("<html/>") << "";
    }

    void failuresGiveReasons()
    {
        QFETCH(QString, xml);
        QFETCH(QByteArray, sheet);
        QFETCH(QString, reason);
        QTemporaryDir lcDir;
        QString lsSheet = QStringLiteral(KX_STYLE_SHEET);
        if (sheet != "keep")
        {
            lsSheet = lcDir.filePath(QStringLiteral("sheet.xsl"));
            if (!sheet.isEmpty())
            {
                QFile lcFile(lsSheet);
                QVERIFY(lcFile.open(QIODevice::WriteOnly));
                lcFile.write(sheet);
            }
        }
        QString lsHtml = QStringLiteral("untouched");
        QString lsError;
        QVERIFY(!tcXmlDocumentation::transform(xml, lsSheet, lsHtml, &lsError));
        QCOMPARE(lsHtml, QStringLiteral("untouched"));
        QVERIFY(!lsError.isEmpty());
        QVERIFY2(lsError.contains(reason), qPrintable(lsError));
    }
};

QTEST_MAIN(tst_XmlDocumentation)
#include "tst_xmldocumentation.moc"
