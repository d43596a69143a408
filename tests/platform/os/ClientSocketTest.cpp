// Tests of TClientSocket on loopback: sending, refused and unanswered connects, errors through OnError.
#include "platform/os/ClientSocket.h"

#include "support/Loopback.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <unistd.h>
#include <vector>

using namespace korvex::os;
using namespace korvex::os::nettest;

namespace {

struct ErrorRecord {
    TErrorEvent Event;
    int Code;
};

}

TEST(TClientSocket, SendsTheTextToTheListener) {
    LoopbackListener listener;
    TClientSocket socket;
    socket.SetAddress("127.0.0.1");
    socket.SetPort(listener.Port());
    ASSERT_TRUE(socket.Open());
    EXPECT_TRUE(socket.Active());
    const std::string message = "10.0.0.5#3*C:\\FAH^Node #1";
    EXPECT_TRUE(socket.SendText(message));
    socket.Close();
    EXPECT_FALSE(socket.Active());
    int peer = listener.Accept(10000);
    ASSERT_GE(peer, 0);
    EXPECT_EQ(ReadAll(peer, 10000), message);
    close(peer);
}

TEST(TClientSocket, HostIsLookedUpWhenNoAddressIsSet) {
    LoopbackListener listener;
    TClientSocket socket;
    socket.SetHost("localhost");
    socket.SetPort(listener.Port());
    EXPECT_TRUE(socket.Open());
    EXPECT_EQ(socket.LastError(), 0);
}

TEST(TClientSocket, ARefusedConnectIsReportedThroughOnErrorAndNeverRaised) {
    TClientSocket socket;
    socket.SetAddress("127.0.0.1");
    socket.SetPort(UnusedPort());
    std::vector<ErrorRecord> errors;
    socket.OnError = [&](TClientSocket& sender, TErrorEvent event, int& code) {
        EXPECT_EQ(&sender, &socket);
        errors.push_back({event, code});
        code = 0;
    };
    EXPECT_FALSE(socket.Open());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Event, eeConnect);
    EXPECT_EQ(errors[0].Code, ECONNREFUSED);
    EXPECT_EQ(socket.LastError(), ECONNREFUSED);
    EXPECT_FALSE(socket.Active());
}

TEST(TClientSocket, AnUnhandledErrorIsNotRaisedEither) {
    TClientSocket socket;
    socket.SetAddress("127.0.0.1");
    socket.SetPort(UnusedPort());
    socket.OnError = [](TClientSocket&, TErrorEvent, int&) {};   // leaves the code set
    EXPECT_NO_THROW(EXPECT_FALSE(socket.Open()));
    TClientSocket bare;
    bare.SetAddress("127.0.0.1");
    bare.SetPort(UnusedPort());
    EXPECT_NO_THROW(EXPECT_FALSE(bare.Open()));
}

TEST(TClientSocket, AConnectThatGetsNoAnswerTimesOut) {
    LoopbackListener listener(0);
    ASSERT_TRUE(listener.FillBacklog());
    TClientSocket socket;
    socket.SetAddress("127.0.0.1");
    socket.SetPort(listener.Port());
    socket.SetTimeout(100);
    TErrorEvent event = eeGeneral;
    int code = 0;
    socket.OnError = [&](TClientSocket&, TErrorEvent e, int& c) {
        event = e;
        code = c;
    };
    EXPECT_FALSE(socket.Open());
    EXPECT_EQ(event, eeConnect);
    EXPECT_EQ(code, ETIMEDOUT);
}

struct AddressCase {
    const char* Address;
    const char* Host;
    int Port;
    int Code;
};

class TClientSocketAddress : public ::testing::TestWithParam<AddressCase> { };

TEST_P(TClientSocketAddress, AnUnusableAddressIsALookupError) {
    const AddressCase& c = GetParam();
    TClientSocket socket;
    socket.SetAddress(c.Address);
    socket.SetHost(c.Host);
    socket.SetPort(c.Port);
    TErrorEvent event = eeGeneral;
    int code = 0;
    socket.OnError = [&](TClientSocket&, TErrorEvent e, int& ec) {
        event = e;
        code = ec;
        ec = 0;
    };
    EXPECT_FALSE(socket.Open());
    EXPECT_EQ(event, eeLookup);
    EXPECT_EQ(code, c.Code);
}

INSTANTIATE_TEST_SUITE_P(Cases, TClientSocketAddress,
    ::testing::Values(AddressCase {"", "", 138, EDESTADDRREQ},   // a node whose address was never resolved
        AddressCase {"300.1.2.3", "", 138, EINVAL},   // not an IPv4 address
        AddressCase {"127.0.0.1 ", "", 138, EINVAL},   // trailing blank
        AddressCase {"127.0.0.1", "", 0, EINVAL},   // no port
        AddressCase {"127.0.0.1", "", 70000, EINVAL}));   // port out of range

TEST(TClientSocket, SendingWhileClosedIsASendError) {
    TClientSocket socket;
    TErrorEvent event = eeGeneral;
    socket.OnError = [&](TClientSocket&, TErrorEvent e, int& code) {
        event = e;
        EXPECT_EQ(code, ENOTCONN);
        code = 0;
    };
    EXPECT_FALSE(socket.SendText("x"));
    EXPECT_EQ(event, eeSend);
}

TEST(TClientSocket, SendingToAPeerThatClosedFailsWithoutKillingTheProcess) {
    LoopbackListener listener;
    TClientSocket socket;
    socket.SetAddress("127.0.0.1");
    socket.SetPort(listener.Port());
    ASSERT_TRUE(socket.Open());
    int peer = listener.Accept(10000);
    ASSERT_GE(peer, 0);
    close(peer);
    bool failed = false;
    socket.OnError = [&](TClientSocket&, TErrorEvent e, int& code) {
        failed = e == eeSend;
        code = 0;
    };
    std::string block(1 << 16, 'x');
    // The first sends may still be buffered; the peer's reset makes a later one fail (with EPIPE, no signal).
    for (int i = 0; i < 100 && !failed; ++i)
        socket.SendText(block);
    EXPECT_TRUE(failed);
}
