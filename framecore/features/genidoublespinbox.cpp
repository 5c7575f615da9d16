#include "genidoublespinbox.h"

#include "genicamiface.h"

#include <QDebug>
#include <QThread>

#include <cmath>

using namespace GenApi;

tcGenIDoubleSpinBox::tcGenIDoubleSpinBox(QWidget* apParent)
    : QDoubleSpinBox(apParent), tcDebugSource(QStringLiteral("tcGenIDoubleSpinBox"))
{
    connect(this, &QDoubleSpinBox::editingFinished, this, &tcGenIDoubleSpinBox::updateGenIface);
}

tcGenIDoubleSpinBox::~tcGenIDoubleSpinBox() = default;

void tcGenIDoubleSpinBox::unbind()
{
    // Forgotten before the box is disabled: losing the focus finishes an edit,
    // which must not reach a feature that may be gone.
    mcBinding.bind(nullptr);
    setEnabled(false);
}

void tcGenIDoubleSpinBox::setNode(INode* apNode)
{
    unbind();
    mcBinding.bind(apNode);
    if (apNode)
        refreshWidget();
}

void tcGenIDoubleSpinBox::setDValue(IFloat* apValue)
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

void tcGenIDoubleSpinBox::refreshWidget()
{
    const bool lbWasUpdating = mbUpdating;
    mbUpdating = true;
    try
    {
        const CFloatPtr lpFloat(mcBinding.node());
        if (!IsReadable(lpFloat))
            setEnabled(false);
        else
            loadFromFeature(lpFloat);
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
        emit Error(QString::fromLocal8Bit(arError.GetDescription()));
    }
    mbUpdating = lbWasUpdating;
}

void tcGenIDoubleSpinBox::loadFromFeature(CFloatPtr apFloat)
{
    setMinimum(apFloat->GetMin() * mdScalar);
    setMaximum(apFloat->GetMax() * mdScalar);

    QString lsDescription = QString::fromLocal8Bit(mcBinding.node()->GetDescription().c_str());
    if (lsDescription.isEmpty())
        lsDescription = QString::fromLocal8Bit(mcBinding.node()->GetName().c_str());
    setToolTip(tr("%1\nRange: %2 - %3")
                   .arg(lsDescription)
                   .arg(QString::number(minimum(), 'g'), QString::number(maximum(), 'g')));

    const double ldValue = apFloat->GetValue();
    if (GetDbgLevel() >= 1)
        qDebug().noquote() << "tcGenIDoubleSpinBox::refreshWidget [" << getName() << 1 << "]"
                           << mcBinding.node()->GetName().c_str() << "value=" << ldValue;
    setValue(ldValue * mdScalar);
    mcBinding.registerOnce(*this, &tcGenIDoubleSpinBox::GenApiCallback);
    setEnabled(true);
}

void tcGenIDoubleSpinBox::updateGenIface()
{
    if (mbUpdating)
        return;
    mbUpdating = true;
    try
    {
        const CFloatPtr lpFloat(mcBinding.node());
        if (IsWritable(lpFloat))
        {
            const double ldValue = value() / mdScalar;
            const double ldCurrent = lpFloat->GetValue();
            if (ldCurrent != ldValue || std::isnan(ldCurrent) || std::isnan(ldValue))
                lpFloat->SetValue(ldValue, true);
        }
    }
    catch (const GenICam::GenericException& arError)
    {
        qWarning().noquote() << "tcGenIDoubleSpinBox" << objectName() << arError.GetDescription();
        emit Error(QString::fromLocal8Bit(arError.GetDescription()));
    }
    catch (...)
    {
        qWarning() << "Unhandled Execption";
    }
    mbUpdating = false;
}

void tcGenIDoubleSpinBox::GenApiCallback(INode* apNode)
{
    if (apNode != mcBinding.node())
    {
        qWarning() << "tcGenIDoubleSpinBox::GenApiCallback"
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
