// The loopback control service of the fake farm: a poll loop on its own thread.
#include "tools/fakefarm/FarmControlService.h"

#include "app/farm/FarmReply.h"
#include "platform/base/Numbers.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace korvex::fakefarm {

namespace {

using Clock = std::chrono::steady_clock;

sockaddr_in SocketAddress(const std::string& ip, int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, ip.c_str(), &address.sin_addr);
    return address;
}

// The fields of "sender#command*path^name" the reply needs; command 0 when the message lacks a mark.
struct TMessage {
    int Command = 0;
    std::string Path, Name;
};

TMessage Split(const std::string& text) {
    TMessage message;
    if (!app::FarmReplyComplete(text)) return message;
    const app::TFarmReplyFields fields = app::SplitFarmReply(text);
    base::TryStrToInt(fields.B, message.Command);
    message.Path = fields.C;
    message.Name = fields.D;
    return message;
}

}

struct TFarmControlService::TPendingReply {
    Clock::time_point Due;
    std::string Text;
    TFarmBehaviour Behaviour;
    int ReplyPort = 0;
};

TFarmControlService::TFarmControlService(std::string listenIp, int port, std::string replyIp, int replyPort)
    : FListenIp(std::move(listenIp))
    , FReplyIp(std::move(replyIp))
    , FReplyPort(replyPort) {
    FListen = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    int on = 1;
    setsockopt(FListen, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address = SocketAddress(FListenIp, port);
    if (FListen < 0 || bind(FListen, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || listen(FListen, 16) != 0) {
        if (FListen >= 0) ::close(FListen);
        FListen = -1;
        return;
    }
    socklen_t length = sizeof address;
    getsockname(FListen, reinterpret_cast<sockaddr*>(&address), &length);
    FPort = ntohs(address.sin_port);
    if (pipe2(FWake, O_CLOEXEC | O_NONBLOCK) != 0) {
        ::close(FListen);
        FListen = -1;
        return;
    }
    FThread = std::thread([this] { Run(); });
}

TFarmControlService::~TFarmControlService() {
    if (FThread.joinable()) {
        {
            std::lock_guard lock(FLock);
            FStop = true;
        }
        (void)::write(FWake[1], "x", 1);
        FThread.join();
    }
    for (int fd : {FListen, FWake[0], FWake[1]})
        if (fd >= 0) ::close(fd);
}

void TFarmControlService::SetBehaviour(const TFarmBehaviour& behaviour) {
    std::lock_guard lock(FLock);
    FBehaviour = behaviour;
}

int TFarmControlService::State() const {
    std::lock_guard lock(FLock);
    return FBehaviour.State;
}

void TFarmControlService::SetReplyPort(int port) {
    std::lock_guard lock(FLock);
    FReplyPort = port;
}

std::vector<std::string> TFarmControlService::Messages() const {
    std::lock_guard lock(FLock);
    return FMessages;
}

int TFarmControlService::RepliesSent() const {
    std::lock_guard lock(FLock);
    return FReplies;
}

std::vector<TFarmEvent> TFarmControlService::Events() const {
    std::lock_guard lock(FLock);
    return FEvents;
}

bool TFarmControlService::WaitForMessages(std::size_t count, int timeoutMs) const {
    std::unique_lock lock(FLock);
    return FChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return FMessages.size() >= count; });
}

bool TFarmControlService::WaitForReplies(int count, int timeoutMs) const {
    std::unique_lock lock(FLock);
    return FChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return FReplies >= count; });
}

void TFarmControlService::Run() {
    struct TConnection {
        int Fd;
        std::string Text;
    };
    std::vector<TConnection> connections;
    for (;;) {
        int timeout = -1;
        {
            std::lock_guard lock(FLock);
            if (FStop) break;
            for (const TPendingReply& reply : FPending) {
                auto left = std::chrono::duration_cast<std::chrono::milliseconds>(reply.Due - Clock::now()).count();
                timeout = timeout < 0 ? static_cast<int>(std::max<long long>(left, 0))
                                      : std::min(timeout, static_cast<int>(std::max<long long>(left, 0)));
            }
        }
        std::vector<pollfd> fds = {{FWake[0], POLLIN, 0}, {FListen, POLLIN, 0}};
        for (const TConnection& connection : connections)
            fds.push_back({connection.Fd, POLLIN, 0});
        if (::poll(fds.data(), fds.size(), timeout) < 0) continue;
        char drain[16];
        while (::read(FWake[0], drain, sizeof drain) > 0) {
        }
        for (int fd; (fd = ::accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;)
            connections.push_back({fd, {}});
        for (std::size_t i = 0; i < connections.size();) {
            char buffer[512];
            const ssize_t got = ::recv(connections[i].Fd, buffer, sizeof buffer, MSG_DONTWAIT);
            if (got > 0) {
                connections[i].Text.append(buffer, static_cast<std::size_t>(got));
                continue;   // read until it would block or ends
            }
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                ++i;
                continue;
            }
            ::close(connections[i].Fd);
            const std::string message = std::move(connections[i].Text);
            connections.erase(connections.begin() + static_cast<std::ptrdiff_t>(i));
            Answer(message);
        }
        std::vector<TPendingReply> due;
        {
            std::lock_guard lock(FLock);
            const Clock::time_point now = Clock::now();
            for (auto it = FPending.begin(); it != FPending.end();) {
                if (it->Due <= now) {
                    due.push_back(*it);
                    it = FPending.erase(it);
                } else {
                    ++it;
                }
            }
        }
        for (const TPendingReply& reply : due)
            SendReply(reply.Text, reply.Behaviour, reply.ReplyPort);
    }
    for (const TConnection& connection : connections)
        ::close(connection.Fd);
}

void TFarmControlService::Answer(const std::string& text) {
    const TMessage message = Split(text);
    if (OnMessage) OnMessage(text);   // first, so a waiter for the message sees what the hook did
    TFarmBehaviour behaviour;
    int replyPort = 0;
    {
        std::lock_guard lock(FLock);
        FMessages.push_back(text);
        FEvents.push_back({Clock::now(), false, text});
        // Start and stop change the state the next status query reports; only status queries are answered.
        if (message.Command == 1) FBehaviour.State = 4;
        if (message.Command == 2) FBehaviour.State = 1;
        if (message.Command == 3) FLastQuery = text;
        behaviour = FBehaviour;
        replyPort = FReplyPort;
    }
    FChanged.notify_all();
    if (message.Command != 3 || behaviour.Answer == TFarmAnswer::NoReply) return;
    const std::string reply = ReplyText(text, behaviour.State);
    if (behaviour.Answer == TFarmAnswer::Late) {
        std::lock_guard lock(FLock);
        FPending.push_back({Clock::now() + std::chrono::milliseconds(behaviour.DelayMs), reply, behaviour, replyPort});
        return;
    }
    SendReply(reply, behaviour, replyPort);
}

bool TFarmControlService::ReplyNow() {
    std::string query;
    TFarmBehaviour behaviour;
    int replyPort = 0;
    {
        std::lock_guard lock(FLock);
        query = FLastQuery;
        behaviour = FBehaviour;
        replyPort = FReplyPort;
    }
    if (query.empty()) return false;
    behaviour.Answer = TFarmAnswer::Reply;
    return SendReply(ReplyText(query, behaviour.State), behaviour, replyPort);
}

std::string TFarmControlService::ReplyText(const std::string& text, int state) const {
    const TMessage message = Split(text);
    return app::FarmMessage(FListenIp, state, message.Path, message.Name);
}

bool TFarmControlService::SendReply(const std::string& text, const TFarmBehaviour& behaviour, int replyPort) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);   // each piece its own segment
    sockaddr_in from = SocketAddress(behaviour.ReplyFrom.empty() ? FListenIp : behaviour.ReplyFrom, 0);
    sockaddr_in to = SocketAddress(FReplyIp, replyPort);
    bool sent = false;
    int writes = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from) == 0
        && connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) {
        const int pieces = behaviour.Answer == TFarmAnswer::Split ? std::max(1, behaviour.Pieces) : 1;
        const std::size_t size = (text.size() + static_cast<std::size_t>(pieces) - 1) / static_cast<std::size_t>(pieces);
        sent = true;
        for (std::size_t at = 0; at < text.size(); at += size) {
            if (at > 0) std::this_thread::sleep_for(std::chrono::milliseconds(behaviour.PieceGapMs));
            const std::string piece = text.substr(at, size);
            sent = sent && ::send(fd, piece.data(), piece.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(piece.size());
            ++writes;
        }
    }
    ::close(fd);
    if (!sent) return false;
    {
        std::lock_guard lock(FLock);
        ++FReplies;
        FEvents.push_back({Clock::now(), true, text, writes});
    }
    FChanged.notify_all();
    return true;
}

}
