// Test helpers for the loopback tests: listeners, refused ports, reading a connection, temporary folders.
#pragma once

#include "tests/platform/os/support/TempFolder.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace korvex::os::nettest {

// A listening socket on 127.0.0.1 with a port of the system's choice.
class LoopbackListener {
public:
    explicit LoopbackListener(int backlog = 16);
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    int Port() const { return FPort; }
    int Accept(int timeoutMs);   // the connection, or -1 when none came in time
    // Connects to itself until the accept queue is full, so that a further connect gets no answer.
    // Only for a listener made with backlog 0.
    bool FillBacklog();

private:
    int FFd = -1;
    int FPort = 0;
    std::vector<int> FFillers;
};

// A port on 127.0.0.1 that nobody listens on: connecting is refused.
int UnusedPort();

// A blocking connection to 127.0.0.1:port, or -1.
int ConnectLoopback(int port);

// Reads until the peer closes or timeoutMs passes without data.
std::string ReadAll(int fd, int timeoutMs);

// Writes all of text; false on failure.
bool WriteAll(int fd, const std::string& text);

// Whether the peer closed the connection (end of file or reset) within timeoutMs; what it sent is skipped.
// `error` gets 0 for an end of file, else the error (ECONNRESET: closed with text it never read).
bool PeerClosed(int fd, int timeoutMs, int* error = nullptr);

// Fills the connection without reading anything back: non-blocking writes until the kernel takes no more (or
// `most` bytes). The bytes written.
std::int64_t FillConnection(int fd, std::int64_t most);

// Writes to a connection from a thread of its own as fast as it can, until a write fails or `budget` bytes
// are written. A write that stalls for 10 s fails too.
class Flooder {
public:
    Flooder(int fd, std::int64_t budget);
    ~Flooder();
    Flooder(const Flooder&) = delete;
    Flooder& operator=(const Flooder&) = delete;

    // Waits for the end; then the bytes written and the error that ended it (0: the budget was spent).
    void Join();
    bool Done() const { return FDone; }
    std::int64_t Written() const { return FWritten; }
    int Error() const { return FError; }

private:
    std::thread FThread;
    std::atomic<bool> FDone {false};
    std::int64_t FWritten = 0;
    int FError = 0;
};

// A fresh folder under /tmp whatever $TMPDIR says, removed with everything in it at destruction. Path() is
// canonical.
class TmpFolder : public filetest::TempFolder {
public:
    TmpFolder();
};

}
