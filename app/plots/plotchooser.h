#pragma once

#include "plotproperties.h"

#include <QDialog>
#include <QPointer>

#include <memory>

#include "plotchooserwidget.h"
namespace Ui
{
class PlotChooser;
}

// The modeless dialog that picks what one curve shows (the source's own
// chooser widget, placed in "Data Source") and how it looks. Every change is
// announced at once with PlotChanged, so the curve follows the dialog; it is
// also announced once when the dialog opens.
class tcPlotChooser : public QDialog
{
    Q_OBJECT

public:
    // A new curve: the line starts in the given colour.
    tcPlotChooser(tcPlotChooserWidget* apKeyWidget, const QColor& arLineColor, QWidget* apParent = nullptr);
    // An existing curve, preset from its properties.
    tcPlotChooser(tcPlotChooserWidget* apKeyWidget, const tcPlotProperties& arProperties,
                  QWidget* apParent = nullptr);
    ~tcPlotChooser() override;

    int index() const { return mnIndex; }
    void setIndex(int anIndex) { mnIndex = anIndex; }
    QString key() const { return msKey; }
    tcPlotChooserWidget* keyWidget() const { return mpKeyWidget; }

signals:
    void PlotChanged(const tcPlotProperties& arProperties);

public slots:
    void onKeyChanged();
    void onWidgetChanged();

private:
    void build(tcPlotChooserWidget* apKeyWidget);

    std::unique_ptr<Ui::PlotChooser> mpUi;
    QPointer<tcPlotChooserWidget> mpKeyWidget;
    int mnIndex = -1;
    QString msKey;
    QMap<QString, QVariant> mhAttributes;
    bool mbBuilding = true;
};
