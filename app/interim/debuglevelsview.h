#pragma once

#include <QDialog>

class QTableWidget;
class QTableWidgetItem;

// Every live debug source with its level; editing a level sets it at once
// for every instance of that source.
class tcDebugLevelsView : public QDialog
{
    Q_OBJECT

public:
    explicit tcDebugLevelsView(QWidget* apParent = nullptr);

    void refresh();

private slots:
    void levelEdited(QTableWidgetItem* apItem);

private:
    QTableWidget* mpTable;
};
