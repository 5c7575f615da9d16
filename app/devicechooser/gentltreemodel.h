#pragma once

#include <QAbstractItemModel>
#include <QList>
#include <QVariant>

#include <cstdint>
#include <memory>

class QLibrary;

// The producer's interfaces and their devices as a two-level tree: one row per
// interface, below it one row per device with its model and serial number.
class GenTLTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit GenTLTreeModel(QObject* apParent = nullptr);
    ~GenTLTreeModel() override;

    void populate(QLibrary* apLibrary, void* apTLHandle);
    void refresh();

    // The position of a device row's interface in the producer's list; 0 for
    // interface rows and invalid indexes.
    int interfaceIndex(const QModelIndex& arIndex) const;

    int rowCount(const QModelIndex& arParent = QModelIndex()) const override;
    int columnCount(const QModelIndex& arParent = QModelIndex()) const override;
    QVariant data(const QModelIndex& arIndex, int anRole = Qt::DisplayRole) const override;
    QVariant headerData(int anSection, Qt::Orientation aeOrientation,
                        int anRole = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& arIndex) const override;
    QModelIndex index(int anRow, int anColumn, const QModelIndex& arParent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& arIndex) const override;

private:
    class tcItem;
    struct tcFunctions;

    bool lookUpFunctions(tcFunctions& arFunctions) const;
    bool updateInterfaceList(const tcFunctions& arFunctions, bool& arChanged) const;
    bool interfaceCount(const tcFunctions& arFunctions, uint32_t& arCount) const;
    void enumerate(const tcFunctions& arFunctions);
    void addInterface(const tcFunctions& arFunctions, int anIndex);
    void addDevices(const tcFunctions& arFunctions, void* apIface, const QString& arIfaceId,
                    tcItem* apIfaceItem, int anIndex);
    bool interfaceChanged(const tcFunctions& arFunctions, int anIndex);
    tcItem* itemOf(const QModelIndex& arIndex) const;
    static std::unique_ptr<tcItem> headerItem();

    std::unique_ptr<tcItem> mpRoot;
    QLibrary* mpLibrary = nullptr;
    void* mpTLHandle = nullptr;
};
