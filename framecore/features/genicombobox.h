#pragma once

#include "debugsource.h"
#include "framecore_export.h"

#include <GenApi/GenApi.h>

#include <QComboBox>

// A combo box bound to one enumeration feature: it lists the readable
// entries, selects the current one and writes every choice of the user back.
// It shows changes made elsewhere only when its owner refreshes it.
class FRAMECORE_EXPORT tcGenIComboBox : public QComboBox, public tcDebugSource
{
    Q_OBJECT

public:
    explicit tcGenIComboBox(QWidget* apParent = nullptr);
    ~tcGenIComboBox() override;

    void setNode(GenApi::INode* apNode);
    GenApi::INode* getNode() const { return mpNode; }

    void refreshWidget();

signals:
    void Message(QString arText);
    void Error(QString arText);

private slots:
    void updateGenIface(int anIndex);

private:
    void GenApiCallback(GenApi::INode* apNode);

    GenApi::INode* mpNode = nullptr;
    GenApi::CallbackHandleType mnCallback = 0;
    bool mbUpdating = false;
};
