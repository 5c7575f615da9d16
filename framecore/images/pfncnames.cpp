#include "pfncnames.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>

namespace PixelFormats
{
namespace
{
struct tsPfncEntry
{
    quint32 mnCode;
    const char* mpName;
};

// The rows come from data/pfnc.tsv, turned into source by the build.
constexpr tsPfncEntry scPfncTable[] = {
#include "pfnctable.inc"
};

const std::unordered_map<quint32, const char*>& nameMap()
{
    static const std::unordered_map<quint32, const char*> shNames = []
    {
        std::unordered_map<quint32, const char*> lhNames;
        for (const tsPfncEntry& lrEntry : scPfncTable)
            lhNames.emplace(lrEntry.mnCode, lrEntry.mpName);
        return lhNames;
    }();
    return shNames;
}
} // namespace

const char* pfncName(quint32 anCode)
{
    const auto& lhNames = nameMap();
    const auto lcFound = lhNames.find(anCode);
    return lcFound == lhNames.end() ? "UnknownPixelFormat" : lcFound->second;
}

std::vector<quint32> pfncCodes()
{
    std::vector<quint32> lsCodes;
    lsCodes.reserve(std::size(scPfncTable));
    for (const tsPfncEntry& lrEntry : scPfncTable)
    {
        if (lrEntry.mnCode != 0)
            lsCodes.push_back(lrEntry.mnCode);
    }
    std::sort(lsCodes.begin(), lsCodes.end());
    return lsCodes;
}
} // namespace PixelFormats
