#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui
{
class DeviceDialog;
}
class GenTLTreeModel;
class tcGenTLInterface;

// Lets the user pick a camera from the producer's tree of interfaces and
// devices, which it keeps current while it is open.
class DeviceDialog : public QDialog
{
    Q_OBJECT

public:
    DeviceDialog(QWidget* apParent, GenTLTreeModel* apModel, tcGenTLInterface* apBinding);
    ~DeviceDialog() override;

    QString deviceId() const { return msDeviceId; }
    QString deviceModel() const { return msDeviceModel; }
    int interfaceIndex() const { return mnInterfaceIndex; }

public slots:
    void ItemClicked(const QModelIndex& arIndex);
    void ItemDoubleClicked(const QModelIndex& arIndex);

protected:
    void timerEvent(QTimerEvent* apEvent) override;

private slots:
    void expandInterfaces();

private:
    std::unique_ptr<Ui::DeviceDialog> mpUi;
    GenTLTreeModel* mpModel;
    QString msDeviceId;
    QString msDeviceModel;
    int mnInterfaceIndex = 0;
    int mnTimerId = 0;
};
