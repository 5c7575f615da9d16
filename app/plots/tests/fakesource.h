#pragma once

#include "plotchooserwidget.h"
#include "plottableinterface.h"

#include <QComboBox>
#include <QMap>
#include <QVector>

#include <memory>

// A chooser listing the keys of the fake source; the key is the item text.
class tcFakeChooser : public tcPlotChooserWidget
{
    Q_OBJECT

public:
    tcFakeChooser(const QStringList& arKeys, const QString& arPreset)
    {
        mpSourceCombo->addItems(arKeys);
        if (!arPreset.isEmpty())
            mpSourceCombo->setCurrentText(arPreset);
        connect(mpSourceCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                &tcPlotChooserWidget::Changed);
    }
    QString GetKey(QMap<QString, QVariant>& arAttributes) override
    {
        const QString lsKey = mpSourceCombo->currentText();
        if (!lsKey.isEmpty())
        {
            arAttributes.insert(QStringLiteral("title"), QStringLiteral("Curve ") + lsKey);
            arAttributes.insert(QStringLiteral("x-label"), QStringLiteral("x of ") + lsKey);
            arAttributes.insert(QStringLiteral("y-label"), QStringLiteral("y of ") + lsKey);
        }
        return lsKey;
    }
};

// A plottable source whose data the test sets per key.
class tcFakeSource : public tcPlottableInterface
{
    Q_OBJECT

public:
    explicit tcFakeSource(const QString& arName) : tcPlottableInterface(QStringLiteral("FakeSource"))
    {
        setObjectName(arName);
    }

    void setData(const QString& arKey, const QVector<double>& arX, const QVector<double>& arY)
    {
        mhX[arKey] = arX;
        mhY[arKey] = arY;
    }
    void announce(const QString& arKey) { emit PlotReady(this, arKey); }

    tcPlotChooserWidget* createChooserWidget(const QString& arKey) override
    {
        ++mnChoosers;
        return mbOffersChooser ? new tcFakeChooser(msKeys, arKey) : nullptr;
    }
    bool getData(const QString& arKey, tcPlotArray& arX, tcPlotArray& arY) override
    {
        ++mnDataCalls;
        if (!mhY.contains(arKey))
            return false;
        arX.clear();
        arY.clear();
        for (double ldX : mhX[arKey])
            arX.append(ldX);
        for (double ldY : mhY[arKey])
            arY.append(ldY);
        return true;
    }

    std::unique_ptr<tcPlotAxisDescription> xAxisDescription() override
    {
        if (!mbDescribesAxis)
            return nullptr;
        auto lpAxis = std::make_unique<tcPlotAxisDescription>();
        lpAxis->msTitle = QStringLiteral("Time");
        lpAxis->mnLabelRotation = -45.0;
        lpAxis->mnLabelAlignment = Qt::AlignLeft | Qt::AlignBottom;
        return lpAxis;
    }

    QStringList msKeys{QStringLiteral("a"), QStringLiteral("b")};
    bool mbDescribesAxis = false;
    bool mbOffersChooser = true;
    int mnChoosers = 0;
    int mnDataCalls = 0;
    QMap<QString, QVector<double>> mhX;
    QMap<QString, QVector<double>> mhY;
};
