// The control services of a fake farm's FARM nodes.
#include "tools/fakefarm/FarmServices.h"

#include "app/farm/FarmReply.h"

#include <stdexcept>

namespace korvex::fakefarm {

TFarmServices::TFarmServices(const TFarm& farm) {
    for (const TFakeNode& node : farm.Nodes) {
        if (node.ServiceIp.empty()) continue;
        auto service
            = std::make_unique<TFarmControlService>(node.ServiceIp, farm.FarmServicePort, "127.0.0.1", farm.FarmPort);
        if (!service->Listening())
            throw std::runtime_error(
                "cannot listen on " + node.ServiceIp + ":" + std::to_string(farm.FarmServicePort) + " for " + node.Label);
        TFarmBehaviour behaviour;
        behaviour.State = node.ConsoleStopped ? app::FarmStateStopped : app::FarmStateRunning;
        service->SetBehaviour(behaviour);
        FServices.push_back({node.Index, std::move(service)});
    }
}

TFarmServices::~TFarmServices() = default;

void TFarmServices::Apply(TFarm& farm) const {
    for (const TNodeService& entry : FServices)
        for (TFakeNode& node : farm.Nodes)
            if (node.Index == entry.Node) node.ConsoleStopped = entry.Service->State() == app::FarmStateStopped;
}

}
