#pragma once

#include <QList>
#include <QPointer>

// The objects of a list of weak pointers that still exist, in list order,
// as pointers of the wanted (base) type.
template <typename tResult, typename tObject>
QList<tResult*> liveObjects(const QList<QPointer<tObject>>& alList)
{
    QList<tResult*> llResult;
    for (const QPointer<tObject>& lpObject : alList)
        if (lpObject)
            llResult << lpObject.data();
    return llResult;
}
