#pragma once

#include "settingswidget.h"

#include <QStringList>

#include <memory>

namespace Ui
{
class tcGenTLSettings;
}

// The "Gen TL" page: the producer library the program loads at start-up
// ("default_path" in group "GenTL"), typed, browsed for, or picked from the
// producers found on the system.
class tcGenTLSettings : public tcSettingsWidget
{
    Q_OBJECT

public:
    explicit tcGenTLSettings(QWidget* apParent = nullptr);
    ~tcGenTLSettings() override;

    void readSettings(QSettings* apSettings) override;
    void writeSettings(QSettings* apSettings) override;

    QString producerPath() const;
    // The producers offered in the drop-down, in its order.
    QStringList offeredProducers() const;
    // Fills the drop-down again, e.g. after the environment changed.
    void refreshProducers();

    static QString groupName() { return QStringLiteral("GenTL"); }
    static QString pathKey() { return QStringLiteral("default_path"); }

private slots:
    void on_producerCombo_activated(int anIndex);
    void pathChanged();

private:
    void showCurrentInCombo();

    std::unique_ptr<Ui::tcGenTLSettings> mpUi;
};
