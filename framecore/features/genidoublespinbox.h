#pragma once

#include "debugsource.h"
#include "framecore_export.h"
#include "nodecallback.h"

#include <GenApi/GenApi.h>

#include <QDoubleSpinBox>

// A spin box bound to one float feature: it shows the feature's range,
// description and value (times a display scalar), writes the value back when
// editing finishes, and follows changes of the feature made elsewhere.
class FRAMECORE_EXPORT tcGenIDoubleSpinBox : public QDoubleSpinBox, public tcDebugSource
{
    Q_OBJECT

public:
    explicit tcGenIDoubleSpinBox(QWidget* apParent = nullptr);
    ~tcGenIDoubleSpinBox() override;

    void setNode(GenApi::INode* apNode);
    GenApi::INode* getNode() const { return mcBinding.node(); }
    void setDValue(GenApi::IFloat* apValue);

    void setScalar(double adScalar) { mdScalar = adScalar == 0.0 ? 1.0 : adScalar; }
    double getScalar() const { return mdScalar; }

    void refreshWidget();

signals:
    void Message(QString arText);
    void Error(QString arText);

private slots:
    void updateGenIface();

private:
    void GenApiCallback(GenApi::INode* apNode);
    void unbind();
    void loadFromFeature(GenApi::CFloatPtr apFloat);

    tcNodeCallback mcBinding;
    bool mbUpdating = false;
    double mdScalar = 1.0;
};
