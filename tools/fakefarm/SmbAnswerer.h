// The answering hosts' SMB port on loopback: a listener that takes each connection and closes it.
#pragma once

#include <atomic>

namespace korvex::fakefarm {

class TSmbAnswerer {
public:
    // Listens on 127.0.0.1:port (0 picks a free port). Raises std::runtime_error when it cannot.
    explicit TSmbAnswerer(int port);
    ~TSmbAnswerer();
    TSmbAnswerer(const TSmbAnswerer&) = delete;
    TSmbAnswerer& operator=(const TSmbAnswerer&) = delete;

    int Port() const { return FPort; }
    // Takes and closes the connections that arrive within timeoutMs (returns early on a signal).
    void Serve(int timeoutMs);
    // The connections taken so far: one for each "host answers" test of a node that reached the port.
    long Connections() const { return FConnections; }

private:
    std::atomic<long> FConnections {0};
    int FSocket = -1;
    int FPort = 0;
};

// A port free on every address at the moment of asking, below the ephemeral range when it can be.
int FreeLoopbackPort();
// The first port the kernel hands to outgoing connections (/proc; 32768 when unreadable).
int EphemeralPortsStart();

}
