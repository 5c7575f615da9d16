#include "streambuffers.h"

void tcStreamBuffers::open(void* apStream, const GenAPIFuncs& arFunctions)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    mpStream = apStream;
    mcFunctions = arFunctions;
}

void tcStreamBuffers::close()
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    mpStream = nullptr;
}

void* tcStreamBuffers::stream() const
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    return mpStream;
}

void tcStreamBuffers::lend(QObject* apFrame, void* apBuffer)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    mhImageBufferHash.insert(apFrame, apBuffer);
    ++mnBuffersOut;
}

void* tcStreamBuffers::giveBack(QObject* apFrame)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    const auto lcIt = mhImageBufferHash.find(apFrame);
    if (lcIt == mhImageBufferHash.end())
        return nullptr;
    void* lpBuffer = lcIt.value();
    mhImageBufferHash.erase(lcIt);
    // Queued under the lock so that the stream cannot close in between.
    if (mpStream && mcFunctions.DSQueueBuffer && !msRetired.contains(lpBuffer))
        mcFunctions.DSQueueBuffer(mpStream, lpBuffer);
    --mnBuffersOut;
    return lpBuffer;
}

bool tcStreamBuffers::isLent(void* apBuffer) const
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    return isLentLocked(apBuffer);
}

bool tcStreamBuffers::isLentLocked(void* apBuffer) const
{
    for (void* lpBuffer : mhImageBufferHash)
        if (lpBuffer == apBuffer)
            return true;
    return false;
}

void tcStreamBuffers::retire(void* apBuffer)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    msRetired.append(apBuffer);
}

QList<void*> tcStreamBuffers::takeFreeRetired()
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    QList<void*> lsFree;
    for (auto lcIt = msRetired.begin(); lcIt != msRetired.end();)
    {
        if (isLentLocked(*lcIt))
        {
            ++lcIt;
            continue;
        }
        lsFree.append(*lcIt);
        lcIt = msRetired.erase(lcIt);
    }
    return lsFree;
}

QHash<QObject*, void*> tcStreamBuffers::lentBuffers() const
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    return mhImageBufferHash;
}
