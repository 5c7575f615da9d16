#include "gentltreemodel.h"

#include <GenTL/GenTL.h>

#include <QDebug>
#include <QLibrary>

#include <array>
#include <vector>

using namespace GenTL;

namespace
{
constexpr size_t kIdSize = 256;
constexpr uint64_t kUpdateTimeout = 5000;

QString textOf(const std::array<char, kIdSize>& arBuffer)
{
    return QString::fromLatin1(arBuffer.data(), static_cast<int>(qstrnlen(arBuffer.data(), arBuffer.size())));
}
} // namespace

// One row of the tree; it owns its children.
class GenTLTreeModel::tcItem
{
public:
    tcItem(QList<QVariant> acValues, tcItem* apParent, int anInterfaceIndex = 0)
        : mcValues(std::move(acValues)), mpParent(apParent), mnInterfaceIndex(anInterfaceIndex)
    {
    }

    tcItem* append(QList<QVariant> acValues, int anInterfaceIndex = 0)
    {
        mcChildren.push_back(std::make_unique<tcItem>(std::move(acValues), this, anInterfaceIndex));
        return mcChildren.back().get();
    }

    int childCount() const { return static_cast<int>(mcChildren.size()); }
    tcItem* child(int anRow) const
    {
        return anRow >= 0 && anRow < childCount() ? mcChildren[static_cast<size_t>(anRow)].get() : nullptr;
    }
    int row() const
    {
        if (!mpParent)
            return 0;
        for (int i = 0; i < mpParent->childCount(); ++i)
            if (mpParent->child(i) == this)
                return i;
        return 0;
    }
    int columnCount() const { return mcValues.size(); }
    QVariant value(int anColumn) const { return mcValues.value(anColumn); }
    tcItem* parent() const { return mpParent; }
    int interfaceIndex() const { return mnInterfaceIndex; }

private:
    QList<QVariant> mcValues;
    std::vector<std::unique_ptr<tcItem>> mcChildren;
    tcItem* mpParent;
    int mnInterfaceIndex;
};

// The nine producer functions the tree needs, looked up by name each time so
// that the tree works with any loaded library.
struct GenTLTreeModel::tcFunctions
{
    PTLUpdateInterfaceList TLUpdateInterfaceList = nullptr;
    PTLGetNumInterfaces TLGetNumInterfaces = nullptr;
    PTLGetInterfaceID TLGetInterfaceID = nullptr;
    PTLOpenInterface TLOpenInterface = nullptr;
    PIFClose IFClose = nullptr;
    PIFUpdateDeviceList IFUpdateDeviceList = nullptr;
    PIFGetNumDevices IFGetNumDevices = nullptr;
    PIFGetDeviceID IFGetDeviceID = nullptr;
    PIFGetDeviceInfo IFGetDeviceInfo = nullptr;
};

GenTLTreeModel::GenTLTreeModel(QObject* apParent) : QAbstractItemModel(apParent), mpRoot(headerItem()) {}

GenTLTreeModel::~GenTLTreeModel() = default;

std::unique_ptr<GenTLTreeModel::tcItem> GenTLTreeModel::headerItem()
{
    return std::make_unique<tcItem>(QList<QVariant>{tr("Interface"), tr("Model"), tr("Serial Number")},
                                    nullptr);
}

bool GenTLTreeModel::lookUpFunctions(tcFunctions& arFunctions) const
{
    if (!mpLibrary)
        return false;
    const auto lookUp = [this](auto& arSlot, const char* apName)
    {
        arSlot = reinterpret_cast<std::remove_reference_t<decltype(arSlot)>>(mpLibrary->resolve(apName));
        if (!arSlot)
            qWarning() << "unable to resolve" << apName;
        return arSlot != nullptr;
    };
    return lookUp(arFunctions.TLUpdateInterfaceList, "TLUpdateInterfaceList") &&
           lookUp(arFunctions.TLGetNumInterfaces, "TLGetNumInterfaces") &&
           lookUp(arFunctions.TLGetInterfaceID, "TLGetInterfaceID") &&
           lookUp(arFunctions.TLOpenInterface, "TLOpenInterface") && lookUp(arFunctions.IFClose, "IFClose") &&
           lookUp(arFunctions.IFUpdateDeviceList, "IFUpdateDeviceList") &&
           lookUp(arFunctions.IFGetNumDevices, "IFGetNumDevices") &&
           lookUp(arFunctions.IFGetDeviceID, "IFGetDeviceID") &&
           lookUp(arFunctions.IFGetDeviceInfo, "IFGetDeviceInfo");
}

void GenTLTreeModel::populate(QLibrary* apLibrary, void* apTLHandle)
{
    beginResetModel();
    mpLibrary = apLibrary;
    mpTLHandle = apTLHandle;
    mpRoot = headerItem();
    tcFunctions lcFunctions;
    if (lookUpFunctions(lcFunctions))
        enumerate(lcFunctions);
    endResetModel();
}

bool GenTLTreeModel::updateInterfaceList(const tcFunctions& arFunctions, bool& arChanged) const
{
    bool8_t lbChanged = 0;
    if (arFunctions.TLUpdateInterfaceList(mpTLHandle, &lbChanged, kUpdateTimeout) != GC_ERR_SUCCESS)
    {
        qWarning("Error on TLUpdateInterfaceList");
        return false;
    }
    arChanged = lbChanged != 0;
    return true;
}

bool GenTLTreeModel::interfaceCount(const tcFunctions& arFunctions, uint32_t& arCount) const
{
    if (arFunctions.TLGetNumInterfaces(mpTLHandle, &arCount) != GC_ERR_SUCCESS)
    {
        qWarning("Error on TLGetNumInterfaces");
        return false;
    }
    return true;
}

void GenTLTreeModel::enumerate(const tcFunctions& arFunctions)
{
    bool lbChanged = false;
    uint32_t lnCount = 0;
    if (!updateInterfaceList(arFunctions, lbChanged) || !interfaceCount(arFunctions, lnCount))
        return;
    for (uint32_t i = 0; i < lnCount; ++i)
        addInterface(arFunctions, static_cast<int>(i));
}

void GenTLTreeModel::addInterface(const tcFunctions& arFunctions, int anIndex)
{
    std::array<char, kIdSize> lcId{};
    size_t lnSize = lcId.size();
    arFunctions.TLGetInterfaceID(mpTLHandle, static_cast<uint32_t>(anIndex), lcId.data(), &lnSize);
    const QString lsId = textOf(lcId);
    tcItem* lpItem = mpRoot->append({lsId, QString(), QString()});

    IF_HANDLE lpIface = nullptr;
    const GC_ERROR lnOpen = arFunctions.TLOpenInterface(mpTLHandle, lcId.data(), &lpIface);
    if (lnOpen != GC_ERR_SUCCESS)
    {
        qWarning().noquote() << tr("Unable to open interface %1:%2").arg(lsId).arg(lnOpen);
        return;
    }
    addDevices(arFunctions, lpIface, lsId, lpItem, anIndex);
    // Every interface opened here is closed again, whatever happened to its devices.
    arFunctions.IFClose(lpIface);
}

void GenTLTreeModel::addDevices(const tcFunctions& arFunctions, void* apIface, const QString& arIfaceId,
                                tcItem* apIfaceItem, int anIndex)
{
    bool8_t lbChanged = 0;
    GC_ERROR lnResult = arFunctions.IFUpdateDeviceList(apIface, &lbChanged, kUpdateTimeout);
    if (lnResult != GC_ERR_SUCCESS)
    {
        qWarning().noquote() << tr("Unable to update device list %1:%2").arg(arIfaceId).arg(lnResult);
        return;
    }
    uint32_t lnDevices = 0;
    lnResult = arFunctions.IFGetNumDevices(apIface, &lnDevices);
    if (lnResult != GC_ERR_SUCCESS)
    {
        qWarning().noquote() << tr("Unable to get number of devices %1:%2").arg(arIfaceId).arg(lnResult);
        return;
    }
    for (uint32_t j = 0; j < lnDevices; ++j)
    {
        std::array<char, kIdSize> lcDeviceId{};
        size_t lnSize = lcDeviceId.size();
        lnResult = arFunctions.IFGetDeviceID(apIface, j, lcDeviceId.data(), &lnSize);
        if (lnResult != GC_ERR_SUCCESS)
        {
            qWarning().noquote() << tr("Unable to get device ID %1:%2").arg(j).arg(lnResult);
            continue;
        }
        QList<QVariant> lcRow{textOf(lcDeviceId)};
        for (DEVICE_INFO_CMD lnCommand : {DEVICE_INFO_MODEL, DEVICE_INFO_SERIAL_NUMBER})
        {
            std::array<char, kIdSize> lcInfo{};
            INFO_DATATYPE lnType = INFO_DATATYPE_UNKNOWN;
            lnSize = lcInfo.size();
            lnResult = arFunctions.IFGetDeviceInfo(apIface, lcDeviceId.data(), lnCommand, &lnType,
                                                   lcInfo.data(), &lnSize);
            lcRow << (lnResult == GC_ERR_SUCCESS ? textOf(lcInfo) : QStringLiteral("Err:%1").arg(lnResult));
        }
        apIfaceItem->append(lcRow, anIndex);
    }
}

void GenTLTreeModel::refresh()
{
    tcFunctions lcFunctions;
    if (!lookUpFunctions(lcFunctions))
        return;
    bool lbChanged = false;
    if (!updateInterfaceList(lcFunctions, lbChanged))
        return;
    if (lbChanged)
    {
        populate(mpLibrary, mpTLHandle);
        return;
    }
    uint32_t lnCount = 0;
    if (!interfaceCount(lcFunctions, lnCount))
        return;
    for (uint32_t i = 0; i < lnCount; ++i)
    {
        if (interfaceChanged(lcFunctions, static_cast<int>(i)))
        {
            populate(mpLibrary, mpTLHandle);
            return;
        }
    }
}

// Opens the interface just long enough to ask whether its device list changed.
bool GenTLTreeModel::interfaceChanged(const tcFunctions& arFunctions, int anIndex)
{
    std::array<char, kIdSize> lcId{};
    size_t lnSize = lcId.size();
    arFunctions.TLGetInterfaceID(mpTLHandle, static_cast<uint32_t>(anIndex), lcId.data(), &lnSize);
    const QString lsId = textOf(lcId);
    IF_HANDLE lpIface = nullptr;
    const GC_ERROR lnOpen = arFunctions.TLOpenInterface(mpTLHandle, lcId.data(), &lpIface);
    if (lnOpen != GC_ERR_SUCCESS)
    {
        qWarning().noquote() << tr("Unable to open interface %1:%2").arg(lsId).arg(lnOpen);
        return false;
    }
    bool8_t lbChanged = 0;
    const GC_ERROR lnUpdate = arFunctions.IFUpdateDeviceList(lpIface, &lbChanged, kUpdateTimeout);
    if (lnUpdate != GC_ERR_SUCCESS)
        qWarning().noquote() << tr("Unable to update device list %1:%2").arg(lsId).arg(lnUpdate);
    arFunctions.IFClose(lpIface);
    return lnUpdate == GC_ERR_SUCCESS && lbChanged;
}

GenTLTreeModel::tcItem* GenTLTreeModel::itemOf(const QModelIndex& arIndex) const
{
    return arIndex.isValid() ? static_cast<tcItem*>(arIndex.internalPointer()) : mpRoot.get();
}

int GenTLTreeModel::interfaceIndex(const QModelIndex& arIndex) const
{
    return arIndex.isValid() ? itemOf(arIndex)->interfaceIndex() : 0;
}

int GenTLTreeModel::rowCount(const QModelIndex& arParent) const
{
    if (arParent.column() > 0)
        return 0;
    return itemOf(arParent)->childCount();
}

int GenTLTreeModel::columnCount(const QModelIndex& arParent) const
{
    return itemOf(arParent)->columnCount();
}

QVariant GenTLTreeModel::data(const QModelIndex& arIndex, int anRole) const
{
    if (!arIndex.isValid() || anRole != Qt::DisplayRole)
        return QVariant();
    return itemOf(arIndex)->value(arIndex.column());
}

QVariant GenTLTreeModel::headerData(int anSection, Qt::Orientation aeOrientation, int anRole) const
{
    if (aeOrientation == Qt::Horizontal && anRole == Qt::DisplayRole)
        return mpRoot->value(anSection);
    return QVariant();
}

Qt::ItemFlags GenTLTreeModel::flags(const QModelIndex& arIndex) const
{
    if (!arIndex.isValid())
        return Qt::NoItemFlags;
    return QAbstractItemModel::flags(arIndex);
}

QModelIndex GenTLTreeModel::index(int anRow, int anColumn, const QModelIndex& arParent) const
{
    if (!hasIndex(anRow, anColumn, arParent))
        return QModelIndex();
    tcItem* lpChild = itemOf(arParent)->child(anRow);
    return lpChild ? createIndex(anRow, anColumn, lpChild) : QModelIndex();
}

QModelIndex GenTLTreeModel::parent(const QModelIndex& arIndex) const
{
    if (!arIndex.isValid())
        return QModelIndex();
    tcItem* lpParent = itemOf(arIndex)->parent();
    if (!lpParent || lpParent == mpRoot.get())
        return QModelIndex();
    return createIndex(lpParent->row(), 0, lpParent);
}
