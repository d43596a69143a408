// TCP connect with a time-out: non-blocking connect, then poll for writability.
#include "platform/os/SocketConnect.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace korvex::os::detail {

namespace {

int Fail(int fd, int code, int& error) {
    if (fd >= 0) close(fd);
    error = code;
    return -1;
}

}

int ConnectTcp(const std::string& ip, int port, int timeoutMs, int& error) {
    sockaddr_in address {};
    address.sin_family = AF_INET;
    if (port <= 0 || port > 65535 || inet_pton(AF_INET, ip.c_str(), &address.sin_addr) != 1)
        return Fail(-1, EINVAL, error);
    address.sin_port = htons(static_cast<uint16_t>(port));

    int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return Fail(-1, errno, error);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        if (errno != EINPROGRESS) return Fail(fd, errno, error);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
        for (;;) {
            auto left
                = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd waiting {fd, POLLOUT, 0};
            int ready = poll(&waiting, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
            if (ready > 0) break;
            if (ready == 0) return Fail(fd, ETIMEDOUT, error);
            if (errno != EINTR) return Fail(fd, errno, error);
        }
        int result = 0;
        socklen_t length = sizeof result;
        if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &result, &length) != 0) return Fail(fd, errno, error);
        if (result != 0) return Fail(fd, result, error);
    }
    int blocking = 0;
    if (ioctl(fd, FIONBIO, &blocking) != 0) return Fail(fd, errno, error);
    error = 0;
    return fd;
}

}
