#include "genicombobox.h"

#include "genicamiface.h"

#include <QDebug>

using namespace GenApi;

tcGenIComboBox::tcGenIComboBox(QWidget* apParent)
    : QComboBox(apParent), tcDebugSource(QStringLiteral("tcGenIComboBox"))
{
    connect(this, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &tcGenIComboBox::updateGenIface);
}

tcGenIComboBox::~tcGenIComboBox()
{
    if (mnCallback)
        Deregister(mnCallback);
}

void tcGenIComboBox::setNode(INode* apNode)
{
    if (mnCallback)
        Deregister(mnCallback);
    mnCallback = 0;
    setEnabled(false);
    mpNode = apNode;
    if (mpNode)
        refreshWidget();
}

void tcGenIComboBox::refreshWidget()
{
    const bool lbWasUpdating = mbUpdating;
    mbUpdating = true;
    try
    {
        const CEnumerationPtr lpEnumeration(mpNode);
        if (IsReadable(lpEnumeration))
        {
            clear();
            addItems(tcGenICamIface::enumStrings(lpEnumeration));
            setCurrentIndex(findText(tcGenICamIface::enumString(lpEnumeration, -1)));
            setEnabled(true);
        }
        else
        {
            setEnabled(false);
        }
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
        emit Error(QString::fromLocal8Bit(arError.GetDescription()));
    }
    mbUpdating = lbWasUpdating;
}

void tcGenIComboBox::updateGenIface(int anIndex)
{
    Q_UNUSED(anIndex);
    if (mbUpdating)
        return;
    mbUpdating = true;
    try
    {
        const CEnumerationPtr lpEnumeration(mpNode);
        if (IsWritable(lpEnumeration))
            lpEnumeration->FromString(gcstring(currentText().toLocal8Bit().constData()), true);
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
        emit Error(QString::fromLocal8Bit(arError.GetDescription()));
    }
    catch (...)
    {
        qWarning() << "Unhandled Execption";
    }
    mbUpdating = false;
}

void tcGenIComboBox::GenApiCallback(INode* apNode)
{
    if (apNode != mpNode)
    {
        qWarning() << "tcGenIComboBox::GenApiCallback"
                   << "node=" << apNode << "!="
                   << "mpNode=" << mpNode;
        return;
    }
    refreshWidget();
}
