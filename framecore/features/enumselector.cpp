#include "enumselector.h"

#include <QDebug>

using namespace GenApi;

tcEnumSelector::tcEnumSelector(QWidget* apParent)
    : QComboBox(apParent), tcDebugSource(QStringLiteral("tcEnumSelector"))
{
    setObjectName(QStringLiteral("EnumSelector"));
}

qlonglong tcEnumSelector::value() const
{
    return currentData(Qt::UserRole).toLongLong();
}

void tcEnumSelector::setValue(qlonglong anValue)
{
    // Only an exact match selects; an unknown value leaves nothing selected.
    for (int lnItem = 0; lnItem < count(); ++lnItem)
    {
        if (itemData(lnItem, Qt::UserRole).toLongLong() == anValue)
        {
            setCurrentIndex(lnItem);
            return;
        }
    }
    setCurrentIndex(-1);
}

void tcEnumSelector::populate(CPointer<IEnumeration> apEnumeration)
{
    if (!apEnumeration.IsValid())
        return;
    clear();
    NodeList_t lcEntries;
    apEnumeration->GetEntries(lcEntries);
    int lnIndex = 0;
    for (INode* lpNode : lcEntries)
    {
        CEnumEntryPtr lpEntry(lpNode);
        if (!IsAvailable(lpEntry) || !IsReadable(lpEntry))
            continue;
        const QString lsName = QString::fromLocal8Bit(lpEntry->GetSymbolic().c_str());
        const qlonglong lnValue = lpEntry->GetValue();
        if (GetDbgLevel() >= 1)
            qDebug().noquote() << "tcEnumSelector::populate [" << getName() << 1 << "]"
                               << "Entry" << lnIndex << lsName << lnValue;
        addItem(lsName, lnValue);
        ++lnIndex;
    }
    selectCurrentEntry(apEnumeration);
}

void tcEnumSelector::selectCurrentEntry(CPointer<IEnumeration> apEnumeration)
{
    if (!IsAvailable(apEnumeration) || !IsReadable(apEnumeration))
        return;
    CEnumEntryPtr lpCurrent = apEnumeration->GetCurrentEntry();
    if (IsAvailable(lpCurrent) && IsReadable(lpCurrent))
        setValue(lpCurrent->GetValue());
}
