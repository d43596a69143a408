// TEventLoopDispatcher: an event loop as the UI dispatcher of TThread::Synchronize and Queue.
#pragma once

#include "platform/os/EventLoop.h"
#include "platform/os/Thread.h"

namespace korvex::os {

// Install on the loop's thread; from then on that thread is the UI thread. Shutting the loop down releases
// every waiting Synchronize; destroying the adapter uninstalls it.
class TEventLoopDispatcher : public IUiDispatcher {
public:
    explicit TEventLoopDispatcher(TEventLoop& loop)
        : FLoop(loop) { }
    ~TEventLoopDispatcher() override;
    TEventLoopDispatcher(const TEventLoopDispatcher&) = delete;
    TEventLoopDispatcher& operator=(const TEventLoopDispatcher&) = delete;

    void Install();
    void Uninstall();
    bool Installed() const;

    bool Post(std::function<void()> task) override;

private:
    TEventLoop& FLoop;
};

}
