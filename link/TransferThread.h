#pragma once
// The worker thread of a transfer dialog: a QThread (so a Qt serial port created on it has an
// event dispatcher) running a JobQueue. Every job of one dialog runs on this one thread; the
// thread is joined when the object goes, after the jobs already posted have run.
#include <QThread>

#include "link/TransferRunner.h"

class TransferThread final : public QThread {
public:
    TransferThread() { start(); }
    ~TransferThread() override
    {
        queue_.Stop();
        wait();
    }

    JobQueue& queue() { return queue_; }

protected:
    void run() override { queue_.Run(); }

private:
    JobQueue queue_;
};
