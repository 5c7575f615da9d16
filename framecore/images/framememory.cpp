#include "framememory.h"

#include <opencv2/core/mat.hpp>

#include <map>
#include <mutex>
#include <new>
#include <unordered_map>

namespace
{
constexpr std::align_val_t scAlignment{64};
// OpenCV's "compute this step" marker for caller-supplied data.
constexpr size_t scAutoStep = 0x7fffffff;

class tcPool
{
public:
    uchar* acquire(size_t anBytes)
    {
        if (anBytes == 0)
            anBytes = 1;
        {
            std::lock_guard<std::mutex> lcLock(mcMutex);
            const auto lcFound = mhKept.find(anBytes);
            if (lcFound != mhKept.end())
            {
                uchar* lpBuffer = lcFound->second;
                mhKept.erase(lcFound);
                mnKeptBytes -= anBytes;
                mhSizes.emplace(lpBuffer, anBytes);
                return lpBuffer;
            }
        }
        auto* lpBuffer = static_cast<uchar*>(::operator new(anBytes, scAlignment, std::nothrow));
        if (lpBuffer == nullptr)
        {
            // Kept buffers of other sizes may be what stands in the way.
            freeKept(0);
            lpBuffer = static_cast<uchar*>(::operator new(anBytes, scAlignment, std::nothrow));
            if (lpBuffer == nullptr)
                return nullptr;
        }
        std::lock_guard<std::mutex> lcLock(mcMutex);
        mhSizes.emplace(lpBuffer, anBytes);
        return lpBuffer;
    }

    void release(uchar* apBuffer)
    {
        if (apBuffer == nullptr)
            return;
        std::unique_lock<std::mutex> lcLock(mcMutex);
        const auto lcFound = mhSizes.find(apBuffer);
        if (lcFound == mhSizes.end())
            return; // not ours: never free what we did not hand out
        const size_t lnBytes = lcFound->second;
        mhSizes.erase(lcFound);
        if (lnBytes >= tcFrameMemory::scMinPooledBytes && mnKeptBytes + lnBytes <= mnLimit)
        {
            mhKept.emplace(lnBytes, apBuffer);
            mnKeptBytes += lnBytes;
            return;
        }
        lcLock.unlock();
        ::operator delete(apBuffer, scAlignment);
    }

    void setLimit(size_t anBytes)
    {
        {
            std::lock_guard<std::mutex> lcLock(mcMutex);
            mnLimit = anBytes;
        }
        freeKept(anBytes);
    }

    size_t limit()
    {
        std::lock_guard<std::mutex> lcLock(mcMutex);
        return mnLimit;
    }

    size_t keptBytes()
    {
        std::lock_guard<std::mutex> lcLock(mcMutex);
        return mnKeptBytes;
    }

    // Frees kept buffers, largest first, until at most anTarget bytes remain.
    void freeKept(size_t anTarget)
    {
        std::multimap<size_t, uchar*> lhFree;
        {
            std::lock_guard<std::mutex> lcLock(mcMutex);
            while (mnKeptBytes > anTarget && !mhKept.empty())
            {
                auto lcLargest = std::prev(mhKept.end());
                mnKeptBytes -= lcLargest->first;
                lhFree.insert(*lcLargest);
                mhKept.erase(lcLargest);
            }
        }
        for (const auto& lrEntry : lhFree)
            ::operator delete(lrEntry.second, scAlignment);
    }

private:
    std::mutex mcMutex;
    std::multimap<size_t, uchar*> mhKept;       // size -> buffer ready for reuse
    std::unordered_map<uchar*, size_t> mhSizes; // buffers handed out
    size_t mnKeptBytes = 0;
    size_t mnLimit = size_t(1) << 30;
};

// The pool and the allocator are never destroyed: a frame or image held by
// some other static object may give its buffer back during program exit,
// after any function-local static here would already be gone.
tcPool& pool()
{
    static tcPool* const spPool = new tcPool;
    return *spPool;
}

// Lets OpenCV matrices draw their buffers from the pool.
class tcPooledMatAllocator : public cv::MatAllocator
{
public:
    cv::UMatData* allocate(int anDims, const int* apSizes, int anType, void* apData, size_t* apStep,
                           cv::AccessFlag, cv::UMatUsageFlags) const override
    {
        size_t lnTotal = CV_ELEM_SIZE(anType);
        for (int lnDim = anDims - 1; lnDim >= 0; --lnDim)
        {
            if (apStep != nullptr)
            {
                if (apData != nullptr && apStep[lnDim] != scAutoStep && apStep[lnDim] != cv::Mat::AUTO_STEP)
                    lnTotal = apStep[lnDim];
                else
                    apStep[lnDim] = lnTotal;
            }
            lnTotal *= static_cast<size_t>(apSizes[lnDim]);
        }
        uchar* lpData = static_cast<uchar*>(apData);
        if (lpData == nullptr)
        {
            lpData = pool().acquire(lnTotal);
            if (lpData == nullptr)
                CV_Error(cv::Error::StsNoMem, "no memory for a frame matrix");
        }
        auto* lpMatData = new cv::UMatData(this);
        lpMatData->data = lpMatData->origdata = lpData;
        lpMatData->size = lnTotal;
        if (apData != nullptr)
            lpMatData->flags |= cv::UMatData::USER_ALLOCATED;
        return lpMatData;
    }

    bool allocate(cv::UMatData* apMatData, cv::AccessFlag, cv::UMatUsageFlags) const override
    {
        return apMatData != nullptr;
    }

    void deallocate(cv::UMatData* apMatData) const override
    {
        if (apMatData == nullptr)
            return;
        if (!(apMatData->flags & cv::UMatData::USER_ALLOCATED))
            pool().release(apMatData->origdata);
        delete apMatData;
    }
};
} // namespace

uchar* tcFrameMemory::acquire(size_t anBytes)
{
    return pool().acquire(anBytes);
}

void tcFrameMemory::release(uchar* apBuffer)
{
    pool().release(apBuffer);
}

cv::MatAllocator* tcFrameMemory::matAllocator()
{
    static tcPooledMatAllocator* const spAllocator = new tcPooledMatAllocator;
    return spAllocator;
}

void tcFrameMemory::setRetainLimit(size_t anBytes)
{
    pool().setLimit(anBytes);
}

size_t tcFrameMemory::retainLimit()
{
    return pool().limit();
}

size_t tcFrameMemory::retainedBytes()
{
    return pool().keptBytes();
}

void tcFrameMemory::trim()
{
    pool().freeKept(0);
}
