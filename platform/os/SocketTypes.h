// What the client and server sockets share: error events and the result of opening.
#pragma once

#include <string>

namespace korvex::os {

// Where a socket error happened. The error code handed with it is the system's errno value.
enum TErrorEvent {
    eeGeneral,
    eeSend,
    eeReceive,
    eeConnect,
    eeDisconnect,
    eeAccept,
    eeLookup,   // no address to connect to: empty, malformed or not resolved
};

// Result of an operation that reports failure as a value.
struct TSocketResult {
    bool Ok = false;
    int ErrorCode = 0;   // errno
    std::string Message;   // for the log and the status bar
    explicit operator bool() const { return Ok; }
};

}
