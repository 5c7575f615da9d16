#pragma once

#include "camerainterface.h"
#include "gentlplugin.h"

#include <QVariant>

// Records what the manager hands it in dynamic properties, which a test
// reads without linking the plugin: "setCameraCalls" and "cameraModel" (empty
// while it has no camera).
class tcRecordingPlugin : public tcGenTLPlugin
{
    Q_OBJECT

public:
    using tcGenTLPlugin::tcGenTLPlugin;

    void setCamera(tcCameraInterface* apCamera) override
    {
        tcGenTLPlugin::setCamera(apCamera);
        setProperty("setCameraCalls", property("setCameraCalls").toInt() + 1);
        setProperty("cameraModel", apCamera ? apCamera->getModel() : QString());
    }
};
