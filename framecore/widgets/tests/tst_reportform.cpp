#include "finddialog.h"
#include "listdialog.h"
#include "messagecapture.h"
#include "popupinfo.h"
#include "reportform.h"
#include "xmlhighlighter.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

namespace
{
// The top-level report forms currently alive.
QList<tcReportForm*> openForms()
{
    QList<tcReportForm*> lsForms;
    for (QWidget* lpWidget : QApplication::topLevelWidgets())
        if (auto* lpForm = qobject_cast<tcReportForm*>(lpWidget))
            lsForms << lpForm;
    return lsForms;
}

void closeAllForms()
{
    for (tcReportForm* lpForm : openForms())
        lpForm->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QPushButton* button(QObject* apForm, const char* apName)
{
    return apForm->findChild<QPushButton*>(QLatin1String(apName));
}

// Foreground colour the highlighter gave to a character of a block.
QColor colourAt(const QTextBlock& arBlock, int anPos)
{
    for (const QTextLayout::FormatRange& lrRange : arBlock.layout()->formats())
        if (anPos >= lrRange.start && anPos < lrRange.start + lrRange.length)
            return lrRange.format.foreground().color();
    return QColor();
}

QCheckBox* checkBox(QWidget* apDialog, const QString& arText)
{
    for (QCheckBox* lpBox : apDialog->findChildren<QCheckBox*>())
        if (lpBox->text() == arText)
            return lpBox;
    return nullptr;
}

QPushButton* pushButton(QWidget* apDialog, const QString& arText)
{
    for (QPushButton* lpButton : apDialog->findChildren<QPushButton*>())
        if (lpButton->text() == arText)
            return lpButton;
    return nullptr;
}
} // namespace

class tst_ReportForm : public QObject
{
    Q_OBJECT

private slots:
    void init() { QCoreApplication::setApplicationName(QStringLiteral("kestle")); }
    void cleanup() { closeAllForms(); }

    void formLayout()
    {
        tcReportForm lcForm;
        QCOMPARE(lcForm.windowTitle(), QStringLiteral("Report"));
        const QStringList lsNames{"mpSaveTo", "mpSavePDF", "mpPrint",  "mpSendTo",
                                  "mpFind",   "mpClear",   "mpDismiss"};
        const QStringList lsTexts{"Save As...", "Save PDF...", "Print...", "Send...",
                                  "Find...",    "Clear",       "Close"};
        for (int i = 0; i < lsNames.size(); ++i)
            QCOMPARE(button(&lcForm, lsNames[i].toLatin1())->text(), lsTexts[i]);
        lcForm.show();
        QVERIFY(button(&lcForm, "mpSaveTo")->isVisible());
        QVERIFY(!button(&lcForm, "mpSendTo")->isVisible());
        QVERIFY(!button(&lcForm, "mpSavePDF")->isVisible());
        lcForm.showSavePDF(true);
        lcForm.showSendTo(true);
        lcForm.showPrint(false);
        lcForm.showFind(false);
        QVERIFY(button(&lcForm, "mpSavePDF")->isVisible());
        QVERIFY(button(&lcForm, "mpSendTo")->isVisible());
        QVERIFY(!button(&lcForm, "mpPrint")->isVisible());
        QVERIFY(!button(&lcForm, "mpFind")->isVisible());
        QVERIFY(lcForm.getDefaultSaveFile().endsWith(QLatin1String("/report.txt")));
    }

    void addedButtonsAndTexts()
    {
        tcReportForm lcForm;
        QPushButton* lpExtra = lcForm.AddButton(QStringLiteral("Extra"));
        QCOMPARE(lpExtra->text(), QStringLiteral("Extra"));
        QCOMPARE(lpExtra->parent(), &lcForm);
        lcForm.SetText(QStringLiteral("first"));
        lcForm.AddText(QStringLiteral("second"));
        QCOMPARE(lcForm.document()->toPlainText(), QStringLiteral("first\nsecond"));
        lcForm.SetTitle(QStringLiteral("Data"));
        QCOMPARE(lcForm.windowTitle(), QStringLiteral("kestle: Data"));
        button(&lcForm, "mpClear")->click();
        QVERIFY(lcForm.document()->isEmpty());
    }

    void setDocumentTakesItsTitle()
    {
        tcReportForm lcForm;
        QTextDocument lcDocument;
        lcDocument.setPlainText(QStringLiteral("body"));
        lcForm.SetDocument(&lcDocument);
        QCOMPARE(lcForm.windowTitle(), QStringLiteral("Report"));
        QCOMPARE(lcForm.document(), &lcDocument);
        lcDocument.setMetaInformation(QTextDocument::DocumentTitle, QStringLiteral("Stats"));
        lcForm.SetDocument(&lcDocument);
        QCOMPARE(lcForm.windowTitle(), QStringLiteral("kestle: Stats"));
        // Let the form let go of the document before it goes out of scope.
        lcForm.SetDocument(new QTextDocument(&lcForm));
    }

    void sendEmitsThePlainText()
    {
        tcReportForm lcForm;
        lcForm.SetText(QStringLiteral("line 1\nline 2"));
        QSignalSpy lcSpy(&lcForm, &tcReportForm::sendToClicked);
        button(&lcForm, "mpSendTo")->click();
        QCOMPARE(lcSpy.size(), 1);
        QCOMPARE(lcSpy.first().first().toString(), QStringLiteral("line 1\nline 2"));
    }

    void saveWritesThePlainText()
    {
        QTemporaryDir lcDir;
        tcReportForm lcForm;
        lcForm.SetText(QStringLiteral("alpha\nbeta <b>not rich</b>\n"));
        const QString lsPath = lcDir.filePath(QStringLiteral("out.txt"));
        QVERIFY(lcForm.saveAs(lsPath));
        QFile lcFile(lsPath);
        QVERIFY(lcFile.open(QIODevice::ReadOnly | QIODevice::Text));
        QCOMPARE(QString::fromUtf8(lcFile.readAll()), QStringLiteral("alpha\nbeta <b>not rich</b>\n"));

        // Saving again replaces the file rather than appending to it.
        lcForm.SetText(QStringLiteral("short"));
        QVERIFY(lcForm.saveAs(lsPath));
        lcFile.seek(0);
        QCOMPARE(QString::fromUtf8(lcFile.readAll()), QStringLiteral("short"));
    }

    void saveFailureIsReported()
    {
        QTemporaryDir lcDir;
        tcReportForm lcForm;
        lcForm.SetText(QStringLiteral("x"));
        tcMessageCapture lcMessages;
        const QString lsPath = lcDir.filePath(QStringLiteral("missing/folder/out.txt"));
        QVERIFY(!lcForm.saveAs(lsPath));
        QCOMPARE(lcMessages.warnings().size(), 1);
        QVERIFY(lcMessages.warnings().first().startsWith(QStringLiteral("tcReportForm::saveAs : ") + lsPath));
    }

    void pdfIsWritten()
    {
        QTemporaryDir lcDir;
        tcReportForm lcForm;
        lcForm.SetText(QStringLiteral("Kestrix report\nsecond line"));
        const QString lsPath = lcDir.filePath(QStringLiteral("report.pdf"));
        QVERIFY(lcForm.savePdf(lsPath));
        QFile lcFile(lsPath);
        QVERIFY(lcFile.open(QIODevice::ReadOnly));
        const QByteArray lcPdf = lcFile.readAll();
        QVERIFY(lcPdf.startsWith("%PDF-"));
        QVERIFY(lcPdf.contains("/Type /Page"));
        QVERIFY(lcPdf.trimmed().endsWith("%%EOF"));
    }

    void proposedPdfName()
    {
        tcReportForm lcForm;
        QCOMPARE(lcForm.proposedPdfName(), QStringLiteral("report.pdf"));
        lcForm.document()->setMetaInformation(QTextDocument::DocumentTitle, QStringLiteral("Plot"));
        QCOMPARE(lcForm.proposedPdfName(), QStringLiteral("Plot.pdf"));
        lcForm.document()->setProperty("file_path", QStringLiteral("/tmp/out"));
        QCOMPARE(lcForm.proposedPdfName(), QStringLiteral("/tmp/out/Plot.pdf"));
        lcForm.document()->setProperty("file_path", QString());
        QCOMPARE(lcForm.proposedPdfName(), QStringLiteral("Plot.pdf"));
    }

    void showDocument_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("highlighted");
        QTest::addColumn<QString>("windowTitle");
        QTest::newRow("xml") << "<?xml version=\"1.0\"?>\n<a/>"
                             << "desc.xml" << true << "kestle: desc.xml";
        QTest::newRow("leading blank") << " <?xml version=\"1.0\"?>\n<a/>"
                                       << "x" << false << "kestle: x";
        QTest::newRow("plain, no title") << "hello"
                                         << "" << false << "Report";
    }

    void showDocument()
    {
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(bool, highlighted);
        QFETCH(QString, windowTitle);
        tcReportForm::ShowDocument(text, title);
        const QList<tcReportForm*> lsForms = openForms();
        QCOMPARE(lsForms.size(), 1);
        tcReportForm* lpForm = lsForms.first();
        QVERIFY(lpForm->isVisible());
        QVERIFY(lpForm->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(lpForm->windowTitle(), windowTitle);
        QCOMPARE(lpForm->document()->toPlainText(), text);
        QCOMPARE(lpForm->document()->findChild<XMLHighlighter*>() != nullptr, highlighted);

        QPointer<tcReportForm> lpGuard(lpForm);
        button(lpForm, "mpDismiss")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(lpGuard.isNull());
    }

    void showFile()
    {
        QTemporaryDir lcDir;
        const QString lsPath = lcDir.filePath(QStringLiteral("log.txt"));
        QFile lcFile(lsPath);
        QVERIFY(lcFile.open(QIODevice::WriteOnly));
        lcFile.write("one\ntwo\n");
        lcFile.close();

        tcReportForm::ShowFile(lsPath);
        QCOMPARE(openForms().size(), 1);
        tcReportForm* lpForm = openForms().first();
        QCOMPARE(lpForm->windowTitle(), QStringLiteral("kestle: ") + lsPath);
        QCOMPARE(lpForm->document()->toPlainText(), QStringLiteral("one\ntwo\n"));
        QVERIFY(lpForm->testAttribute(Qt::WA_DeleteOnClose));

        // "Send..." is offered exactly while someone takes the text.
        QPushButton* lpSend = button(lpForm, "mpSendTo");
        QVERIFY(!lpSend->isVisible());
        QStringList lsSent;
        const QMetaObject::Connection lcConnection =
            connect(lpForm, &tcReportForm::sendToClicked, this,
                    [&lsSent](const QString& arText) { lsSent << arText; });
        QTRY_VERIFY(lpSend->isVisible());
        lpSend->click();
        QCOMPARE(lsSent, QStringList{"one\ntwo\n"});
        disconnect(lcConnection);
        QTRY_VERIFY(!lpSend->isVisible());
    }

    void showFileOfMissingFileOpensNothing()
    {
        tcMessageCapture lcMessages;
        tcReportForm::ShowFile(QStringLiteral("/nonexistent/kestrix/file.txt"));
        QVERIFY(openForms().isEmpty());
        QVERIFY(lcMessages.warnings().isEmpty());
    }

    void highlightRules()
    {
        QTextDocument lcDocument;
        lcDocument.setPlainText(QStringLiteral("<Node Name=\"Gain\">text</Node> <!-- note -->"));
        (new XMLHighlighter(&lcDocument))->rehighlight();
        const QTextBlock lcBlock = lcDocument.firstBlock();
        QCOMPARE(colourAt(lcBlock, 0), QColor(Qt::blue));     // "<"
        QCOMPARE(colourAt(lcBlock, 25), QColor(Qt::blue));    // element name before ">"
        QCOMPARE(colourAt(lcBlock, 6), QColor(Qt::red));      // attribute name
        QCOMPARE(colourAt(lcBlock, 12), QColor(128, 0, 255)); // inside the value
        QCOMPARE(colourAt(lcBlock, 19), QColor(Qt::black));   // text between tags
        QCOMPARE(colourAt(lcBlock, 37), QColor(Qt::gray));    // comment
    }

    void valueOverTwoLinesIsColouredOnBoth()
    {
        QTextDocument lcDocument;
        lcDocument.setPlainText(QStringLiteral("<a text=\"first half\nsecond half\" b=\"c\"/>\n<d/>"));
        (new XMLHighlighter(&lcDocument))->rehighlight();
        const QColor lcValue(128, 0, 255);
        const QTextBlock lcFirst = lcDocument.firstBlock();
        const QTextBlock lcSecond = lcFirst.next();
        const QTextBlock lcThird = lcSecond.next();
        QCOMPARE(lcFirst.userState(), 1);
        QCOMPARE(colourAt(lcFirst, 10), lcValue);
        QCOMPARE(colourAt(lcFirst, lcFirst.length() - 2), lcValue);
        QCOMPARE(colourAt(lcSecond, 0), lcValue);
        QCOMPARE(colourAt(lcSecond, 11), lcValue);         // the closing quote
        QCOMPARE(colourAt(lcSecond, 13), QColor(Qt::red)); // the next attribute
        QCOMPARE(colourAt(lcSecond, 15), lcValue);         // its own value
        QCOMPARE(lcSecond.userState(), 0);
        QCOMPARE(colourAt(lcThird, 1), QColor(Qt::blue));
    }

    void findAndFindNext()
    {
        tcReportForm lcForm;
        lcForm.SetText(QStringLiteral("alpha beta\nAlpha gamma alpha"));
        lcForm.show();
        button(&lcForm, "mpFind")->click();
        tcFindDialog* lpFind = lcForm.findDialog();
        QVERIFY(lpFind->isVisible());
        QCOMPARE(lpFind->windowTitle(), QStringLiteral("Find..."));

        QPushButton* lpNext = pushButton(lpFind, QStringLiteral("Find &Next"));
        QCheckBox* lpFromStart = checkBox(lpFind, QStringLiteral("Search from &start"));
        QVERIFY(!lpNext->isEnabled());
        QVERIFY(lpFromStart->isChecked());

        lpFind->findChild<QLineEdit*>()->setText(QStringLiteral("alpha"));
        pushButton(lpFind, QStringLiteral("&Find"))->click();
        QCOMPARE(lpFind->cursor().selectionStart(), 0);
        QVERIFY(lpNext->isEnabled());
        QCOMPARE(lcForm.findChild<QTextEdit*>()->textCursor().selectionStart(), 0);

        // Case-insensitive by default: the next match is "Alpha".
        lpNext->click();
        QVERIFY(!lpFromStart->isChecked());
        QCOMPARE(lpFind->cursor().selectionStart(), 11);
        QCOMPARE(lcForm.findChild<QTextEdit*>()->textCursor().selectionStart(), 11);

        checkBox(lpFind, QStringLiteral("Match &case"))->setChecked(true);
        QCOMPARE(lpFind->findFlags(), QTextDocument::FindFlags(QTextDocument::FindCaseSensitively));
        lpFind->Find(QStringLiteral("alpha"));
        QCOMPARE(lpFind->cursor().selectionStart(), 23);

        // Nothing more to find: the status says so and "Find Next" stays on.
        lpNext->click();
        QCOMPARE(lpFind->status(), QStringLiteral("Not Found"));
        QVERIFY(lpNext->isEnabled());

        checkBox(lpFind, QStringLiteral("Search &backward"))->setChecked(true);
        lpNext->click();
        QCOMPARE(lpFind->cursor().selectionStart(), 0);
        QVERIFY(lpFind->status().isEmpty());
    }

    void findAbsentText()
    {
        QTextDocument lcDocument;
        lcDocument.setPlainText(QStringLiteral("nothing here"));
        tcFindDialog lcFind(nullptr);
        lcFind.Show(&lcDocument, QStringLiteral("absent"));
        QCOMPARE(lcFind.findChild<QLineEdit*>()->selectedText(), QStringLiteral("absent"));
        QPushButton* lpNext = pushButton(&lcFind, QStringLiteral("Find &Next"));
        pushButton(&lcFind, QStringLiteral("&Find"))->click();
        QCOMPARE(lcFind.status(), QStringLiteral("Not Found"));
        QVERIFY(!lpNext->isEnabled());
        lcFind.Find(QStringLiteral("here"));
        QCOMPARE(lcFind.cursor().selectedText(), QStringLiteral("here"));
        QVERIFY(lcFind.status().isEmpty());
    }

    void findFlagsAndMore()
    {
        tcFindDialog lcFind(nullptr);
        lcFind.show();
        QCheckBox* lpWhole = checkBox(&lcFind, QStringLiteral("&Whole words"));
        QVERIFY(!lpWhole->isVisible());
        QPushButton* lpMore = pushButton(&lcFind, QStringLiteral("&More"));
        QVERIFY(lpMore->isCheckable());
        lpMore->click();
        QVERIFY(lpWhole->isVisible());
        QVERIFY(checkBox(&lcFind, QStringLiteral("Search se&lection"))->isVisible());
        lpWhole->setChecked(true);
        checkBox(&lcFind, QStringLiteral("Search &backward"))->setChecked(true);
        QCOMPARE(lcFind.findFlags(), QTextDocument::FindWholeWords | QTextDocument::FindBackward);
        lpWhole->setChecked(false);
        QCOMPARE(lcFind.findFlags(), QTextDocument::FindFlags(QTextDocument::FindBackward));
        lpMore->click();
        QVERIFY(!lpWhole->isVisible());
    }

    void findWithoutTargetDoesNothing()
    {
        tcFindDialog lcFind(nullptr);
        lcFind.Find(QStringLiteral("x"));
        QVERIFY(lcFind.status().isEmpty());
        QVERIFY(lcFind.cursor().isNull());
    }

    void listDialog()
    {
        tcListDialog lcDialog(QStringLiteral("Pick one"));
        QCOMPARE(lcDialog.windowTitle(), QStringLiteral("Pick one"));
        QCOMPARE(lcDialog.objectName(), QStringLiteral("tcListDialogClass"));
        QCOMPARE(lcDialog.size(), QSize(198, 287));
        QVERIFY(lcDialog.List()->alternatingRowColors());
        QCOMPARE(lcDialog.getSelectedItem(), QString());
        lcDialog.SetItems({"a", "b", "c"});
        QCOMPARE(lcDialog.getSelectedItem(), QStringLiteral("a"));
        lcDialog.List()->setSelectionMode(QAbstractItemView::MultiSelection);
        lcDialog.List()->clearSelection();
        lcDialog.List()->item(2)->setSelected(true);
        lcDialog.List()->item(0)->setSelected(true);
        QCOMPARE(lcDialog.SelectedItems(), (QVector<int>{2, 0}));
        lcDialog.SetItems({"x"});
        QCOMPARE(lcDialog.List()->count(), 1);
        QCOMPARE(lcDialog.getSelectedItem(), QStringLiteral("x"));

        lcDialog.show();
        auto* lpButtons = lcDialog.findChild<QDialogButtonBox*>();
        QVERIFY(lpButtons->button(QDialogButtonBox::Cancel)->isVisible());
        lcDialog.HideCancel();
        QVERIFY(!lpButtons->button(QDialogButtonBox::Cancel)->isVisible());
        lpButtons->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(lcDialog.result(), int(QDialog::Accepted));
    }

    void listDialogDoubleClickAccepts()
    {
        tcListDialog lcDialog(QStringLiteral("t"));
        lcDialog.SetItems({"a", "b"});
        lcDialog.show();
        emit lcDialog.List()->itemDoubleClicked(lcDialog.List()->item(1));
        QCOMPARE(lcDialog.result(), int(QDialog::Accepted));
        lcDialog.show();
        lcDialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
        QCOMPARE(lcDialog.result(), int(QDialog::Rejected));
    }

    void popupInfo()
    {
        QWidget lcOwner;
        lcOwner.resize(400, 300);
        QPointer<tcPopupInfo> lpPopup =
            new tcPopupInfo(QStringLiteral("A rather long note about the feature"));
        QVERIFY(lpPopup->windowFlags().testFlag(Qt::ToolTip));
        QVERIFY(lpPopup->wordWrap());
        QVERIFY(lpPopup->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(lpPopup->styleSheet(),
                 QStringLiteral("QLabel { font: normal; background-color: cornsilk;}"));
        QCOMPARE(lpPopup->size(), QSize(150, 100));
        lpPopup->popup(&lcOwner);
        QCOMPARE(lpPopup->owner(), &lcOwner);
        QCOMPARE(lpPopup->maximumWidth(), 200);
        QVERIFY(lpPopup->isVisible());
        QVERIFY(lpPopup->y() >= 0);

        // A release without a press inside does not close it.
        QTest::mouseRelease(lpPopup.data(), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(lpPopup->isVisible());
        QTest::mousePress(lpPopup.data(), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(lpPopup.data(), Qt::LeftButton, {}, QPoint(5, 5));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(lpPopup.isNull());
    }

    void popupWithoutOwner()
    {
        auto* lpPopup = new tcPopupInfo(QStringLiteral("note"));
        lpPopup->popup(nullptr);
        QCOMPARE(lpPopup->maximumWidth(), 250);
        lpPopup->close();
    }
};

QTEST_MAIN(tst_ReportForm)
#include "tst_reportform.moc"
