// The control services of a running fake farm: a status reply from each FARM node's own address, and start and
// stop holding and freeing the node's log.
#include "tools/fakefarm/FarmServices.h"
#include "tools/fakefarm/SmbAnswerer.h"
#include "support/ClientFiles.h"
#include "support/FarmPeers.h"
#include "support/ToolRun.h"

#include "app/farm/FarmReply.h"
#include "platform/base/DateTime.h"

#include <gtest/gtest.h>

namespace korvex::fakefarm {
namespace {

using app::test::Slurp;
using test::SendFarmMessage;
using test::TReplyPort;

const base::TDateTime ServiceNowUtc = base::EncodeDateTime(2026, 12, 7, 18, 0, 0, 0);
constexpr double ServiceSecond = 1.0 / 86400;

std::string Message(int command, const TFakeNode& node) {
    return app::FarmMessage("127.0.0.1", command, node.Folder, node.Label);
}

TEST(FarmServices, EachFarmNodeAnswersFromItsOwnAddressAndStopHoldsItsLogUntilStart) {
    app::test::TTempDir dir;
    TReplyPort program;
    TFarmOptions options;
    options.Nodes = 4;
    options.StepSeconds = 30;
    options.FarmPort = program.Port();
    options.FarmServicePort = FreeLoopbackPort();
    TFarm farm = InitFarm(dir.File("farm"), options, 4450, ServiceNowUtc);
    TFarmServices services(farm);
    ASSERT_EQ(services.Count(), 3);   // every node but the unreachable host's
    for (const TFakeNode& node : farm.Nodes) {
        SCOPED_TRACE(node.Label);
        if (node.Role == TNodeRole::Unreachable) {
            EXPECT_EQ(node.ServiceIp, "");
            continue;
        }
        EXPECT_EQ(node.ServiceIp, ServiceAddress(node.Index));
        ASSERT_TRUE(SendFarmMessage(node.ServiceIp, options.FarmServicePort, Message(app::FarmStatus, node)));
        TReplyPort::TReply reply = program.Next(5000);
        EXPECT_EQ(reply.From, node.ServiceIp);
        EXPECT_EQ(reply.Text(), app::FarmMessage(node.ServiceIp, app::FarmStateRunning, node.Folder, node.Label));
    }

    // Node 0 stopped: its log stands still while node 3's goes on, and its service says so.
    const TFakeNode& first = farm.Nodes[0];
    ASSERT_TRUE(SendFarmMessage(first.ServiceIp, options.FarmServicePort, Message(app::FarmStop, first)));
    ASSERT_TRUE(services.Service(0).WaitForMessages(2, 5000));
    services.Apply(farm);
    EXPECT_TRUE(farm.Nodes[0].ConsoleStopped);
    const std::string stoppedLog = Slurp(first.Folder + "/FAHlog.txt");
    const int otherDone = farm.Nodes[3].Done;
    StepFarm(farm, ServiceNowUtc + 30 * ServiceSecond);
    EXPECT_EQ(Slurp(first.Folder + "/FAHlog.txt"), stoppedLog);
    EXPECT_GT(farm.Nodes[3].Done + farm.Nodes[3].TickPhase, otherDone);
    ASSERT_TRUE(SendFarmMessage(first.ServiceIp, options.FarmServicePort, Message(app::FarmStatus, first)));
    EXPECT_EQ(app::FarmReplyState(program.Next(5000).Text()), app::FarmStateStopped);
    EXPECT_TRUE(LoadFarm(farm.Dir).Nodes[0].ConsoleStopped);   // kept in the state

    // Started again, it goes on.
    ASSERT_TRUE(SendFarmMessage(first.ServiceIp, options.FarmServicePort, Message(app::FarmStart, first)));
    ASSERT_TRUE(services.Service(0).WaitForMessages(4, 5000));
    services.Apply(farm);
    EXPECT_FALSE(farm.Nodes[0].ConsoleStopped);
    StepFarm(farm, ServiceNowUtc + 60 * ServiceSecond);
    EXPECT_NE(Slurp(first.Folder + "/FAHlog.txt"), stoppedLog);
}

TEST(FarmServices, AServiceThatCannotListenIsAnError) {
    app::test::TTempDir dir;
    TSmbAnswerer taken(0);   // holds 127.0.0.1 at its port; the services want their own addresses
    TFarmOptions options;
    options.Nodes = 1;
    options.FarmServicePort = taken.Port();
    TFarm farm = InitFarm(dir.File("farm"), options, 4450, ServiceNowUtc);
    farm.Nodes[0].ServiceIp = "127.0.0.1";
    EXPECT_THROW(TFarmServices services(farm), std::runtime_error);
}

}
}
