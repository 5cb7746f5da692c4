#pragma once
// How far a load running on another thread has read, and the request to stop it. The load
// reports through it and stops by throwing LoadCancelled from Report once cancelled.

#include <QtGlobal>

#include <algorithm>
#include <atomic>

namespace plotwell {

struct LoadCancelled
{
};

class LoadProgress
{
public:
    // From the load's thread.
    void SetTotal(qint64 bytes) { total_.store(bytes, std::memory_order_relaxed); }
    void Report(qint64 bytesRead)
    {
        done_.store(bytesRead, std::memory_order_relaxed);
        ThrowIfCancelled();
    }
    void Done() { done_.store(total_.load(std::memory_order_relaxed), std::memory_order_relaxed); }
    void ThrowIfCancelled() const
    {
        if (cancelled_.load(std::memory_order_relaxed))
            throw LoadCancelled{};
    }

    // From any thread.
    void Cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    bool Cancelled() const { return cancelled_.load(std::memory_order_relaxed); }
    // 0 to 100; 0 while the size is not known yet.
    int Percent() const
    {
        const qint64 total = total_.load(std::memory_order_relaxed);
        const qint64 done = done_.load(std::memory_order_relaxed);
        return total <= 0 ? 0 : static_cast<int>(std::clamp<qint64>(done * 100 / total, 0, 100));
    }

private:
    std::atomic<qint64> total_{0};
    std::atomic<qint64> done_{0};
    std::atomic<bool> cancelled_{false};
};

} // namespace plotwell
