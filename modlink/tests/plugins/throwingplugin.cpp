// A plugin that fails once a camera is open: from isCompatible with a GenICam
// exception when KXTEST_THROW_IN is "isCompatible", else from setCamera with a
// standard exception.
#include "recordingplugin.h"

#include <GenApi/GenApi.h>

#include <stdexcept>

class tcThrowingTestPlugin : public tcRecordingPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID tcGenTLPlugin_iid)

public:
    tcThrowingTestPlugin() : tcRecordingPlugin(QStringLiteral("throwing test"))
    {
        setObjectName(QStringLiteral("Throwing Test"));
    }

    bool isCompatible(const GenApi::CNodeMapRef* apNodeMap) override
    {
        if (apNodeMap && qgetenv("KXTEST_THROW_IN") == "isCompatible")
            throw RUNTIME_EXCEPTION("no compatibility today");
        return true;
    }
    void setCamera(tcCameraInterface* apCamera) override
    {
        tcRecordingPlugin::setCamera(apCamera);
        if (apCamera && qgetenv("KXTEST_THROW_IN") != "isCompatible")
            throw std::runtime_error("camera refused");
    }
};

#include "throwingplugin.moc"
