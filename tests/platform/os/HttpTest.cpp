// Tests of HttpGet against a loopback server run by the test: bodies, failing statuses, time-outs, redirects.
#include "platform/os/Http.h"

#include "support/Loopback.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <poll.h>
#include <thread>
#include <unistd.h>

using namespace korvex::os;
using namespace korvex::os::nettest;

namespace {

// Answers each connection with what the handler returns for the request's path; "" keeps the connection
// open without answering until the client gives up.
class MiniHttpServer {
public:
    using Handler = std::function<std::string(const std::string& path)>;

    explicit MiniHttpServer(Handler handler)
        : FHandler(std::move(handler)) {
        FThread = std::thread([this] { Serve(); });
    }
    ~MiniHttpServer() {
        FStop = true;
        FThread.join();
    }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(FListener.Port()) + path;
    }
    std::string LastRequest() {
        std::lock_guard lock(FMutex);
        return FLastRequest;
    }

    static std::string Response(int status, const std::string& body, const std::string& headers = "") {
        return "HTTP/1.1 " + std::to_string(status) + " X\r\nContent-Length: " + std::to_string(body.size())
            + "\r\nConnection: close\r\n" + headers + "\r\n" + body;
    }

private:
    void Serve() {
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

    void WaitForHangUp(int client) {
        char byte;
        while (!FStop) {
            pollfd waiting {client, POLLIN, 0};
            if (poll(&waiting, 1, 20) > 0 && read(client, &byte, 1) <= 0) return;
        }
    }

    Handler FHandler;
    LoopbackListener FListener;
    std::atomic<bool> FStop = false;
    std::mutex FMutex;
    std::string FLastRequest;
    std::thread FThread;
};

}

TEST(HttpGet, ReturnsTheBodyOfA200) {
    MiniHttpServer server([](const std::string&) { return MiniHttpServer::Response(200, "KORVEX 2.6.0.11\r\n"); });
    THttpResult result = HttpGet(server.Url("/ver.txt"), 5000);
    EXPECT_TRUE(result.Ok);
    EXPECT_EQ(result.Status, 200);
    EXPECT_EQ(result.Body, "KORVEX 2.6.0.11\r\n");
    EXPECT_EQ(result.Error, "");
}

TEST(HttpGet, AsksForAFreshCopy) {
    MiniHttpServer server([](const std::string&) { return MiniHttpServer::Response(200, "x"); });
    ASSERT_TRUE(HttpGet(server.Url("/"), 5000).Ok);
    EXPECT_NE(server.LastRequest().find("Cache-Control: no-cache"), std::string::npos);
}

TEST(HttpGet, ANotFoundIsAFailureWithTheOpenMessage) {
    MiniHttpServer server([](const std::string&) { return MiniHttpServer::Response(404, "missing"); });
    std::string url = server.Url("/psummary.html");
    THttpResult result = HttpGet(url, 5000);
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Status, 404);
    EXPECT_EQ(result.Error, "Cannot open URL " + url);
    EXPECT_FALSE(result.InitFailed);
}

TEST(HttpGet, AServerThatNeverAnswersTimesOut) {
    MiniHttpServer server([](const std::string&) { return std::string(); });
    std::string url = server.Url("/slow");
    THttpResult result = HttpGet(url, 150);
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Error, "Cannot open URL " + url);
    EXPECT_FALSE(result.Detail.empty());
}

TEST(HttpGet, ARefusedConnectionIsAFailure) {
    std::string url = "http://127.0.0.1:" + std::to_string(UnusedPort()) + "/";
    THttpResult result = HttpGet(url, 1000);
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Error, "Cannot open URL " + url);
}

TEST(HttpGet, FollowsARedirect) {
    MiniHttpServer server([](const std::string& path) {
        if (path == "/old") return MiniHttpServer::Response(302, "", "Location: /new\r\n");
        return MiniHttpServer::Response(200, "moved here");
    });
    THttpResult result = HttpGet(server.Url("/old"), 5000);
    EXPECT_TRUE(result.Ok);
    EXPECT_EQ(result.Body, "moved here");
}

TEST(HttpGet, GivesUpOnARedirectLoop) {
    MiniHttpServer server([](const std::string&) { return MiniHttpServer::Response(302, "", "Location: /again\r\n"); });
    THttpResult result = HttpGet(server.Url("/again"), 5000);
    EXPECT_FALSE(result.Ok);
}

TEST(HttpGet, NeverFollowsARedirectToAFile) {
    MiniHttpServer server(
        [](const std::string&) { return MiniHttpServer::Response(302, "", "Location: file:///etc/passwd\r\n"); });
    THttpResult result = HttpGet(server.Url("/"), 5000);
    EXPECT_FALSE(result.Ok);
    EXPECT_TRUE(result.Body.empty());
}

TEST(HttpGet, ABodyOverTheCapIsAFailure) {
    std::string big(HttpBodyCap + 1, 'x');
    MiniHttpServer server([&](const std::string&) { return MiniHttpServer::Response(200, big); });
    THttpResult result = HttpGet(server.Url("/big"), 10000);
    EXPECT_FALSE(result.Ok);
    EXPECT_TRUE(result.Body.empty());
}

TEST(HttpGet, LoopbackBypassesAProxyFromTheEnvironment) {
    MiniHttpServer server([](const std::string&) { return MiniHttpServer::Response(200, "direct"); });
    std::string proxy = "http://127.0.0.1:" + std::to_string(UnusedPort());
    setenv("http_proxy", proxy.c_str(), 1);
    setenv("no_proxy", "example.invalid", 1);
    THttpResult result = HttpGet(server.Url("/"), 5000);
    unsetenv("http_proxy");
    unsetenv("no_proxy");
    EXPECT_TRUE(result.Ok) << result.Detail;
    EXPECT_EQ(result.Body, "direct");
}

TEST(HttpGet, CanRunOnSeveralThreadsAtOnce) {
    MiniHttpServer server([](const std::string& path) { return MiniHttpServer::Response(200, path); });
    std::vector<std::thread> threads;
    std::atomic<int> good = 0;
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([&, i] {
            std::string path = "/" + std::to_string(i);
            THttpResult result = HttpGet(server.Url(path), 10000);
            if (result.Ok && result.Body == path) ++good;
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(good, 4);
}
