#pragma once

#include "cmdhandler.h"
#include "framecore_export.h"

#include <GenApi/GenApi.h>

// GENI READ|WRITE|EXEC|SAVE|LOAD: reads, writes and executes any camera
// feature by name, and saves all feature values of the first category level
// to an INI file or restores them from one.
class FRAMECORE_EXPORT tcCmdHandlerGenICam : public tcCmdHandler
{
public:
    tcCmdHandlerGenICam();

    QVariant handleCommand(tcCameraInterface* apCamera, const QStringList& arArgs,
                           QString& arResult) override;
    QString help() override;

private:
    // Each takes the tokens after the command word, the sub-command first.
    QVariant handleRead(tcCameraInterface* apCamera, const QStringList& arArgs, QString& arResult);
    QVariant handleWrite(tcCameraInterface* apCamera, const QStringList& arArgs, QString& arResult);
    QVariant handleExec(tcCameraInterface* apCamera, const QStringList& arArgs, QString& arResult);
    QVariant handleSave(tcCameraInterface* apCamera, const QStringList& arArgs, QString& arResult);
    QVariant handleLoad(tcCameraInterface* apCamera, const QStringList& arArgs, QString& arResult);
    bool isValueType(GenApi::CPointer<GenApi::INode> apNode);

    QString fileName(const QStringList& arArgs, bool abSave, QString& arResult) const;
    void saveCategory(GenApi::CCategoryPtr apCategory, const QString& arGroup, QSettings& arFile,
                      QString& arResult);
    void loadGroup(tcCameraInterface* apCamera, const QString& arGroup, QSettings& arFile, QString& arResult);
};
