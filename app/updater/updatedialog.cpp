#include "updatedialog.h"

#include "ui_updatedialog.h"

#include <QPushButton>

tcUpdateDialog::tcUpdateDialog(QWidget* apParent, const tcAppCast& arRelease, const QString& arHeadline,
                               bool abOfferDownload)
    : QDialog(apParent), mpUi(std::make_unique<Ui::tcUpdateDialog>()), mcRelease(arRelease)
{
    mpUi->setupUi(this);
    mpUi->mpHeadline->setText(arHeadline);
    mpUi->mpDate->setText(arRelease.msDate.isEmpty() ? QString() : tr("Released %1").arg(arRelease.msDate));
    mpUi->mpDate->setVisible(!arRelease.msDate.isEmpty());
    mpUi->mpNotes->setPlainText(arRelease.msNotes.isEmpty() ? tr("The release gives no notes.")
                                                            : arRelease.msNotes);

    if (abOfferDownload)
    {
        mpUi->mpInstallerLink->hide();
        mpDownload = mpUi->mpButtons->addButton(tr("Download"), QDialogButtonBox::AcceptRole);
        mpDownload->setDefault(true);
        connect(mpDownload, &QPushButton::clicked, this,
                [this]()
                {
                    emit downloadRequested(mcRelease);
                    accept();
                });
    }
    else
    {
        const QString lsUrl = arRelease.mcInstallerUrl.toString(QUrl::FullyEncoded);
        mpUi->mpInstallerLink->setText(tr("The installer is at <a href=\"%1\">%2</a>.")
                                           .arg(lsUrl.toHtmlEscaped(), lsUrl.toHtmlEscaped()));
    }
}

tcUpdateDialog::~tcUpdateDialog() = default;
