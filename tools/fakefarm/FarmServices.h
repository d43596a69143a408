// The control services of a fake farm's FARM nodes, answering farm messages on loopback while the farm runs.
#pragma once

#include "tools/fakefarm/FakeFarm.h"
#include "tools/fakefarm/FarmControlService.h"

#include <memory>
#include <vector>

namespace korvex::fakefarm {

class TFarmServices {
public:
    // One service per FARM node, on the node's address at the farm's service port, replying to the farm port
    // on 127.0.0.1; a node's console starts as the farm keeps it. Raises std::runtime_error when one cannot
    // listen.
    explicit TFarmServices(const TFarm& farm);
    ~TFarmServices();
    TFarmServices(const TFarmServices&) = delete;
    TFarmServices& operator=(const TFarmServices&) = delete;

    int Count() const { return static_cast<int>(FServices.size()); }
    TFarmControlService& Service(int i) { return *FServices.at(static_cast<std::size_t>(i)).Service; }

    // Takes the start and stop commands the services got into the farm: a stopped console writes no more
    // progress until it is started again.
    void Apply(TFarm& farm) const;

private:
    struct TNodeService {
        int Node = 0;
        std::unique_ptr<TFarmControlService> Service;
    };
    std::vector<TNodeService> FServices;
};

}
