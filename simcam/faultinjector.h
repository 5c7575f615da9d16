#pragma once

#include <GenTL/GenTL.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace simcam
{

// Faults chosen by the environment variable SIMCAM_FAULTS for tests, e.g.
// "DSGetBufferInfo=-1013@3,GCReadPort=-1010@*,incomplete@2". See README.md.
class tcFaultInjector
{
public:
    // Frame-level faults, counted over the frames a producer delivers.
    enum class teFrameFault
    {
        Incomplete, // frame delivered incomplete, only half filled
        Oversize,   // frame reports a size beyond the sensor
        Namespace,  // frame reports a pixel-format namespace other than PFNC
        Vanish,     // the device disappears after this frame
        Drop        // frame lost on the way: its frame id is used, nothing is delivered
    };

    // Replaces every rule; throws std::invalid_argument with the offending entry.
    void configure(const std::string& arSpec);
    void clear();

    // Counts one call of the named function; returns the code to fail it with, or 0.
    GenTL::GC_ERROR onCall(const char* apFunction);
    // True when frame number anFrame (1 = first delivered) is to carry the fault.
    bool hitsFrame(teFrameFault aeFault, uint64_t anFrame) const;

private:
    struct tcWhen
    {
        uint64_t mnFirst = 1;
        uint64_t mnLast = 1; // UINT64_MAX for open ranges and '*'
        bool contains(uint64_t anCount) const { return anCount >= mnFirst && anCount <= mnLast; }
    };
    struct tcCallRule
    {
        GenTL::GC_ERROR mnCode;
        tcWhen mcWhen;
    };

    static tcWhen parseWhen(const std::string& arText, const std::string& arEntry);

    mutable std::mutex mcLock;
    std::map<std::string, std::vector<tcCallRule>> mhCallRules;
    std::map<std::string, uint64_t> mhCallCounts;
    std::multimap<teFrameFault, tcWhen> mhFrameRules;
};

} // namespace simcam
