#pragma once
// The one worker thread of a transfer. Jobs run one after another on the same thread, so a
// serial port opened by the first attempt of a session is used and closed on the thread that
// opened it, even when a password retry continues the session later.
//
// JobQueue is the queue and the loop; a runner gives it a thread. TransferRunner uses a
// std::thread; the transfer dialog uses a QThread (see link/TransferThread.h), because a Qt
// serial port wants a thread with an event dispatcher. Either way the thread is joined when the
// runner goes, after the jobs already posted have run, and never detached.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class JobQueue {
public:
    // Queues a job; it runs after every job posted before it.
    void Post(std::function<void()> job);
    // True from Post until the job (and every job queued behind it) has finished.
    bool Busy() const;
    // Blocks until no job is queued or running.
    void WaitIdle();

    // The thread's loop: runs jobs until Stop() has been called and the queue is empty.
    void Run();
    void Stop();

private:
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<std::function<void()>> jobs_;
    bool running_ = false;  // a job is executing
    bool stopping_ = false;
};

class TransferRunner {
public:
    TransferRunner() : thread_([this] { queue_.Run(); }) {}
    ~TransferRunner()
    {
        queue_.Stop();
        thread_.join();
    }
    TransferRunner(const TransferRunner&) = delete;
    TransferRunner& operator=(const TransferRunner&) = delete;

    JobQueue& queue() { return queue_; }
    void Post(std::function<void()> job) { queue_.Post(std::move(job)); }
    bool Busy() const { return queue_.Busy(); }
    void WaitIdle() { queue_.WaitIdle(); }

private:
    JobQueue queue_;
    std::thread thread_;  // last: starts after the queue exists
};
