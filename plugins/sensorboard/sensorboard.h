#pragma once

#include "gentlplugin.h"
#include "registerbanks.h"

#include <QPointer>

class QMenu;
class tcCmdRunner;
class tcCmv50ControlWidget;
class tcHdmiDecorator;
class tcHdmiImgRectSelector;
class tcRoiImgRectSelector;

// The plugin for cameras built on the CMV50000 image sensor. It gives the
// script language PEEK and POKE, saves and restores the whole camera state
// (every feature through GENI, then the sensor's register banks) in one INI
// file, and contains the ROI and HDMI rectangle tools and the HDMI outline.
//
// A state file is written beside its target under a temporary name and put in
// place only when everything was written, so a failed or stopped save leaves
// the previous file as it was.
class tcSensorboard : public tcGenTLPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID tcGenTLPlugin_iid)

public:
    tcSensorboard();
    ~tcSensorboard() override;

    QString name() const override;
    QString version() const override;
    QString title() const override;
    tcSettingsWidget* settingsWidget() override;
    QWidget* controlWidget() override;
    QMenu* applicationMenu() override;
    bool isCompatible(const GenApi::CNodeMapRef* apNodeMap) override;
    QList<QSharedPointer<tcCmdHandler>> scriptableCommands() override;
    void setCamera(tcCameraInterface* apCamera) override;

public slots:
    void saveState();
    void saveState(QString arFilename);
    void loadState();
    void loadState(QString arFilename);

private:
    bool hasCamera(const QString& arVerb);
    tcCmdRunner* runnerFor(const QString& arWhat, int anLine);
    bool isBusy();
    bool hasRegisterMap();
    tcRegisterBanks registerBanks(tcCmdRunner* apRunner);
    QString readModel();
    bool saveRegisters(const QString& arWorkFile, const QString& arTarget);
    bool loadRegisters(const QString& arWorkFile, const QString& arSource);
    bool putInPlace(const QString& arWorkFile, const QString& arTarget);
    bool runFileCommand(const QString& arCommand, const QString& arFile);
    void reportUnremovable(const QString& arFile);

    tcHdmiImgRectSelector* mpHdmiSelector;
    tcHdmiDecorator* mpHdmiDecorator;
    tcRoiImgRectSelector* mpRoiSelector;
    // The program may re-parent both; whoever deletes them first wins.
    QPointer<QMenu> mpMenu;
    QPointer<tcCmv50ControlWidget> mpControlWidget;
    QString msModel;
    // A save or load runs a local event loop for its progress dialog; a
    // second one must not start inside it.
    bool mbBusy = false;
};
