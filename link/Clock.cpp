#include "link/Clock.h"

#include <thread>

Clock::Time SystemClock::Now() const
{
    return std::chrono::duration_cast<Time>(std::chrono::steady_clock::now() - start_);
}

void SystemClock::Sleep(Duration duration)
{
    if (duration.count() > 0)
        std::this_thread::sleep_for(duration);
}
