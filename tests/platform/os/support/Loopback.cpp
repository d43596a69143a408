// Test helpers for the loopback tests.
#include "support/Loopback.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace korvex::os::nettest {

namespace {

sockaddr_in Loopback(int port) {
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    return address;
}

int BoundSocket(int& port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        std::abort();
    port = ntohs(address.sin_port);
    return fd;
}

}

LoopbackListener::LoopbackListener(int backlog) {
    FFd = BoundSocket(FPort);
    if (listen(FFd, backlog) != 0) std::abort();
}

LoopbackListener::~LoopbackListener() {
    for (int fd : FFillers)
        close(fd);
    close(FFd);
}

int LoopbackListener::Accept(int timeoutMs) {
    pollfd waiting {FFd, POLLIN, 0};
    if (poll(&waiting, 1, timeoutMs) <= 0) return -1;
    return accept4(FFd, nullptr, nullptr, SOCK_CLOEXEC);
}

bool LoopbackListener::FillBacklog() {
    sockaddr_in address = Loopback(FPort);
    for (int i = 0; i < 16; ++i) {
        int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        FFillers.push_back(fd);
        pollfd waiting {fd, POLLOUT, 0};
        if (poll(&waiting, 1, 50) == 0) return true;   // this one got no answer: the queue is full
    }
    return false;
}

int UnusedPort() {
    int port = 0;
    close(BoundSocket(port));
    return port;
}

int ConnectLoopback(int port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(port);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
    close(fd);
    return -1;
}

std::string ReadAll(int fd, int timeoutMs) {
    std::string text;
    char buffer[4096];
    for (;;) {
        pollfd waiting {fd, POLLIN, 0};
        if (poll(&waiting, 1, timeoutMs) <= 0) return text;
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) return text;
        text.append(buffer, static_cast<size_t>(n));
    }
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool PeerClosed(int fd, int timeoutMs, int* error) {
    char buffer[4096];
    for (;;) {
        pollfd waiting {fd, POLLIN, 0};
        if (poll(&waiting, 1, timeoutMs) <= 0) return false;
        ssize_t n = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
            if (error) *error = n == 0 ? 0 : errno;
            return true;
        }
    }
}

std::int64_t FillConnection(int fd, std::int64_t most) {
    const std::string chunk(65536, 'f');
    std::int64_t written = 0;
    while (written < most) {
        ssize_t n = send(fd, chunk.data(), chunk.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        written += n;
    }
    return written;
}

Flooder::Flooder(int fd, std::int64_t budget) {
    timeval stall {10, 0};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &stall, sizeof stall);
    FThread = std::thread([this, fd, budget] {
        const std::string chunk(65536, 'f');
        while (FWritten < budget) {
            ssize_t n = send(fd, chunk.data(), chunk.size(), MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                FError = n < 0 ? errno : EPIPE;
                break;
            }
            FWritten += n;
        }
        FDone = true;
    });
}

Flooder::~Flooder() {
    Join();
}

void Flooder::Join() {
    if (FThread.joinable()) FThread.join();
}

TmpFolder::TmpFolder() : filetest::TempFolder("korvex-os", "/tmp") {
    FPath = std::filesystem::canonical(FPath).string();
}

}
