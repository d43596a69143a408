// The farm link: messages to a node's control service, its replies on our server socket, and the one reply
// slot the status queries share.
#pragma once

#include "app/farm/FarmReply.h"
#include "platform/os/ClientSocket.h"
#include "platform/os/CriticalSection.h"
#include "platform/os/OwnedMutex.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>

namespace korvex::os {
class TEventLoop;
class TServerSocket;
class TServerClientWinSocket;
}

namespace korvex::app {

inline constexpr int FarmReplyTimeoutMs = 5000;   // a reply connection is closed this long after it came
inline constexpr int FarmReplyConnections = 32;   // reply connections open at once; see SetMaxConnections
inline constexpr int FarmColorNoReply = 255;
inline constexpr int FarmColorReplied = 32768;

// Where a farm message for a node goes and what it names.
struct TFarmTarget {
    std::string Ip;   // the node host's dotted address; empty: nothing can be sent
    std::string ServicePath;
    std::string NodeName;
};

// What a status query learnt.
struct TFarmReply {
    bool Replied = false;
    int Color = FarmColorNoReply;
    int State = 0;
};

// One client socket and one reply slot for every node, guarded by the farm lock. Sending works from any
// thread; the server socket belongs to the loop's thread. A command's host name is looked up before the farm
// lock is taken, a status query's under it; the slot lock is taken under the farm lock, never the other way round. A reply must
// come whole within FarmReplyTimeoutMs of its connection (timed on the loop's clock); a connection closed for
// lateness or crowding gives no reply.
class TFarmLink {
public:
    TFarmLink(os::TEventLoop& loop, std::string localIp);
    ~TFarmLink();
    TFarmLink(const TFarmLink&) = delete;
    TFarmLink& operator=(const TFarmLink&) = delete;

    const std::string& LocalIp() const { return FLocalIp; }
    os::TCriticalSection& FarmLock() { return FFarmLock; }

    // The server socket on os::FarmPort(), or on SetPort's port when set (0 picks a free one); a failed
    // listen is logged and returned. Loop thread only.
    void SetPort(int port) { FPort = port; }
    // Where messages go: os::FarmServicePort() unless set. A service on this same machine needs its own port.
    void SetServicePort(int port) { FServicePort = port; }
    // After OpenServer the server socket is wanted until CloseServer: a listen that failed (another process held
    // the port) is tried again by RetryServer, and logged only once until it listens.
    bool OpenServer();
    void CloseServer();
    bool RetryServer();   // true when it listens now and did not before
    bool ServerOpen() const;
    int ServerPort() const;   // the port listened on while open
    int ClientPort() const;   // the port messages go to

    // Replies are taken only for node indexes below this count.
    void SetNodeCount(int count);

    // Sends a start or stop command under the farm lock; false when the connection or the send failed.
    bool Send(int command, const TFarmTarget& target);

    // The status query: sends command 3 and waits for the reply of this node's host, up to `polls` times
    // pollMs; the reply wakes the wait at once, and so does a stop of `stop`. While the server socket does not
    // listen no reply can come, and none is waited for (the node has not replied). onStep reports the stages of
    // the exchange (51 after the open, 52 after the send). The caller may hold the farm lock.
    TFarmReply Query(
        int node, const TFarmTarget& target, std::stop_token stop, const std::function<void(int stage)>& onStep = {});
    void SetReplyWait(int polls, int pollMs) {
        FPolls = polls;
        FPollMs = pollMs;
    }

    int LastClientError() const;
    int DroppedReplies() const;   // replies that came when no query of their host waited

private:
    std::string Resolve(const std::string& address) const;   // outside the farm lock
    bool SendLocked(int command, const TFarmTarget& target, const std::string& connectedIp);
    struct TReplyBuffer {
        TFarmReplyText Text;
        std::uint64_t Query = 0;   // the query waiting when the connection came; 0: none
    };
    void ClientConnected(os::TServerClientWinSocket& socket);
    void ClientRead(os::TServerClientWinSocket& socket);
    void ClientGone(os::TServerClientWinSocket& socket);
    void Parse(const TReplyBuffer& reply, const std::string& fromAddress);

    os::TEventLoop& FLoop;
    std::string FLocalIp;
    std::optional<int> FPort;   // unset: os::FarmPort()
    int FServicePort = 0;   // 0: os::FarmServicePort()
    int FPolls = 100;
    int FPollMs = 100;
    os::TCriticalSection FFarmLock;
    os::TClientSocket FClient;
    std::unique_ptr<os::TServerSocket> FServer;
    bool FServerWanted = false;   // between OpenServer and CloseServer
    bool FListenFailureLogged = false;   // since it last listened or was closed
    std::atomic<bool> FListening {false};   // the server socket listens: a query waits for its reply
    std::map<const os::TServerClientWinSocket*, TReplyBuffer> FBuffers;   // loop thread only

    mutable os::TOwnedMutex FSlotLock;   // guards the slot below
    std::condition_variable_any FReplyCame;   // a reply filled the slot
    int FNodeCount = 0;
    int FPendingNode = -1;
    std::string FPendingAddress;
    bool FWaiting = false;
    bool FArrived = false;
    std::uint64_t FQuerySerial = 0;   // counts the status queries
    int FDroppedReplies = 0;
    TFarmReply FReply;
    int FLastClientError = 0;
};

}
