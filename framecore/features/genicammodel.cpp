#include "genicammodel.h"

#include "genicamiface.h"

#include <QDebug>

using namespace GenApi;

namespace
{
const int gnValueColumn = 1;

int registerNodeMetaTypes()
{
    qRegisterMetaType<CCommandPtr>("GenApi::CCommandPtr");
    return qRegisterMetaType<CNodePtr>("GenApi::CNodePtr");
}

QString fromGc(const gcstring& arText)
{
    return QString::fromLocal8Bit(arText.c_str());
}
} // namespace

tcGenICamModel::tcGenICamModel(CNodeMapRef* apNodeMap, QObject* apParent)
    : QStandardItemModel(apParent), tcDebugSource(QStringLiteral("tcGenICamModel")), mpNodeMap(apNodeMap)
{
    static const int gnRegistered = registerNodeMetaTypes();
    Q_UNUSED(gnRegistered);
    setColumnCount(2);
    build();
}

void tcGenICamModel::build()
{
    if (!mpNodeMap || !mpNodeMap->_Ptr)
        return;
    try
    {
        CCategoryPtr lpRoot = mpNodeMap->_GetNode("Root");
        if (!lpRoot.IsValid())
            return;
        FeatureList_t lcFeatures;
        lpRoot->GetFeatures(lcFeatures);
        for (IValue* lpFeature : lcFeatures)
        {
            CCategoryPtr lpCategory(lpFeature);
            if (lpCategory.IsValid())
                addCategory(lpCategory);
        }
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
    }
}

void tcGenICamModel::addCategory(CCategoryPtr apCategory)
{
    auto* lpCategoryItem = new QStandardItem(fromGc(apCategory->ToString(false, false)));
    lpCategoryItem->setCheckable(false);
    FeatureList_t lcFeatures;
    apCategory->GetFeatures(lcFeatures);
    for (IValue* lpFeature : lcFeatures)
        lpCategoryItem->appendRow(featureRow(lpFeature->GetNode()));
    appendRow(lpCategoryItem);
}

QList<QStandardItem*> tcGenICamModel::featureRow(INode* apNode) const
{
    auto* lpName = new QStandardItem(fromGc(apNode->GetName(false)));
    lpName->setCheckable(false);
    lpName->setData(QVariant::fromValue(CNodePtr(apNode)), gnNodeRole);
    auto* lpValue = new QStandardItem(buildTimeText(apNode));
    return {lpName, lpValue};
}

// One unreadable feature must not cost the rest of the tree: a failed read
// shows its reason in place of the value.
QString tcGenICamModel::buildTimeText(INode* apNode)
{
    try
    {
        return tcGenICamIface::getAttrValueText(CNodePtr(apNode));
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
        return QStringLiteral("<%1>").arg(QString::fromLocal8Bit(arError.GetDescription()));
    }
}

CNodePtr tcGenICamModel::nodeOf(const QModelIndex& arIndex) const
{
    if (!arIndex.isValid())
        return CNodePtr();
    const QStandardItem* lpNameItem = itemFromIndex(arIndex.sibling(arIndex.row(), 0));
    if (!lpNameItem)
        return CNodePtr();
    return lpNameItem->data(gnNodeRole).value<CNodePtr>();
}

QVariant tcGenICamModel::data(const QModelIndex& arIndex, int anRole) const
{
    if (!arIndex.isValid())
        return QVariant();
    if (arIndex.column() == 0)
        return anRole == Qt::DisplayRole ? QStandardItemModel::data(arIndex, anRole) : QVariant();

    QVariant lcResult;
    const CNodePtr lpNode = nodeOf(arIndex);
    if (lpNode.IsValid())
        lcResult = liveData(lpNode, arIndex, anRole);
    if (lcResult.isNull())
        lcResult = QStandardItemModel::data(arIndex, anRole);
    trace("tcGenICamModel::data", arIndex, "rv=", anRole, lcResult);
    return lcResult;
}

QVariant tcGenICamModel::liveData(INode* apNode, const QModelIndex& arIndex, int anRole) const
{
    Q_UNUSED(arIndex);
    try
    {
        switch (anRole)
        {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return tcGenICamIface::data(CNodePtr(apNode));
        case Qt::ToolTipRole:
        {
            const QString lsTip = fromGc(apNode->GetToolTip());
            return lsTip.isEmpty() ? QVariant() : QVariant(lsTip);
        }
        default:
            return QVariant();
        }
    }
    catch (const GenICam::GenericException& arError)
    {
        // A read that fails (device gone, formula error) shows the text the
        // tree was built with; it must never reach the event loop.
        if (!msFailedNodes.contains(apNode))
        {
            msFailedNodes.insert(apNode);
            tcGenICamIface::warn(arError);
        }
        return QVariant();
    }
}

Qt::ItemFlags tcGenICamModel::flags(const QModelIndex& arIndex) const
{
    if (!arIndex.isValid())
        return Qt::NoItemFlags;
    if (arIndex.column() == gnValueColumn)
        return Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

bool tcGenICamModel::setData(const QModelIndex& arIndex, const QVariant& arValue, int anRole)
{
    if (!arIndex.isValid())
        return false;
    trace("tcGenICamModel::setData", arIndex, "value=", anRole, arValue);
    try
    {
        const CNodePtr lpNode = arIndex.column() == gnValueColumn ? nodeOf(arIndex) : CNodePtr();
        if (!lpNode.IsValid())
            return QStandardItemModel::setData(arIndex, arValue, anRole);
        // The outcome of the write is not reported: the next read of the
        // value shows what the camera really took.
        if (anRole == Qt::EditRole)
            tcGenICamIface::setData(lpNode, arValue);
        msFailedNodes.remove(lpNode);
        return true;
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
        return false;
    }
}

void tcGenICamModel::trace(const char* apWhere, const QModelIndex& arIndex, const char* apLabel, int anRole,
                           const QVariant& arValue) const
{
    const int lnLevel = GetDbgLevel();
    if (lnLevel < 1 || (lnLevel < 2 && !arValue.isValid()))
        return;
    const QStandardItem* lpItem = itemFromIndex(arIndex);
    qDebug().noquote() << apWhere << "[" << getName() << (arValue.isValid() ? 1 : 2) << "]" << arIndex.row()
                       << arIndex.column() << (lpItem ? lpItem->text() : QStringLiteral("NULL"))
                       << "role=" << anRole << apLabel << arValue;
}
