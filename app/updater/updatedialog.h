#pragma once

#include "appcast.h"

#include <QDialog>

#include <memory>

class QPushButton;
namespace Ui
{
class tcUpdateDialog;
}

// Presents a newer release: headline, date, notes, and either a Download
// button or, with the integrated downloader off, a link to the installer.
// It is shown without a modal loop, so the main window stays usable.
class tcUpdateDialog : public QDialog
{
    Q_OBJECT

public:
    tcUpdateDialog(QWidget* apParent, const tcAppCast& arRelease, const QString& arHeadline,
                   bool abOfferDownload);
    ~tcUpdateDialog() override;

    QPushButton* downloadButton() const { return mpDownload; }

signals:
    void downloadRequested(const tcAppCast& arRelease);

private:
    std::unique_ptr<Ui::tcUpdateDialog> mpUi;
    tcAppCast mcRelease;
    QPushButton* mpDownload = nullptr;
};
