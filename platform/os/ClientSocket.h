// TClientSocket: a blocking TCP client that connects, sends a text and closes, as the farm link uses it.
#pragma once

#include "platform/os/SocketTypes.h"

#include <functional>
#include <string>

namespace korvex::os {

class TClientSocket;

// The handler may set errorCode to 0 to mark the error handled. Nothing is ever raised either way: the failing
// call returns false and LastError() keeps the code as reported.
using TSocketErrorEvent = std::function<void(TClientSocket& socket, TErrorEvent errorEvent, int& errorCode)>;

// Not thread-safe: callers sharing one socket serialise their exchanges (the farm lock does).
class TClientSocket {
public:
    inline static constexpr int DefaultTimeoutMs = 5000;

    TClientSocket() = default;
    ~TClientSocket();
    TClientSocket(const TClientSocket&) = delete;
    TClientSocket& operator=(const TClientSocket&) = delete;

    // Address (dotted IPv4) wins over Host (a name or dotted address, looked up on Open) when both are set.
    const std::string& Address() const { return FAddress; }
    void SetAddress(const std::string& value) { FAddress = value; }
    const std::string& Host() const { return FHost; }
    void SetHost(const std::string& value) { FHost = value; }
    int Port() const { return FPort; }
    void SetPort(int value) { FPort = value; }
    // Time-out of the connect and of each send, in milliseconds.
    int Timeout() const { return FTimeoutMs; }
    void SetTimeout(int value) { FTimeoutMs = value; }

    bool Active() const { return FFd >= 0; }
    int LastError() const { return FLastError; }   // errno of the last failure, 0 after a success

    // Connects; true when connected (also when already open). On failure fires OnError (eeLookup for no
    // usable address, eeConnect for a refused, unreachable or timed-out connect) and returns false.
    bool Open();
    void Close();
    // Sends the whole text; false (and OnError with eeSend) when not open or the peer stops taking it.
    bool SendText(const std::string& text);

    TSocketErrorEvent OnError;

private:
    bool Fail(TErrorEvent errorEvent, int errorCode);

    std::string FAddress;
    std::string FHost;
    int FPort = 0;
    int FTimeoutMs = DefaultTimeoutMs;
    int FFd = -1;
    int FLastError = 0;
};

}
