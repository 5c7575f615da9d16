#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include <memory>

class QAbstractButton;
namespace Ui
{
class tcEditAxisDialog;
}

// Ranges, titles, tick counts, locks and scale types of a plot's two axes.
struct tcAxisSettings
{
    double mdXMin = 0;
    double mdXMax = 1;
    double mdYMin = 0;
    double mdYMax = 1;
    QString msXTitle;
    QString msYTitle;
    int mnXTicks = 10;
    int mnYTicks = 10;
    bool mbXLocked = false;
    bool mbYLocked = false;
    bool mbXLog = false;
    bool mbYLog = false;
};

// The axis dialog: one for the whole program, shared by all plot windows.
// The window that opened it last receives its changes (OK and Apply).
class tcEditAxisDialog : public QDialog
{
    Q_OBJECT

public:
    explicit tcEditAxisDialog(QWidget* apParent = nullptr);
    ~tcEditAxisDialog() override;

    // Created on first use and kept for the rest of the run.
    static tcEditAxisDialog* instance();

    void setSettings(const tcAxisSettings& arSettings);
    tcAxisSettings settings() const;

    // The window the changes are for (null when it has gone).
    QObject* target() const { return mpTarget; }
    void setTarget(QObject* apTarget) { mpTarget = apTarget; }

signals:
    void AxisChanged();

private slots:
    void on_buttonBox_clicked(QAbstractButton* apButton);

private:
    std::unique_ptr<Ui::tcEditAxisDialog> mpUi;
    QPointer<QObject> mpTarget;
};
