// TClientSocket: timed connect, whole sends without SIGPIPE, errors through OnError.
#include "platform/os/ClientSocket.h"

#include "platform/os/Network.h"
#include "platform/os/SocketConnect.h"

#include <cerrno>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace korvex::os {

TClientSocket::~TClientSocket() {
    Close();
}

bool TClientSocket::Fail(TErrorEvent errorEvent, int errorCode) {
    FLastError = errorCode;
    int code = errorCode;
    if (OnError) {
        TSocketErrorEvent handler = OnError;   // a copy: the handler may replace it or free us
        handler(*this, errorEvent, code);   // a code left set is not raised: the result says it
    }
    return false;
}

bool TClientSocket::Open() {
    if (Active()) return true;
    std::string ip = !FAddress.empty() ? FAddress : NameToIP(FHost);
    if (ip.empty()) return Fail(eeLookup, FAddress.empty() && FHost.empty() ? EDESTADDRREQ : EHOSTUNREACH);
    int error = 0;
    int fd = detail::ConnectTcp(ip, FPort, FTimeoutMs, error);
    if (fd < 0) return Fail(error == EINVAL ? eeLookup : eeConnect, error);
    timeval limit {};
    int timeout = FTimeoutMs > 0 ? FTimeoutMs : 0;
    limit.tv_sec = timeout / 1000;
    limit.tv_usec = (timeout % 1000) * 1000;
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    FFd = fd;
    FLastError = 0;
    return true;
}

void TClientSocket::Close() {
    if (FFd < 0) return;
    close(FFd);
    FFd = -1;
}

bool TClientSocket::SendText(const std::string& text) {
    if (!Active()) return Fail(eeSend, ENOTCONN);
    size_t sent = 0;
    while (sent < text.size()) {
        ssize_t n = send(FFd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        int error = n < 0 ? (errno == EAGAIN || errno == EWOULDBLOCK ? ETIMEDOUT : errno) : EPIPE;
        return Fail(eeSend, error);
    }
    FLastError = 0;
    return true;
}

}
