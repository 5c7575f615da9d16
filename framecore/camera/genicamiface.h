#pragma once

#include "debugsource.h"
#include "framecore_export.h"

#include <GenApi/GenApi.h>

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

// Looks up the camera's features by name and converts GenApi values to and
// from Qt values; the feature editors, the command handlers and the plugins
// all go through these conversions.
class FRAMECORE_EXPORT tcGenICamIface : public QObject, public tcDebugSource
{
    Q_OBJECT

public:
    tcGenICamIface(GenApi::CNodeMapRef* apNodeMap, QObject* apParent);
    ~tcGenICamIface() override;

    GenApi::CNodePtr getNode(const QString& arName) const;
    QVariant data(const QString& arName) const;

    static QVariant data(GenApi::CPointer<GenApi::INode> apNode);
    static bool setData(GenApi::CPointer<GenApi::INode> apNode, const QVariant& arValue);
    static QString enumString(GenApi::CPointer<GenApi::IEnumeration> apNode, qint64 anValue);
    static QStringList enumStrings(GenApi::CPointer<GenApi::IEnumeration> apNode);
    static int findClosestInt(int anValue, GenApi::CPointer<GenApi::IInteger> apNode);
    static QString getAttrValueText(GenApi::CPointer<GenApi::INode> apNode);

    // Writes a GenICam exception as a warning: source file, ":", line and
    // description, the one form every boundary of the system uses.
    static void warn(const GenICam::GenericException& arError);

private:
    static QVariant registerData(GenApi::CRegisterPtr apRegister);
    static bool setRegisterData(GenApi::CRegisterPtr apRegister, const QVariant& arValue);

    GenApi::CNodeMapRef* mpNodeMap;
};
