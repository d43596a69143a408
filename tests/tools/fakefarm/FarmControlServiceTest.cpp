// The fake farm's control service: its replies, silence, late and split replies, and replies from another address.
#include "tools/fakefarm/FarmControlService.h"
#include "support/FarmPeers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>

namespace korvex::fakefarm {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int WaitMs = 60000;   // generous for a loaded machine; the conditions end the waits
using test::TReplyPort;

// A farm message as the program sends it: one connection, closed after the text.
void SendFarmMessage(const TFarmControlService& service, const std::string& text) {
    ASSERT_TRUE(test::SendFarmMessage(service.Address(), service.Port(), text));
}

const std::string Query = "127.0.0.1#3*C:\\FAH^Node 00";

TFarmBehaviour Behaviour(TFarmAnswer answer, int state = 4) {
    TFarmBehaviour behaviour;
    behaviour.Answer = answer;
    behaviour.State = state;
    return behaviour;
}

TEST(FarmControlService, RepliesToAStatusQueryFromItsOwnAddress) {
    TReplyPort program;
    TFarmControlService service("127.0.0.3", 0, "127.0.0.1", program.Port());
    ASSERT_TRUE(service.Listening());
    SendFarmMessage(service, Query);
    TReplyPort::TReply reply = program.Next(WaitMs);
    EXPECT_EQ(reply.From, "127.0.0.3");
    EXPECT_EQ(reply.Text(), "127.0.0.3#4*C:\\FAH^Node 00");
    EXPECT_EQ(service.Messages(), std::vector<std::string>{Query});
    EXPECT_TRUE(service.WaitForReplies(1, WaitMs));
    std::vector<TFarmEvent> events = service.Events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_FALSE(events[0].Reply);
    EXPECT_TRUE(events[1].Reply);
    EXPECT_EQ(events[1].Text, "127.0.0.3#4*C:\\FAH^Node 00");
    EXPECT_LE(events[0].At, events[1].At);
}

TEST(FarmControlService, StartAndStopAreNotAnsweredButChangeTheState) {
    TReplyPort program;
    TFarmControlService service("127.0.0.3", 0, "127.0.0.1", program.Port());
    SendFarmMessage(service, "127.0.0.1#2*C:\\FAH^Node 00");
    ASSERT_TRUE(service.WaitForMessages(1, WaitMs));
    SendFarmMessage(service, Query);
    EXPECT_EQ(program.Next(WaitMs).Text(), "127.0.0.3#1*C:\\FAH^Node 00");
    SendFarmMessage(service, "127.0.0.1#1*C:\\FAH^Node 00");
    SendFarmMessage(service, Query);
    EXPECT_EQ(program.Next(WaitMs).Text(), "127.0.0.3#4*C:\\FAH^Node 00");
    EXPECT_TRUE(service.WaitForReplies(2, WaitMs));
    EXPECT_EQ(service.Messages().size(), 4u);
}

TEST(FarmControlService, SilentLateSplitAndForeignReplies) {
    TReplyPort program;
    // Two services on one port, on two addresses. The port the first is given may be in use on the second
    // address (another program's connection from there took it): a pair that both listen is looked for.
    std::unique_ptr<TFarmControlService> first, second;
    for (int attempt = 0; attempt < 50 && !(second && second->Listening()); ++attempt) {
        second.reset();
        first = std::make_unique<TFarmControlService>("127.0.0.3", 0, "127.0.0.1", program.Port());
        ASSERT_TRUE(first->Listening());
        second = std::make_unique<TFarmControlService>("127.0.0.5", first->Port(), "127.0.0.1", program.Port());
    }
    ASSERT_TRUE(second->Listening());
    TFarmControlService& service = *first;
    TFarmControlService& other = *second;

    // Silent: had it answered, its state 2 would show in the next reply the program gets.
    service.SetBehaviour(Behaviour(TFarmAnswer::NoReply, 2));
    SendFarmMessage(service, Query);
    ASSERT_TRUE(service.WaitForMessages(1, WaitMs));

    TFarmBehaviour late300 = Behaviour(TFarmAnswer::Late);
    late300.DelayMs = 300;
    service.SetBehaviour(late300);
    const Clock::time_point sent = Clock::now();
    SendFarmMessage(service, Query);
    TReplyPort::TReply late = program.Next(WaitMs);
    EXPECT_GE(Clock::now() - sent, std::chrono::milliseconds(300));
    EXPECT_EQ(late.Text(), "127.0.0.3#4*C:\\FAH^Node 00");

    // Split: three writes, whatever the reader's reads made of them on a busy machine.
    TFarmBehaviour split3 = Behaviour(TFarmAnswer::Split, 1);
    split3.PieceGapMs = 40;
    service.SetBehaviour(split3);
    SendFarmMessage(service, Query);
    TReplyPort::TReply split = program.Next(WaitMs);
    EXPECT_EQ(split.Text(), "127.0.0.3#1*C:\\FAH^Node 00");
    ASSERT_TRUE(service.WaitForReplies(2, WaitMs));
    EXPECT_EQ(service.Events().back().Writes, 3);

    // A reply whenever the test likes: to the last status query, from the service's address.
    other.SetBehaviour(Behaviour(TFarmAnswer::NoReply));
    std::atomic<int> seen{0};
    other.OnMessage = [&](const std::string& message) { seen += message == Query; };
    EXPECT_FALSE(other.ReplyNow());   // no query yet
    SendFarmMessage(other, Query);
    ASSERT_TRUE(other.WaitForMessages(1, WaitMs));
    EXPECT_EQ(seen, 1);
    EXPECT_TRUE(other.ReplyNow());
    TReplyPort::TReply now = program.Next(WaitMs);
    EXPECT_EQ(now.From, "127.0.0.5");
    EXPECT_EQ(now.Text(), "127.0.0.5#4*C:\\FAH^Node 00");

    TFarmBehaviour foreign = Behaviour(TFarmAnswer::Reply);
    foreign.ReplyFrom = "127.0.0.4";
    service.SetBehaviour(foreign);
    SendFarmMessage(service, Query);
    EXPECT_EQ(program.Next(WaitMs).From, "127.0.0.4");
}

}
}
