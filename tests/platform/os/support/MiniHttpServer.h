// MiniHttpServer: a loopback HTTP server on its own thread for tests of HTTP clients.
#pragma once

#include "support/Loopback.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace korvex::os::nettest {

// Answers each connection with what the handler returns for the request's path; "" keeps the connection
// open without answering until the client gives up.
class MiniHttpServer {
public:
    using Handler = std::function<std::string(const std::string& path)>;

    explicit MiniHttpServer(Handler handler);
    ~MiniHttpServer();
    MiniHttpServer(const MiniHttpServer&) = delete;
    MiniHttpServer& operator=(const MiniHttpServer&) = delete;

    std::string Url(const std::string& path) const;
    std::string LastRequest();

    // A whole answer with the status, a Content-Length for the body and any further header lines.
    static std::string Response(int status, const std::string& body, const std::string& headers = "");

private:
    void Serve();
    void WaitForHangUp(int client);

    Handler FHandler;
    LoopbackListener FListener;
    std::atomic<bool> FStop = false;
    std::mutex FMutex;
    std::string FLastRequest;
    std::thread FThread;
};

}
