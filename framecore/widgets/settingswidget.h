#pragma once

#include "debugsource.h"
#include "framecore_export.h"

#include <QStringList>
#include <QWidget>

class QSettings;

// Base of every page of the settings dialog: the program's own pages, the
// plugin manager's page and the plugins' pages. A page fills its editors from
// a settings object when the dialog opens, stores them when the dialog saves,
// and reports each edit through dirty() so that only edited pages are written.
class FRAMECORE_EXPORT tcSettingsWidget : public QWidget, public tcDebugSource
{
    Q_OBJECT

public:
    explicit tcSettingsWidget(bool abExpert = false, QWidget* apParent = nullptr);
    ~tcSettingsWidget() override;

    virtual void setExpert(bool abExpert);
    virtual void readSettings(QSettings* apSettings) = 0;
    virtual void writeSettings(QSettings* apSettings) = 0;
    virtual QStringList subGroups() const;
    virtual void setGroup(const QString& arGroup);

    bool isExpert() const { return mbExpert; }

signals:
    void dirty(tcSettingsWidget* apPage);

protected:
    // For editors' change signals: announces this page as edited.
    void markDirty() { emit dirty(this); }

private:
    bool mbExpert;
};
