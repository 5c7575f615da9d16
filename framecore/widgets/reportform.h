#pragma once

#include "framecore_export.h"

#include <QDialog>
#include <QString>

#include <memory>

class QPushButton;
class QTextDocument;
class tcFindDialog;

namespace Ui
{
class tcReportFormClass;
}

// A read-only text window with save, PDF, print, find and send buttons. The
// application shows description files and reports in it; ShowDocument and
// ShowFile make self-deleting top-level windows that nobody needs to keep.
class FRAMECORE_EXPORT tcReportForm : public QDialog
{
    Q_OBJECT

public:
    explicit tcReportForm(QWidget* apParent = nullptr);
    ~tcReportForm() override;

    static void ShowDocument(const QString& arText, const QString& arTitle);
    static void ShowFile(const QString& arPath);

    QTextDocument* document() const;
    QPushButton* AddButton(const QString& arText);

    void showSaveAs(bool abShow);
    void showSavePDF(bool abShow);
    void showPrint(bool abShow);
    void showSendTo(bool abShow);
    void showFind(bool abShow);
    void showClear(bool abShow);

    QString getDefaultSaveFile() const { return msDefaultSaveFile; }
    void setDefaultSaveFile(const QString& arPath) { msDefaultSaveFile = arPath; }

    bool saveAs(const QString& arPath);
    // Prints the document as a high-resolution PDF; false when no file results.
    bool savePdf(const QString& arPath);
    // The name the "Save PDF..." dialog proposes.
    QString proposedPdfName() const;
    tcFindDialog* findDialog() const { return mpFindDialog; }

signals:
    void sendToClicked(const QString& arText);

public slots:
    void SetText(const QString& arText);
    void AddText(const QString& arText);
    void SetDocument(QTextDocument* apDocument);
    void SetTitle(const QString& arTitle);
    void ShowSendButton(bool abShow);

    void on_mpSaveTo_clicked();
    void on_mpClear_clicked();
    void on_mpDismiss_clicked();
    void on_mpPrint_clicked();
    void on_mpFind_clicked();
    void on_mpSavePDF_clicked();
    void on_mpSendTo_clicked();

protected:
    void connectNotify(const QMetaMethod& arSignal) override;
    void disconnectNotify(const QMetaMethod& arSignal) override;

private:
    void followSendReceivers();
    void followSendReceiversLater();

    std::unique_ptr<Ui::tcReportFormClass> mpUi;
    tcFindDialog* mpFindDialog;
    QString msDefaultSaveFile;
    // Set for files opened by ShowFile: "Send..." then appears exactly while
    // someone listens to sendToClicked.
    bool mbSendFollowsReceivers = false;
};
