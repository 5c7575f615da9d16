#include "plotchooserwidget.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpacerItem>
#include <QSpinBox>
#include <QVBoxLayout>

tcPlotChooserWidget::tcPlotChooserWidget(QWidget* apParent) : QWidget(apParent)
{
    buildForm();
    retranslateUi();
}

// Built in code rather than from a form so that derived widgets in plugins
// reach the parts as ordinary members.
void tcPlotChooserWidget::buildForm()
{
    mpLayout = new QVBoxLayout(this);
    mpLayout->setObjectName(QStringLiteral("mpLayout"));

    mpSourceCombo = new QComboBox(this);
    mpSourceCombo->setObjectName(QStringLiteral("mpSourceCombo"));
    mpLayout->addWidget(mpSourceCombo);

    horizontalLayout = new QHBoxLayout();
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    mpLabel1 = new QLabel(this);
    mpLabel1->setObjectName(QStringLiteral("mpLabel1"));
    mpSpinBox1 = new QSpinBox(this);
    mpSpinBox1->setObjectName(QStringLiteral("mpSpinBox1"));
    horizontalLayout->addWidget(mpLabel1);
    horizontalLayout->addWidget(mpSpinBox1);
    mpLayout->addLayout(horizontalLayout);

    horizontalLayout_2 = new QHBoxLayout();
    horizontalLayout_2->setObjectName(QStringLiteral("horizontalLayout_2"));
    mpLabel2 = new QLabel(this);
    mpLabel2->setObjectName(QStringLiteral("mpLabel2"));
    mpSpinBox2 = new QSpinBox(this);
    mpSpinBox2->setObjectName(QStringLiteral("mpSpinBox2"));
    horizontalLayout_2->addWidget(mpLabel2);
    horizontalLayout_2->addWidget(mpSpinBox2);
    mpLayout->addLayout(horizontalLayout_2);

    mpLayout->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));
}

void tcPlotChooserWidget::retranslateUi()
{
    setWindowTitle(QCoreApplication::translate("PlotChooser", "Plot Source"));
    mpLabel1->setText(QCoreApplication::translate("PlotChooser", "Label 1"));
    mpLabel2->setText(QCoreApplication::translate("PlotChooser", "Label 2"));
}

QString tcPlotChooserWidget::GetCurrentSourceName()
{
    return mpSourceCombo->currentText();
}

QString tcPlotChooserWidget::GetSuggestedTitle()
{
    return mpSourceCombo->currentText();
}
