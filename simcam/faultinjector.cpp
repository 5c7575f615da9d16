#include "faultinjector.h"

#include <set>
#include <stdexcept>

namespace simcam
{

namespace
{

std::string trimmed(const std::string& arText)
{
    const size_t lnFirst = arText.find_first_not_of(" \t");
    if (lnFirst == std::string::npos)
    {
        return std::string();
    }
    const size_t lnLast = arText.find_last_not_of(" \t");
    return arText.substr(lnFirst, lnLast - lnFirst + 1);
}

// Digits only, and few enough to fit: the standard conversions would throw
// texts that do not say which entry is wrong.
bool isNumber(const std::string& arDigits)
{
    return !arDigits.empty() && arDigits.size() <= 18 &&
           arDigits.find_first_not_of("0123456789") == std::string::npos;
}

uint64_t parseCount(const std::string& arText, const std::string& arEntry)
{
    if (!isNumber(arText))
    {
        throw std::invalid_argument("bad call count in fault \"" + arEntry + "\"");
    }
    const uint64_t lnValue = std::stoull(arText);
    if (lnValue == 0)
    {
        throw std::invalid_argument("call counts start at 1 in fault \"" + arEntry + "\"");
    }
    return lnValue;
}

// The exported functions a fault may name: a misspelt name would never fire.
bool isGenTLFunction(const std::string& arName)
{
    static const std::set<std::string> scNames = {"GCGetInfo",
                                                  "GCGetLastError",
                                                  "GCInitLib",
                                                  "GCCloseLib",
                                                  "GCReadPort",
                                                  "GCWritePort",
                                                  "GCGetPortURL",
                                                  "GCGetPortInfo",
                                                  "GCRegisterEvent",
                                                  "GCUnregisterEvent",
                                                  "EventGetData",
                                                  "EventGetDataInfo",
                                                  "EventGetInfo",
                                                  "EventFlush",
                                                  "EventKill",
                                                  "TLOpen",
                                                  "TLClose",
                                                  "TLGetInfo",
                                                  "TLGetNumInterfaces",
                                                  "TLGetInterfaceID",
                                                  "TLGetInterfaceInfo",
                                                  "TLOpenInterface",
                                                  "TLUpdateInterfaceList",
                                                  "IFClose",
                                                  "IFGetInfo",
                                                  "IFGetNumDevices",
                                                  "IFGetDeviceID",
                                                  "IFUpdateDeviceList",
                                                  "IFGetDeviceInfo",
                                                  "IFOpenDevice",
                                                  "DevGetPort",
                                                  "DevGetNumDataStreams",
                                                  "DevGetDataStreamID",
                                                  "DevOpenDataStream",
                                                  "DevGetInfo",
                                                  "DevClose",
                                                  "DSAnnounceBuffer",
                                                  "DSAllocAndAnnounceBuffer",
                                                  "DSFlushQueue",
                                                  "DSStartAcquisition",
                                                  "DSStopAcquisition",
                                                  "DSGetInfo",
                                                  "DSGetBufferID",
                                                  "DSClose",
                                                  "DSRevokeBuffer",
                                                  "DSQueueBuffer",
                                                  "DSGetBufferInfo",
                                                  "GCGetNumPortURLs",
                                                  "GCGetPortURLInfo",
                                                  "GCReadPortStacked",
                                                  "GCWritePortStacked",
                                                  "DSGetBufferChunkData",
                                                  "IFGetParentTL",
                                                  "DevGetParentIF",
                                                  "DSGetParentDev",
                                                  "DSGetNumBufferParts",
                                                  "DSGetBufferPartInfo"};
    return scNames.count(arName) != 0;
}

} // namespace

tcFaultInjector::tcWhen tcFaultInjector::parseWhen(const std::string& arText, const std::string& arEntry)
{
    tcWhen lcWhen;
    if (arText == "*")
    {
        lcWhen.mnLast = UINT64_MAX;
        return lcWhen;
    }
    if (!arText.empty() && arText.back() == '+')
    {
        lcWhen.mnFirst = parseCount(arText.substr(0, arText.size() - 1), arEntry);
        lcWhen.mnLast = UINT64_MAX;
        return lcWhen;
    }
    const size_t lnDash = arText.find('-');
    if (lnDash != std::string::npos)
    {
        lcWhen.mnFirst = parseCount(arText.substr(0, lnDash), arEntry);
        lcWhen.mnLast = parseCount(arText.substr(lnDash + 1), arEntry);
        if (lcWhen.mnLast < lcWhen.mnFirst)
        {
            throw std::invalid_argument("empty range in fault \"" + arEntry + "\"");
        }
        return lcWhen;
    }
    lcWhen.mnFirst = lcWhen.mnLast = parseCount(arText, arEntry);
    return lcWhen;
}

void tcFaultInjector::configure(const std::string& arSpec)
{
    std::map<std::string, std::vector<tcCallRule>> lhCalls;
    std::multimap<teFrameFault, tcWhen> lhFrames;
    static const std::map<std::string, teFrameFault> shFrameFaults = {
        {"incomplete", teFrameFault::Incomplete},
        {"oversize", teFrameFault::Oversize},
        {"namespace", teFrameFault::Namespace},
        {"vanish", teFrameFault::Vanish},
        {"drop", teFrameFault::Drop}};
    size_t lnPos = 0;
    while (lnPos <= arSpec.size())
    {
        size_t lnEnd = arSpec.find(',', lnPos);
        if (lnEnd == std::string::npos)
        {
            lnEnd = arSpec.size();
        }
        const std::string lcEntry = trimmed(arSpec.substr(lnPos, lnEnd - lnPos));
        lnPos = lnEnd + 1;
        if (lcEntry.empty())
        {
            continue;
        }
        const size_t lnAt = lcEntry.rfind('@');
        if (lnAt == std::string::npos)
        {
            throw std::invalid_argument("fault \"" + lcEntry + "\" lacks '@' and a call count");
        }
        const tcWhen lcWhen = parseWhen(trimmed(lcEntry.substr(lnAt + 1)), lcEntry);
        const std::string lcWhat = trimmed(lcEntry.substr(0, lnAt));
        const size_t lnEquals = lcWhat.find('=');
        if (lnEquals == std::string::npos)
        {
            const auto lpFault = shFrameFaults.find(lcWhat);
            if (lpFault == shFrameFaults.end())
            {
                throw std::invalid_argument("unknown frame fault \"" + lcWhat + "\" in fault \"" + lcEntry +
                                            "\"");
            }
            lhFrames.emplace(lpFault->second, lcWhen);
            continue;
        }
        const std::string lcFunction = trimmed(lcWhat.substr(0, lnEquals));
        const std::string lcCode = trimmed(lcWhat.substr(lnEquals + 1));
        const bool lbNegative = !lcCode.empty() && lcCode.front() == '-';
        if (lcFunction.empty() || !isNumber(lcCode.substr(lbNegative ? 1 : 0)))
        {
            throw std::invalid_argument("fault \"" + lcEntry + "\" is not Function=Code@When");
        }
        if (!isGenTLFunction(lcFunction))
        {
            throw std::invalid_argument("unknown GenTL function \"" + lcFunction + "\" in fault \"" +
                                        lcEntry + "\"");
        }
        const long long lnCode = std::stoll(lcCode);
        if (!lbNegative || lnCode == 0 || lnCode < INT32_MIN)
        {
            throw std::invalid_argument("fault \"" + lcEntry + "\" needs a negative GC_ERROR code");
        }
        lhCalls[lcFunction].push_back({static_cast<GenTL::GC_ERROR>(lnCode), lcWhen});
    }
    std::lock_guard<std::mutex> lcGuard(mcLock);
    mhCallRules.swap(lhCalls);
    mhFrameRules.swap(lhFrames);
    mhCallCounts.clear();
}

void tcFaultInjector::clear()
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    mhCallRules.clear();
    mhFrameRules.clear();
    mhCallCounts.clear();
}

GenTL::GC_ERROR tcFaultInjector::onCall(const char* apFunction)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    if (mhCallRules.empty())
    {
        return GenTL::GC_ERR_SUCCESS;
    }
    const auto lpRules = mhCallRules.find(apFunction);
    if (lpRules == mhCallRules.end())
    {
        return GenTL::GC_ERR_SUCCESS;
    }
    const uint64_t lnCount = ++mhCallCounts[apFunction];
    for (const tcCallRule& lrRule : lpRules->second)
    {
        if (lrRule.mcWhen.contains(lnCount))
        {
            return lrRule.mnCode;
        }
    }
    return GenTL::GC_ERR_SUCCESS;
}

bool tcFaultInjector::hitsFrame(teFrameFault aeFault, uint64_t anFrame) const
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    const auto lcRange = mhFrameRules.equal_range(aeFault);
    for (auto lpRule = lcRange.first; lpRule != lcRange.second; ++lpRule)
    {
        if (lpRule->second.contains(anFrame))
        {
            return true;
        }
    }
    return false;
}

} // namespace simcam
