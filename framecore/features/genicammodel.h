#pragma once

#include "debugsource.h"
#include "framecore_export.h"
#include "genapimetatypes.h"

#include <GenApi/GenApi.h>

#include <QSet>
#include <QStandardItemModel>

// The camera's features as a two-level tree: the categories under "Root",
// each with its direct features. Column 0 names a feature and holds its node;
// column 1 shows the feature's value, read live from the node map on every
// request, and writes it back when edited. The tree is built once and does
// not follow features that appear or disappear later.
class FRAMECORE_EXPORT tcGenICamModel : public QStandardItemModel, public tcDebugSource
{
    Q_OBJECT

public:
    // Role of the column-0 item that holds the feature's node.
    static const int gnNodeRole = Qt::UserRole + 1;

    tcGenICamModel(GenApi::CNodeMapRef* apNodeMap, QObject* apParent = nullptr);

    QVariant data(const QModelIndex& arIndex, int anRole = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& arIndex, const QVariant& arValue, int anRole = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& arIndex) const override;

    // The node of the row of the index (taken from its column-0 item); an
    // invalid pointer for category rows and outside the tree.
    GenApi::CNodePtr nodeOf(const QModelIndex& arIndex) const;

private:
    void build();
    void addCategory(GenApi::CCategoryPtr apCategory);
    QList<QStandardItem*> featureRow(GenApi::INode* apNode) const;
    static QString buildTimeText(GenApi::INode* apNode);
    QVariant liveData(GenApi::INode* apNode, const QModelIndex& arIndex, int anRole) const;
    void trace(const char* apWhere, const QModelIndex& arIndex, const char* apLabel, int anRole,
               const QVariant& arValue) const;

    GenApi::CNodeMapRef* mpNodeMap;
    // Nodes whose live read failed once: the failure is logged only the
    // first time, not on every repaint.
    mutable QSet<GenApi::INode*> msFailedNodes;
};
