#include "finddialog.h"

#include <QCheckBox>
#include <QDebug>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

tcFindDialog::tcFindDialog(QWidget* apParent) : QDialog(apParent)
{
    buildForm();
    setWindowTitle(tr("Find..."));

    connect(mpFindButton, &QPushButton::clicked, this, &tcFindDialog::FindFromLineEdit);
    connect(mpNextButton, &QPushButton::clicked, this, &tcFindDialog::FindNext);
    connect(mpMoreButton, &QPushButton::toggled, mpExtension, &QWidget::setVisible);
    for (QCheckBox* lpBox : {mpMatchCase, mpWholeWords, mpBackward})
        connect(lpBox, &QCheckBox::toggled, this, &tcFindDialog::SetFindFlags);
}

void tcFindDialog::buildForm()
{
    auto* lpLabel = new QLabel(tr("Find &what:"), this);
    mpFindText = new QLineEdit(this);
    lpLabel->setBuddy(mpFindText);

    mpMatchCase = new QCheckBox(tr("Match &case"), this);
    mpFromStart = new QCheckBox(tr("Search from &start"), this);
    mpFromStart->setChecked(true);

    mpFindButton = new QPushButton(tr("&Find"), this);
    mpFindButton->setDefault(true);
    mpNextButton = new QPushButton(tr("Find &Next"), this);
    mpNextButton->setEnabled(false);
    mpMoreButton = new QPushButton(tr("&More"), this);
    mpMoreButton->setCheckable(true);
    mpMoreButton->setAutoDefault(false);

    mpExtension = new QWidget(this);
    mpWholeWords = new QCheckBox(tr("&Whole words"), mpExtension);
    mpBackward = new QCheckBox(tr("Search &backward"), mpExtension);
    mpSelection = new QCheckBox(tr("Search se&lection"), mpExtension);
    auto* lpExtensionLayout = new QVBoxLayout(mpExtension);
    lpExtensionLayout->setContentsMargins(0, 0, 0, 0);
    lpExtensionLayout->addWidget(mpWholeWords);
    lpExtensionLayout->addWidget(mpBackward);
    lpExtensionLayout->addWidget(mpSelection);
    mpExtension->hide();

    mpStatus = new QLabel(this);

    auto* lpLeft = new QVBoxLayout;
    auto* lpTextRow = new QHBoxLayout;
    lpTextRow->addWidget(lpLabel);
    lpTextRow->addWidget(mpFindText);
    lpLeft->addLayout(lpTextRow);
    lpLeft->addWidget(mpMatchCase);
    lpLeft->addWidget(mpFromStart);
    lpLeft->addStretch(1);

    auto* lpButtons = new QVBoxLayout;
    lpButtons->addWidget(mpFindButton);
    lpButtons->addWidget(mpNextButton);
    lpButtons->addWidget(mpMoreButton);
    lpButtons->addStretch(1);

    auto* lpMain = new QGridLayout(this);
    lpMain->setSizeConstraint(QLayout::SetFixedSize);
    lpMain->addLayout(lpLeft, 0, 0);
    lpMain->addLayout(lpButtons, 0, 1);
    lpMain->addWidget(mpExtension, 1, 0, 1, 2);
    lpMain->addWidget(mpStatus, 2, 0, 1, 2);
}

QString tcFindDialog::status() const
{
    return mpStatus->text();
}

void tcFindDialog::Show(const QString& arText)
{
    if (mpEdit)
        mcCursor = mpEdit->textCursor();
    else if (mpDocument)
        mcCursor = QTextCursor(mpDocument);
    mcForeground = mcCursor.charFormat().foreground();
    mpFindText->setText(arText);
    mpFindText->selectAll();
    mpStatus->clear();
    show();
    raise();
}

void tcFindDialog::Show(QTextDocument* apDocument, const QString& arText)
{
    mpEdit = nullptr;
    mpDocument = apDocument;
    Show(arText);
}

void tcFindDialog::Show(QTextEdit* apEdit, const QString& arText)
{
    mpEdit = apEdit;
    mpDocument = nullptr;
    Show(arText);
}

QTextDocument* tcFindDialog::targetDocument() const
{
    if (mpEdit)
        return mpEdit->document();
    return mpDocument;
}

void tcFindDialog::FindFromLineEdit()
{
    mpNextButton->setEnabled(false);
    Find(mpFindText->text());
}

void tcFindDialog::Find(const QString& arText)
{
    mpStatus->clear();
    QTextDocument* lpDocument = targetDocument();
    if (!lpDocument)
        return;

    // Continuing from the cursor (rather than from its position) lets a
    // backward search skip the match it is sitting on.
    const QTextCursor lcFound = mpFromStart->isChecked() || mcCursor.document() != lpDocument
                                    ? lpDocument->find(arText, 0, mnFlags)
                                    : lpDocument->find(arText, mcCursor, mnFlags);
    if (lcFound.isNull())
    {
        // The last match stays the working cursor, so "Find Next" (or a
        // search in the other direction) still continues from it.
        mpStatus->setText(tr("Not Found"));
        return;
    }
    mcCursor = lcFound;
    if (mpEdit)
    {
        mpEdit->setTextCursor(mcCursor);
        mpEdit->ensureCursorVisible();
    }
    mpNextButton->setEnabled(true);
    qDebug("Find... text position is %d", mcCursor.position());
}

void tcFindDialog::FindNext()
{
    mpFromStart->setChecked(false);
    Find(mcCursor.selectedText());
}

void tcFindDialog::SetFindFlags()
{
    QTextDocument::FindFlags lnFlags;
    if (mpMatchCase->isChecked())
        lnFlags |= QTextDocument::FindCaseSensitively;
    if (mpWholeWords->isChecked())
        lnFlags |= QTextDocument::FindWholeWords;
    if (mpBackward->isChecked())
        lnFlags |= QTextDocument::FindBackward;
    mnFlags = lnFlags;
}
