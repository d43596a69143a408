// The farm link: sending farm messages, receiving replies and the shared reply slot.
#include "app/farm/FarmLink.h"

#include "app/settings/ProgramLog.h"
#include "platform/base/Assert.h"
#include "platform/base/ScopeGuard.h"
#include "platform/os/EventLoop.h"
#include "platform/os/Network.h"
#include "platform/os/ServerSocket.h"

#include <chrono>

namespace korvex::app {

TFarmLink::TFarmLink(os::TEventLoop& loop, std::string localIp)
    : FLoop(loop)
    , FLocalIp(std::move(localIp)) {
    // Errors are kept, never raised.
    FClient.OnError = [this](os::TClientSocket&, os::TErrorEvent, int& errorCode) {
        std::lock_guard guard(FSlotLock);
        FLastClientError = errorCode;
        errorCode = 0;
    };
}

TFarmLink::~TFarmLink() {
    CloseServer();
}

int TFarmLink::ClientPort() const {
    return FServicePort != 0 ? FServicePort : os::FarmServicePort();
}

bool TFarmLink::OpenServer() {
    FServerWanted = true;
    if (ServerOpen()) return true;
    FServer = std::make_unique<os::TServerSocket>(FLoop);
    const int port = FPort ? *FPort : os::FarmPort();
    FServer->SetPort(port);
    FServer->SetReceiveLimit(FarmReplyLimit);
    FServer->SetConnectionTimeout(FarmReplyTimeoutMs);
    FServer->SetMaxConnections(FarmReplyConnections);
    FServer->OnClientConnect
        = [this](os::TServerSocket&, os::TServerClientWinSocket& socket) { ClientConnected(socket); };
    FServer->OnClientRead = [this](os::TServerSocket&, os::TServerClientWinSocket& socket) { ClientRead(socket); };
    FServer->OnClientDisconnect
        = [this](os::TServerSocket&, os::TServerClientWinSocket& socket) { ClientGone(socket); };
    FServer->OnClientError = [this](os::TServerSocket&, os::TServerClientWinSocket& socket, os::TErrorEvent event,
                                 int& errorCode) {
        // Closed by the server for taking too long or for a newer connection: what came is no reply.
        if (event != os::eeReceive) FBuffers.erase(&socket);
        errorCode = 0;
    };
    // Connections that may carry the reply a query waits for go last when the port is crowded.
    FServer->Awaited = [this](const os::TServerClientWinSocket& socket) {
        const auto found = FBuffers.find(&socket);
        std::lock_guard guard(FSlotLock);
        return FWaiting && !FArrived && found != FBuffers.end() && found->second.Query == FQuerySerial
            && socket.RemoteAddress() == FPendingAddress;
    };
    os::TSocketResult result = FServer->Open();
    if (!result) {
        if (!FListenFailureLogged)
            WLog("Farm server socket on port " + std::to_string(port) + " not opened: " + result.Message);
        FListenFailureLogged = true;
        FServer.reset();
        return false;
    }
    FListenFailureLogged = false;
    FListening = true;
    return true;
}

bool TFarmLink::RetryServer() {
    return FServerWanted && !ServerOpen() && OpenServer();
}

void TFarmLink::CloseServer() {
    FServerWanted = false;
    FListenFailureLogged = false;
    FListening = false;
    if (!FServer) return;
    FServer->Close();
    FServer.reset();
    FBuffers.clear();
}

bool TFarmLink::ServerOpen() const {
    return FServer && FServer->Active();
}

int TFarmLink::ServerPort() const {
    return ServerOpen() ? FServer->LocalPort() : 0;
}

void TFarmLink::SetNodeCount(int count) {
    std::lock_guard guard(FSlotLock);
    FNodeCount = count;
}

int TFarmLink::LastClientError() const {
    std::lock_guard guard(FSlotLock);
    return FLastClientError;
}

std::string TFarmLink::Resolve(const std::string& address) const {
    KORVEX_ASSERT(!FFarmLock.HeldByCurrentThread());   // a look-up has no time limit of its own
    return address.empty() ? std::string() : os::NameToIP(address);
}

bool TFarmLink::SendLocked(int command, const TFarmTarget& target, const std::string& connectedIp) {
    KORVEX_ASSERT(FFarmLock.HeldByCurrentThread());
    FClient.SetAddress(connectedIp);
    FClient.SetPort(ClientPort());
    if (!FClient.Open()) return false;   // no address: the open fails and its error is kept
    bool sent = FClient.SendText(FarmMessage(FLocalIp, command, target.ServicePath, target.NodeName));
    FClient.Close();
    return sent;
}

bool TFarmLink::Send(int command, const TFarmTarget& target) {
    const std::string connectedIp = Resolve(target.Ip);
    os::TCriticalSectionLock farm(FFarmLock);
    return SendLocked(command, target, connectedIp);
}

TFarmReply TFarmLink::Query(
    int node, const TFarmTarget& target, std::stop_token stop, const std::function<void(int stage)>& onStep) {
    os::TCriticalSectionLock farm(FFarmLock);
    const std::string connectedIp = target.Ip.empty() ? std::string() : os::NameToIP(target.Ip);
    auto step = [&](int stage) {
        if (onStep) onStep(stage);
    };
    {
        std::lock_guard guard(FSlotLock);
        FPendingNode = node;
        FPendingAddress = connectedIp;
        FArrived = false;
        FReply = TFarmReply {};
        FWaiting = true;
        ++FQuerySerial;
    }
    // The slot takes no reply once this query has given up, whichever way it leaves.
    base::ScopeExit slotClose([this] {
        std::lock_guard guard(FSlotLock);
        FWaiting = false;
        FPendingNode = -1;
        FPendingAddress.clear();
    });

    FClient.SetAddress(connectedIp);
    FClient.SetPort(ClientPort());
    const bool sent = FClient.Open();
    step(51);
    if (!sent) return TFarmReply {};
    FClient.SendText(FarmMessage(FLocalIp, FarmStatus, target.ServicePath, target.NodeName));
    step(52);
    FClient.Close();
    if (!FListening) return TFarmReply {};   // no reply can come in: none is waited for
    const auto deadline
        = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::int64_t(FPolls) * std::int64_t(FPollMs));
    std::unique_lock slot(FSlotLock);
    FReplyCame.wait_until(slot, stop, deadline, [this] { return FArrived; });
    return FArrived ? FReply : TFarmReply {};
}

void TFarmLink::ClientConnected(os::TServerClientWinSocket& socket) {
    std::lock_guard guard(FSlotLock);
    // A connection opened before the query was sent cannot carry its answer.
    FBuffers[&socket] = TReplyBuffer {{}, FWaiting ? FQuerySerial : 0};
}

void TFarmLink::ClientRead(os::TServerClientWinSocket& socket) {
    std::string text = socket.ReceiveText();
    auto found = FBuffers.find(&socket);
    if (found == FBuffers.end()) found = FBuffers.emplace(&socket, TReplyBuffer {}).first;
    if (found->second.Text.Add(text)) {
        TReplyBuffer reply = std::move(found->second);
        std::string from = socket.RemoteAddress();
        FBuffers.erase(found);
        Parse(reply, from);
        socket.Close();
    }
}

void TFarmLink::ClientGone(os::TServerClientWinSocket& socket) {
    auto found = FBuffers.find(&socket);
    if (found == FBuffers.end()) return;
    TReplyBuffer reply = std::move(found->second);
    FBuffers.erase(found);
    Parse(reply, socket.RemoteAddress());
}

void TFarmLink::Parse(const TReplyBuffer& reply, const std::string& fromAddress) {
    if (reply.Text.Text().empty()) return;
    std::lock_guard guard(FSlotLock);
    // Only the host of the query that waits now may answer it, on a connection opened while it waited.
    const bool taken = FWaiting && !FArrived && FPendingNode >= 0 && FPendingNode < FNodeCount
        && reply.Query == FQuerySerial && fromAddress == FPendingAddress;
    if (!taken) {
        ++FDroppedReplies;
        return;
    }
    FReply.Replied = true;
    FReply.Color = FarmColorReplied;
    FReply.State = FarmReplyState(reply.Text.Text());
    FArrived = true;
    FReplyCame.notify_all();
}

int TFarmLink::DroppedReplies() const {
    std::lock_guard guard(FSlotLock);
    return FDroppedReplies;
}

}
