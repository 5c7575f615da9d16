#include "genicamiface.h"

#include <QDebug>

#include <cstring>

using namespace GenApi;

tcGenICamIface::tcGenICamIface(CNodeMapRef* apNodeMap, QObject* apParent)
    : QObject(apParent), tcDebugSource(QStringLiteral("GenICam")), mpNodeMap(apNodeMap)
{
}

tcGenICamIface::~tcGenICamIface() = default;

CNodePtr tcGenICamIface::getNode(const QString& arName) const
{
    return mpNodeMap->_GetNode(gcstring(arName.toLocal8Bit().constData()));
}

QVariant tcGenICamIface::data(const QString& arName) const
{
    return data(getNode(arName));
}

QVariant tcGenICamIface::data(CPointer<INode> apNode)
{
    if (!IsReadable(apNode))
        return QVariant();
    switch (apNode->GetPrincipalInterfaceType())
    {
    case intfIInteger:
        return QVariant(static_cast<qlonglong>(CIntegerPtr(apNode)->GetValue()));
    case intfIBoolean:
        return QVariant(CBooleanPtr(apNode)->GetValue());
    case intfIFloat:
        return QVariant(CFloatPtr(apNode)->GetValue());
    case intfIString:
        return QVariant(QString::fromLocal8Bit(CStringPtr(apNode)->GetValue().c_str()));
    case intfIRegister:
        return registerData(CRegisterPtr(apNode));
    case intfIEnumeration:
        return QVariant(QString::fromLocal8Bit(CEnumerationPtr(apNode)->ToString().c_str()));
    default:
        return QVariant();
    }
}

// Registers of 1, 2, 4 and 8 bytes read as unsigned numbers in host order.
QVariant tcGenICamIface::registerData(CRegisterPtr apRegister)
{
    const int64_t lnLength = apRegister->GetLength();
    if (lnLength != 1 && lnLength != 2 && lnLength != 4 && lnLength != 8)
        return QVariant();
    uint8_t lcBytes[8] = {};
    apRegister->Get(lcBytes, lnLength);
    quint64 lnValue = 0;
    std::memcpy(&lnValue, lcBytes, static_cast<size_t>(lnLength));
    if (lnLength <= 2)
        return QVariant(static_cast<int>(lnValue));
    if (lnLength == 4)
        return QVariant(static_cast<uint>(lnValue));
    return QVariant(static_cast<qulonglong>(lnValue));
}

bool tcGenICamIface::setData(CPointer<INode> apNode, const QVariant& arValue)
{
    if (!IsWritable(apNode))
        return false;
    switch (apNode->GetPrincipalInterfaceType())
    {
    case intfIInteger:
        CIntegerPtr(apNode)->SetValue(arValue.toInt(), true);
        return true;
    case intfIBoolean:
        CBooleanPtr(apNode)->SetValue(arValue.toBool(), true);
        return true;
    case intfIFloat:
        CFloatPtr(apNode)->SetValue(static_cast<double>(arValue.toFloat()), true);
        return true;
    case intfIString:
        CStringPtr(apNode)->SetValue(gcstring(arValue.toString().toLocal8Bit().constData()), true);
        return true;
    case intfIEnumeration:
    {
        bool lbIsInt = false;
        const int lnValue = arValue.toInt(&lbIsInt);
        if (lbIsInt)
            CEnumerationPtr(apNode)->SetIntValue(lnValue, true);
        else
            CEnumerationPtr(apNode)->FromString(gcstring(arValue.toString().toLocal8Bit().constData()), true);
        return true;
    }
    case intfIRegister:
        return setRegisterData(CRegisterPtr(apNode), arValue);
    default:
        return false;
    }
}

// A register write is made only when the value converts; the result stays
// false either way, as callers rely on.
bool tcGenICamIface::setRegisterData(CRegisterPtr apRegister, const QVariant& arValue)
{
    const int64_t lnLength = apRegister->GetLength();
    bool lbConverted = false;
    quint64 lnValue = 0;
    if (lnLength == 1 || lnLength == 2 || lnLength == 4)
        lnValue = arValue.toUInt(&lbConverted);
    else if (lnLength == 8)
        lnValue = arValue.toULongLong(&lbConverted);
    if (lbConverted)
    {
        uint8_t lcBytes[8] = {};
        std::memcpy(lcBytes, &lnValue, static_cast<size_t>(lnLength));
        apRegister->Set(lcBytes, lnLength, true);
    }
    return false;
}

QString tcGenICamIface::enumString(CPointer<IEnumeration> apNode, qint64 anValue)
{
    if (!IsReadable(apNode))
        return QString();
    const int64_t lnValue = anValue == -1 ? apNode->GetIntValue() : anValue;
    NodeList_t lcEntries;
    apNode->GetEntries(lcEntries);
    for (INode* lpNode : lcEntries)
    {
        CEnumEntryPtr lpEntry(lpNode);
        if (IsReadable(lpEntry) && lpEntry->GetValue() == lnValue)
            return QString::fromLocal8Bit(lpEntry->GetSymbolic().c_str());
    }
    return QString();
}

QStringList tcGenICamIface::enumStrings(CPointer<IEnumeration> apNode)
{
    QStringList lsNames;
    NodeList_t lcEntries;
    apNode->GetEntries(lcEntries);
    for (INode* lpNode : lcEntries)
    {
        CEnumEntryPtr lpEntry(lpNode);
        if (IsReadable(lpEntry))
            lsNames << QString::fromLocal8Bit(lpEntry->GetSymbolic().c_str());
    }
    return lsNames;
}

int tcGenICamIface::findClosestInt(int anValue, CPointer<IInteger> apNode)
{
    const int lnMin = static_cast<int>(apNode->GetMin());
    const int lnMax = static_cast<int>(apNode->GetMax());
    int lnInc = static_cast<int>(apNode->GetInc());
    if (lnInc < 1)
        lnInc = 1;
    const int lnValue = qBound(lnMin, anValue, lnMax);
    return lnValue - (lnValue - lnMin) % lnInc;
}

QString tcGenICamIface::getAttrValueText(CPointer<INode> apNode)
{
    if (!apNode.IsValid())
        return QStringLiteral("<Not Implemented>");
    const EAccessMode leMode = apNode->GetAccessMode();
    if (leMode == NI)
        return QStringLiteral("<Not Implemented>");
    if (leMode == NA)
        return QStringLiteral("<Not Available>");
    if (!IsReadable(leMode))
        return QStringLiteral("<Not Readable>");

    const EInterfaceType leType = apNode->GetPrincipalInterfaceType();
    switch (leType)
    {
    case intfIValue:
        return QStringLiteral("<interface>");
    case intfIBase:
        return QStringLiteral("<base>");
    case intfIInteger:
        return QString::number(CIntegerPtr(apNode)->GetValue());
    case intfIBoolean:
        return CBooleanPtr(apNode)->GetValue() ? QStringLiteral("true") : QStringLiteral("false");
    case intfICommand:
        return QStringLiteral("<command>");
    case intfIFloat:
        return QString::number(CFloatPtr(apNode)->GetValue(), 'g', 6);
    case intfIString:
        return QString::fromLocal8Bit(CStringPtr(apNode)->GetValue().c_str());
    case intfIRegister:
        return QStringLiteral("0x%1").arg(data(apNode).toULongLong(), 0, 16);
    case intfICategory:
        return QStringLiteral("<catagory>");
    case intfIEnumeration:
    {
        // The current entry's own name, whatever its numeric value.
        CEnumEntryPtr lpEntry = CEnumerationPtr(apNode)->GetCurrentEntry();
        return lpEntry.IsValid() ? QString::fromLocal8Bit(lpEntry->GetSymbolic().c_str()) : QString();
    }
    case intfIEnumEntry:
        return QStringLiteral("<enum entry>");
    case intfIPort:
        return QStringLiteral("<port>");
    }
    return QStringLiteral("<unkown type %1").arg(static_cast<int>(leType));
}

void tcGenICamIface::warn(const GenICam::GenericException& arError)
{
    qWarning() << arError.GetSourceFileName() << ":" << arError.GetSourceLine() << arError.GetDescription();
}
