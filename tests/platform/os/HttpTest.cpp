// Tests of HttpGet against a loopback server run by the test: bodies, failing statuses, time-outs, redirects.
#include "platform/os/Http.h"

#include "support/Loopback.h"
#include "support/MiniHttpServer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <unistd.h>

using namespace korvex::os;
using namespace korvex::os::nettest;

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
