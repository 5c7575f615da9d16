#pragma once

#include "framecore_export.h"

#include <QMap>
#include <QString>
#include <QVariant>
#include <QWidget>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QSpinBox;
class QVBoxLayout;

// The small form a plottable source hands to the plot display: a source item
// and up to two numeric parameters, turned into a key by the derived class.
// Derived widgets fill the combo box, relabel or hide the rows, set ranges and
// emit Changed() whenever the selection changes.
class FRAMECORE_EXPORT tcPlotChooserWidget : public QWidget
{
    Q_OBJECT

public:
    explicit tcPlotChooserWidget(QWidget* apParent = nullptr);

signals:
    void Changed();

public slots:
    // The key of the current selection, empty when nothing plottable is
    // selected; may add "title", "x-label" and "y-label" to the attributes.
    virtual QString GetKey(QMap<QString, QVariant>& arAttributes) = 0;
    virtual QString GetCurrentSourceName();
    virtual QString GetSuggestedTitle();

protected:
    void retranslateUi();

    QVBoxLayout* mpLayout;
    QComboBox* mpSourceCombo;
    QHBoxLayout* horizontalLayout;
    QLabel* mpLabel1;
    QSpinBox* mpSpinBox1;
    QHBoxLayout* horizontalLayout_2;
    QLabel* mpLabel2;
    QSpinBox* mpSpinBox2;

private:
    void buildForm();
};
