// Tests of TServerSocket on loopback: listening, connect, read and disconnect events, partial messages, closing.
#include "platform/os/ServerSocket.h"

#include "platform/os/EventLoop.h"
#include "platform/os/Network.h"
#include "support/Loopback.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <memory>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace korvex::os;
using namespace korvex::os::nettest;

namespace {

template <typename Done>
bool RunServerUntil(TEventLoop& loop, Done done) {
    for (int round = 0; round < 1000 && !done(); ++round)
        loop.RunOnce(100);
    return done();
}

// A server on port 0 that logs its events and collects each connection's text.
struct Fixture : public ::testing::Test {
    Fixture() {
        Server.OnClientConnect = [this](TServerSocket&, TServerClientWinSocket& socket) {
            CheckThread();
            Log += "connect;";
            EXPECT_EQ(socket.RemoteAddress(), "127.0.0.1");
            EXPECT_GT(socket.RemotePort(), 0);
        };
        Server.OnClientRead = [this](TServerSocket&, TServerClientWinSocket& socket) {
            CheckThread();
            std::string text = socket.ReceiveText();
            Log += "read;";
            Received += text;
            Reads.push_back(text);
        };
        Server.OnClientDisconnect = [this](TServerSocket&, TServerClientWinSocket& socket) {
            CheckThread();
            EXPECT_FALSE(socket.Connected());
            Log += "disconnect;";
        };
        EXPECT_TRUE(Server.Open());
    }
    void CheckThread() { EXPECT_EQ(std::this_thread::get_id(), LoopThread); }

    std::thread::id LoopThread = std::this_thread::get_id();
    TEventLoop Loop;
    TServerSocket Server {Loop};
    std::string Log;
    std::string Received;
    std::vector<std::string> Reads;
};

using TServerSocketEvents = Fixture;

}

TEST(TServerSocket, ListensOnAPortOfTheSystemsChoice) {
    TEventLoop loop;
    TServerSocket server(loop);
    TSocketResult result = server.Open();
    EXPECT_TRUE(result.Ok);
    EXPECT_TRUE(server.Active());
    EXPECT_GT(server.LocalPort(), 0);
    server.Close();
    EXPECT_FALSE(server.Active());
}

TEST(TServerSocket, APortInUseIsAFailureValue) {
    TEventLoop loop;
    TServerSocket first(loop);
    ASSERT_TRUE(first.Open());
    TServerSocket second(loop);
    second.SetPort(first.LocalPort());
    TSocketResult result = second.Open();
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.ErrorCode, EADDRINUSE);
    EXPECT_EQ(result.Message.rfind("Cannot listen on port " + std::to_string(first.LocalPort()) + ": ", 0), 0u);
    EXPECT_FALSE(second.Active());
}

TEST(TServerSocket, APrivilegedPortWithoutPrivilegesIsAFailureValue) {
    std::ifstream limit("/proc/sys/net/ipv4/ip_unprivileged_port_start");
    int firstFree = 1024;
    limit >> firstFree;
    if (firstFree <= DefaultFarmPort) GTEST_SKIP() << "every port is free to bind here";
    auto tryPort = [] {
        TEventLoop loop;
        TServerSocket server(loop);
        server.SetPort(DefaultFarmPort);
        return server.Open();
    };
    if (geteuid() != 0) {
        TSocketResult result = tryPort();
        EXPECT_FALSE(result.Ok);
        EXPECT_EQ(result.ErrorCode, EACCES);
        return;
    }
    pid_t pid = fork();   // as root: try it as nobody in a child
    if (pid == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
        TSocketResult result = tryPort();
        _exit(!result.Ok && result.ErrorCode == EACCES ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(TServerSocket, AnImpossiblePortIsAFailureValue) {
    TEventLoop loop;
    TServerSocket server(loop);
    server.SetPort(65536);
    EXPECT_EQ(server.Open().ErrorCode, EINVAL);
}

TEST_F(TServerSocketEvents, ConnectReadAndDisconnectArriveInOrderOnTheLoopThread) {
    int client = ConnectLoopback(Server.LocalPort());
    ASSERT_GE(client, 0);
    ASSERT_TRUE(RunServerUntil(Loop, [&] { return Server.ActiveConnections() == 1; }));
    ASSERT_TRUE(WriteAll(client, "10.0.0.9#4*C:\\FAH^node"));
    ASSERT_TRUE(RunServerUntil(Loop, [&] { return !Received.empty(); }));
    close(client);
    ASSERT_TRUE(RunServerUntil(Loop, [&] { return Server.ActiveConnections() == 0; }));
    EXPECT_EQ(Log, "connect;read;disconnect;");
    EXPECT_EQ(Received, "10.0.0.9#4*C:\\FAH^node");
}

TEST_F(TServerSocketEvents, AMessageWrittenInChunksArrivesWholeOverSeveralReads) {
    int client = ConnectLoopback(Server.LocalPort());
    ASSERT_GE(client, 0);
    const std::vector<std::string> chunks = {"10.0.0.9", "#1*", "C:\\FAH", "^node"};
    std::string sent;
    for (const std::string& chunk : chunks) {
        ASSERT_TRUE(WriteAll(client, chunk));
        sent += chunk;
        ASSERT_TRUE(RunServerUntil(Loop, [&] { return Received == sent; }));
    }
    close(client);
    ASSERT_TRUE(RunServerUntil(Loop, [&] { return Log.find("disconnect;") != std::string::npos; }));
    EXPECT_EQ(Reads, chunks);
}

TEST_F(TServerSocketEvents, TextAndCloseTogetherGiveOneReadThenTheDisconnect) {
    int client = ConnectLoopback(Server.LocalPort());
    ASSERT_TRUE(WriteAll(client, "whole"));
    close(client);
    ASSERT_TRUE(RunServerUntil(Loop, [&] { return Log.find("disconnect;") != std::string::npos; }));
    EXPECT_EQ(Log, "connect;read;disconnect;");
    EXPECT_EQ(Received, "whole");
}

// Once the peer's kernel has acknowledged the text, it lies in the connection before the accept: one turn of the
// loop accepts and reads it.
TEST_F(TServerSocketEvents, TextThatCameWithItsConnectionIsReadInTheTurnThatAcceptsIt) {
    int client = ConnectLoopback(Server.LocalPort());
    ASSERT_GE(client, 0);
    ASSERT_TRUE(WriteAll(client, "whole"));
    tcp_info info {};
    for (int wait = 0; wait < 10000; ++wait) {
        socklen_t length = sizeof info;
        ASSERT_EQ(getsockopt(client, IPPROTO_TCP, TCP_INFO, &info, &length), 0);
        if (info.tcpi_unacked == 0) break;
        usleep(1000);
    }
    ASSERT_EQ(info.tcpi_unacked, 0u);
    Loop.RunOnce(10000);
    EXPECT_EQ(Log, "connect;read;");
    EXPECT_EQ(Received, "whole");
    close(client);
}

TEST_F(TServerSocketEvents, TextNobodyTakesIsDiscardedWithoutStallingTheLoop) {
    Server.OnClientRead = nullptr;
    int client = ConnectLoopback(Server.LocalPort());
    ASSERT_TRUE(WriteAll(client, std::string(100000, 'x')));
    close(client);
    ASSERT_TRUE(RunServerUntil(Loop, [&] { return Log == "connect;disconnect;"; }));
}

TEST_F(TServerSocketEvents, AHandlerMayCloseItsConnection) {
    Server.OnClientRead = [this](TServerSocket&, TServerClientWinSocket& socket) {
        Received += socket.ReceiveText();
        socket.Close();
        EXPECT_FALSE(socket.Connected());   // still valid inside the event
    };
    int client = ConnectLoopback(Server.LocalPort());
    ASSERT_TRUE(WriteAll(client, "bye"));
    ASSERT_TRUE(RunServerUntil(Loop, [&] { return Log == "connect;disconnect;"; }));
    EXPECT_EQ(Server.ActiveConnections(), 0);
    EXPECT_EQ(ReadAll(client, 10000), "");   // our side closed
    close(client);
}

TEST_F(TServerSocketEvents, AHandlerMayFreeTheServer) {
    auto server = std::make_unique<TServerSocket>(Loop);
    ASSERT_TRUE(server->Open());
    bool freed = false;
    server->OnClientRead = [&](TServerSocket&, TServerClientWinSocket&) {
        server.reset();
        freed = true;
    };
    int client = ConnectLoopback(server->LocalPort());
    ASSERT_TRUE(WriteAll(client, "x"));
    ASSERT_TRUE(RunServerUntil(Loop, [&] { return freed; }));
    Loop.ProcessPending();
    close(client);
}

TEST_F(TServerSocketEvents, ClosingTheServerDisconnectsEveryClient) {
    int first = ConnectLoopback(Server.LocalPort());
    int second = ConnectLoopback(Server.LocalPort());
    ASSERT_TRUE(RunServerUntil(Loop, [&] { return Server.ActiveConnections() == 2; }));
    EXPECT_NE(Server.Connections(0), nullptr);
    EXPECT_EQ(Server.Connections(2), nullptr);
    EXPECT_EQ(Server.Connections(-1), nullptr);
    Server.Close();
    EXPECT_EQ(Log, "connect;connect;disconnect;disconnect;");
    EXPECT_EQ(ReadAll(first, 10000), "");
    EXPECT_EQ(ReadAll(second, 10000), "");
    close(first);
    close(second);
    EXPECT_TRUE(Server.Open());   // and it can listen again
}

TEST_F(TServerSocketEvents, AResetConnectionReportsAnErrorThenTheDisconnect) {
    int errorCode = 0;
    Server.OnClientError = [&](TServerSocket&, TServerClientWinSocket&, TErrorEvent event, int& code) {
        EXPECT_EQ(event, eeReceive);
        errorCode = code;
        Log += "error;";
        code = 0;
    };
    Server.OnClientRead = nullptr;
    int client = ConnectLoopback(Server.LocalPort());
    ASSERT_TRUE(RunServerUntil(Loop, [&] { return Server.ActiveConnections() == 1; }));
    linger reset {1, 0};   // close with a reset instead of a goodbye
    setsockopt(client, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    close(client);
    ASSERT_TRUE(RunServerUntil(Loop, [&] { return Server.ActiveConnections() == 0; }));
    EXPECT_EQ(Log, "connect;error;disconnect;");
    EXPECT_EQ(errorCode, ECONNRESET);
}

// ---- peers that flood, crowd or dawdle

TEST_F(TServerSocketEvents, OneReadEventTakesAtMostAChunkOfAFullConnection) {
    std::vector<std::size_t> sizes;
    Server.OnClientRead = [&](TServerSocket&, TServerClientWinSocket& socket) {
        sizes.push_back(socket.ReceiveText().size());
    };
    int client = ConnectLoopback(Server.LocalPort());
    ASSERT_TRUE(RunServerUntil(Loop, [&] { return Server.ActiveConnections() == 1; }));
    const std::int64_t written = FillConnection(client, 64 << 20);
    ASSERT_GT(written, 4 * ReceiveChunk);
    ASSERT_TRUE(RunServerUntil(Loop, [&] { return !sizes.empty(); }));
    EXPECT_LE(sizes[0], static_cast<std::size_t>(ReceiveChunk));
    EXPECT_EQ(Server.Connections(0)->ReceivedBytes(), static_cast<std::int64_t>(sizes[0]));
    close(client);
}

TEST_F(TServerSocketEvents, AFloodingPeerIsReadUpToItsLimitThenClosed) {
    std::vector<int> errors;
    Server.OnClientError = [&](TServerSocket&, TServerClientWinSocket& socket, TErrorEvent event, int& code) {
        EXPECT_EQ(event, eeReceive);
        EXPECT_EQ(socket.ReceivedBytes(), 1000);
        errors.push_back(code);
    };
    Server.SetReceiveLimit(1000);
    int client = ConnectLoopback(Server.LocalPort());
    // Far more than the socket buffers hold: only a peer that stops reading ends it early.
    Flooder flood(client, std::int64_t(1) << 30);
    ASSERT_TRUE(RunServerUntil(Loop, [&] { return Log.find("disconnect;") != std::string::npos; }));
    flood.Join();
    EXPECT_EQ(Received.size(), 1000u);
    EXPECT_EQ(errors, std::vector<int>({EMSGSIZE}));
    EXPECT_TRUE(flood.Error() == ECONNRESET || flood.Error() == EPIPE) << flood.Error();
    EXPECT_LT(flood.Written(), std::int64_t(1) << 30);
    close(client);
}

TEST_F(TServerSocketEvents, AMessageOfExactlyTheLimitIsReadWhole) {
    Server.SetReceiveLimit(16);
    int client = ConnectLoopback(Server.LocalPort());
    ASSERT_TRUE(WriteAll(client, std::string(16, 'm')));
    close(client);
    ASSERT_TRUE(RunServerUntil(Loop, [&] { return Log.find("disconnect;") != std::string::npos; }));
    EXPECT_EQ(Received, std::string(16, 'm'));
    EXPECT_EQ(Log, "connect;read;disconnect;");
}

TEST_F(TServerSocketEvents, ANewConnectionBeyondTheCapClosesTheOldestAndIsRead) {
    std::vector<int> errors;
    Server.OnClientError = [&](TServerSocket&, TServerClientWinSocket&, TErrorEvent event, int& code) {
        EXPECT_EQ(event, eeAccept);
        errors.push_back(code);
    };
    Server.SetMaxConnections(4);
    std::vector<int> idle;
    for (int i = 0; i < 10; ++i) {
        idle.push_back(ConnectLoopback(Server.LocalPort()));
        ASSERT_GE(idle.back(), 0);
    }
    ASSERT_TRUE(RunServerUntil(Loop, [&] { return errors.size() == 6; }));
    int real = ConnectLoopback(Server.LocalPort());
    ASSERT_TRUE(WriteAll(real, "10.0.0.9#4*C:\\FAH^node"));
    ASSERT_TRUE(RunServerUntil(Loop, [&] { return !Received.empty(); }));
    EXPECT_EQ(Received, "10.0.0.9#4*C:\\FAH^node");
    EXPECT_LE(Server.ActiveConnections(), 4);
    EXPECT_EQ(errors, std::vector<int>(7, EUSERS));
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(PeerClosed(idle[static_cast<std::size_t>(i)], 1000)) << i;   // the oldest went first
    EXPECT_FALSE(PeerClosed(idle[9], 0));
    for (int fd : idle)
        close(fd);
    close(real);
}

// However many connections waited while the loop was busy elsewhere, one turn takes them all (the cap closing
// the oldest), and a reply that came last in the queue is read in that same turn.
TEST_F(TServerSocketEvents, OneTurnAcceptsEveryConnectionThatWaited) {
    constexpr int Waiting = 200;
    int connects = 0;
    Server.OnClientConnect = [&](TServerSocket&, TServerClientWinSocket&) { ++connects; };
    Server.OnClientError = [](TServerSocket&, TServerClientWinSocket&, TErrorEvent, int&) { };
    Server.SetMaxConnections(32);
    std::vector<int> crowd;
    for (int i = 0; i < Waiting; ++i) {
        crowd.push_back(ConnectLoopback(Server.LocalPort()));
        ASSERT_GE(crowd.back(), 0) << i;
    }
    int real = ConnectLoopback(Server.LocalPort());
    ASSERT_GE(real, 0);
    ASSERT_TRUE(WriteAll(real, "10.0.0.9#4*C:\\FAH^node"));
    ASSERT_TRUE(RunServerUntil(Loop, [&] { return connects > 0; }));   // the first turn that accepts
    EXPECT_EQ(connects, Waiting + 1);
    EXPECT_EQ(Received, "10.0.0.9#4*C:\\FAH^node");
    EXPECT_EQ(Server.ActiveConnections(), 32);
    for (int fd : crowd)
        close(fd);
    close(real);
}

namespace {

struct IdleClock {
    TEventLoop::TimePoint Now = TEventLoop::TimePoint {} + std::chrono::hours(1);
    TEventLoop::TClock Source() {
        return [this] { return Now; };
    }
};

}

TEST(TServerSocket, AConnectionStillOpenWhenItsTimeIsUpIsClosed) {
    using namespace std::chrono_literals;
    IdleClock clock;
    TEventLoop loop(clock.Source());
    TServerSocket server(loop);
    server.SetConnectionTimeout(3000);
    std::string log;
    server.OnClientError = [&](TServerSocket&, TServerClientWinSocket&, TErrorEvent event, int& code) {
        EXPECT_EQ(event, eeGeneral);
        EXPECT_EQ(code, ETIMEDOUT);
        log += "error;";
    };
    server.OnClientRead = [&](TServerSocket&, TServerClientWinSocket& socket) { log += socket.ReceiveText(); };
    server.OnClientDisconnect = [&](TServerSocket&, TServerClientWinSocket&) { log += "disconnect;"; };
    ASSERT_TRUE(server.Open());
    int dripping = ConnectLoopback(server.LocalPort());
    int quick = ConnectLoopback(server.LocalPort());
    ASSERT_TRUE(RunServerUntil(loop, [&] { return server.ActiveConnections() == 2; }));
    // A byte every second keeps it busy, never done.
    for (const char* byte : {"a", "b", "c"}) {
        ASSERT_TRUE(WriteAll(dripping, byte));
        ASSERT_TRUE(RunServerUntil(loop, [&] { return log.find(byte) != std::string::npos; }));
        clock.Now += 999ms;
        loop.RunOnce(0);
    }
    close(quick);   // gone before its time: no time-out later
    ASSERT_TRUE(RunServerUntil(loop, [&] { return server.ActiveConnections() == 1; }));
    EXPECT_EQ(log, "abcdisconnect;");
    EXPECT_FALSE(PeerClosed(dripping, 0));
    clock.Now += 4ms;
    loop.RunOnce(0);
    EXPECT_EQ(log, "abcdisconnect;error;disconnect;");
    EXPECT_EQ(server.ActiveConnections(), 0);
    EXPECT_TRUE(PeerClosed(dripping, 1000));
    clock.Now += 1h;
    loop.RunOnce(0);
    EXPECT_EQ(log, "abcdisconnect;error;disconnect;");
    close(dripping);
}

namespace {

// A blocking connection to 127.0.0.1:port from the loopback address `from` (127.0.0.2, ...), or -1.
int ConnectFromAddress(int port, const char* from) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_in local {};
    local.sin_family = AF_INET;
    inet_pton(AF_INET, from, &local.sin_addr);
    sockaddr_in remote {};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, "127.0.0.1", &remote.sin_addr);
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0
        || connect(fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// A server with a cap of four that counts the connections it pushed out and keeps every text it read.
struct CappedServer {
    CappedServer() {
        Server.SetMaxConnections(4);
        Server.OnClientError = [this](TServerSocket&, TServerClientWinSocket&, TErrorEvent event, int& code) {
            EXPECT_EQ(event, eeAccept);
            EXPECT_EQ(code, EUSERS);
            ++PushedOut;
        };
        Server.OnClientRead
            = [this](TServerSocket&, TServerClientWinSocket& socket) { Received += socket.ReceiveText(); };
        EXPECT_TRUE(Server.Open());
    }
    TEventLoop Loop;
    TServerSocket Server {Loop};
    int PushedOut = 0;
    std::string Received;
};

}

TEST(TServerSocket, AFloodFromOneAddressPushesOutItsOwnConnectionsNotAnotherAddresses) {
    CappedServer capped;
    int real = ConnectFromAddress(capped.Server.LocalPort(), "127.0.0.3");
    ASSERT_GE(real, 0);
    ASSERT_TRUE(RunServerUntil(capped.Loop, [&] { return capped.Server.ActiveConnections() == 1; }));
    std::vector<int> flood;
    for (int i = 0; i < 20; ++i) {
        flood.push_back(ConnectFromAddress(capped.Server.LocalPort(), "127.0.0.2"));
        ASSERT_GE(flood.back(), 0);
    }
    ASSERT_TRUE(RunServerUntil(capped.Loop, [&] { return capped.PushedOut == 17; }));
    ASSERT_FALSE(PeerClosed(real, 0));   // its text comes only now
    ASSERT_TRUE(WriteAll(real, "127.0.0.3#4*C:\\FAH^node"));
    ASSERT_TRUE(RunServerUntil(capped.Loop, [&] { return !capped.Received.empty(); }));
    EXPECT_EQ(capped.Received, "127.0.0.3#4*C:\\FAH^node");
    for (int i = 0; i < 17; ++i)
        EXPECT_TRUE(PeerClosed(flood[static_cast<std::size_t>(i)], 1000)) << i;   // the flood's oldest went
    for (int fd : flood)
        close(fd);
    close(real);
}

// Whatever the crowd sends, its own connections go first: a peer that sends a few bytes on each is no safer.
TEST(TServerSocket, ACrowdThatSendsAFewBytesOnEachPushesOutItsOwnConnections) {
    CappedServer capped;
    int sending = ConnectFromAddress(capped.Server.LocalPort(), "127.0.0.3");
    ASSERT_GE(sending, 0);
    ASSERT_TRUE(RunServerUntil(capped.Loop, [&] { return capped.Server.ActiveConnections() == 1; }));
    std::vector<int> crowd;
    for (int i = 0; i < 10; ++i) {
        crowd.push_back(ConnectFromAddress(capped.Server.LocalPort(), "127.0.0.2"));
        ASSERT_GE(crowd.back(), 0);
        ASSERT_TRUE(WriteAll(crowd.back(), "9#"));
    }
    ASSERT_TRUE(RunServerUntil(capped.Loop, [&] { return capped.PushedOut == 7; }));
    ASSERT_FALSE(PeerClosed(sending, 0));
    ASSERT_TRUE(WriteAll(sending, "10.0.0.9#4*C:\\FAH^node"));
    ASSERT_TRUE(RunServerUntil(capped.Loop, [&] { return capped.Received.find("10.0.0.9") != std::string::npos; }));
    for (int fd : crowd)
        close(fd);
    close(sending);
}

// Connections the owner waits on go last, even beside a crowd of one connection per address.
TEST(TServerSocket, AnAwaitedConnectionOutlivesACrowdFromManyAddresses) {
    CappedServer capped;
    capped.Server.Awaited
        = [](const TServerClientWinSocket& socket) { return socket.RemoteAddress() == "127.0.0.3"; };
    int awaited = ConnectFromAddress(capped.Server.LocalPort(), "127.0.0.3");
    ASSERT_GE(awaited, 0);
    ASSERT_TRUE(RunServerUntil(capped.Loop, [&] { return capped.Server.ActiveConnections() == 1; }));
    std::vector<int> crowd;
    for (int i = 0; i < 12; ++i) {
        const std::string address = "127.0.1." + std::to_string(i + 1);
        crowd.push_back(ConnectFromAddress(capped.Server.LocalPort(), address.c_str()));
        ASSERT_GE(crowd.back(), 0);
        ASSERT_TRUE(WriteAll(crowd.back(), "9#"));
    }
    ASSERT_TRUE(RunServerUntil(capped.Loop, [&] { return capped.PushedOut == 9; }));
    ASSERT_FALSE(PeerClosed(awaited, 0));
    ASSERT_TRUE(WriteAll(awaited, "10.0.0.9#4*C:\\FAH^node"));
    ASSERT_TRUE(RunServerUntil(capped.Loop, [&] { return capped.Received.find("10.0.0.9") != std::string::npos; }));
    for (int i = 0; i < 9; ++i)
        EXPECT_TRUE(PeerClosed(crowd[static_cast<std::size_t>(i)], 1000)) << i;   // the oldest of the crowd went
    for (int fd : crowd)
        close(fd);
    close(awaited);
}
