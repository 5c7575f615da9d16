#pragma once

#include <condition_variable>
#include <mutex>

// A counting semaphore for hand-overs between threads. Built on the standard
// library rather than QSemaphore so that the thread sanitizer, which cannot
// see inside Qt, understands the hand-over.
class tcSemaphore
{
public:
    // Notifies under the lock: once the waiter is woken the releasing thread
    // touches nothing more, so the waiter may destroy the semaphore.
    void release()
    {
        std::lock_guard<std::mutex> lcGuard(mcLock);
        ++mnCount;
        mcWake.notify_one();
    }

    void acquire()
    {
        std::unique_lock<std::mutex> lcGuard(mcLock);
        mcWake.wait(lcGuard, [this] { return mnCount > 0; });
        --mnCount;
    }

    int available() const
    {
        std::lock_guard<std::mutex> lcGuard(mcLock);
        return mnCount;
    }

private:
    mutable std::mutex mcLock;
    std::condition_variable mcWake;
    int mnCount = 0;
};
