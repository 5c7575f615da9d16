#pragma once

#include <QDialog>

#include <memory>

class QTreeWidgetItem;

namespace Ui
{
class tcDebugLevelDlg;
}

// "Debug Level Settings": every live debug source by name, each instance
// with its level, editable while the program runs (double-click the level).
// A new level takes effect at once in every thread; it is not written to the
// INI file, so the next start uses the stored levels again.
class tcDebugLevelDlg : public QDialog
{
    Q_OBJECT

public:
    explicit tcDebugLevelDlg(QWidget* apParent = nullptr);
    ~tcDebugLevelDlg() override;

    // Lists the sources alive now; rows of sources gone meanwhile go too.
    void fillTree();

signals:
    // A level typed that is not a number; nothing was changed. The main
    // window shows it like any other error.
    void Error(const QString& arText);

public slots:
    void treeItemDoubleClicked(QTreeWidgetItem* apItem, int anColumn);
    void treeItemChanged(QTreeWidgetItem* apItem, int anColumn);

protected:
    void showEvent(QShowEvent* apEvent) override;

private:
    QTreeWidgetItem* nameRow(const QString& arName);
    void fillInstances(QTreeWidgetItem* apNameRow);

    std::unique_ptr<Ui::tcDebugLevelDlg> mpUi;
    QTreeWidgetItem* mpEditItem = nullptr;
};
