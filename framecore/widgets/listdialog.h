#pragma once

#include "framecore_export.h"

#include <QDialog>
#include <QStringList>
#include <QVector>

#include <memory>

class QListWidget;

namespace Ui
{
class tcListDialogClass;
}

// Lets the user pick one or more entries of a list; OK or a double click
// accepts.
class FRAMECORE_EXPORT tcListDialog : public QDialog
{
    Q_OBJECT

public:
    explicit tcListDialog(const QString& arTitle, QWidget* apParent = nullptr);
    ~tcListDialog() override;

    void SetItems(const QStringList& arItems);
    QString getSelectedItem() const;
    QVector<int> SelectedItems() const;
    QListWidget* List() const;
    void HideCancel();

private:
    std::unique_ptr<Ui::tcListDialogClass> mpUi;
};
