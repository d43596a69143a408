// TServerSocket: listen, accept and read on the event loop; connections freed only outside their events.
#include "platform/os/ServerSocket.h"

#include "platform/base/Assert.h"
#include "platform/os/EventLoop.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <map>
#include <netinet/in.h>
#include <string_view>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

namespace korvex::os {

namespace {

// A turn accepts until no connection waits. The listen queue holds at most SOMAXCONN, so this bound is met only
// by peers that connect faster than they are accepted; everything that waited when the turn began is taken.
constexpr int AcceptsPerTurn = 4 * SOMAXCONN;
constexpr int AcceptPauseMs = 100;   // out of descriptors: stop accepting this long

// Counts the events being delivered, and frees closed connections when the outermost one ends. Touches the
// server only while it is alive: a handler may free it.
class EventScope {
public:
    EventScope(
        const std::shared_ptr<bool>& alive, int& depth, std::vector<std::unique_ptr<TServerClientWinSocket>>& closed)
        : FAlive(alive)
        , FDepth(depth)
        , FClosed(closed) {
        ++FDepth;
    }
    ~EventScope() {
        if (FAlive.expired()) return;
        if (--FDepth == 0) FClosed.clear();
    }
    bool ServerGone() const { return FAlive.expired(); }

private:
    std::weak_ptr<bool> FAlive;
    int& FDepth;
    std::vector<std::unique_ptr<TServerClientWinSocket>>& FClosed;
};

std::string Dotted(const in_addr& address) {
    char text[INET_ADDRSTRLEN] = {};
    return inet_ntop(AF_INET, &address, text, sizeof text) ? text : "";
}

TSocketResult ListenFailure(int port, int code) {
    return {false, code, "Cannot listen on port " + std::to_string(port) + ": " + std::system_category().message(code)};
}

}

// ---- TServerClientWinSocket

TServerClientWinSocket::TServerClientWinSocket(
    TServerSocket& server, int fd, std::string address, int port, int receiveLimit)
    : FServer(server)
    , FFd(fd)
    , FRemoteAddress(std::move(address))
    , FRemotePort(port)
    , FReceiveLimit(receiveLimit) {
}

std::string TServerClientWinSocket::ReceiveText() {
    FTaken = true;
    std::int64_t room = ReceiveChunk;
    if (FReceiveLimit > 0) room = std::min<std::int64_t>(room, FReceiveLimit - FReceived);
    if (FFd < 0 || room <= 0) return "";
    std::string text(static_cast<std::size_t>(room), '\0');
    ssize_t n;
    do
        n = recv(FFd, text.data(), text.size(), MSG_DONTWAIT);
    while (n < 0 && errno == EINTR);
    if (n == 0) FPeerClosed = true;
    if (n <= 0) return "";   // a real error shows at the next read event
    FReceived += n;
    text.resize(static_cast<std::size_t>(n));
    return text;
}

int TServerClientWinSocket::ReceiveLength() const {
    int length = 0;
    if (FFd < 0 || ioctl(FFd, FIONREAD, &length) != 0) return 0;
    return length;
}

void TServerClientWinSocket::Close() {
    FServer.Disconnect(this);
}

// ---- TServerSocket

TServerSocket::TServerSocket(TEventLoop& loop)
    : FLoop(loop) {
}

TServerSocket::~TServerSocket() {
    FAlive.reset();
    if (FResumeTimer) FLoop.KillTimer(FResumeTimer);
    for (auto* list : {&FConnections, &FClosed})
        for (auto& socket : *list) {
            if (socket->FTimer) FLoop.KillTimer(socket->FTimer);
            if (socket->FFd >= 0) {
                FLoop.Unwatch(socket->FFd);
                close(socket->FFd);
            }
        }
    if (FListenFd >= 0) {
        FLoop.Unwatch(FListenFd);
        close(FListenFd);
    }
}

TSocketResult TServerSocket::Open() {
    if (Active()) return {true, 0, ""};
    if (FPort < 0 || FPort > 65535) return ListenFailure(FPort, EINVAL);
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return ListenFailure(FPort, errno);
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(static_cast<uint16_t>(FPort));
    socklen_t length = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, SOMAXCONN) != 0
        || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        int code = errno;
        close(fd);
        return ListenFailure(FPort, code);
    }
    FListenFd = fd;
    FLocalPort = ntohs(address.sin_port);
    FLoop.Watch(fd, feRead, [this](int, unsigned) { AcceptAll(); });
    return {true, 0, ""};
}

void TServerSocket::Close() {
    if (FResumeTimer) FLoop.KillTimer(FResumeTimer);
    FResumeTimer = 0;
    if (FListenFd >= 0) {
        FLoop.Unwatch(FListenFd);
        close(FListenFd);
        FListenFd = -1;
        FLocalPort = 0;
    }
    std::weak_ptr<bool> alive = FAlive;
    while (!alive.expired() && !FConnections.empty())
        Disconnect(FConnections.back().get());
}

TServerClientWinSocket* TServerSocket::Connections(int index) const {
    if (index < 0 || index >= ActiveConnections()) return nullptr;
    return FConnections[static_cast<size_t>(index)].get();
}

void TServerSocket::AcceptAll() {
    EventScope scope(FAlive, FDepth, FClosed);
    // Every waiting connection is taken now, however busy the loop was: a reply behind a flood is not left in
    // the queue until it times out. Text that came with a connection is read at its accept, and one that waits
    // for its text is kept by the eviction rules.
    for (int i = 0; i < AcceptsPerTurn && Active(); ++i) {
        sockaddr_in peer {};
        socklen_t length = sizeof peer;
        int fd = accept4(FListenFd, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED || errno == EPROTO) continue;
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                // The pending connection keeps the listener readable: pause instead of spinning.
                FLoop.SetEvents(FListenFd, feNone);
                FResumeTimer = FLoop.SetTimer(
                    AcceptPauseMs, [this] { ResumeAccepting(); }, TTimerKind::OneShot);
            }
            return;
        }
        while (FMaxConnections > 0 && ActiveConnections() >= FMaxConnections) {
            Drop(EvictionVictim(), eeAccept, EUSERS);
            if (scope.ServerGone()) {
                close(fd);
                return;
            }
        }
        if (!Active()) {   // a handler closed the server
            close(fd);
            return;
        }
        auto owned = std::unique_ptr<TServerClientWinSocket>(
            new TServerClientWinSocket(*this, fd, Dotted(peer.sin_addr), ntohs(peer.sin_port), FReceiveLimit));
        TServerClientWinSocket* socket = owned.get();
        FConnections.push_back(std::move(owned));
        FLoop.Watch(fd, feRead, [this, socket](int, unsigned events) { Readable(socket, events); });
        if (FConnectionTimeoutMs > 0)
            socket->FTimer = FLoop.SetTimer(
                FConnectionTimeoutMs,
                [this, socket] {
                    socket->FTimer = 0;
                    Drop(socket, eeGeneral, ETIMEDOUT);
                },
                TTimerKind::OneShot);
        if (OnClientConnect) {
            TSocketNotifyEvent handler = OnClientConnect;   // a copy: the handler may free us and itself
            handler(*this, *socket);
            if (scope.ServerGone()) return;
        }
        // A short message usually came with its connection: it is read now, not after another turn of the loop.
        // (A closed socket stays valid until the scope ends.)
        Readable(socket, feNone);
        if (scope.ServerGone()) return;
    }
}

TServerClientWinSocket* TServerSocket::EvictionVictim() const {
    KORVEX_ASSERT(!FConnections.empty());
    std::map<std::string_view, int> perAddress;
    for (const auto& socket : FConnections)
        ++perAddress[socket->FRemoteAddress];
    std::vector<char> awaited(FConnections.size(), 0);
    bool othersLeft = !Awaited;
    if (Awaited)
        for (std::size_t i = 0; i < FConnections.size(); ++i) {
            awaited[i] = Awaited(*FConnections[i]) ? 1 : 0;
            othersLeft = othersLeft || !awaited[i];
        }
    TServerClientWinSocket* victim = nullptr;
    int victimCount = 0;
    for (std::size_t i = 0; i < FConnections.size(); ++i) {   // oldest first: a tie keeps the older
        if (othersLeft && awaited[i]) continue;
        const TServerClientWinSocket* socket = FConnections[i].get();
        const int count = perAddress[socket->FRemoteAddress];
        if (victim && count <= victimCount) continue;
        victim = FConnections[i].get();
        victimCount = count;
    }
    return victim;
}

void TServerSocket::ResumeAccepting() {
    FResumeTimer = 0;
    if (Active()) FLoop.SetEvents(FListenFd, feRead);
}

void TServerSocket::Readable(TServerClientWinSocket* socket, unsigned events) {
    EventScope scope(FAlive, FDepth, FClosed);
    if (!socket->Connected()) return;
    char probe;
    ssize_t n = recv(socket->FFd, &probe, 1, MSG_PEEK | MSG_DONTWAIT);
    if (n > 0) {
        if (socket->FReceiveLimit > 0 && socket->FReceived >= socket->FReceiveLimit) {
            Drop(socket, eeReceive, EMSGSIZE);   // more than it may send: the rest is never read
            return;
        }
        socket->FTaken = false;
        if (OnClientRead) {
            TSocketNotifyEvent handler = OnClientRead;
            handler(*this, *socket);
            if (scope.ServerGone()) return;
        }
        if (!socket->Connected()) return;
        if (!socket->FTaken) socket->ReceiveText();   // untaken text is discarded
        if (socket->FPeerClosed) Disconnect(socket);
        return;
    }
    int code = n == 0 ? 0 : errno;
    if (n < 0 && (code == EAGAIN || code == EWOULDBLOCK || code == EINTR)) {
        if (!(events & feError)) return;
        socklen_t length = sizeof code;
        if (getsockopt(socket->FFd, SOL_SOCKET, SO_ERROR, &code, &length) != 0) code = errno;
        if (code == 0) return;
    }
    if (code != 0 && OnClientError) {
        int reported = code;
        TServerErrorEvent handler = OnClientError;
        handler(*this, *socket, eeReceive, reported);
        if (scope.ServerGone()) return;
    }
    Disconnect(socket);
}

void TServerSocket::Drop(TServerClientWinSocket* socket, TErrorEvent event, int code) {
    EventScope scope(FAlive, FDepth, FClosed);
    if (!socket->Connected()) return;
    if (OnClientError) {
        int reported = code;
        TServerErrorEvent handler = OnClientError;
        handler(*this, *socket, event, reported);
        if (scope.ServerGone()) return;
    }
    Disconnect(socket);
}

void TServerSocket::Disconnect(TServerClientWinSocket* socket) {
    if (socket->FFd < 0) return;
    EventScope scope(FAlive, FDepth, FClosed);
    if (socket->FTimer) {
        FLoop.KillTimer(socket->FTimer);
        socket->FTimer = 0;
    }
    FLoop.Unwatch(socket->FFd);
    close(socket->FFd);
    socket->FFd = -1;
    auto it = std::find_if(FConnections.begin(), FConnections.end(), [&](auto& s) { return s.get() == socket; });
    if (it != FConnections.end()) {
        FClosed.push_back(std::move(*it));
        FConnections.erase(it);
    }
    if (OnClientDisconnect) {
        TSocketNotifyEvent handler = OnClientDisconnect;
        handler(*this, *socket);
    }
}

}
