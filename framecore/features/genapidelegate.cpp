#include "genapidelegate.h"

#include "enumselector.h"
#include "genicamiface.h"
#include "genicammodel.h"

#include <QDebug>
#include <QDoubleSpinBox>
#include <QItemEditorFactory>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <limits>

using namespace GenApi;

namespace
{
// Dynamic properties of editors: the value the editor was loaded with, and
// the byte length of a register editor.
const char* const gpLoadedValue = "kxLoadedValue";
const char* const gpRegisterLength = "kxRegisterLength";

const qint64 gnIntMax = std::numeric_limits<int>::max();
const qint64 gnIntMin = std::numeric_limits<int>::min();

QVariant userValue(const QWidget* apEditor)
{
    const QMetaProperty lcProperty = apEditor->metaObject()->userProperty();
    return lcProperty.isValid() ? lcProperty.read(apEditor) : QVariant();
}

// Display precision of a float feature, kept within what a spin box shows
// sensibly; never fewer decimals than the spin box's own default.
int floatDecimals(CFloatPtr apNode)
{
    return static_cast<int>(qBound<int64_t>(2, apNode->GetDisplayPrecision(), 12));
}
} // namespace

tcGenApiDelegate::tcGenApiDelegate(QSharedPointer<tcGenICamModel> apModel, QObject* apParent)
    : QStyledItemDelegate(apParent), mpModel(std::move(apModel))
{
}

QWidget* tcGenApiDelegate::createEditor(QWidget* apParent, const QStyleOptionViewItem& arOption,
                                        const QModelIndex& arIndex) const
{
    const CNodePtr lpNode = mpModel ? mpModel->nodeOf(arIndex) : CNodePtr();
    if (!lpNode.IsValid())
        return QStyledItemDelegate::createEditor(apParent, arOption, arIndex);
    try
    {
        return editorFor(lpNode, apParent, arOption, arIndex);
    }
    catch (const GenICam::GenericException& arError)
    {
        // Ranges may come from the device; when they cannot be read the
        // feature is simply not edited this time.
        tcGenICamIface::warn(arError);
        return nullptr;
    }
}

QWidget* tcGenApiDelegate::editorFor(INode* apNode, QWidget* apParent, const QStyleOptionViewItem& arOption,
                                     const QModelIndex& arIndex) const
{
    switch (apNode->GetPrincipalInterfaceType())
    {
    case intfIInteger:
        return integerEditor(CIntegerPtr(apNode), apParent);
    case intfIBoolean:
        return booleanEditor(apNode, apParent);
    case intfICommand:
        return commandEditor(CCommandPtr(apNode), apParent);
    case intfIFloat:
        return floatEditor(CFloatPtr(apNode), apParent);
    case intfIString:
        return stringEditor(apNode, apParent);
    case intfIRegister:
        return registerEditor(CRegisterPtr(apNode), apParent);
    case intfIEnumeration:
        return enumerationEditor(CEnumerationPtr(apNode), apParent, arOption, arIndex);
    default:
        return QStyledItemDelegate::createEditor(apParent, arOption, arIndex);
    }
}

QWidget* tcGenApiDelegate::factoryEditor(int anType, QWidget* apParent) const
{
    const QItemEditorFactory* lpFactory = itemEditorFactory();
    if (!lpFactory)
        lpFactory = QItemEditorFactory::defaultFactory();
    return lpFactory->createEditor(anType, apParent);
}

QWidget* tcGenApiDelegate::integerEditor(CIntegerPtr apNode, QWidget* apParent) const
{
    auto* lpSpin = new QSpinBox(apParent);
    if (!IsWritable(apNode))
    {
        lpSpin->setEnabled(false);
        return lpSpin;
    }
    qint64 lnMax = apNode->GetMax();
    if (lnMax > gnIntMax)
    {
        qWarning() << "Limit is larger than edit box allows for.";
        lnMax = gnIntMax;
    }
    // A minimum below the spin box's range would wrap around; it is clamped.
    const qint64 lnMin = qMax<qint64>(apNode->GetMin(), gnIntMin);
    lpSpin->setRange(static_cast<int>(lnMin), static_cast<int>(lnMax));
    lpSpin->setSingleStep(static_cast<int>(qBound<qint64>(1, apNode->GetInc(), gnIntMax)));
    connect(lpSpin, &QSpinBox::editingFinished, this, &tcGenApiDelegate::commitAndCloseEditor);
    return lpSpin;
}

QWidget* tcGenApiDelegate::booleanEditor(INode* apNode, QWidget* apParent) const
{
    QWidget* lpEditor = factoryEditor(QVariant::Bool, apParent);
    if (!IsWritable(apNode->GetAccessMode()))
        lpEditor->setEnabled(false);
    else if (auto* lpCombo = qobject_cast<QComboBox*>(lpEditor))
        connect(lpCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                &tcGenApiDelegate::commitAndCloseEditor);
    return lpEditor;
}

QWidget* tcGenApiDelegate::commandEditor(CCommandPtr apNode, QWidget* apParent) const
{
    auto* lpButton = new QPushButton(tr("Execute"), apParent);
    lpButton->setProperty("node", QVariant::fromValue(apNode));
    if (apNode->GetAccessMode() > NA)
        connect(lpButton, &QPushButton::clicked, this, &tcGenApiDelegate::execGenApiCommand);
    else
        lpButton->setEnabled(false);
    return lpButton;
}

QWidget* tcGenApiDelegate::floatEditor(CFloatPtr apNode, QWidget* apParent) const
{
    QWidget* lpEditor = factoryEditor(QVariant::Double, apParent);
    auto* lpSpin = qobject_cast<QDoubleSpinBox*>(lpEditor);
    if (lpSpin && IsWritable(apNode))
    {
        lpSpin->setDecimals(floatDecimals(apNode));
        lpSpin->setRange(static_cast<double>(static_cast<float>(apNode->GetMin())),
                         static_cast<double>(static_cast<float>(apNode->GetMax())));
    }
    return lpEditor;
}

QWidget* tcGenApiDelegate::stringEditor(INode* apNode, QWidget* apParent) const
{
    QWidget* lpEditor = factoryEditor(QVariant::String, apParent);
    lpEditor->setEnabled(IsWritable(apNode->GetAccessMode()));
    return lpEditor;
}

QWidget* tcGenApiDelegate::registerEditor(CRegisterPtr apNode, QWidget* apParent) const
{
    QWidget* lpEditor = factoryEditor(QVariant::String, apParent);
    if (!IsWritable(apNode))
    {
        lpEditor->setEnabled(false);
        return lpEditor;
    }
    if (auto* lpLine = qobject_cast<QLineEdit*>(lpEditor))
    {
        const int lnLength = static_cast<int>(apNode->GetLength());
        lpLine->setInputMask(QStringLiteral("HH").repeated(lnLength));
        lpLine->setProperty(gpRegisterLength, lnLength);
    }
    return lpEditor;
}

QWidget* tcGenApiDelegate::enumerationEditor(CEnumerationPtr apNode, QWidget* apParent,
                                             const QStyleOptionViewItem& arOption,
                                             const QModelIndex& arIndex) const
{
    if (!IsWritable(apNode))
        return QStyledItemDelegate::createEditor(apParent, arOption, arIndex);
    auto* lpSelector = new tcEnumSelector(apParent);
    lpSelector->populate(apNode);
    connect(lpSelector, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &tcGenApiDelegate::commitAndCloseEditor);
    return lpSelector;
}

void tcGenApiDelegate::setEditorData(QWidget* apEditor, const QModelIndex& arIndex) const
{
    // Loading an editor is not an edit: without the blocker a boolean or an
    // enumeration editor would commit and close the moment it opened.
    const QSignalBlocker lcBlocker(apEditor);
    const QVariant lcLength = apEditor->property(gpRegisterLength);
    if (lcLength.isValid())
    {
        // Registers are shown as hexadecimal digits, matching the input mask.
        const QVariant lcValue = arIndex.data(Qt::EditRole);
        if (auto* lpLine = qobject_cast<QLineEdit*>(apEditor))
            lpLine->setText(lcValue.isValid()
                                ? QStringLiteral("%1").arg(lcValue.toULongLong(), lcLength.toInt() * 2, 16,
                                                           QLatin1Char('0'))
                                : QString());
    }
    else if (!qobject_cast<QPushButton*>(apEditor))
    {
        QStyledItemDelegate::setEditorData(apEditor, arIndex);
    }
    apEditor->setProperty(gpLoadedValue, userValue(apEditor));
}

void tcGenApiDelegate::setModelData(QWidget* apEditor, QAbstractItemModel* apModel,
                                    const QModelIndex& arIndex) const
{
    // A command button has nothing to commit, and an editor the user did not
    // change must not write back (a rounded or clamped display would).
    if (qobject_cast<QPushButton*>(apEditor) || !apEditor->isEnabled())
        return;
    if (userValue(apEditor) == apEditor->property(gpLoadedValue))
        return;
    const QVariant lcLength = apEditor->property(gpRegisterLength);
    if (lcLength.isValid())
    {
        bool lbOk = false;
        const qulonglong lnValue = qobject_cast<QLineEdit*>(apEditor)->text().toULongLong(&lbOk, 16);
        if (lbOk)
            apModel->setData(arIndex, QVariant(lnValue), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(apEditor, apModel, arIndex);
}

void tcGenApiDelegate::commitAndCloseEditor()
{
    auto* lpEditor = qobject_cast<QWidget*>(sender());
    if (!lpEditor)
        return;
    if (auto* lpSpin = qobject_cast<QSpinBox*>(lpEditor))
    {
        // Snap down onto the step grid that starts at the minimum.
        const qint64 lnStep = lpSpin->singleStep() > 0 ? lpSpin->singleStep() : 1;
        const qint64 lnOffset = qint64(lpSpin->value()) - lpSpin->minimum();
        const qint64 lnSnapped = lpSpin->minimum() + lnOffset - lnOffset % lnStep;
        if (lnSnapped != lpSpin->value())
            lpSpin->setValue(static_cast<int>(lnSnapped));
    }
    emit commitData(lpEditor);
    emit closeEditor(lpEditor, QAbstractItemDelegate::NoHint);
}

void tcGenApiDelegate::execGenApiCommand()
{
    const QObject* lpButton = sender();
    if (!lpButton)
        return;
    const CCommandPtr lpCommand = lpButton->property("node").value<CCommandPtr>();
    try
    {
        if (lpCommand.IsValid() && lpCommand->GetAccessMode() > NA)
            lpCommand->Execute(true);
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
    }
}

void tcGenApiDelegate::initStyleOption(QStyleOptionViewItem* apOption, const QModelIndex& arIndex) const
{
    QStyledItemDelegate::initStyleOption(apOption, arIndex);
    apOption->features &= ~QStyleOptionViewItem::HasCheckIndicator;
}

// The display value is read from the camera once per paint, by the base
// class; its text is the plain conversion, not a locale-formatted number.
QString tcGenApiDelegate::displayText(const QVariant& arValue, const QLocale& arLocale) const
{
    Q_UNUSED(arLocale);
    return arValue.toString();
}
