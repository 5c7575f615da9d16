#pragma once

#include "settingswidget.h"

#include <memory>

class QCheckBox;
class tcFileSettingsWidget;

namespace Ui
{
class tcAppSettings;
}

// The "Application" page: the description cache folder, the documentation
// style sheet, the simulated camera's description file, how video windows
// open, reconnecting at start-up and the update checker's options. All its
// keys are at the top level of the INI file.
class tcAppSettings : public tcSettingsWidget
{
    Q_OBJECT

public:
    explicit tcAppSettings(QWidget* apParent = nullptr);
    ~tcAppSettings() override;

    void readSettings(QSettings* apSettings) override;
    void writeSettings(QSettings* apSettings) override;

    static QString defaultXmlDir();
    static QString defaultXsltFile();

private:
    struct tcChoice
    {
        QCheckBox* mpBox;
        const char* mpKey;
        bool mbDefault;
    };
    QList<tcChoice> choices() const;

    std::unique_ptr<Ui::tcAppSettings> mpUi;
};
