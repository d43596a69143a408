// The farm link: message and reply texts, and status queries against a fake control service on loopback.
#include "app/FarmLink.h"
#include "support/AppEnvironment.h"
#include "support/FakeFarmService.h"

#include "platform/os/EventLoop.h"
#include "platform/os/ServerSocket.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

namespace korvex::app {
namespace {

TEST(FarmMessage, JoinsTheFieldsWithTheirMarksUnchanged) {
    EXPECT_EQ(FarmMessage("10.0.0.5", FarmStart, "C:\\FAH", "box"), "10.0.0.5#1*C:\\FAH^box");
    EXPECT_EQ(FarmMessage("10.0.0.5", FarmStatus, "a#b", "n^*"), "10.0.0.5#3*a#b^n^*");
}

TEST(FarmReply, FieldsAreCutAtTheFirstMarksAndTheStateDefaultsToStopped) {
    struct Case {
        const char* Text;
        const char* A;
        const char* B;
        const char* D;
        int State;
    } cases[] = {
        {"10.0.0.9#4*C:\\FAH^box", "10.0.0.9", "4", "box", 4},
        {"h#1*p^n", "h", "1", "n", 1},
        {"h#x*p^n", "h", "x", "n", 1},
        {"h#4", "h", "", "", 1},
        {"no marks at all", "", "", "", 1},
        {"h#4*p^n^m", "h", "4", "n^m", 4},
        {"", "", "", "", 1},
    };
    for (const Case& c : cases) {
        TFarmReplyFields f = SplitFarmReply(c.Text);
        EXPECT_EQ(f.A, c.A) << c.Text;
        EXPECT_EQ(f.B, c.B) << c.Text;
        EXPECT_EQ(f.D, c.D) << c.Text;
        EXPECT_EQ(FarmReplyState(c.Text), c.State) << c.Text;
    }
    EXPECT_TRUE(FarmReplyComplete("a#4*b^"));
    EXPECT_FALSE(FarmReplyComplete("a#4*b"));
}

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
            return link.Query(node, TFarmTarget {ip, "C:\\FAH", "box"}, [this](int ms) {
                if (stop) return false;
                std::this_thread::sleep_for(std::chrono::milliseconds(ms));
                return !stop.load();
            });
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
    os::TEventLoop loop;
    test::TFakeFarmService service {loop};
    TFarmLink link {loop, "10.0.0.5"};
    std::atomic<bool> stop {false};
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
    loop.RunOnce(50);
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
    link.SetReplyWait(1000, 1000);
    std::vector<int> stages;
    TFarmReply reply = link.Query(
        0, TFarmTarget {"127.0.0.1", "p", "n"},
        [](int) {
            ADD_FAILURE() << "waited";
            return false;
        },
        [&](int stage) { stages.push_back(stage); });
    EXPECT_FALSE(reply.Replied);
    EXPECT_EQ(stages, std::vector<int>({51}));
    EXPECT_NE(link.LastClientError(), 0);
    EXPECT_FALSE(link.Send(FarmStart, TFarmTarget {"127.0.0.1", "p", "n"}));
    EXPECT_FALSE(link.Send(FarmStart, TFarmTarget {"", "p", "n"}));   // never resolved
}

TEST_F(FarmLinkTest, StopEndsTheWaitAtOnce) {
    link.SetReplyWait(1000, 1000);
    auto query = StartQuery(0);
    ASSERT_TRUE(MessageArrives());
    stop = true;
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

}
}
