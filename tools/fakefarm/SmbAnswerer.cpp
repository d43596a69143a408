// The loopback listener that stands in for the SMB port of the fake farm's answering hosts.
#include "tools/fakefarm/SmbAnswerer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <random>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace korvex::fakefarm {

namespace {

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// True when a listener could bind the port on every address now.
bool FreeEverywhere(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    const bool free = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return free;
}

int BoundPort(int fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

}

TSmbAnswerer::TSmbAnswerer(int port) {
    FSocket = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (FSocket < 0) throw std::runtime_error("cannot make a socket");
    int on = 1;
    setsockopt(FSocket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address = Loopback(port);
    if (bind(FSocket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(FSocket, 64) != 0) {
        ::close(FSocket);
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port));
    }
    FPort = BoundPort(FSocket);
}

TSmbAnswerer::~TSmbAnswerer() {
    ::close(FSocket);
}

void TSmbAnswerer::Serve(int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0) return;
        pollfd entry{FSocket, POLLIN, 0};
        int ready = ::poll(&entry, 1, static_cast<int>(left));
        if (ready < 0) {
            if (errno == EINTR) return;
            throw std::runtime_error("poll failed");
        }
        if (ready == 0) return;
        for (int client; (client = ::accept4(FSocket, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
            ::close(client);
            ++FConnections;
        }
    }
}

int EphemeralPortsStart() {
    int low = 0;
    if (std::ifstream range("/proc/sys/net/ipv4/ip_local_port_range"); range >> low && low > 0) return low;
    return 32768;
}

int FreeLoopbackPort() {
    // Below the kernel's ephemeral range, so no outgoing connection takes the port before its listener binds
    // it; at random, so processes asking at the same moment rarely meet; free on every address, since the
    // program listens on all of them.
    const int low = EphemeralPortsStart();
    const int first = 10000;
    if (low - 1 > first) {
        std::mt19937 random(std::random_device {}());
        std::uniform_int_distribution<int> pick(first, low - 1);
        for (int attempt = 0; attempt < 100; ++attempt) {
            const int port = pick(random);
            if (FreeEverywhere(port)) return port;
        }
    }
    TSmbAnswerer probe(0);
    return probe.Port();
}

}
