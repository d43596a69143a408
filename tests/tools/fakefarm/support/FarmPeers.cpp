// The program's side of a farm control service in tests.
#include "support/FarmPeers.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace korvex::fakefarm::test {

TReplyPort::TReplyPort() {
    FFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(FFd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(FFd, 8) == 0)
        getsockname(FFd, reinterpret_cast<sockaddr*>(&address), &length);
    FPort = ntohs(address.sin_port);
}

TReplyPort::~TReplyPort() {
    ::close(FFd);
}

std::string TReplyPort::TReply::Text() const {
    std::string text;
    for (const std::string& read : Reads)
        text += read;
    return text;
}

TReplyPort::TReply TReplyPort::Next(int timeoutMs) {
    TReply reply;
    pollfd entry {FFd, POLLIN, 0};
    if (::poll(&entry, 1, timeoutMs) != 1) return reply;
    sockaddr_in peer {};
    socklen_t length = sizeof peer;
    const int fd = ::accept(FFd, reinterpret_cast<sockaddr*>(&peer), &length);
    if (fd < 0) return reply;
    char ip[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &peer.sin_addr, ip, sizeof ip);
    reply.From = ip;
    char buffer[256];
    for (ssize_t got; (got = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
        reply.Reads.emplace_back(buffer, static_cast<std::size_t>(got));
    ::close(fd);
    return reply;
}

bool SendFarmMessage(const std::string& ip, int port, const std::string& text) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_in to {};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, ip.c_str(), &to.sin_addr);
    const bool sent = connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0
        && ::send(fd, text.data(), text.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(text.size());
    ::close(fd);
    return sent;
}

}
