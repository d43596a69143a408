// Internal: a TCP connect to an IPv4 address with a time-out, shared by the client socket and the host probe.
#pragma once

#include <string>

namespace korvex::os::detail {

// Connects a blocking IPv4 stream socket (close-on-exec) to ip:port, waiting at most timeoutMs.
// Returns the descriptor, or -1 with error set to the errno (ETIMEDOUT on time-out, EINVAL on a bad address).
int ConnectTcp(const std::string& ip, int port, int timeoutMs, int& error);

}
