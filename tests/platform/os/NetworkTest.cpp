// Tests of the network helpers: ports from the environment, the local address, look-ups, the host probe.
#include "platform/os/Network.h"

#include "support/Loopback.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <algorithm>
#include <cstdlib>
#include <ifaddrs.h>
#include <net/if.h>
#include <string>
#include <vector>

using namespace korvex::os;
using namespace korvex::os::nettest;

namespace {

// Sets an environment variable for the length of a scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value)
        : FName(name) {
        if (const char* old = std::getenv(name)) FOld = old, FHad = true;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (FHad)
            setenv(FName, FOld.c_str(), 1);
        else
            unsetenv(FName);
    }

private:
    const char* FName;
    std::string FOld;
    bool FHad = false;
};

struct PortCase {
    const char* Value;
    int Expected;
};

class PortFromEnvironment : public ::testing::TestWithParam<PortCase> { };

}

TEST_P(PortFromEnvironment, FarmAndSmbPortsReadTheirVariables) {
    const PortCase& c = GetParam();
    {
        ScopedEnv farm("KORVEX_FARM_PORT", c.Value);
        EXPECT_EQ(FarmPort(), c.Expected < 0 ? DefaultFarmPort : c.Expected);
    }
    {
        ScopedEnv service("KORVEX_FARM_SERVICE_PORT", c.Value);
        EXPECT_EQ(FarmServicePort(), c.Expected < 0 ? DefaultFarmPort : c.Expected);
        ScopedEnv farm("KORVEX_FARM_PORT", "13900");   // the service port follows the farm port unless set
        EXPECT_EQ(FarmServicePort(), c.Expected < 0 ? 13900 : c.Expected);
    }
    {
        ScopedEnv smb("KORVEX_SMB_PORT", c.Value);
        EXPECT_EQ(SmbPort(), c.Expected < 0 ? DefaultSmbPort : c.Expected);
    }
}

// -1: the default.
INSTANTIATE_TEST_SUITE_P(Values, PortFromEnvironment,
    ::testing::Values(PortCase {nullptr, -1}, PortCase {"", -1}, PortCase {"13800", 13800}, PortCase {"1", 1},
        PortCase {"65535", 65535}, PortCase {"0", -1}, PortCase {"65536", -1}, PortCase {"-5", -1},
        PortCase {"12x", -1}, PortCase {" 80", -1}, PortCase {"99999999999999999999", -1}));

TEST(LocalIP, IsADottedIPv4AddressThatIsNotLoopbackUnlessThereIsNoOther) {
    std::string ip = LocalIP();
    in_addr parsed {};
    ASSERT_EQ(inet_pton(AF_INET, ip.c_str(), &parsed), 1) << ip;
    if (ip.rfind("127.", 0) == 0) {
        EXPECT_EQ(ip, "127.0.0.1");
    }
}

// The addresses of the interfaces that are up, loopback left out.
static std::vector<std::string> AddressesOfInterfacesUp() {
    std::vector<std::string> found;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return found;
    for (ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET) continue;
        if (!(entry->ifa_flags & IFF_UP) || (entry->ifa_flags & IFF_LOOPBACK)) continue;
        char text[INET_ADDRSTRLEN] = {};
        if (inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(entry->ifa_addr)->sin_addr, text, sizeof text))
            found.push_back(text);
    }
    freeifaddrs(list);
    return found;
}

// The sender address peers answer to: an interface's own, never the loopback address the host name's entry
// often holds (127.0.1.1 on Debian), and never empty.
TEST(LocalIP, IsTheAddressOfAnInterfaceThatIsUpNotTheHostNamesLoopbackEntry) {
    const std::vector<std::string> up = AddressesOfInterfacesUp();
    const std::string ip = LocalIP();
    std::vector<std::string> outside;
    std::copy_if(up.begin(), up.end(), std::back_inserter(outside),
        [](const std::string& address) { return address.rfind("127.", 0) != 0; });
    if (outside.empty())
        EXPECT_EQ(ip, "127.0.0.1");
    else
        EXPECT_NE(std::find(outside.begin(), outside.end(), ip), outside.end()) << ip;
}

TEST(LocalIP, CanBeSetForTestsAndReturnedToTheSystem) {
    SetLocalIPOverride("10.1.2.3");
    EXPECT_EQ(LocalIP(), "10.1.2.3");
    SetLocalIPOverride("");
    EXPECT_NE(LocalIP(), "10.1.2.3");
}

TEST(NameToIP, ResolvesLocalhostAndDottedAddresses) {
    EXPECT_EQ(NameToIP("localhost"), "127.0.0.1");
    EXPECT_EQ(NameToIP("127.0.0.1"), "127.0.0.1");
    EXPECT_EQ(NameToIP("127.1.2.3"), "127.1.2.3");
}

TEST(NameToIP, AnEmptyNameIsNotResolved) {
    EXPECT_EQ(NameToIP(""), "");
}

TEST(HostAnswers, IsTrueWhenTheSmbPortTakesTheConnection) {
    LoopbackListener listener;
    ScopedEnv smb("KORVEX_SMB_PORT", std::to_string(listener.Port()).c_str());
    EXPECT_TRUE(HostAnswers("127.0.0.1", 1000));
    EXPECT_TRUE(HostAnswers("localhost", 1000));
}

TEST(HostAnswers, IsFalseWhenRefusedOrSilentOrNotResolved) {
    {
        ScopedEnv smb("KORVEX_SMB_PORT", std::to_string(UnusedPort()).c_str());
        EXPECT_FALSE(HostAnswers("127.0.0.1", 1000));
    }
    LoopbackListener silent(0);
    ASSERT_TRUE(silent.FillBacklog());
    ScopedEnv smb("KORVEX_SMB_PORT", std::to_string(silent.Port()).c_str());
    EXPECT_FALSE(HostAnswers("127.0.0.1", 50));
    EXPECT_FALSE(HostAnswers("", 50));
}

struct UncCase {
    const char* Path;
    const char* Host;
};

class HostOfUnc : public ::testing::TestWithParam<UncCase> { };

TEST_P(HostOfUnc, TakesTheNameBetweenTheLeadingBackslashesAndTheNextSeparator) {
    EXPECT_EQ(HostOfUncPath(GetParam().Path), GetParam().Host);
}

INSTANTIATE_TEST_SUITE_P(Paths, HostOfUnc,
    ::testing::Values(UncCase {"\\\\box\\fah", "box"}, UncCase {"\\\\box\\share\\x\\y", "box"},
        UncCase {"\\\\box", "box"}, UncCase {"\\\\box/share", "box"}, UncCase {"\\\\10.0.0.7\\c$", "10.0.0.7"},
        UncCase {"C:\\fah", ""}, UncCase {"/home/fah", ""}, UncCase {"", ""}, UncCase {"\\\\", ""},
        UncCase {"\\\\\\share", ""}, UncCase {"\\box\\share", ""}));
