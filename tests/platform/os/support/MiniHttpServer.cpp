// MiniHttpServer: a loopback HTTP server on its own thread for tests of HTTP clients.
#include "support/MiniHttpServer.h"

#include <poll.h>
#include <unistd.h>

namespace korvex::os::nettest {

MiniHttpServer::MiniHttpServer(Handler handler) : FHandler(std::move(handler)) {
    FThread = std::thread([this] { Serve(); });
}

MiniHttpServer::~MiniHttpServer() {
    FStop = true;
    FThread.join();
}

std::string MiniHttpServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(FListener.Port()) + path;
}

std::string MiniHttpServer::LastRequest() {
    std::lock_guard lock(FMutex);
    return FLastRequest;
}

std::string MiniHttpServer::Response(int status, const std::string& body, const std::string& headers) {
    return "HTTP/1.1 " + std::to_string(status) + " X\r\nContent-Length: " + std::to_string(body.size())
        + "\r\nConnection: close\r\n" + headers + "\r\n" + body;
}

void MiniHttpServer::Serve() {
    while (!FStop) {
        int client = FListener.Accept(20);
        if (client < 0) continue;
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            pollfd waiting {client, POLLIN, 0};
            if (poll(&waiting, 1, 5000) <= 0) break;
            ssize_t n = read(client, buffer, sizeof buffer);
            if (n <= 0) break;
            request.append(buffer, static_cast<size_t>(n));
        }
        {
            std::lock_guard lock(FMutex);
            FLastRequest = request;
        }
        size_t start = request.find(' ') + 1;
        std::string path = request.substr(start, request.find(' ', start) - start);
        std::string answer = FHandler(path);
        if (answer.empty())
            WaitForHangUp(client);
        else
            WriteAll(client, answer);
        close(client);
    }
}

void MiniHttpServer::WaitForHangUp(int client) {
    char byte;
    while (!FStop) {
        pollfd waiting {client, POLLIN, 0};
        if (poll(&waiting, 1, 20) > 0 && read(client, &byte, 1) <= 0) return;
    }
}

}
