#include "filedialoganswers.h"
#include "filesettingswidget.h"
#include "settingswidget.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
const QString scBlack = QStringLiteral("color: #000000");
const QString scRed = QStringLiteral("color: #FF0000");

QLineEdit* pathEdit(tcFileSettingsWidget& arWidget)
{
    return arWidget.findChild<QLineEdit*>(QStringLiteral("lineEdit"));
}

void touch(const QString& arPath)
{
    QFile lcFile(arPath);
    QVERIFY(lcFile.open(QIODevice::WriteOnly));
}

class tcMinimalPage : public tcSettingsWidget
{
public:
    using tcSettingsWidget::tcSettingsWidget;
    void readSettings(QSettings*) override {}
    void writeSettings(QSettings*) override { markDirty(); }
};
} // namespace

class tst_FileSettingsWidget : public QObject
{
    Q_OBJECT

private slots:
    // The line edit's clear button fades in with an animation of its own that
    // deletes itself when done; let the last ones finish before the program
    // ends so that leak checks see nothing in flight.
    void cleanupTestCase() { QTest::qWait(300); }

    void layoutAndDefaults()
    {
        tcFileSettingsWidget lcWidget;
        auto* lpLayout = lcWidget.layout();
        QCOMPARE(lpLayout->objectName(), QStringLiteral("horizontalLayout"));
        QCOMPARE(lpLayout->count(), 3);
        QCOMPARE(lpLayout->itemAt(0)->widget()->objectName(), QStringLiteral("label"));
        QCOMPARE(lpLayout->itemAt(1)->widget()->objectName(), QStringLiteral("lineEdit"));
        auto* lpBrowse = qobject_cast<QPushButton*>(lpLayout->itemAt(2)->widget());
        QCOMPARE(lpBrowse->objectName(), QStringLiteral("pushButtonBrowse"));
        QCOMPARE(lpBrowse->text(), QStringLiteral("..."));
        QCOMPARE(lpBrowse->maximumWidth(), 32);
        QCOMPARE(lpBrowse->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
        QVERIFY(pathEdit(lcWidget)->isClearButtonEnabled());
        QCOMPARE(lcWidget.mode(), tcFileSettingsWidget::eOpenFile);
        QVERIFY(lcWidget.pathHilite());

        lcWidget.setLabel(QStringLiteral("XML cache Dir:"));
        QCOMPARE(lcWidget.labelText(), QStringLiteral("XML cache Dir:"));
        lcWidget.setPlaceholderText(QStringLiteral("Location"));
        QCOMPARE(pathEdit(lcWidget)->placeholderText(), QStringLiteral("Location"));
    }

    void typedPathIsColouredByExistence()
    {
        QTemporaryDir lcDir;
        const QString lsFile = lcDir.filePath(QStringLiteral("camera.xml"));
        touch(lsFile);
        tcFileSettingsWidget lcWidget;
        QSignalSpy lcSpy(&lcWidget, &tcFileSettingsWidget::fileNameChanged);

        pathEdit(lcWidget)->setText(lcDir.filePath(QStringLiteral("camera.xm")));
        QCOMPARE(pathEdit(lcWidget)->styleSheet(), scRed);
        pathEdit(lcWidget)->setText(lsFile);
        QCOMPARE(pathEdit(lcWidget)->styleSheet(), scBlack);
        QCOMPARE(lcSpy.count(), 2);
        QCOMPARE(lcSpy.last().at(0).toString(), lsFile);
        QCOMPARE(lcWidget.fileName(), lsFile);

        // A folder counts as existing too.
        lcWidget.setFileName(lcDir.path());
        QCOMPARE(pathEdit(lcWidget)->styleSheet(), scBlack);
    }

    void highlightingOffKeepsBlack()
    {
        tcFileSettingsWidget lcWidget;
        lcWidget.setFileName(QStringLiteral("/no/such/file"));
        QCOMPARE(pathEdit(lcWidget)->styleSheet(), scRed);
        lcWidget.setPathHilite(false);
        QCOMPARE(pathEdit(lcWidget)->styleSheet(), scBlack);
        lcWidget.setFileName(QStringLiteral("/no/such/other"));
        QCOMPARE(pathEdit(lcWidget)->styleSheet(), scBlack);
        lcWidget.setPathHilite(true);
        QCOMPARE(pathEdit(lcWidget)->styleSheet(), scRed);
    }

    void browseOneFile()
    {
        tcFileSettingsWidget lcWidget;
        lcWidget.setLabel(QStringLiteral("GenTL DLL:"));
        lcWidget.setFileTypes(QStringLiteral("DLLs (*.cti)"));
        lcWidget.setFileName(QStringLiteral("/start/here.cti"));
        QSignalSpy lcSpy(&lcWidget, &tcFileSettingsWidget::fileNameChanged);
        QTemporaryDir lcDir;
        const QString lsExpected = lcDir.filePath(QStringLiteral("a.cti"));
        touch(lsExpected);
        tcFileDialogAnswers lcAnswers(QStringList{lsExpected});
        lcWidget.findChild<QPushButton*>(QStringLiteral("pushButtonBrowse"))->click();

        QCOMPARE(lcAnswers.requests().size(), 1);
        const tcFileDialogs::tcRequest& lrAsked = lcAnswers.requests().first();
        QCOMPARE(lrAsked.meKind, tcFileDialogs::eOpenFile);
        QCOMPARE(lrAsked.mpParent, static_cast<QWidget*>(&lcWidget));
        QCOMPARE(lrAsked.msTitle, QStringLiteral("Select GenTL DLL:"));
        QCOMPARE(lrAsked.msStartPath, QStringLiteral("/start/here.cti"));
        QCOMPARE(lrAsked.msFilter, QStringLiteral("DLLs (*.cti)"));
        QCOMPARE(lcWidget.fileName(), lsExpected);
        // Once from the text change, once more for the choice itself.
        QCOMPARE(lcSpy.count(), 2);
        QCOMPARE(lcSpy.at(1).at(0).toString(), lsExpected);
        QCOMPARE(pathEdit(lcWidget)->styleSheet(), scBlack);
    }

    void browseSeveralFilesJoinsWithColon()
    {
        tcFileSettingsWidget lcWidget;
        lcWidget.setMode(tcFileSettingsWidget::eOpenFiles);
        tcFileDialogAnswers lcAnswers(
            QList<QStringList>{{QStringLiteral("/a/one.txt"), QStringLiteral("/a/two.txt")}});
        lcWidget.findChild<QPushButton*>()->click();

        QCOMPARE(lcAnswers.requests().first().meKind, tcFileDialogs::eOpenFiles);
        QCOMPARE(lcWidget.fileName(), QStringLiteral("/a/one.txt:/a/two.txt"));
    }

    void browseFolder()
    {
        tcFileSettingsWidget lcWidget;
        lcWidget.setMode(tcFileSettingsWidget::eDirectory);
        lcWidget.setLabel(QStringLiteral("Plugins folder:"));
        tcFileDialogAnswers lcAnswers(QStringList{QStringLiteral("/opt/plugins")});
        lcWidget.findChild<QPushButton*>()->click();

        QCOMPARE(lcAnswers.requests().first().meKind, tcFileDialogs::eDirectory);
        QCOMPARE(lcAnswers.requests().first().msTitle, QStringLiteral("Select Plugins folder:"));
        QCOMPARE(lcWidget.fileName(), QStringLiteral("/opt/plugins"));
    }

    void cancelChangesNothing_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("file") << int(tcFileSettingsWidget::eOpenFile);
        QTest::newRow("files") << int(tcFileSettingsWidget::eOpenFiles);
        QTest::newRow("folder") << int(tcFileSettingsWidget::eDirectory);
    }

    void cancelChangesNothing()
    {
        QFETCH(int, mode);
        tcFileSettingsWidget lcWidget;
        lcWidget.setMode(tcFileSettingsWidget::teMode(mode));
        lcWidget.setFileName(QStringLiteral("/kept/as/is"));
        QSignalSpy lcSpy(&lcWidget, &tcFileSettingsWidget::fileNameChanged);
        tcFileDialogAnswers lcAnswers; // nothing queued: the user cancels
        lcWidget.findChild<QPushButton*>()->click();
        QCOMPARE(lcAnswers.requests().size(), 1);
        QCOMPARE(lcWidget.fileName(), QStringLiteral("/kept/as/is"));
        QCOMPARE(lcSpy.count(), 0);
    }

    void pageBase()
    {
        tcMinimalPage lcPage(true, nullptr);
        QCOMPARE(lcPage.getName(), QStringLiteral("tcDebugSource"));
        QVERIFY(lcPage.isExpert());
        lcPage.setExpert(false);
        QVERIFY(!lcPage.isExpert());
        QVERIFY(lcPage.subGroups().isEmpty());
        lcPage.setGroup(QStringLiteral("anything"));
        QSignalSpy lcSpy(&lcPage, &tcSettingsWidget::dirty);
        lcPage.writeSettings(nullptr);
        QCOMPARE(lcSpy.count(), 1);
        QCOMPARE(lcSpy.at(0).at(0).value<tcSettingsWidget*>(), static_cast<tcSettingsWidget*>(&lcPage));
    }
};

QTEST_MAIN(tst_FileSettingsWidget)
#include "tst_filesettingswidget.moc"
