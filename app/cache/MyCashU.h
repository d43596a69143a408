// MyCash: starts the console of a cache or ready-results folder and clears the cache busy flag.
#pragma once

#include "app/cache/CacheContext.h"
#include "platform/os/Thread.h"

#include <string>

namespace korvex::app {

class MyCash : public os::TThread {
public:
    // Created suspended; start it through the context's worker threads. The start is dropped when the
    // folder's consoles were ended after this was made.
    MyCash(std::string folder, std::string arguments, TCacheContext& context);

protected:
    void Execute() override;

private:
    const std::string FFolder;
    const std::string FArguments;
    const int FGeneration;
    TCacheContext& FContext;
};

}
