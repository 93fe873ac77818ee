#include "link/TransferRunner.h"

void JobQueue::Post(std::function<void()> job)
{
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_all();
}

bool JobQueue::Busy() const
{
    std::lock_guard lock(mutex_);
    return running_ || !jobs_.empty();
}

void JobQueue::WaitIdle()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !running_ && jobs_.empty(); });
}

void JobQueue::Stop()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
}

void JobQueue::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty())  // stopping, nothing left to run
            return;
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        running_ = true;
        lock.unlock();
        job();
        lock.lock();
        running_ = false;
        if (jobs_.empty())
            idle_.notify_all();
    }
}
