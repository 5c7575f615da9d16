#include "simcamfixture.h"

#include "gentlinterface.h"
#include "settings.h"

#include <QDir>

tcSimcamFixture::tcSimcamFixture(const QByteArray& arFaults, const QByteArray& arXmlFile)
{
    // The producer reads both variables when it is initialised.
    qputenv("SIMCAM_FAULTS", arFaults);
    qputenv("SIMCAM_XML_FILE", arXmlFile);
    mbInitialized = mcProducer.load(simcamPath());
}

tcSimcamFixture::~tcSimcamFixture()
{
    closeDevice();
    mcProducer.unload();
    qunsetenv("SIMCAM_FAULTS");
    qunsetenv("SIMCAM_XML_FILE");
}

bool tcSimcamFixture::openDevice(const QString& arDeviceId, int anInterfaceIndex)
{
    return binding().OpenDevice(anInterfaceIndex, arDeviceId);
}

void tcSimcamFixture::closeDevice()
{
    tcGenTLInterface* lpBinding = mcProducer.binding();
    if (!lpBinding)
        return;
    const GenAPIFuncs& lrFunctions = lpBinding->functions();
    if (lpBinding->device())
        lrFunctions.DevClose(lpBinding->device());
    if (lpBinding->iface())
        lrFunctions.IFClose(lpBinding->iface());
    lpBinding->close();
}

QString tcSimcamFixture::simcamPath()
{
    return QStringLiteral(KX_SIMCAM_PATH);
}

QString tcSimcamFixture::stubPath(const char* apVariant)
{
    return QStringLiteral("%1/stubproducer_%2.cti")
        .arg(QStringLiteral(KX_STUB_DIR), QLatin1String(apVariant));
}

void tcSimcamFixture::useTemporarySettings()
{
    static QTemporaryDir scDir;
    tcSettings::setDefaultIniFile(scDir.filePath(QStringLiteral("test.ini")));
}
