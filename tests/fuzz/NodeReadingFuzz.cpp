// Fuzz target: the node reading over a client log and a unit-info file ("\n@@unitinfo\n" divides the input),
// the same reading from pieces of the log and from files that grow, and the numbers the row refresh makes of it.
#include "app/nodes/ClientLogMarks.h"
#include "app/nodes/Estimates.h"
#include "app/nodes/NodeFiles.h"
#include "app/nodes/NodeReading.h"
#include "app/monitor/RowRefresh.h"
#include "platform/base/DateTime.h"

#include "support/FuzzSupport.h"

#include <cmath>
#include <cstdlib>
#include <limits>

using namespace korvex;

namespace {

const base::TDateTime Now = base::EncodeDateTime(2024, 12, 5, 20, 10, 15, 0);

// A scratch folder for the files and the settings store the speed measurement writes, for the whole run.
const fuzz::TScratchFolder& Scratch() {
    static const fuzz::TScratchFolder folder;
    static const bool store = ::setenv("KORVEX_REGISTRY", (folder / "registry.reg").c_str(), 1) == 0;
    (void)store;
    return folder;
}

void CheckText(const std::string& text, std::size_t cap, const char* what) {
    if (text.size() > cap) fuzz::Fail("a client text passes its cap", what);
}

void CheckReading(const app::TNodeReading& r) {
    if (r.TotalFrames < 0 || r.TotalFrames > app::MaxFrames) fuzz::Fail("frames out of range");
    for (const std::string* text : {&r.WUName, &r.Version, &r.CoreRequired, &r.UserName, &r.Team, &r.StartText})
        CheckText(*text, app::MaxClientText, text->c_str());
    CheckText(r.RCG, app::MaxRunCloneGen, "R-C-G");
}

// The log fed in three pieces cut where the input says: after each piece, the marks of the text so far.
void CheckPieces(std::string_view log, std::size_t seed) {
    const std::size_t a = log.empty() ? 0 : seed % (log.size() + 1);
    const std::size_t b = a + (log.size() - a) / 2;
    app::TLogMarkScanner scanner;
    std::size_t from = 0;
    for (std::size_t cut : {a, b, log.size()}) {
        scanner.Feed(log.substr(from, cut - from));
        from = cut;
        if (!(scanner.Marks() == app::FindLogMarks(log.substr(0, cut)))) fuzz::Fail("pieces differ from one pass");
    }
}

// The folder's files written in two steps: the follower's reading after the append is a full reading's.
void CheckFollower(std::string_view log, std::string_view unitInfo, std::size_t seed, const app::TNodeReading& whole) {
    const std::string folder = Scratch().Path();
    const std::size_t cut = log.empty() ? 0 : seed % (log.size() + 1);
    fuzz::WriteBytes(folder + "/FAHlog.txt", log.substr(0, cut));
    fuzz::WriteBytes(folder + "/unitinfo.txt", unitInfo);
    os::TRetryOptions once;
    once.Attempts = 1;
    once.Pause = [](int) { return true; };
    app::TClientLogFollower follower;
    app::TNodeReading first;
    app::ReadClientLog(follower, folder, Now, app::FixedUtcOffset(60), once, first);
    {
        std::FILE* out = std::fopen((folder + "/FAHlog.txt").c_str(), "ab");
        if (!out) fuzz::Fail("cannot append");
        std::fwrite(log.data() + cut, 1, log.size() - cut, out);
        std::fclose(out);
    }
    app::TNodeReading followed;
    app::ReadClientLog(follower, folder, Now, app::FixedUtcOffset(60), once, followed);
    if (follower.LastScan() != app::TClientLogFollower::TScan::Appended) fuzz::Fail("a grown log was read again");
    app::ReadUnitInfo(folder, Now, app::FixedUtcOffset(60), once, followed);
    if (!(followed == whole)) fuzz::Fail("the followed reading differs from the full one");
}

// The estimates and the row refresh over the reading, for a project of each kind of core.
void CheckNumbers(const app::TNodeReading& reading) {
    for (const char* core : {"TINKER", "GROMACS", ""})
        for (int credit : {0, 120, std::numeric_limits<int>::max()}) {
            const app::TFinishEstimate e = app::EstimateFinish(reading, core, Now);
            if (!std::isfinite(e.RemainMinutes) || !std::isfinite(e.Finish)) fuzz::Fail("estimate not finite");
            const app::TPointsRates rates = app::PointsRates(reading.Progress, credit, e.RemainText);
            if (!std::isfinite(rates.PerDay)) fuzz::Fail("points rate not finite");
            const double v = app::PercentSpeed(reading.TimePerPercent, credit);
            if (!std::isfinite(app::BlendSpeed(v / 3, v))) fuzz::Fail("speed not finite");

            app::TProjectTable projects;
            projects.Add(app::TProjectRow {reading.WUName, core, credit});
            app::TNodeSettings settings;
            settings.Path = Scratch().Path();
            std::vector<app::TNodeState> nodes {app::MakeNodeState(0, settings)};
            bool cacheBusy = false;
            app::TRowRefreshContext context {nodes, projects, nullptr, false, true, 1, Scratch().Path(), cacheBusy, {}};
            const app::TRowRefresh refresh = app::ReadData(context, 0, app::TNodeCycle {reading, Now, {}});
            if (refresh.Row.Progress != reading.Progress && refresh.Row.Progress != 0) fuzz::Fail("row progress");
        }
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fuzz::SplitAt(fuzz::AsText(data, size), "\n@@unitinfo\n");
    const std::string_view logText = parts[0];
    const std::string_view unitInfoText = parts.size() > 1 ? parts[1] : std::string_view();
    const auto log = app::TTextLines::FromText(logText);
    const auto unitInfo = app::TTextLines::FromText(unitInfoText);
    // A zone whose offset changes inside the log's dates, as daylight saving does.
    const app::TUtcOffsetFunc zone = [](base::TDateTime utc) { return utc < 45600 ? 60 : 120; };
    const app::TNodeReading reading = app::ReadNode(log, unitInfo, Now, zone);
    CheckReading(reading);
    // Pure: the same files give the same reading.
    if (!(app::ReadNode(log, unitInfo, Now, zone) == reading)) fuzz::Fail("two readings differ");

    std::size_t seed = 0;
    for (std::size_t i = 0; i < size; i += 97)
        seed = seed * 31 + data[i];
    CheckPieces(logText, seed);
    CheckFollower(logText, unitInfoText, seed, app::ReadNode(log, unitInfo, Now, app::FixedUtcOffset(60)));
    CheckNumbers(reading);
    return 0;
}
