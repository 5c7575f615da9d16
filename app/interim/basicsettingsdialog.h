#pragma once

#include <QDialog>
#include <QList>

class QTabWidget;
class tcSettingsWidget;

// The settings pages that exist today, one tab each: the producer library
// ("Gen TL") and the plugin manager's page ("Plugins"). OK stores every page
// in the INI file; Cancel stores nothing.
class tcBasicSettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit tcBasicSettingsDialog(bool abExpert, QWidget* apParent = nullptr);
    ~tcBasicSettingsDialog() override;

    // False when no page has that title.
    bool showPage(const QString& arTitle);
    QString currentPage() const;
    tcSettingsWidget* page(const QString& arTitle) const;

public slots:
    void accept() override;

private:
    void addPage(tcSettingsWidget* apPage, const QString& arTitle);

    QTabWidget* mpTabs;
    QList<tcSettingsWidget*> mlPages;
};
