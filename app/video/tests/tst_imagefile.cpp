// Saving and loading pictures and raw frames, and what happens when it fails.
#include "imagefile.h"
#include "pixelformat.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <vector>

class tst_ImageFile : public QObject
{
    Q_OBJECT

private slots:
    void rawFrameRoundTrip_data();
    void rawFrameRoundTrip();
    void rawHeaderIsReadableText();
    void rawFromAPictureWithoutFrame();
    void pictureRoundTrip_data();
    void pictureRoundTrip();
    void badRawFilesAreRefused_data();
    void badRawFilesAreRefused();
    void failedSaveKeepsTheEarlierFile();
    void savingNeedsSomethingToSave();
    void ownedCopyOutlivesTheBytes();

private:
    QByteArray rawFile(const QByteArray& arHeaderLines, const QByteArray& arBytes) const;
    QTemporaryDir mcDir;
};

void tst_ImageFile::rawFrameRoundTrip_data()
{
    QTest::addColumn<quint32>("code");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("Mono8") << 0x01080001u << 33 << 7;
    QTest::newRow("BayerGR12p") << 0x010C0057u << 40 << 10;
    QTest::newRow("Mono16") << 0x01100007u << 8 << 3;
    QTest::newRow("RGB8") << 0x02180014u << 5 << 4;
}

void tst_ImageFile::rawFrameRoundTrip()
{
    QFETCH(quint32, code);
    QFETCH(int, width);
    QFETCH(int, height);
    tpImageBuffer lpProbe = tcImageBuffer::newImage(nullptr, width, height, quint64(code));
    std::vector<uchar> lsBytes(lpProbe->getNumDataBytes());
    for (size_t lnIndex = 0; lnIndex < lsBytes.size(); ++lnIndex)
        lsBytes[lnIndex] = uchar(lnIndex * 7 + 3);
    tpImageBuffer lpFrame = tcImageBuffer::newImage(lsBytes.data(), width, height, quint64(code));
    lpFrame->setTopLeft(QPoint(16, 8));
    lpFrame->setFrameId(41);
    const QString lsPath = mcDir.filePath(QStringLiteral("round.img"));
    QCOMPARE(tcImageFile::save(lsPath, lpFrame, QImage()), QString());
    QCOMPARE(QFileInfo(lsPath).size(), qint64(tcImageFile::scHeaderBytes + lsBytes.size()));

    const tcImageFile::tcLoaded lcLoaded = tcImageFile::load(lsPath);
    QCOMPARE(lcLoaded.msError, QString());
    QVERIFY(lcLoaded.mcImage.isNull());
    QVERIFY(lcLoaded.mpFrame);
    QCOMPARE(lcLoaded.mpFrame->getSize(), QSize(width, height));
    QCOMPARE(lcLoaded.mpFrame->getPixelFormat()->getCode(), code);
    QCOMPARE(lcLoaded.mpFrame->getTopLeft(), QPoint(16, 8));
    QCOMPARE(lcLoaded.mpFrame->getFrameId(), quint64(41));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(lcLoaded.mpFrame->data()), int(lsBytes.size())),
             QByteArray(reinterpret_cast<const char*>(lsBytes.data()), int(lsBytes.size())));
    QCOMPARE(*lcLoaded.mpFrame->toQImage(), *lpFrame->toQImage());
}

void tst_ImageFile::rawHeaderIsReadableText()
{
    std::vector<uchar> lsBytes(12 * 2 * 3 / 2);
    tpImageBuffer lpFrame = tcImageBuffer::newImage(lsBytes.data(), 12, 2, quint64(0x010C0059u));
    const QString lsPath = mcDir.filePath(QStringLiteral("header.img"));
    QCOMPARE(tcImageFile::save(lsPath, lpFrame, QImage()), QString());
    QFile lcFile(lsPath);
    QVERIFY(lcFile.open(QIODevice::ReadOnly));
    const QByteArray lcHeader = lcFile.read(tcImageFile::scHeaderBytes);
    QVERIFY(lcHeader.startsWith("KESTRIX-RAW 1\nwidth 12\nheight 2\npixelformat 0x010C0059 BayerRG12p\n"));
    QVERIFY(lcHeader.contains("\nbytes 36\nend\n"));
    QVERIFY(lcHeader.endsWith(" \n"));
}

void tst_ImageFile::rawFromAPictureWithoutFrame()
{
    QImage lcGrey(5, 3, QImage::Format_Grayscale8);
    lcGrey.fill(77);
    const QString lsPath = mcDir.filePath(QStringLiteral("grey.img"));
    QCOMPARE(tcImageFile::save(lsPath, tpImageBuffer(), lcGrey), QString());
    tcImageFile::tcLoaded lcLoaded = tcImageFile::load(lsPath);
    QVERIFY(lcLoaded.mpFrame);
    QCOMPARE(lcLoaded.mpFrame->getPixelFormat()->getName(), QStringLiteral("Mono8"));
    QCOMPARE(*lcLoaded.mpFrame->toQImage(), lcGrey);

    QImage lcColour(5, 3, QImage::Format_ARGB32);
    lcColour.fill(qRgb(10, 20, 30));
    QCOMPARE(tcImageFile::save(lsPath, tpImageBuffer(), lcColour), QString());
    lcLoaded = tcImageFile::load(lsPath);
    QCOMPARE(lcLoaded.mpFrame->getPixelFormat()->getName(), QStringLiteral("RGB8"));
    QCOMPARE(lcLoaded.mpFrame->toQImage()->pixel(4, 2), qRgb(10, 20, 30));
}

void tst_ImageFile::pictureRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("tolerance");
    QTest::newRow("png") << QStringLiteral("picture.png") << 0;
    QTest::newRow("jpeg") << QStringLiteral("picture.jpg") << 12;
    QTest::newRow("upper-case suffix") << QStringLiteral("PICTURE.PNG") << 0;
}

void tst_ImageFile::pictureRoundTrip()
{
    QFETCH(QString, name);
    QFETCH(int, tolerance);
    QImage lcImage(40, 20, QImage::Format_RGB888);
    lcImage.fill(qRgb(200, 100, 50));
    const QString lsPath = mcDir.filePath(name);
    QCOMPARE(tcImageFile::save(lsPath, tpImageBuffer(), lcImage), QString());
    const tcImageFile::tcLoaded lcLoaded = tcImageFile::load(lsPath);
    QCOMPARE(lcLoaded.msError, QString());
    QVERIFY(!lcLoaded.mpFrame);
    QCOMPARE(lcLoaded.mcImage.size(), QSize(40, 20));
    const QRgb lnPixel = lcLoaded.mcImage.pixel(20, 10);
    QVERIFY(std::abs(qRed(lnPixel) - 200) <= tolerance);
    QVERIFY(std::abs(qGreen(lnPixel) - 100) <= tolerance);
    QVERIFY(std::abs(qBlue(lnPixel) - 50) <= tolerance);
}

QByteArray tst_ImageFile::rawFile(const QByteArray& arHeaderLines, const QByteArray& arBytes) const
{
    QByteArray lcHeader = arHeaderLines + "end\n";
    lcHeader = lcHeader.leftJustified(tcImageFile::scHeaderBytes - 1, ' ') + '\n';
    return lcHeader + arBytes;
}

void tst_ImageFile::badRawFilesAreRefused_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    const QByteArray lcGood = "KESTRIX-RAW 1\nwidth 4\nheight 2\npixelformat 0x01080001 Mono8\n";
    QTest::newRow("empty") << QByteArray() << QStringLiteral("not a raw frame file");
    QTest::newRow("other file") << QByteArray(600, 'x') << QStringLiteral("not a raw frame file");
    QTest::newRow("no size") << rawFile(lcGood + "bytes\n", QByteArray(8, 1))
                             << QStringLiteral("missing or wrong");
    QTest::newRow("no width") << rawFile("KESTRIX-RAW 1\nheight 2\npixelformat 0x01080001\nbytes 8\n",
                                         QByteArray(8, 1))
                              << QStringLiteral("missing or wrong");
    QTest::newRow("zero height") << rawFile(
                                        "KESTRIX-RAW 1\nwidth 4\nheight 0\npixelformat 0x01080001\nbytes 0\n",
                                        QByteArray())
                                 << QStringLiteral("missing or wrong");
    QTest::newRow("unknown format")
        << rawFile("KESTRIX-RAW 1\nwidth 4\nheight 2\npixelformat 0x01100003 Mono10\nbytes 8\n",
                   QByteArray(8, 1))
        << QStringLiteral("not supported");
    QTest::newRow("size disagrees") << rawFile(lcGood + "bytes 9\n", QByteArray(9, 1))
                                    << QStringLiteral("needs 8");
    QTest::newRow("cut short") << rawFile(lcGood + "bytes 8\n", QByteArray(5, 1))
                               << QStringLiteral("cut short");
    QTest::newRow("missing file") << QByteArray("-") << QStringLiteral("");
}

void tst_ImageFile::badRawFilesAreRefused()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QString lsPath = mcDir.filePath(QStringLiteral("bad.img"));
    if (content == "-")
    {
        lsPath = mcDir.filePath(QStringLiteral("does/not/exist.img"));
    }
    else
    {
        QFile lcFile(lsPath);
        QVERIFY(lcFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lcFile.write(content);
    }
    const tcImageFile::tcLoaded lcLoaded = tcImageFile::load(lsPath);
    QVERIFY(!lcLoaded.mpFrame);
    QVERIFY(lcLoaded.mcImage.isNull());
    QVERIFY(!lcLoaded.msError.isEmpty());
    QVERIFY2(lcLoaded.msError.contains(reason), qPrintable(lcLoaded.msError));
}

void tst_ImageFile::failedSaveKeepsTheEarlierFile()
{
    QImage lcImage(4, 4, QImage::Format_RGB888);
    lcImage.fill(Qt::green);
    const QString lsPath = mcDir.filePath(QStringLiteral("keep.png"));
    QCOMPARE(tcImageFile::save(lsPath, tpImageBuffer(), lcImage), QString());
    const qint64 lnSize = QFileInfo(lsPath).size();
    // A picture Qt cannot write leaves the earlier file alone.
    QVERIFY(!tcImageFile::save(lsPath, tpImageBuffer(), QImage()).isEmpty());
    QCOMPARE(QFileInfo(lsPath).size(), lnSize);
    QVERIFY(!tcImageFile::load(lsPath).mcImage.isNull());
    // Unknown suffix, missing folder.
    QVERIFY(tcImageFile::save(mcDir.filePath(QStringLiteral("x.unknown")), tpImageBuffer(), lcImage)
                .contains(QStringLiteral("suffix")));
    QVERIFY(!tcImageFile::save(mcDir.filePath(QStringLiteral("no/such/x.png")), tpImageBuffer(), lcImage)
                 .isEmpty());
    QVERIFY(!tcImageFile::save(mcDir.filePath(QStringLiteral("no/such/x.img")), tpImageBuffer(), lcImage)
                 .isEmpty());
}

void tst_ImageFile::savingNeedsSomethingToSave()
{
    QVERIFY(!tcImageFile::save(mcDir.filePath(QStringLiteral("nothing.img")), tpImageBuffer(), QImage())
                 .isEmpty());
    QVERIFY(!tcImageFile::save(mcDir.filePath(QStringLiteral("nothing.png")), tpImageBuffer(), QImage())
                 .isEmpty());
    QVERIFY(!QFile::exists(mcDir.filePath(QStringLiteral("nothing.img"))));
}

void tst_ImageFile::ownedCopyOutlivesTheBytes()
{
    tpImageBuffer lpCopy;
    {
        std::vector<uchar> lsBytes(6 * 4, 99);
        tpImageBuffer lpFrame = tcImageBuffer::newImage(lsBytes.data(), 6, 4, quint64(0x01080001u));
        lpFrame->setFrameId(7);
        lpFrame->setTopLeft(QPoint(2, 2));
        lpCopy = tcImageFile::ownedCopy(*lpFrame);
    }
    QCOMPARE(lpCopy->getFrameId(), quint64(7));
    QCOMPARE(lpCopy->getTopLeft(), QPoint(2, 2));
    QCOMPARE(int(lpCopy->getRawData().at<uchar>(3, 5)), 99);
    QVERIFY(tcImageFile::ownedCopy(*tcImageBuffer::newImage())->isNull());
}

QTEST_GUILESS_MAIN(tst_ImageFile)
#include "tst_imagefile.moc"
