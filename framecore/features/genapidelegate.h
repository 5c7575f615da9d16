#pragma once

#include "framecore_export.h"
#include "genapimetatypes.h"

#include <QSharedPointer>
#include <QStyledItemDelegate>

class tcGenICamModel;

// Chooses the value editor of a feature by its node type: spin boxes for
// numbers, a combo for booleans and enumerations, a hexadecimal line edit for
// registers and an "Execute" button for commands. Read-only features get a
// disabled editor.
class FRAMECORE_EXPORT tcGenApiDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    tcGenApiDelegate(QSharedPointer<tcGenICamModel> apModel, QObject* apParent = nullptr);

    QWidget* createEditor(QWidget* apParent, const QStyleOptionViewItem& arOption,
                          const QModelIndex& arIndex) const override;
    void setEditorData(QWidget* apEditor, const QModelIndex& arIndex) const override;
    void setModelData(QWidget* apEditor, QAbstractItemModel* apModel,
                      const QModelIndex& arIndex) const override;
    QString displayText(const QVariant& arValue, const QLocale& arLocale) const override;

public slots:
    void commitAndCloseEditor();
    void execGenApiCommand();

protected:
    void initStyleOption(QStyleOptionViewItem* apOption, const QModelIndex& arIndex) const override;

private:
    QWidget* editorFor(GenApi::INode* apNode, QWidget* apParent, const QStyleOptionViewItem& arOption,
                       const QModelIndex& arIndex) const;
    QWidget* integerEditor(GenApi::CIntegerPtr apNode, QWidget* apParent) const;
    QWidget* booleanEditor(GenApi::INode* apNode, QWidget* apParent) const;
    QWidget* commandEditor(GenApi::CCommandPtr apNode, QWidget* apParent) const;
    QWidget* floatEditor(GenApi::CFloatPtr apNode, QWidget* apParent) const;
    QWidget* stringEditor(GenApi::INode* apNode, QWidget* apParent) const;
    QWidget* registerEditor(GenApi::CRegisterPtr apNode, QWidget* apParent) const;
    QWidget* enumerationEditor(GenApi::CEnumerationPtr apNode, QWidget* apParent,
                               const QStyleOptionViewItem& arOption, const QModelIndex& arIndex) const;
    QWidget* factoryEditor(int anType, QWidget* apParent) const;

    QSharedPointer<tcGenICamModel> mpModel;
};
