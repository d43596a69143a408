// The tests' control service: its replies, silence, late and split replies, and replies from another address.
#include "support/FarmControlService.h"

#include <gtest/gtest.h>

#include <atomic>

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace korvex::e2e {
namespace {

using Clock = std::chrono::steady_clock;

// The program's side: the port replies come to; each connection's reads and the address it came from.
class TReplyPort {
public:
    TReplyPort() {
        FFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(FFd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(FFd, 8) == 0)
            getsockname(FFd, reinterpret_cast<sockaddr*>(&address), &length);
        FPort = ntohs(address.sin_port);
    }
    ~TReplyPort() { ::close(FFd); }
    int Port() const { return FPort; }

    struct TReply {
        std::string From;
        std::vector<std::string> Reads;
        std::string Text() const {
            std::string text;
            for (const std::string& read : Reads)
                text += read;
            return text;
        }
    };
    // The next reply connection, read to its end; nothing within timeoutMs gives an empty From.
    TReply Next(int timeoutMs) {
        TReply reply;
        pollfd entry{FFd, POLLIN, 0};
        if (::poll(&entry, 1, timeoutMs) != 1) return reply;
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        const int fd = ::accept(FFd, reinterpret_cast<sockaddr*>(&peer), &length);
        char ip[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &peer.sin_addr, ip, sizeof ip);
        reply.From = ip;
        char buffer[256];
        for (ssize_t got; (got = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
            reply.Reads.emplace_back(buffer, static_cast<std::size_t>(got));
        ::close(fd);
        return reply;
    }

private:
    int FFd = -1;
    int FPort = 0;
};

// A farm message as the program sends it: one connection, closed after the text.
void SendMessage(const TFarmControlService& service, const std::string& text) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(service.Port()));
    inet_pton(AF_INET, service.Address().c_str(), &to.sin_addr);
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
    ASSERT_EQ(::send(fd, text.data(), text.size(), MSG_NOSIGNAL), static_cast<ssize_t>(text.size()));
    ::close(fd);
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
    SendMessage(service, Query);
    TReplyPort::TReply reply = program.Next(5000);
    EXPECT_EQ(reply.From, "127.0.0.3");
    EXPECT_EQ(reply.Text(), "127.0.0.3#4*C:\\FAH^Node 00");
    EXPECT_EQ(service.Messages(), std::vector<std::string>{Query});
    EXPECT_TRUE(service.WaitForReplies(1, 1000));
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
    SendMessage(service, "127.0.0.1#2*C:\\FAH^Node 00");
    ASSERT_TRUE(service.WaitForMessages(1, 5000));
    SendMessage(service, Query);
    EXPECT_EQ(program.Next(5000).Text(), "127.0.0.3#1*C:\\FAH^Node 00");
    SendMessage(service, "127.0.0.1#1*C:\\FAH^Node 00");
    SendMessage(service, Query);
    EXPECT_EQ(program.Next(5000).Text(), "127.0.0.3#4*C:\\FAH^Node 00");
    EXPECT_TRUE(service.WaitForReplies(2, 1000));
    EXPECT_EQ(service.Messages().size(), 4u);
}

TEST(FarmControlService, SilentLateSplitAndForeignReplies) {
    TReplyPort program;
    TFarmControlService service("127.0.0.3", 0, "127.0.0.1", program.Port());

    service.SetBehaviour(Behaviour(TFarmAnswer::NoReply));
    SendMessage(service, Query);
    ASSERT_TRUE(service.WaitForMessages(1, 5000));
    EXPECT_EQ(program.Next(200).From, "");

    TFarmBehaviour late300 = Behaviour(TFarmAnswer::Late);
    late300.DelayMs = 300;
    service.SetBehaviour(late300);
    const Clock::time_point sent = Clock::now();
    SendMessage(service, Query);
    TReplyPort::TReply late = program.Next(5000);
    EXPECT_GE(Clock::now() - sent, std::chrono::milliseconds(300));
    EXPECT_EQ(late.Text(), "127.0.0.3#4*C:\\FAH^Node 00");

    TFarmBehaviour split3 = Behaviour(TFarmAnswer::Split, 1);
    split3.PieceGapMs = 40;
    service.SetBehaviour(split3);
    SendMessage(service, Query);
    TReplyPort::TReply split = program.Next(5000);
    EXPECT_GE(split.Reads.size(), 2u);
    EXPECT_EQ(split.Text(), "127.0.0.3#1*C:\\FAH^Node 00");

    // A reply whenever the test likes: to the last status query, from the service's address.
    TFarmControlService other("127.0.0.5", service.Port(), "127.0.0.1", program.Port());
    other.SetBehaviour(Behaviour(TFarmAnswer::NoReply));
    std::atomic<int> seen{0};
    other.OnMessage = [&](const std::string& message) { seen += message == Query; };
    EXPECT_FALSE(other.ReplyNow());   // no query yet
    SendMessage(other, Query);
    ASSERT_TRUE(other.WaitForMessages(1, 5000));
    EXPECT_EQ(seen, 1);
    EXPECT_TRUE(other.ReplyNow());
    TReplyPort::TReply now = program.Next(5000);
    EXPECT_EQ(now.From, "127.0.0.5");
    EXPECT_EQ(now.Text(), "127.0.0.5#4*C:\\FAH^Node 00");

    TFarmBehaviour foreign = Behaviour(TFarmAnswer::Reply);
    foreign.ReplyFrom = "127.0.0.4";
    service.SetBehaviour(foreign);
    SendMessage(service, Query);
    EXPECT_EQ(program.Next(5000).From, "127.0.0.4");
}

}
}
