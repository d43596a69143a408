// TServerSocket: a non-blocking TCP server on an event loop, with one TServerClientWinSocket per connection.
#pragma once

#include "platform/os/SocketTypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvex::os {

class TEventLoop;
class TServerSocket;

inline constexpr int ReceiveChunk = 4096;   // bytes read from one connection in one read event, at most

// One accepted connection. Owned by its server; valid while it is listed in Connections() and during the
// event that reports its disconnection.
class TServerClientWinSocket {
public:
    TServerClientWinSocket(const TServerClientWinSocket&) = delete;
    TServerClientWinSocket& operator=(const TServerClientWinSocket&) = delete;

    // Text that has arrived and not been taken yet ("" when none), at most ReceiveChunk bytes a call and never
    // past the server's receive limit; what is left comes with the next read event. A message sent in several
    // writes may arrive over several reads. Never blocks.
    std::string ReceiveText();
    int ReceiveLength() const;   // bytes waiting
    std::int64_t ReceivedBytes() const { return FReceived; }   // taken from the connection so far

    const std::string& RemoteAddress() const { return FRemoteAddress; }
    int RemotePort() const { return FRemotePort; }
    bool Connected() const { return FFd >= 0; }
    int SocketHandle() const { return FFd; }

    void Close();   // OnClientDisconnect follows

private:
    friend class TServerSocket;
    TServerClientWinSocket(TServerSocket& server, int fd, std::string address, int port, int receiveLimit);

    TServerSocket& FServer;
    int FFd;
    std::string FRemoteAddress;
    int FRemotePort;
    bool FPeerClosed = false;
    bool FTaken = false;   // ReceiveText ran in the current read event
    std::int64_t FReceived = 0;
    int FReceiveLimit = 0;   // 0: none
    std::uint64_t FTimer = 0;   // closes it when its time is up; 0: none
};

using TSocketNotifyEvent = std::function<void(TServerSocket& sender, TServerClientWinSocket& socket)>;
using TServerErrorEvent = std::function<void(
    TServerSocket& sender, TServerClientWinSocket& socket, TErrorEvent errorEvent, int& errorCode)>;

// Listens on all IPv4 interfaces (SO_REUSEADDR). Events run on the loop's thread; use the server on that
// thread only. Any event handler may close the connection, close the server or free it.
// OnClientRead: text has arrived; take it with ReceiveText. Text a handler leaves untaken is discarded, and
// without a handler all text is. When the peer closes or the connection fails (OnClientError first; the code
// the handler leaves is only informative) the connection closes and OnClientDisconnect follows.
// One read event reads at most ReceiveChunk bytes of one connection, so no peer holds the loop. The limits
// below keep peers that flood, dawdle or crowd from taking the server; the server closes such a connection
// itself, with OnClientError first: EMSGSIZE (eeReceive) for more than its receive limit, ETIMEDOUT
// (eeGeneral) when its time is up, EUSERS (eeAccept) when a newer connection needed its place.
class TServerSocket {
public:
    explicit TServerSocket(TEventLoop& loop);
    ~TServerSocket();   // closes without events
    TServerSocket(const TServerSocket&) = delete;
    TServerSocket& operator=(const TServerSocket&) = delete;

    int Port() const { return FPort; }
    void SetPort(int value) { FPort = value; }   // takes effect at the next Open; 0 picks a free port

    bool Active() const { return FListenFd >= 0; }
    int LocalPort() const { return FLocalPort; }   // the port listened on while active

    // Starts listening; a failure (port taken, privileged port, ...) is returned, never raised.
    TSocketResult Open();
    void Close();   // closes every connection too, each with OnClientDisconnect

    // Limits of each connection; 0 is none, and a change holds for connections accepted afterwards.
    void SetReceiveLimit(int bytes) { FReceiveLimit = bytes; }   // more is never read: the connection closes
    void SetConnectionTimeout(int ms) { FConnectionTimeoutMs = ms; }   // on the loop's clock, from the accept
    // At most this many connections open: a new one closes another, so fresh peers always get in. The one closed
    // is the oldest of the address holding the most connections, whatever it has sent, so a peer that floods the
    // port (from one address or from many) pushes out its own connections before others'; connections that
    // Awaited names go only when no other is left.
    void SetMaxConnections(int count) { FMaxConnections = count; }
    // The connections the owner waits on (a reply due from their address): kept longest when the server is full.
    // Called while a connection is being chosen; it must not close anything. Empty: none.
    std::function<bool(const TServerClientWinSocket& socket)> Awaited;

    int ActiveConnections() const { return static_cast<int>(FConnections.size()); }
    TServerClientWinSocket* Connections(int index) const;

    TSocketNotifyEvent OnClientConnect;
    TSocketNotifyEvent OnClientRead;
    TSocketNotifyEvent OnClientDisconnect;
    TServerErrorEvent OnClientError;

private:
    friend class TServerClientWinSocket;

    void AcceptAll();
    TServerClientWinSocket* EvictionVictim() const;   // the connection a new one replaces when full
    void Readable(TServerClientWinSocket* socket, unsigned events);
    // Closes a connection for the server's own reason: OnClientError with the code, then the disconnect.
    void Drop(TServerClientWinSocket* socket, TErrorEvent event, int code);
    void Disconnect(TServerClientWinSocket* socket);
    void ResumeAccepting();

    TEventLoop& FLoop;
    int FPort = 0;
    int FListenFd = -1;
    int FLocalPort = 0;
    int FReceiveLimit = 0;
    int FConnectionTimeoutMs = 0;
    int FMaxConnections = 0;
    std::uint64_t FResumeTimer = 0;
    int FDepth = 0;   // events being delivered; the dead are freed only outside them
    std::vector<std::unique_ptr<TServerClientWinSocket>> FConnections;
    std::vector<std::unique_ptr<TServerClientWinSocket>> FClosed;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}
