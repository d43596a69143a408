// MyCash: one console start.
#include "app/cache/MyCashU.h"

#include "app/settings/ProgramLog.h"

namespace korvex::app {

MyCash::MyCash(std::string folder, std::string arguments, TCacheContext& context)
    : TThread(true)
    , FFolder(std::move(folder))
    , FArguments(std::move(arguments))
    , FGeneration(context.Consoles.Generation(FFolder))
    , FContext(context) {
}

void MyCash::Execute() {
    const pid_t pid = FContext.Consoles.Start(FFolder, FArguments, FGeneration);
    FContext.CacheBusy = false;
    if (pid >= 0) return;
    WLog(FFolder + ": Cannot start " + std::string(ConsoleExeName));
    if (FContext.OnStartFailed) FContext.OnStartFailed(FFolder);
}

}
