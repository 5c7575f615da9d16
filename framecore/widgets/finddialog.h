#pragma once

#include "framecore_export.h"

#include <QBrush>
#include <QDialog>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;
class QWidget;

// Searches a text edit or a bare document. "Find" starts a search for the
// typed text, "Find Next" repeats the last match's text from where it was.
class FRAMECORE_EXPORT tcFindDialog : public QDialog
{
    Q_OBJECT

public:
    explicit tcFindDialog(QWidget* apParent);

    void Show(const QString& arText);
    void Show(QTextDocument* apDocument, const QString& arText);
    void Show(QTextEdit* apEdit, const QString& arText);

    void Find(const QString& arText);
    void FindNext();

    // For callers that look at the outcome of a search.
    QTextCursor cursor() const { return mcCursor; }
    QString status() const;
    QTextDocument::FindFlags findFlags() const { return mnFlags; }

private slots:
    void FindFromLineEdit();
    void SetFindFlags();

private:
    void buildForm();
    QTextDocument* targetDocument() const;

    QLineEdit* mpFindText = nullptr;
    QCheckBox* mpMatchCase = nullptr;
    QCheckBox* mpFromStart = nullptr;
    QCheckBox* mpWholeWords = nullptr;
    QCheckBox* mpBackward = nullptr;
    QCheckBox* mpSelection = nullptr;
    QPushButton* mpFindButton = nullptr;
    QPushButton* mpNextButton = nullptr;
    QPushButton* mpMoreButton = nullptr;
    QWidget* mpExtension = nullptr;
    QLabel* mpStatus = nullptr;

    // The target may belong to a window that closes before this dialog.
    QPointer<QTextEdit> mpEdit;
    QPointer<QTextDocument> mpDocument;
    QTextCursor mcCursor;
    QTextDocument::FindFlags mnFlags;
    QBrush mcForeground;
};
