#pragma once

#include "gentlplugin.h"

#include <QPointer>

class tcVideoSettingsControlWidget;

// The video settings plugin: its control panel (a tab of the video display)
// and the display filter that the panel steers.
class tcDisplaytuner : public tcGenTLPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID tcGenTLPlugin_iid)

public:
    tcDisplaytuner();
    ~tcDisplaytuner() override;

    QString name() const override;
    QWidget* controlWidget() override;
    void setCamera(tcCameraInterface* apCamera) override;
    QString version() const override;
    QString title() const override;
    bool isDefaultEnabled() const override;

private:
    // Owned; forgotten if something else destroys it first.
    QPointer<tcVideoSettingsControlWidget> mpControlWidget;
};
