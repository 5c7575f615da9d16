#pragma once

#include <QList>
#include <QString>

struct GenAPIFuncs;

// One device as the producer lists it; the index counts devices across all
// interfaces, in the order they are listed.
struct tcListedDevice
{
    int mnIndex = 0;
    int mnInterfaceIndex = 0;
    QString msInterfaceId;
    QString msId;
    QString msModel;
    QString msSerial;
};

struct tcListedInterface
{
    int mnIndex = 0;
    QString msId;
    QString msError;
    QList<tcListedDevice> mcDevices;
};

// The interfaces and devices of an initialised producer. Every interface is
// opened only for the listing and closed again, so that the device can then
// be opened the ordinary way.
class tcDeviceList
{
public:
    tcDeviceList(const GenAPIFuncs& arFunctions, void* apTLHandle);

    const QList<tcListedInterface>& interfaces() const { return mcInterfaces; }
    QList<tcListedDevice> devices() const;
    // The listing as kestrix-run --list prints it.
    QString text() const;

    // The device the options ask for; null with a reason when there is none.
    // An interface may be given by its id or by its index.
    const tcListedDevice* find(const QString& arInterface, const QString& arDeviceId, QString& arError) const;
    const tcListedDevice* byIndex(int anIndex, QString& arError) const;
    const tcListedDevice* first(QString& arError) const;

private:
    void addInterface(const GenAPIFuncs& arFunctions, void* apTLHandle, int anIndex);
    void addDevices(const GenAPIFuncs& arFunctions, void* apIface, tcListedInterface& arInterface);
    const tcListedInterface* interfaceNamed(const QString& arInterface) const;

    QList<tcListedInterface> mcInterfaces;
    int mnDeviceCount = 0;
};
