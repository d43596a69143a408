// The fake control service and reply connections of the farm link tests.
#include "support/FakeFarmService.h"

#include "platform/os/ServerSocket.h"

#include <algorithm>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace korvex::app::test {

bool PumpUntil(os::TEventLoop& loop, const std::function<bool()>& done, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        loop.RunOnce(10);
    }
    return true;
}

TFakeFarmService::TFakeFarmService(os::TEventLoop& loop)
    : FServer(std::make_unique<os::TServerSocket>(loop)) {
    FServer->SetPort(0);
    FServer->OnClientConnect = [this](os::TServerSocket&, os::TServerClientWinSocket& socket) {
        FPartial.push_back({&socket, ++FConnections, ""});
    };
    FServer->OnClientRead = [this](os::TServerSocket&, os::TServerClientWinSocket& socket) {
        for (TPartial& partial : FPartial)
            if (partial.Socket == &socket) {
                partial.Text += socket.ReceiveText();
                return;
            }
        FPartial.push_back({&socket, ++FConnections, socket.ReceiveText()});
    };
    FServer->OnClientDisconnect = [this](os::TServerSocket&, os::TServerClientWinSocket& socket) {
        for (auto it = FPartial.begin(); it != FPartial.end(); ++it)
            if (it->Socket == &socket) {
                const std::string message = std::move(it->Text);
                const std::uint64_t accepted = it->Accepted;
                FPartial.erase(it);
                if (message.empty()) return;   // a connection that sent nothing is no message
                const auto at = std::upper_bound(FAccepted.begin(), FAccepted.end(), accepted);
                FMessages.insert(FMessages.begin() + (at - FAccepted.begin()), message);
                FAccepted.insert(at, accepted);
                if (OnMessage) OnMessage(message);
                return;
            }
    };
    if (!FServer->Open()) throw std::runtime_error("fake farm service: no port");
}

TFakeFarmService::~TFakeFarmService() = default;

int TFakeFarmService::Port() const {
    return FServer->LocalPort();
}

TReplyConnection::TReplyConnection(int port, const std::string& fromIp) {
    FFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (FFd < 0) return;
    sockaddr_in from {};
    from.sin_family = AF_INET;
    inet_pton(AF_INET, fromIp.c_str(), &from.sin_addr);
    sockaddr_in to {};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    if (bind(FFd, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0
        || connect(FFd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0)
        Close();
}

TReplyConnection::~TReplyConnection() {
    Close();
}

void TReplyConnection::Send(const std::string& text) {
    if (FFd >= 0) (void)send(FFd, text.data(), text.size(), MSG_NOSIGNAL);
}

void TReplyConnection::Close() {
    if (FFd >= 0) close(FFd);
    FFd = -1;
}

void SendReply(int port, const std::string& text, const std::string& fromIp) {
    TReplyConnection connection(port, fromIp);
    connection.Send(text);
}

}
