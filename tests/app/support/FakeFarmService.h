// A node's control service for the farm link tests: takes messages on a loopback port, and replies sent
// piece by piece from a chosen loopback address.
#pragma once

#include "platform/os/EventLoop.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvex::os {
class TServerSocket;
}

namespace korvex::app::test {

// Runs the loop's rounds until `done` holds; false after timeoutMs.
bool PumpUntil(os::TEventLoop& loop, const std::function<bool()>& done, int timeoutMs = 60000);

// Listens on a free port of the loop; a message is complete when its sender closes the connection. Messages
// stand in the order their connections were accepted, whichever closed first.
class TFakeFarmService {
public:
    explicit TFakeFarmService(os::TEventLoop& loop);
    ~TFakeFarmService();
    TFakeFarmService(const TFakeFarmService&) = delete;
    TFakeFarmService& operator=(const TFakeFarmService&) = delete;

    int Port() const;
    const std::vector<std::string>& Messages() const { return FMessages; }
    std::function<void(const std::string& message)> OnMessage;   // on the loop thread

private:
    std::unique_ptr<os::TServerSocket> FServer;
    struct TPartial {
        const void* Socket;
        std::uint64_t Accepted;
        std::string Text;
    };
    std::vector<std::string> FMessages;
    std::vector<std::uint64_t> FAccepted;   // of each message
    std::vector<TPartial> FPartial;
    std::uint64_t FConnections = 0;
};

// A connection to the farm link's server port from a loopback address (127.0.0.1, 127.0.0.2, ...).
class TReplyConnection {
public:
    TReplyConnection(int port, const std::string& fromIp = "127.0.0.1");
    ~TReplyConnection();
    TReplyConnection(const TReplyConnection&) = delete;
    TReplyConnection& operator=(const TReplyConnection&) = delete;

    bool Connected() const { return FFd >= 0; }
    int Handle() const { return FFd; }
    void Send(const std::string& text);
    void Close();

private:
    int FFd = -1;
};

// A whole reply in one connection.
void SendReply(int port, const std::string& text, const std::string& fromIp = "127.0.0.1");

}
