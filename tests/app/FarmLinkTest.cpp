// The farm link: status queries, start and stop against a fake control service on loopback, and peers that
// flood, crowd or dawdle on its port.
#include "app/farm/FarmLink.h"
#include "support/AppEnvironment.h"
#include "support/FakeFarmService.h"

#include "platform/os/EventLoop.h"
#include "platform/os/ServerSocket.h"
#include "support/Loopback.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <deque>
#include <filesystem>
#include <future>
#include <stop_token>
#include <sys/resource.h>
#include <thread>

namespace korvex::app {
namespace {

// A reply wait far beyond any condition's limit in these tests: a query that waits it out fails them.
constexpr int LongPollMs = 30 * 60 * 1000;

class FarmLinkTest : public testing::Test {
protected:
    void SetUp() override {
        link.SetPort(0);
        link.SetServicePort(service.Port());
        link.SetReplyWait(100, 20);
        link.SetNodeCount(3);
        ASSERT_TRUE(link.OpenServer());
    }

    // Runs a status query of `node` on its own thread, as a node thread does.
    std::future<TFarmReply> StartQuery(int node, const std::string& ip = "127.0.0.1") {
        return std::async(std::launch::async, [this, node, ip] {
            return link.Query(node, TFarmTarget {ip, "C:\\FAH", "box"}, stop.get_token());
        });
    }
    TFarmReply Finish(std::future<TFarmReply>& query) {
        EXPECT_TRUE(test::PumpUntil(
            loop, [&] { return query.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
        return query.get();
    }
    bool MessageArrives(std::size_t count = 1) {
        return test::PumpUntil(loop, [&] { return service.Messages().size() >= count; });
    }

    test::TAppEnvironment env;
    std::atomic<long long> skewMs {0};   // the loop's clock runs this far ahead of the steady clock
    os::TEventLoop loop {[this] { return std::chrono::steady_clock::now() + std::chrono::milliseconds(skewMs.load()); }};
    test::TFakeFarmService service {loop};
    TFarmLink link {loop, "10.0.0.5"};
    std::stop_source stop;   // the querying thread's stop
};

TEST_F(FarmLinkTest, AReplyOfTheQueriedHostSetsStateAndColour) {
    auto query = StartQuery(1);
    ASSERT_TRUE(MessageArrives());
    EXPECT_EQ(service.Messages()[0], "10.0.0.5#3*C:\\FAH^box");
    test::SendReply(link.ServerPort(), "127.0.0.1#4*C:\\FAH^box");
    TFarmReply reply = Finish(query);
    EXPECT_TRUE(reply.Replied);
    EXPECT_EQ(reply.Color, FarmColorReplied);
    EXPECT_EQ(reply.State, FarmStateRunning);
}

TEST_F(FarmLinkTest, AReplySplitOverSeveralReadsIsTakenWhole) {
    auto query = StartQuery(0);
    ASSERT_TRUE(MessageArrives());
    test::TReplyConnection connection(link.ServerPort());
    for (const char* piece : {"127.0.", "0.1#", "4", "*C:\\F", "AH^b"}) {
        connection.Send(piece);
        loop.RunOnce(50);
    }
    TFarmReply reply = Finish(query);   // complete at "^": the node name is not needed
    EXPECT_TRUE(reply.Replied);
    EXPECT_EQ(reply.State, FarmStateRunning);
}

TEST_F(FarmLinkTest, AReplyWithoutMarksIsParsedWhenItsConnectionCloses) {
    auto query = StartQuery(0);
    ASSERT_TRUE(MessageArrives());
    test::SendReply(link.ServerPort(), "127.0.0.1#4");
    TFarmReply reply = Finish(query);
    EXPECT_TRUE(reply.Replied);
    EXPECT_EQ(reply.State, FarmStateStopped);
}

TEST_F(FarmLinkTest, AConnectionKeepsOnlyItsFirstKilobyte) {
    auto query = StartQuery(0);
    ASSERT_TRUE(MessageArrives());
    test::TReplyConnection connection(link.ServerPort());
    connection.Send(std::string(FarmReplyLimit, 'x'));
    connection.Send("#4*p^n");
    TFarmReply reply = Finish(query);
    EXPECT_TRUE(reply.Replied);
    EXPECT_EQ(reply.State, FarmStateStopped);   // the marks came after the limit
}

TEST_F(FarmLinkTest, RepliesFromOtherHostsOrWithoutAWaitingQueryAreDropped) {
    // Before any query.
    test::SendReply(link.ServerPort(), "127.0.0.1#4*p^n");
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return link.DroppedReplies() == 1; }));
    // The query goes to 127.0.0.2; an answer from 127.0.0.1 is someone else's.
    link.SetReplyWait(25, 20);
    auto query = StartQuery(2, "127.0.0.2");
    ASSERT_TRUE(MessageArrives());
    test::SendReply(link.ServerPort(), "127.0.0.1#4*p^n", "127.0.0.1");
    TFarmReply reply = Finish(query);
    EXPECT_FALSE(reply.Replied);
    EXPECT_EQ(reply.Color, FarmColorNoReply);
    EXPECT_EQ(link.DroppedReplies(), 2);
}

TEST_F(FarmLinkTest, ALateReplyIsNotCreditedToTheNextQuery) {
    link.SetReplyWait(3, 10);
    auto first = StartQuery(0);
    ASSERT_TRUE(MessageArrives());
    EXPECT_FALSE(Finish(first).Replied);
    test::SendReply(link.ServerPort(), "127.0.0.1#4*p^n");   // node 0's, too late
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return link.DroppedReplies() == 1; }));
    link.SetReplyWait(25, 20);
    auto second = StartQuery(1);
    ASSERT_TRUE(MessageArrives(2));
    EXPECT_FALSE(Finish(second).Replied);
}

TEST_F(FarmLinkTest, AConnectionOpenedBeforeTheQueryCarriesNoAnswerToIt) {
    test::TReplyConnection early(link.ServerPort());
    loop.RunOnce(50);
    loop.RunOnce(50);
    link.SetReplyWait(25, 20);
    auto query = StartQuery(0);
    ASSERT_TRUE(MessageArrives());
    early.Send("127.0.0.1#4*p^n");
    early.Close();
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return link.DroppedReplies() == 1; }));
    EXPECT_FALSE(Finish(query).Replied);
}

TEST_F(FarmLinkTest, AReplyForANodeOutsideTheListIsDropped) {
    link.SetNodeCount(1);
    link.SetReplyWait(25, 20);
    auto query = StartQuery(2);
    ASSERT_TRUE(MessageArrives());
    test::SendReply(link.ServerPort(), "127.0.0.1#4*p^n");
    EXPECT_FALSE(Finish(query).Replied);
}

TEST_F(FarmLinkTest, ARefusedConnectionSendsNothingAndDoesNotWait) {
    link.SetServicePort(1);   // nobody listens there
    link.SetReplyWait(1, LongPollMs);   // a wait would outlast the test's patience many times
    std::vector<int> stages;
    auto query = std::async(std::launch::async, [&] {
        return link.Query(
            0, TFarmTarget {"127.0.0.1", "p", "n"}, std::stop_token(), [&](int stage) { stages.push_back(stage); });
    });
    ASSERT_EQ(query.wait_for(std::chrono::seconds(60)), std::future_status::ready) << "waited";
    const TFarmReply reply = query.get();
    EXPECT_FALSE(reply.Replied);
    EXPECT_EQ(stages, std::vector<int>({51}));
    EXPECT_NE(link.LastClientError(), 0);
    EXPECT_FALSE(link.Send(FarmStart, TFarmTarget {"127.0.0.1", "p", "n"}));
    EXPECT_FALSE(link.Send(FarmStart, TFarmTarget {"", "p", "n"}));   // never resolved
}

TEST_F(FarmLinkTest, AnEmptyAddressFailsToOpenAndKeepsTheError) {
    EXPECT_FALSE(link.Send(FarmStop, TFarmTarget {"", "p", "n"}));
    EXPECT_NE(link.LastClientError(), 0);
    const int sendError = link.LastClientError();
    link.SetReplyWait(1, LongPollMs);
    auto query = std::async(std::launch::async, [&] {
        return link.Query(0, TFarmTarget {"", "p", "n"}, std::stop_token());
    });
    ASSERT_EQ(query.wait_for(std::chrono::seconds(60)), std::future_status::ready) << "waited";
    EXPECT_FALSE(query.get().Replied);
    EXPECT_EQ(link.LastClientError(), sendError);
    EXPECT_TRUE(service.Messages().empty());
}

TEST_F(FarmLinkTest, StopEndsTheWaitAtOnce) {
    link.SetReplyWait(1000, 1000);
    auto query = StartQuery(0);
    ASSERT_TRUE(MessageArrives());
    stop.request_stop();
    EXPECT_FALSE(Finish(query).Replied);
}

TEST_F(FarmLinkTest, AReplyWakesTheWaitBeforeThePollingIntervalEnds) {
    link.SetReplyWait(1, LongPollMs);   // one poll that outlasts Finish's patience many times
    auto query = StartQuery(0);
    ASSERT_TRUE(MessageArrives());
    test::SendReply(link.ServerPort(), "127.0.0.1#4*C:\\FAH^box");
    EXPECT_TRUE(Finish(query).Replied);
}

TEST_F(FarmLinkTest, AStoppingThreadWakesPromptlyFromTheWait) {
    link.SetReplyWait(1, LongPollMs);
    auto query = StartQuery(0);
    ASSERT_TRUE(MessageArrives());
    stop.request_stop();
    EXPECT_FALSE(Finish(query).Replied);
}

TEST_F(FarmLinkTest, StartAndStopCommandsReachTheService) {
    EXPECT_TRUE(link.Send(FarmStart, TFarmTarget {"127.0.0.1", "C:\\FAH", "box"}));
    EXPECT_TRUE(link.Send(FarmStop, TFarmTarget {"127.0.0.1", "C:\\FAH", "box"}));
    ASSERT_TRUE(MessageArrives(2));
    EXPECT_EQ(service.Messages()[0], "10.0.0.5#1*C:\\FAH^box");
    EXPECT_EQ(service.Messages()[1], "10.0.0.5#2*C:\\FAH^box");
}

TEST_F(FarmLinkTest, AFailedListenIsLoggedAndReturned) {
    TFarmLink other(loop, "10.0.0.5");
    other.SetPort(link.ServerPort());   // taken
    EXPECT_FALSE(other.OpenServer());
    EXPECT_FALSE(other.ServerOpen());
    EXPECT_NE(env.ReadFile("KORVEX.LOG").find("Farm server socket on port"), std::string::npos);
}

// Once the process that held the port lets it go, the link listens again when retried (the main window does so
// every second); the failure is logged once however often it is tried, and a port closed on purpose stays closed.
TEST_F(FarmLinkTest, AListenThatFailedIsRetriedUntilThePortIsFree) {
    const int port = link.ServerPort();
    TFarmLink other(loop, "10.0.0.5");
    other.SetPort(port);
    EXPECT_FALSE(other.RetryServer());   // never opened: nothing to retry
    EXPECT_FALSE(other.ServerOpen());
    EXPECT_FALSE(other.OpenServer());   // the port is taken
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(other.RetryServer());
    const std::string log = env.ReadFile("KORVEX.LOG");
    EXPECT_EQ(log.find("Farm server socket on port"), log.rfind("Farm server socket on port")) << log;

    link.CloseServer();   // the other process lets it go
    EXPECT_TRUE(other.RetryServer());
    EXPECT_TRUE(other.ServerOpen());
    EXPECT_EQ(other.ServerPort(), port);
    EXPECT_FALSE(other.RetryServer());   // listening already
    other.CloseServer();
    EXPECT_FALSE(other.RetryServer());
    EXPECT_FALSE(other.ServerOpen());
}

// ---- peers that flood, crowd or dawdle

TEST_F(FarmLinkTest, AFloodingPeerIsCutOffWhileTheRealReplyGetsThrough) {
    auto query = StartQuery(0);
    ASSERT_TRUE(MessageArrives());
    // As much as the kernel takes at once, beside the real reply: the flood is read no further than the
    // limit, so it is reset with most of it unread.
    test::TReplyConnection flood(link.ServerPort(), "127.0.0.2");
    ASSERT_GT(os::nettest::FillConnection(flood.Handle(), 64 << 20), 16 * FarmReplyLimit);
    test::SendReply(link.ServerPort(), "127.0.0.1#4*C:\\FAH^box");
    TFarmReply reply = Finish(query);
    EXPECT_TRUE(reply.Replied);
    EXPECT_EQ(reply.State, FarmStateRunning);
    int error = 0;
    ASSERT_TRUE(os::nettest::PeerClosed(flood.Handle(), 60000, &error));
    EXPECT_EQ(error, ECONNRESET);
}

TEST_F(FarmLinkTest, AnOverlongReplyIsTakenFromItsFirstKilobyteAndTheRestIsNeverRead) {
    auto query = StartQuery(0);
    ASSERT_TRUE(MessageArrives());
    test::TReplyConnection connection(link.ServerPort());
    connection.Send("127.0.0.1#4*" + std::string(FarmReplyLimit, 'p') + "^box");
    ASSERT_GT(os::nettest::FillConnection(connection.Handle(), 16 << 20), 0);
    TFarmReply reply = Finish(query);
    EXPECT_TRUE(reply.Replied);
    EXPECT_EQ(reply.State, FarmStateRunning);   // the marks it needs are in the first kilobyte
    int error = 0;
    ASSERT_TRUE(os::nettest::PeerClosed(connection.Handle(), 60000, &error));
    EXPECT_EQ(error, ECONNRESET);   // closed with text unread
}

TEST_F(FarmLinkTest, ManyIdlePeersLeaveRoomForTheRealReply) {
    // As few descriptors as a crowded machine has: the idle peers' connections alone would take them all.
    constexpr int Idle = 300;
    rlimit before {};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &before), 0);
    const auto open = std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
    rlimit scarce = before;
    scarce.rlim_cur = static_cast<rlim_t>(open + Idle + FarmReplyConnections + 24);
    ASSERT_LE(scarce.rlim_cur, before.rlim_max);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &scarce), 0);
    struct TRestore {
        rlimit Limit;
        ~TRestore() { setrlimit(RLIMIT_NOFILE, &Limit); }
    } restore {before};

    std::vector<std::unique_ptr<test::TReplyConnection>> idle;
    for (int i = 0; i < Idle; ++i) {
        idle.push_back(std::make_unique<test::TReplyConnection>(link.ServerPort()));
        ASSERT_TRUE(idle.back()->Connected()) << i;
        if (i % 8 == 0) loop.RunOnce(0);
    }
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return os::nettest::PeerClosed(idle[Idle - FarmReplyConnections - 1]->Handle(), 0); }));
    auto query = StartQuery(0);
    ASSERT_TRUE(MessageArrives());
    test::SendReply(link.ServerPort(), "127.0.0.1#4*C:\\FAH^box");
    TFarmReply reply = Finish(query);
    EXPECT_TRUE(reply.Replied);
    EXPECT_EQ(reply.State, FarmStateRunning);
    EXPECT_TRUE(os::nettest::PeerClosed(idle[0]->Handle(), 0));   // the oldest were let go
}

TEST_F(FarmLinkTest, AReplyWhoseTextComesAfterAFloodOfHeldConnectionsGetsThrough) {
    auto query = StartQuery(0);
    ASSERT_TRUE(MessageArrives());
    test::TReplyConnection real(link.ServerPort());
    ASSERT_TRUE(real.Connected());
    // Another address opens and holds connections faster than replies come, far beyond the cap.
    constexpr int Flood = 3 * FarmReplyConnections;
    std::vector<std::unique_ptr<test::TReplyConnection>> flood;
    for (int i = 0; i < Flood; ++i) {
        flood.push_back(std::make_unique<test::TReplyConnection>(link.ServerPort(), "127.0.0.2"));
        ASSERT_TRUE(flood.back()->Connected()) << i;
    }
    // Once the server has taken the whole flood, its text comes.
    ASSERT_TRUE(test::PumpUntil(
        loop, [&] { return os::nettest::PeerClosed(flood[Flood - FarmReplyConnections]->Handle(), 0); }));
    real.Send("127.0.0.1#4*C:\\FAH^box");
    real.Close();
    TFarmReply reply = Finish(query);
    EXPECT_TRUE(reply.Replied);
    EXPECT_EQ(reply.State, FarmStateRunning);
}

// Opens connections from the given addresses in turn, each sending a few bytes and held open, until destroyed.
class TFewBytesFlood {
public:
    TFewBytesFlood(int port, std::vector<std::string> addresses)
        : FThread([this, port, addresses = std::move(addresses)](std::stop_token stop) {
            std::deque<std::unique_ptr<test::TReplyConnection>> held;
            for (std::size_t i = 0; !stop.stop_requested(); ++i) {
                auto connection = std::make_unique<test::TReplyConnection>(port, addresses[i % addresses.size()]);
                connection->Send("9#");
                held.push_back(std::move(connection));
                if (held.size() > 256) held.pop_front();
                ++FOpened;
                std::this_thread::sleep_for(std::chrono::microseconds(200));   // a flood the backlog can take
            }
        }) { }
    int Opened() const { return FOpened; }

private:
    std::atomic<int> FOpened {0};
    std::jthread FThread;
};

// A reply that takes its network delay (5 to 20 ms between its connection and its text) gets through floods of
// connections that each send a few bytes, from one address and from many.
TEST_F(FarmLinkTest, DelayedRepliesGetThroughAFloodOfConnectionsThatEachSendAFewBytes) {
    link.SetReplyWait(1, 10000);   // far beyond the delays: a reply pushed out fails the round
    std::vector<std::string> many;
    for (int i = 2; i < 40; ++i)
        many.push_back("127.0.0." + std::to_string(i));
    const std::vector<std::pair<const char*, std::vector<std::string>>> floods
        = {{"one address", {"127.0.0.2"}}, {"many addresses", many}};
    std::size_t sent = 0;
    for (const auto& [name, addresses] : floods) {
        SCOPED_TRACE(name);
        TFewBytesFlood flood(link.ServerPort(), addresses);
        ASSERT_TRUE(test::PumpUntil(loop, [&] { return flood.Opened() > 4 * FarmReplyConnections; }));
        int replied = 0;
        for (int round = 0; round < 10; ++round) {
            auto query = StartQuery(0);
            ASSERT_TRUE(MessageArrives(++sent));
            const int delayMs = 5 + round * 15 / 9;
            std::thread reply([port = link.ServerPort(), delayMs] {
                test::TReplyConnection connection(port);
                std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));   // the network's delay
                connection.Send("127.0.0.1#4*C:\\FAH^box");
                connection.Close();
            });
            const TFarmReply answer = Finish(query);
            reply.join();
            replied += answer.Replied ? 1 : 0;
        }
        EXPECT_EQ(replied, 10);
    }
}

// A loop busy elsewhere for a long time each turn (a slow repaint, a long load) while a flood of connections
// piles up on the port: every reply still gets through, since each turn takes all that waited.
TEST_F(FarmLinkTest, RepliesGetThroughAFloodWhileTheLoopIsBusyEveryTurn) {
    link.SetReplyWait(100, 100);   // the program's own wait, far beyond a few busy turns
    constexpr auto BusyTurn = std::chrono::milliseconds(100);
    const auto busyUntil = [&](const std::function<bool()>& done) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        while (!done() && std::chrono::steady_clock::now() < limit) {
            loop.RunOnce(0);
            std::this_thread::sleep_for(BusyTurn);   // the loop's other work
        }
        return done();
    };
    TFewBytesFlood flood(link.ServerPort(), {"127.0.0.2"});
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return flood.Opened() > 4 * FarmReplyConnections; }));
    int replied = 0;
    constexpr int Rounds = 5;
    for (int round = 0; round < Rounds; ++round) {
        auto query = StartQuery(0);
        ASSERT_TRUE(busyUntil([&] { return service.Messages().size() >= std::size_t(round + 1); }));
        std::thread reply([port = link.ServerPort()] { test::SendReply(port, "127.0.0.1#4*C:\\FAH^box"); });
        const bool answered
            = busyUntil([&] { return query.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
        reply.join();
        ASSERT_TRUE(answered);
        replied += query.get().Replied ? 1 : 0;
    }
    EXPECT_EQ(replied, Rounds);
}

// While the reply port is closed no reply can come: a query does not wait for one; once it listens again it does.
TEST_F(FarmLinkTest, AQueryWaitsForNoReplyWhileThePortIsClosed) {
    link.SetReplyWait(1, LongPollMs);
    link.CloseServer();
    auto query = StartQuery(0);
    ASSERT_TRUE(MessageArrives());
    TFarmReply reply = Finish(query);   // at once: a wait of LongPollMs would fail here
    EXPECT_FALSE(reply.Replied);
    EXPECT_EQ(reply.Color, FarmColorNoReply);

    ASSERT_TRUE(link.OpenServer());
    auto again = StartQuery(0);
    ASSERT_TRUE(MessageArrives(2));
    // It waits now: the reply sent after the message came is taken.
    test::SendReply(link.ServerPort(), "127.0.0.1#4*C:\\FAH^box");
    reply = Finish(again);
    EXPECT_TRUE(reply.Replied);
}

TEST_F(FarmLinkTest, ASlowDripIsClosedAtItsTimeAndGivesNoReply) {
    link.SetReplyWait(3000, 20);   // the query waits through the drip however slow the machine
    auto query = StartQuery(0);
    ASSERT_TRUE(MessageArrives());
    test::TReplyConnection drip(link.ServerPort());
    loop.RunOnce(10);   // taken now: its time runs from here
    // A byte every 400 ms of the loop's clock; "127.0.0.1#4" taken as a reply would say stopped (state 1).
    for (char c : std::string("127.0.0.1#4")) {
        drip.Send(std::string(1, c));
        loop.RunOnce(5);
        skewMs += 400;
        loop.RunOnce(0);
    }
    EXPECT_FALSE(os::nettest::PeerClosed(drip.Handle(), 0));
    skewMs += FarmReplyTimeoutMs;
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return os::nettest::PeerClosed(drip.Handle(), 0); }));
    test::SendReply(link.ServerPort(), "127.0.0.1#4*C:\\FAH^box");
    TFarmReply reply = Finish(query);
    EXPECT_TRUE(reply.Replied);
    EXPECT_EQ(reply.State, FarmStateRunning);
    EXPECT_EQ(link.DroppedReplies(), 0);
}

}
}
