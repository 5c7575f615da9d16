#include "recentdevices.h"

#include <QAction>
#include <QMenu>
#include <QSettings>

tcRecentDevices::tcRecentDevices(QMenu* apMenu) : QObject(apMenu), mpMenu(apMenu) {}

QString tcRecentDevices::encode(int anInterfaceIndex, const QString& arDeviceId)
{
    return QStringLiteral("%1,%2").arg(anInterfaceIndex).arg(arDeviceId);
}

void tcRecentDevices::load(QSettings& arSettings)
{
    const int lnCount = arSettings.beginReadArray(QStringLiteral("mru"));
    for (int lnEntry = 0; lnEntry < lnCount; ++lnEntry)
    {
        arSettings.setArrayIndex(lnEntry);
        add(arSettings.value(QStringLiteral("name")).toString(),
            arSettings.value(QStringLiteral("camera")).toString(),
            arSettings.value(QStringLiteral("tooltip")).toString());
    }
    arSettings.endArray();
}

void tcRecentDevices::save(QSettings& arSettings) const
{
    arSettings.remove(QStringLiteral("mru"));
    arSettings.beginWriteArray(QStringLiteral("mru"), mlActions.size());
    for (int lnEntry = 0; lnEntry < mlActions.size(); ++lnEntry)
    {
        const QAction* lpAction = mlActions[lnEntry];
        arSettings.setArrayIndex(lnEntry);
        arSettings.setValue(QStringLiteral("name"), lpAction->text());
        arSettings.setValue(QStringLiteral("tooltip"), lpAction->toolTip());
        arSettings.setValue(QStringLiteral("camera"), lpAction->data());
    }
    arSettings.endArray();
}

QAction* tcRecentDevices::add(const QString& arName, const QString& arEncoded, const QString& arToolTip)
{
    auto* lpAction = new QAction(arName, this);
    lpAction->setData(arEncoded);
    lpAction->setToolTip(arToolTip);
    lpAction->setStatusTip(arToolTip);
    connect(lpAction, &QAction::triggered, this, [this, lpAction] { emit openRequested(lpAction); });
    mlActions << lpAction;
    mpMenu->addAction(lpAction);
    return lpAction;
}

QAction* tcRecentDevices::remember(const QString& arName, int anInterfaceIndex, const QString& arDeviceId,
                                   int anMax)
{
    const QString lsEncoded = encode(anInterfaceIndex, arDeviceId);
    QAction* lpAction = nullptr;
    for (QAction* lpCandidate : mlActions)
        if (lpCandidate->text() == arName)
            lpAction = lpCandidate;
    if (!lpAction)
    {
        lpAction = add(arName, lsEncoded, QString());
        while (mlActions.size() > qMax(anMax, 1))
            delete mlActions.takeFirst();
    }
    const QString lsTip =
        QStringLiteral("%1 ID %2 on interface %3").arg(arName, arDeviceId).arg(anInterfaceIndex);
    lpAction->setToolTip(lsTip);
    lpAction->setStatusTip(lsTip);
    lpAction->setData(lsEncoded);
    return lpAction;
}

// Deleted later: the entry may be the one whose signal is being handled.
void tcRecentDevices::remove(QAction* apAction)
{
    if (!mlActions.removeAll(apAction))
        return;
    mpMenu->removeAction(apAction);
    apAction->deleteLater();
}
