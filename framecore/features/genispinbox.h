#pragma once

#include "debugsource.h"
#include "framecore_export.h"
#include "nodecallback.h"

#include <GenApi/GenApi.h>

#include <QSpinBox>

#include <limits>

// A spin box bound to one integer feature: it shows the feature's range,
// description and value (times a display scalar), writes the value back on
// the feature's increment grid when editing finishes, and follows changes of
// the feature made elsewhere.
class FRAMECORE_EXPORT tcGenISpinBox : public QSpinBox, public tcDebugSource
{
    Q_OBJECT

public:
    explicit tcGenISpinBox(QWidget* apParent = nullptr);
    ~tcGenISpinBox() override;

    void setNode(GenApi::INode* apNode);
    GenApi::INode* getNode() const { return mcBinding.node(); }
    void setIValue(GenApi::IInteger* apValue);

    void setScalar(int anScalar) { mnScalar = anScalar == 0 ? 1 : anScalar; }
    int getScalar() const { return mnScalar; }
    // Limits used where the feature's own do not fit a 32-bit spin box.
    void setMinV(int anMin);
    int getMinV() const { return mnMinV; }
    void setMaxV(int anMax);
    int getMaxV() const { return mnMaxV; }

    void refreshWidget();

signals:
    void Message(QString arText);
    void Error(QString arText);

private slots:
    void updateGenIface();

private:
    void GenApiCallback(GenApi::INode* apNode);
    void unbind();
    void loadFromFeature(GenApi::CIntegerPtr apInteger);
    void writeBack(GenApi::CIntegerPtr apInteger);

    tcNodeCallback mcBinding;
    bool mbUpdating = false;
    int mnScalar = 1;
    int mnMinV = std::numeric_limits<int>::min();
    int mnMaxV = std::numeric_limits<int>::max();
};
