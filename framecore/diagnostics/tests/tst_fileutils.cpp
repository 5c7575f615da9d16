#include "fileutils.h"

#include <QApplication>
#include <QDesktopServices>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
// Stands in for the desktop: records what would have been opened.
class tcUrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> msUrls;
public slots:
    void open(const QUrl& arUrl) { msUrls << arUrl; }
};
} // namespace

class tst_FileUtils : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        mcRecorder.msUrls.clear();
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &mcRecorder, "open");
    }
    void cleanup() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    void fileOpensItsFolder()
    {
        QTemporaryDir lcDir;
        QVERIFY(lcDir.isValid());
        QDir().mkpath(lcDir.filePath(QStringLiteral("frames")));
        const QString lsFile = lcDir.filePath(QStringLiteral("frames/frame_1.png"));
        QFile lcFile(lsFile);
        QVERIFY(lcFile.open(QIODevice::WriteOnly));
        lcFile.close();
        QVERIFY(tnFileUtils::showInGraphicalShell(nullptr, lsFile));
        QCOMPARE(mcRecorder.msUrls.size(), 1);
        QCOMPARE(mcRecorder.msUrls.first().toLocalFile(),
                 QFileInfo(lcDir.filePath(QStringLiteral("frames"))).canonicalFilePath());
    }

    void folderOpensItself()
    {
        QTemporaryDir lcDir;
        QVERIFY(tnFileUtils::showInGraphicalShell(nullptr, lcDir.path()));
        QCOMPARE(mcRecorder.msUrls.size(), 1);
        QCOMPARE(mcRecorder.msUrls.first().toLocalFile(), QFileInfo(lcDir.path()).canonicalFilePath());
    }

    void missingPathOpensNothing()
    {
        QTemporaryDir lcDir;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no such file or folder"));
        QVERIFY(!tnFileUtils::showInGraphicalShell(nullptr, lcDir.filePath(QStringLiteral("gone.png"))));
        QVERIFY(mcRecorder.msUrls.isEmpty());
    }

private:
    tcUrlRecorder mcRecorder;
};

QTEST_MAIN(tst_FileUtils)
#include "tst_fileutils.moc"
