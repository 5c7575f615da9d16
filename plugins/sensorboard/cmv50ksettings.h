#pragma once

#include "settingswidget.h"

#include <memory>

namespace Ui
{
class tcCmv50kSettings;
}

// The sensor plugin's settings page. The register map lives in the INI
// group named after the camera model ("num_banks", "num_blocks",
// "num_regs"), edited by hand; the page has nothing to store yet.
class tcCmv50kSettings : public tcSettingsWidget
{
    Q_OBJECT

public:
    tcCmv50kSettings();
    ~tcCmv50kSettings() override;

    void readSettings(QSettings* apSettings) override;
    void writeSettings(QSettings* apSettings) override;

private:
    std::unique_ptr<Ui::tcCmv50kSettings> mpUi;
};
