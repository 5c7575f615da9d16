#include "genispinbox.h"

#include "genicamiface.h"

#include <QDebug>
#include <QThread>

using namespace GenApi;

namespace
{
int clampToInt(qint64 anValue)
{
    return static_cast<int>(
        qBound<qint64>(std::numeric_limits<int>::min(), anValue, std::numeric_limits<int>::max()));
}
} // namespace

tcGenISpinBox::tcGenISpinBox(QWidget* apParent)
    : QSpinBox(apParent), tcDebugSource(QStringLiteral("tcGenISpinBox"))
{
    connect(this, &QSpinBox::editingFinished, this, &tcGenISpinBox::updateGenIface);
}

tcGenISpinBox::~tcGenISpinBox() = default;

void tcGenISpinBox::unbind()
{
    // Forgotten before the box is disabled: losing the focus finishes an edit,
    // which must not reach a feature that may be gone.
    mcBinding.bind(nullptr);
    setEnabled(false);
}

void tcGenISpinBox::setNode(INode* apNode)
{
    unbind();
    mcBinding.bind(apNode);
    if (apNode)
        refreshWidget();
}

void tcGenISpinBox::setIValue(IInteger* apValue)
{
    try
    {
        if (apValue && apValue->GetAccessMode() > NA)
        {
            setNode(apValue->GetNode());
            return;
        }
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
        emit Error(QString::fromLocal8Bit(arError.GetDescription()));
    }
    unbind();
}

void tcGenISpinBox::setMinV(int anMin)
{
    mnMinV = anMin;
    refreshWidget();
}

void tcGenISpinBox::setMaxV(int anMax)
{
    mnMaxV = anMax;
    refreshWidget();
}

void tcGenISpinBox::refreshWidget()
{
    const bool lbWasUpdating = mbUpdating;
    mbUpdating = true;
    try
    {
        const CIntegerPtr lpInteger(mcBinding.node());
        if (!IsReadable(lpInteger))
            setEnabled(false);
        else
            loadFromFeature(lpInteger);
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
        emit Error(QString::fromLocal8Bit(arError.GetDescription()));
    }
    mbUpdating = lbWasUpdating;
}

void tcGenISpinBox::loadFromFeature(CIntegerPtr apInteger)
{
    const QString lsName = QString::fromLocal8Bit(mcBinding.node()->GetName().c_str());
    qint64 lnMin = apInteger->GetMin();
    if (lnMin < std::numeric_limits<int>::min())
    {
        qWarning().noquote() << lsName << "Min (" << lnMin << ") is less than edit box allows for.";
        lnMin = mnMinV;
    }
    qint64 lnMax = apInteger->GetMax();
    if (lnMax > std::numeric_limits<int>::max())
    {
        qWarning().noquote() << lsName << "Max" << lnMax << " is greater than edit box allows for.";
        lnMax = mnMaxV;
    }
    setMinimum(clampToInt(lnMin * mnScalar));
    setMaximum(clampToInt(lnMax * mnScalar));
    setSingleStep(clampToInt(apInteger->GetInc()));

    QString lsDescription = QString::fromLocal8Bit(mcBinding.node()->GetDescription().c_str());
    if (lsDescription.isEmpty())
        lsDescription = lsName;
    setToolTip(tr("%1\nRange: %2 - %3").arg(lsDescription).arg(minimum()).arg(maximum()));

    const qint64 lnValue = apInteger->GetValue();
    if (GetDbgLevel() >= 1)
        qDebug().noquote() << "tcGenISpinBox::refreshWidget [" << getName() << 1 << "]" << lsName
                           << "value=" << lnValue;
    setValue(clampToInt(lnValue * mnScalar));
    mcBinding.registerOnce(*this, &tcGenISpinBox::GenApiCallback);
    setEnabled(true);
}

void tcGenISpinBox::updateGenIface()
{
    if (mbUpdating)
        return;
    mbUpdating = true;
    try
    {
        const CIntegerPtr lpInteger(mcBinding.node());
        if (IsWritable(lpInteger))
            writeBack(lpInteger);
    }
    catch (const GenICam::GenericException& arError)
    {
        qWarning().noquote() << "tcGenISpinBox" << objectName() << arError.GetDescription();
        emit Error(QString::fromLocal8Bit(arError.GetDescription()));
    }
    catch (...)
    {
        qWarning() << "Unhandled Execption";
    }
    mbUpdating = false;
}

void tcGenISpinBox::writeBack(CIntegerPtr apInteger)
{
    const int lnValue = value() / mnScalar;
    const int lnSnapped = tcGenICamIface::findClosestInt(lnValue, apInteger);
    if (lnSnapped != lnValue)
        setValue(clampToInt(qint64(lnSnapped) * mnScalar));
    if (apInteger->GetValue() != lnSnapped)
        apInteger->SetValue(lnSnapped, true);
}

void tcGenISpinBox::GenApiCallback(INode* apNode)
{
    if (apNode != mcBinding.node())
    {
        qWarning() << "tcGenISpinBox::GenApiCallback"
                   << "node=" << apNode << "!="
                   << "mcBinding.node()=" << mcBinding.node();
        return;
    }
    // The node map calls back in whichever thread changed the feature; a
    // widget may only be touched in its own.
    if (QThread::currentThread() != thread())
        QMetaObject::invokeMethod(
            this, [this] { refreshWidget(); }, Qt::QueuedConnection);
    else
        refreshWidget();
}
