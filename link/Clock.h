#pragma once
// Time for the link. Every pause of the protocol goes through a Clock, so tests can run a whole
// session in virtual time: a VirtualClock's Sleep only moves its time forward.
#include <atomic>
#include <chrono>
#include <cstdint>

class Clock {
public:
    using Duration = std::chrono::nanoseconds;
    using Time = std::chrono::nanoseconds;  // since the clock's own start

    virtual ~Clock() = default;
    virtual Time Now() const = 0;
    virtual void Sleep(Duration duration) = 0;

    void SleepMs(int milliseconds) { Sleep(std::chrono::milliseconds(milliseconds)); }
};

// Wall-clock time (steady) and real sleeping.
class SystemClock final : public Clock {
public:
    Time Now() const override;
    void Sleep(Duration duration) override;

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// Time that passes only when someone sleeps or advances it. Safe to share between threads.
class VirtualClock final : public Clock {
public:
    Time Now() const override { return Duration(now_.load()); }
    void Sleep(Duration duration) override { Advance(duration); }
    void Advance(Duration duration)
    {
        if (duration.count() > 0)
            now_.fetch_add(duration.count());
    }
    // Total time slept or advanced so far.
    Duration Elapsed() const { return Now(); }

private:
    std::atomic<std::int64_t> now_{0};
};
