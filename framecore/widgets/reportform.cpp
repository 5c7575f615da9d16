#include "reportform.h"

#include "filedialogs.h"
#include "finddialog.h"
#include "ui_reportform.h"
#include "xmlhighlighter.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QMetaMethod>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QTextDocument>
#include <QTextStream>

tcReportForm::tcReportForm(QWidget* apParent)
    : QDialog(apParent), mpUi(std::make_unique<Ui::tcReportFormClass>()), mpFindDialog(nullptr)
{
    mpUi->setupUi(this);
    mpUi->mpButtonLayout->addStretch(1);
    mpFindDialog = new tcFindDialog(this);
    msDefaultSaveFile = QStringLiteral("%1/report.txt")
                            .arg(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    mpUi->mpSendTo->hide();
    mpUi->mpSavePDF->hide();
}

tcReportForm::~tcReportForm() = default;

void tcReportForm::ShowDocument(const QString& arText, const QString& arTitle)
{
    auto* lpForm = new tcReportForm(nullptr);
    if (!arTitle.isEmpty())
        lpForm->SetTitle(arTitle);
    lpForm->SetText(arText);
    if (arText.startsWith(QLatin1String("<?xml")))
        new XMLHighlighter(lpForm->document());
    lpForm->setAttribute(Qt::WA_DeleteOnClose);
    lpForm->show();
    lpForm->raise();
}

void tcReportForm::ShowFile(const QString& arPath)
{
    QFile lcFile(arPath);
    if (!lcFile.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    auto* lpForm = new tcReportForm(nullptr);
    lpForm->SetTitle(arPath);
    lpForm->SetText(QTextStream(&lcFile).readAll());
    lpForm->setAttribute(Qt::WA_DeleteOnClose);
    lpForm->mbSendFollowsReceivers = true;
    lpForm->followSendReceivers();
    lpForm->show();
    lpForm->raise();
}

QTextDocument* tcReportForm::document() const
{
    return mpUi->mpTextEdit->document();
}

QPushButton* tcReportForm::AddButton(const QString& arText)
{
    auto* lpButton = new QPushButton(arText, this);
    lpButton->setAutoDefault(false);
    // Before the closing stretch, so the row stays left-aligned.
    mpUi->mpButtonLayout->insertWidget(mpUi->mpButtonLayout->count() - 1, lpButton);
    return lpButton;
}

void tcReportForm::showSaveAs(bool abShow)
{
    mpUi->mpSaveTo->setVisible(abShow);
}

void tcReportForm::showSavePDF(bool abShow)
{
    mpUi->mpSavePDF->setVisible(abShow);
}

void tcReportForm::showPrint(bool abShow)
{
    mpUi->mpPrint->setVisible(abShow);
}

void tcReportForm::showSendTo(bool abShow)
{
    mpUi->mpSendTo->setVisible(abShow);
}

void tcReportForm::ShowSendButton(bool abShow)
{
    showSendTo(abShow);
}

void tcReportForm::showFind(bool abShow)
{
    mpUi->mpFind->setVisible(abShow);
}

void tcReportForm::showClear(bool abShow)
{
    mpUi->mpClear->setVisible(abShow);
}

void tcReportForm::SetTitle(const QString& arTitle)
{
    setWindowTitle(QStringLiteral("%1: %2").arg(QCoreApplication::applicationName(), arTitle));
}

void tcReportForm::SetText(const QString& arText)
{
    mpUi->mpTextEdit->setPlainText(arText);
}

void tcReportForm::AddText(const QString& arText)
{
    mpUi->mpTextEdit->append(arText);
}

void tcReportForm::SetDocument(QTextDocument* apDocument)
{
    if (!apDocument)
        return;
    mpUi->mpTextEdit->setDocument(apDocument);
    const QString lsTitle = apDocument->metaInformation(QTextDocument::DocumentTitle);
    if (!lsTitle.isEmpty())
        SetTitle(lsTitle);
}

bool tcReportForm::saveAs(const QString& arPath)
{
    QFile lcFile(arPath);
    bool lbOk = lcFile.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
    if (lbOk)
    {
        QTextStream lcStream(&lcFile);
        lcStream << document()->toPlainText();
        lcStream.flush();
        lbOk = lcStream.status() == QTextStream::Ok && lcFile.error() == QFileDevice::NoError;
    }
    if (!lbOk)
        qWarning().noquote() << "tcReportForm::saveAs"
                             << ":" << arPath << lcFile.errorString();
    return lbOk;
}

void tcReportForm::on_mpSaveTo_clicked()
{
    const QString lsPath =
        tcFileDialogs::getSaveFileName(this, tr("Save Report"), msDefaultSaveFile, tr("Text files (*.txt)"));
    if (lsPath.isEmpty())
        return;
    if (!saveAs(lsPath))
        QMessageBox::warning(this, windowTitle(), tr("Error Saving to %1").arg(lsPath));
}

QString tcReportForm::proposedPdfName() const
{
    QString lsName = document()->metaInformation(QTextDocument::DocumentTitle);
    if (lsName.isEmpty())
        lsName = QStringLiteral("report");
    lsName += QLatin1String(".pdf");
    const QString lsFolder = document()->property("file_path").toString();
    if (!lsFolder.isEmpty())
        lsName = lsFolder + QLatin1Char('/') + lsName;
    return lsName;
}

bool tcReportForm::savePdf(const QString& arPath)
{
    QPrinter lcPrinter(QPrinter::HighResolution);
    lcPrinter.setOutputFormat(QPrinter::PdfFormat);
    lcPrinter.setOutputFileName(arPath);
    document()->print(&lcPrinter);
    const bool lbOk = QFileInfo(arPath).size() > 0;
    if (!lbOk)
        qWarning().noquote() << "tcReportForm::savePdf"
                             << ":" << arPath << "was not written";
    return lbOk;
}

void tcReportForm::on_mpSavePDF_clicked()
{
    const QString lsPath = tcFileDialogs::getSaveFileName(this, tr("Save Report as PDF"), proposedPdfName(),
                                                          tr("PDF files (*.pdf)"));
    if (!lsPath.isEmpty())
        savePdf(lsPath);
}

void tcReportForm::on_mpPrint_clicked()
{
    QPrinter lcPrinter(QPrinter::ScreenResolution);
    QPrintDialog lcDialog(&lcPrinter, this);
    if (lcDialog.exec() == QDialog::Accepted)
        document()->print(&lcPrinter);
}

void tcReportForm::on_mpFind_clicked()
{
    mpFindDialog->Show(mpUi->mpTextEdit, mpUi->mpTextEdit->textCursor().selectedText());
}

void tcReportForm::on_mpSendTo_clicked()
{
    emit sendToClicked(document()->toPlainText());
}

void tcReportForm::on_mpClear_clicked()
{
    mpUi->mpTextEdit->clear();
}

void tcReportForm::on_mpDismiss_clicked()
{
    close();
}

void tcReportForm::connectNotify(const QMetaMethod& arSignal)
{
    QDialog::connectNotify(arSignal);
    if (arSignal == QMetaMethod::fromSignal(&tcReportForm::sendToClicked))
        followSendReceiversLater();
}

void tcReportForm::disconnectNotify(const QMetaMethod& arSignal)
{
    QDialog::disconnectNotify(arSignal);
    // An invalid method means "every signal" (a blanket disconnect).
    if (!arSignal.isValid() || arSignal == QMetaMethod::fromSignal(&tcReportForm::sendToClicked))
        followSendReceiversLater();
}

// Qt still holds its connection lock while it notifies, and asking for the
// receivers then would deadlock; the button follows once the call is done.
void tcReportForm::followSendReceiversLater()
{
    if (mbSendFollowsReceivers)
        QMetaObject::invokeMethod(
            this, [this] { followSendReceivers(); }, Qt::QueuedConnection);
}

void tcReportForm::followSendReceivers()
{
    if (mbSendFollowsReceivers)
        showSendTo(isSignalConnected(QMetaMethod::fromSignal(&tcReportForm::sendToClicked)));
}
