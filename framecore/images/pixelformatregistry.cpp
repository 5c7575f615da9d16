#include "pixelformatregistry.h"

#include "pfncnames.h"
#include "pixelformatbayer12.h"
#include "pixelformatbayer12p.h"
#include "pixelformatbayer8.h"
#include "pixelformatmono12p.h"
#include "pixelformatmono16.h"
#include "pixelformatmono8.h"
#include "pixelformatnull.h"
#include "pixelformatrgb8.h"

#include <QDebug>

#include <map>

namespace PixelFormats
{
namespace
{
// Built on first use so that registrations from any static initialiser find
// it ready, whatever order the initialisers run in.
std::map<quint32, tcPixelFormatRegistry::tpFactory>& factories()
{
    static std::map<quint32, tcPixelFormatRegistry::tpFactory> shFactories;
    return shFactories;
}

// One registration per code, made while the library loads. They live in this
// one file so that their order (and the order of the log lines) is fixed.
struct tcRegistration
{
    template <class T> static tcRegistration make(quint32 anCode)
    {
        tcPixelFormatRegistry::registerClass<T>(anCode);
        return tcRegistration();
    }
};

[[maybe_unused]] const tcRegistration gcRegistrations[] = {
    tcRegistration::make<tcPixelFormatMono8>(0x01080001u),    // Mono8
    tcRegistration::make<tcPixelFormatNull>(0u),              // no format
    tcRegistration::make<tcPixelFormatMono12p>(0x010C0047u),  // Mono12p
    tcRegistration::make<tcPixelFormatMono16>(0x01100007u),   // Mono16
    tcRegistration::make<tcPixelFormatBayer8>(0x0108000Bu),   // BayerBG8
    tcRegistration::make<tcPixelFormatBayer8>(0x0108000Au),   // BayerGB8
    tcRegistration::make<tcPixelFormatBayer8>(0x01080008u),   // BayerGR8
    tcRegistration::make<tcPixelFormatBayer8>(0x01080009u),   // BayerRG8
    tcRegistration::make<tcPixelFormatBayer12>(0x01100013u),  // BayerBG12
    tcRegistration::make<tcPixelFormatBayer12>(0x01100012u),  // BayerGB12
    tcRegistration::make<tcPixelFormatBayer12>(0x01100010u),  // BayerGR12
    tcRegistration::make<tcPixelFormatBayer12>(0x01100011u),  // BayerRG12
    tcRegistration::make<tcPixelFormatBayer12p>(0x010C0053u), // BayerBG12p
    tcRegistration::make<tcPixelFormatBayer12p>(0x010C0055u), // BayerGB12p
    tcRegistration::make<tcPixelFormatBayer12p>(0x010C0057u), // BayerGR12p
    tcRegistration::make<tcPixelFormatBayer12p>(0x010C0059u), // BayerRG12p
    tcRegistration::make<tcPixelFormatRGB8>(0x02180014u),     // RGB8
};
} // namespace

bool tcPixelFormatRegistry::registerFormat(quint32 anCode, tpFactory apFactory)
{
    if (!apFactory)
    {
        qWarning() << "Pixel format " << anCode << "registered without a factory";
        return false;
    }
    auto& lhFactories = factories();
    if (lhFactories.count(anCode) != 0)
    {
        qWarning() << "Pixel format " << anCode << "already registered!";
        return false;
    }
    lhFactories.emplace(anCode, std::move(apFactory));
    qDebug() << "Registering pixel format" << anCode << "[" << pfncName(anCode) << "]";
    return true;
}

std::unique_ptr<tcPixelFormat> tcPixelFormatRegistry::create(quint32 anCode, const tcImageBuffer& arImage)
{
    const auto& lhFactories = factories();
    auto lcFound = lhFactories.find(anCode);
    if (lcFound == lhFactories.end())
    {
        qWarning() << "Creating NULL pixel format for format =" << anCode;
        lcFound = lhFactories.find(0u);
    }
    std::unique_ptr<tcPixelFormat> lpFormat;
    if (lcFound != lhFactories.end())
        lpFormat.reset(lcFound->second(arImage));
    // A frame always has a format object, even if a factory failed us.
    if (!lpFormat)
        lpFormat = std::make_unique<tcPixelFormatNull>(0u, arImage);
    return lpFormat;
}

bool tcPixelFormatRegistry::isRegistered(quint32 anCode)
{
    return factories().count(anCode) != 0;
}

QList<quint32> tcPixelFormatRegistry::registeredCodes()
{
    QList<quint32> lsCodes;
    for (const auto& lrEntry : factories())
        lsCodes.append(lrEntry.first);
    return lsCodes;
}
} // namespace PixelFormats
