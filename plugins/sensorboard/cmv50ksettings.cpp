#include "cmv50ksettings.h"

#include "ui_cmv50ksettings.h"

tcCmv50kSettings::tcCmv50kSettings()
    : tcSettingsWidget(false, nullptr), mpUi(std::make_unique<Ui::tcCmv50kSettings>())
{
    mpUi->setupUi(this);
}

tcCmv50kSettings::~tcCmv50kSettings() = default;

void tcCmv50kSettings::readSettings(QSettings*) {}

void tcCmv50kSettings::writeSettings(QSettings*) {}
