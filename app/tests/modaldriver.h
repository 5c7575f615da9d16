#pragma once

#include "devicedialog.h"
#include "filedialogs.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QTreeView>

// Plays the user's part in modal dialogs while a test drives the main window:
// records every message box and answers it (with the next queued answer, or
// its first button), picks a device in the device chooser and answers every
// file dialog with msFile (cancelled when empty) without showing one.
class tcModalDriver : public QObject
{
    Q_OBJECT

public:
    tcModalDriver()
    {
        connect(&mcTimer, &QTimer::timeout, this, &tcModalDriver::poll);
        mcTimer.start(20);
        mfPrevious = tcFileDialogs::setAnswerer(
            [this](const tcFileDialogs::tcRequest&)
            {
                ++mnFileDialogs;
                return msFile.isEmpty() ? QStringList() : QStringList(msFile);
            });
    }
    ~tcModalDriver() override { tcFileDialogs::setAnswerer(mfPrevious); }

    QStringList msBoxes; // "title|text" of each box seen
    QList<QMessageBox::StandardButton> mlAnswers;
    QString msDevice;
    QString msFile;
    int mnDeviceRows = -1; // devices the chooser listed on its first interface
    int mnFileDialogs = 0;

    QString lastBox() const { return msBoxes.isEmpty() ? QString() : msBoxes.last(); }
    bool sawBox(const QString& arText) const
    {
        for (const QString& lsBox : msBoxes)
            if (lsBox.contains(arText))
                return true;
        return false;
    }

private slots:
    void poll()
    {
        QWidget* lpModal = QApplication::activeModalWidget();
        if (!lpModal || !lpModal->isVisible())
            return;
        if (auto* lpBox = qobject_cast<QMessageBox*>(lpModal))
            answer(lpBox);
        else if (auto* lpChooser = qobject_cast<DeviceDialog*>(lpModal))
            choose(lpChooser);
    }

private:
    void answer(QMessageBox* apBox)
    {
        msBoxes << apBox->windowTitle() + QLatin1Char('|') + apBox->text();
        QAbstractButton* lpButton = nullptr;
        if (!mlAnswers.isEmpty() && apBox->button(mlAnswers.first()))
            lpButton = apBox->button(mlAnswers.takeFirst());
        if (!lpButton && !apBox->buttons().isEmpty())
            lpButton = apBox->buttons().first();
        if (lpButton)
            lpButton->click();
        else
            apBox->reject();
    }

    void choose(DeviceDialog* apChooser)
    {
        auto* lpTree = apChooser->findChild<QTreeView*>(QStringLiteral("GenTLTreeView"));
        QAbstractItemModel* lpModel = lpTree ? lpTree->model() : nullptr;
        if (!lpModel)
            return;
        const QModelIndex lcInterface = lpModel->index(0, 0);
        if (mnDeviceRows < 0)
            mnDeviceRows = lpModel->rowCount(lcInterface);
        for (int lnRow = 0; lnRow < lpModel->rowCount(lcInterface); ++lnRow)
        {
            const QModelIndex lcDevice = lpModel->index(lnRow, 0, lcInterface);
            if (lcDevice.data().toString() == msDevice)
            {
                apChooser->ItemClicked(lcDevice);
                apChooser->accept();
                return;
            }
        }
        apChooser->reject();
    }

    QTimer mcTimer;
    tcFileDialogs::tcAnswerer mfPrevious;
};
