#include "producerbinding.h"

#include "filedialogs.h"
#include "gentlinterface.h"
#include "settings.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace
{
#ifdef Q_OS_WIN
const char* const kBundledProducer = "/GenTL.dll";
#else
const char* const kBundledProducer = "/GenTL.cti";
#endif
} // namespace

tcProducerBinding::tcProducerBinding(QObject* apParent) : QObject(apParent) {}

tcProducerBinding::~tcProducerBinding()
{
    unload();
}

QString tcProducerBinding::bundledProducerPath()
{
    return QCoreApplication::applicationDirPath() + QLatin1String(kBundledProducer);
}

QString tcProducerBinding::defaultProducerPath()
{
    const QString lsBundled = bundledProducerPath();
    const QString lsDefault = QFileInfo::exists(lsBundled) ? lsBundled : QString();
    std::unique_ptr<tcSettings> lpSettings(tcSettings::getSettings(QString()));
    return lpSettings->grpValue(QStringLiteral("GenTL"), QStringLiteral("default_path"), lsDefault)
        .toString();
}

QString tcProducerBinding::producerFileFilter()
{
#ifdef Q_OS_WIN
    return QStringLiteral("DLLs (*.dll)");
#else
    return QStringLiteral("GenTL producers (*.cti *.so);;DLLs (*.dll)");
#endif
}

QString tcProducerBinding::chooseProducer(QWidget* apParent, const QString& arStartPath)
{
    return tcFileDialogs::getOpenFileName(apParent, QStringLiteral("Select GenTL DLL"), arStartPath,
                                          producerFileFilter());
}

bool tcProducerBinding::load(const QString& arPath)
{
    unload();
    auto lpBinding = std::make_unique<tcGenTLInterface>(arPath, nullptr);
    if (!lpBinding->isLoaded())
    {
        emit Error(QStringLiteral("Unable to load library %1 : %2").arg(arPath, lpBinding->loadError()));
        return false;
    }
    emit Message(QStringLiteral("Loaded GenTL Library %1 ...").arg(arPath));
    mpBinding = std::move(lpBinding);
    // What the binding reports from now on (a failed initialisation, a camera
    // whose description it cannot attach to) reaches whoever listens here.
    connect(mpBinding.get(), &tcGenTLInterface::Message, this, &tcProducerBinding::Message);
    connect(mpBinding.get(), &tcGenTLInterface::Error, this, &tcProducerBinding::Error);
    mbInitialized = mpBinding->initialize();
    return mbInitialized;
}

// Closes the transport layer and the library before the binding goes.
void tcProducerBinding::unload()
{
    if (!mpBinding)
        return;
    mpBinding->close();
    const GenAPIFuncs& lrFunctions = mpBinding->functions();
    if (lrFunctions.TLClose && mpBinding->handle())
        lrFunctions.TLClose(mpBinding->handle());
    if (lrFunctions.GCCloseLib)
        lrFunctions.GCCloseLib();
    else
        qWarning("No binding found for GCCloseLib");
    mpBinding.reset();
    mbInitialized = false;
}
