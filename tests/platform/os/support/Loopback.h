// Test helpers for the loopback tests: listeners, refused ports, reading a connection, temporary folders.
#pragma once

#include <string>
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

// A fresh folder under /tmp, removed with everything in it at destruction. Path() is canonical.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

}
