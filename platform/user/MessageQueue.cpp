// Thread message queues: making and finding them, posting into them, calls sent across threads, shutting down.
#include "platform/user/MessageQueue.h"

#include "platform/user/InputState.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Window.h"
#include "platform/user/WindowObject.h"

#include <map>

namespace korvex::user::detail {

namespace {

std::mutex& RegistryMutex() {
    static std::mutex mutex;
    return mutex;
}
std::map<std::thread::id, std::weak_ptr<ThreadQueue>>& Registry() {
    static std::map<std::thread::id, std::weak_ptr<ThreadQueue>> registry;
    return registry;
}

// Shuts the queue down when its thread ends.
struct QueueHolder {
    std::shared_ptr<ThreadQueue> Queue;
    ~QueueHolder();
};
thread_local QueueHolder tQueue;

std::shared_ptr<ThreadQueue> MakeQueue(os::TEventLoop::TClock clock) {
    auto queue = std::make_shared<ThreadQueue>();
    queue->Thread = std::this_thread::get_id();
    queue->Loop = std::make_unique<os::TEventLoop>(std::move(clock));
    queue->Loop->OnException = [](std::exception_ptr error) { HandleProcException(error); };
    std::lock_guard lock(RegistryMutex());
    Registry()[queue->Thread] = queue;
    return queue;
}

void Shutdown(const std::shared_ptr<ThreadQueue>& queue) {
    if (!queue) return;
    std::vector<HWND> windows;
    EnumThreadWindows(queue->Thread, [&](HWND h) {
        windows.push_back(h);
        return true;
    });
    for (HWND h : windows)
        DestroyWindow(h);
    for (auto& [key, timer] : queue->Timers)
        if (timer.LoopTimer) queue->Loop->KillTimer(timer.LoopTimer);
    queue->Timers.clear();
    std::deque<std::shared_ptr<SentCall>> sent;
    {
        std::lock_guard lock(queue->Mutex);
        queue->ShutDown = true;
        queue->Posted.clear();
        sent.swap(queue->Sent);
    }
    for (auto& call : sent)
        call->Finish(0);
    if (queue->Dispatcher) {
        queue->Dispatcher->Uninstall();
        queue->Dispatcher.reset();
    }
    queue->Loop->Shutdown();
    queue->Input.clear();
    queue->Routed.clear();
    std::lock_guard lock(RegistryMutex());
    auto it = Registry().find(queue->Thread);
    if (it != Registry().end() && it->second.lock() == queue) Registry().erase(it);
}

QueueHolder::~QueueHolder() {
    Shutdown(Queue);
}

}   // namespace

void SentCall::Finish(LRESULT result) {
    std::lock_guard lock(Mutex);
    Result = result;
    Done = true;
    Cv.notify_all();
}

int ThreadQueue::RunSentCalls() {
    int count = 0;
    for (;;) {
        std::shared_ptr<SentCall> call;
        {
            std::lock_guard lock(Mutex);
            if (Sent.empty()) break;
            call = Sent.front();
            Sent.pop_front();
        }
        LRESULT result = 0;
        if (WindowObject* w = FromHandle(call->Hwnd); w && w->Thread == Thread) {
            ++InSendFromOther;
            result = Send(w, call->Msg, call->WParam, call->LParam);
            --InSendFromOther;
        }
        call->Finish(result);
        ++count;
    }
    return count;
}

bool ThreadQueue::Wake() {
    ThreadQueue* self = this;
    std::weak_ptr<ThreadQueue> weak = QueueOfThread(Thread);
    return Loop->Post([self, weak] {
        if (weak.lock().get() == self) self->RunSentCalls();
    });
}

DWORD ThreadQueue::NowMs() const {
    auto since = Loop->Now().time_since_epoch();
    return DWORD(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

ThreadQueue& CurrentQueue() {
    return *CurrentQueuePtr();
}

std::shared_ptr<ThreadQueue> CurrentQueuePtr() {
    if (!tQueue.Queue) tQueue.Queue = MakeQueue({});
    return tQueue.Queue;
}

ThreadQueue* CurrentQueueIfAny() {
    return tQueue.Queue.get();
}

std::shared_ptr<ThreadQueue> QueueOfThread(std::thread::id thread) {
    std::lock_guard lock(RegistryMutex());
    auto it = Registry().find(thread);
    return it == Registry().end() ? nullptr : it->second.lock();
}

bool PostToQueue(ThreadQueue& queue, const MSG& msg, bool front) {
    MSG m = msg;
    {
        std::lock_guard lock(queue.Mutex);
        if (queue.ShutDown) return false;
        if (m.time == 0) m.time = queue.NowMs();
        if (front)
            queue.Posted.push_front(m);
        else
            queue.Posted.push_back(m);
    }
    if (queue.Thread != std::this_thread::get_id()) queue.Loop->Post([] {});
    return true;
}

}   // namespace korvex::user::detail

namespace korvex::user {

void InitMessageQueue(os::TEventLoop::TClock clock, UiDispatch dispatch) {
    ShutdownMessageQueue();
    auto queue = detail::MakeQueue(std::move(clock));
    detail::tQueue.Queue = queue;
    if (dispatch == UiDispatch::Yes) {
        queue->Dispatcher = std::make_unique<os::TEventLoopDispatcher>(*queue->Loop);
        queue->Dispatcher->Install();
    }
}

void ShutdownMessageQueue() {
    auto queue = std::move(detail::tQueue.Queue);
    detail::tQueue.Queue.reset();
    if (!queue) return;
    detail::tQueue.Queue = queue;   // windows being destroyed still reach their queue
    detail::Shutdown(queue);
    detail::tQueue.Queue.reset();
    detail::ResetInputState();
}

os::TEventLoop& MessageEventLoop() {
    return *detail::CurrentQueue().Loop;
}

}
