#pragma once

#include "framecore_export.h"

#include <QDialog>
#include <QModelIndex>
#include <QSharedPointer>

#include <memory>

class tcCameraInterface;
class tcGenICamModel;
class QTreeView;

namespace Ui
{
class GenICamParams;
}

// Browses and edits every feature of the camera in a tree, with the clicked
// feature's description below it.
class FRAMECORE_EXPORT tcGenICamParamsDialog : public QDialog
{
    Q_OBJECT

public:
    tcGenICamParamsDialog(QWidget* apParent, tcCameraInterface* apCamera);
    tcGenICamParamsDialog(QWidget* apParent, QSharedPointer<tcGenICamModel> apModel);
    ~tcGenICamParamsDialog() override;

    QSharedPointer<tcGenICamModel> model() const { return mpModel; }
    QTreeView* treeView() const;

public slots:
    void ItemClicked(const QModelIndex& arIndex);
    void on_treeView_expanded(const QModelIndex& arIndex);

protected:
    void showEvent(QShowEvent* apEvent) override;

private:
    void setUp();

    std::unique_ptr<Ui::GenICamParams> mpUi;
    QSharedPointer<tcGenICamModel> mpModel;
};
