// The fake farm: node folders whose client files advance over time, and the settings file naming them.
#pragma once

#include "tools/fakefarm/FakeNode.h"

#include <string>
#include <vector>

namespace korvex::fakefarm {

// How a farm is made. Node 1 is stuck and node 2 unreachable when there are that many; every third node runs a
// frame-counting core; every fourth is reached through a UNC path on UncHost. With a farm service port, every
// node whose host answers is in FARM mode, its control service on a loopback address of its own
// (ServiceAddress) at that port.
struct TFarmOptions {
    int Nodes = 6;
    int StepSeconds = 60;   // the length of one tick (one progress line of the fastest nodes)
    int UpdateMinutes = 1;   // the Update option written
    std::string UncHost = "localhost";   // answers on the SMB port the run serves
    std::string DownHost = "127.0.0.2";   // does not answer
    int FarmPort = 0;   // written to the variables file as KORVEX_FARM_PORT when not 0
    int FarmServicePort = 0;   // KORVEX_FARM_SERVICE_PORT when not 0; 0: no FARM nodes
};

// A farm as its state file keeps it.
struct TFarm {
    std::string Dir;
    int StepSeconds = 60;
    int SmbPort = 0;
    int FarmPort = 0;   // where the program takes farm replies; 0: not known
    int FarmServicePort = 0;   // where the FARM nodes' control services listen; 0: no FARM nodes
    long Tick = 0;
    std::vector<TFakeNode> Nodes;
};

// Files of a farm folder.
std::string StateFile(const std::string& dir);   // DIR/fakefarm.state
std::string RegistryFile(const std::string& dir);   // DIR/registry.reg, for $KORVEX_REGISTRY
std::string UncRoot(const std::string& dir);   // DIR/unc, for $KORVEX_UNC_ROOT
std::string EnvFile(const std::string& dir);   // DIR/farm.env: the program's variables as shell assignments

// Makes the farm in dir (created when missing): node folders with a unit each at its own progress, as written
// from nowUtc back, the settings file and the state. smbPort is the port the answering hosts serve.
// Raises std::runtime_error when a file cannot be written.
TFarm InitFarm(const std::string& dir, const TFarmOptions& options, int smbPort, base::TDateTime nowUtc);

// Reads a farm's state; raises std::runtime_error when it is missing or damaged.
TFarm LoadFarm(const std::string& dir);
void SaveFarm(const TFarm& farm);

// One tick at nowUtc: each node that is due appends its progress line, finishes its unit and starts the next
// one at the end; unitinfo.txt follows. The stuck node and nodes whose console is stopped write nothing. A node
// whose folder is gone (or cannot be written) stands still and the others go on; when the folder is back it goes
// on too, its files written whole when the folder came back without its log. The state is saved. The indexes of
// the nodes that could not write.
std::vector<int> StepFarm(TFarm& farm, base::TDateTime nowUtc);

// The loopback address of node index's control service: 127.1.0.1, 127.1.0.2, ...
std::string ServiceAddress(int index);

// The current UTC time as a point in time.
base::TDateTime UtcNow();

}
