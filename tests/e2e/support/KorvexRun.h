// The real program on a private Xvfb against a fake farm: its own folder, settings file, node folders, SMB port
// and farm port; what it wrote (history, log, settings) and what it shows (screenshots, windows).
#pragma once

#include "support/ChildProcess.h"
#include "support/XvfbServer.h"
#include "tools/fakefarm/FakeFarm.h"

#include "app/nodes/NodeReading.h"

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/GdiObject.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace korvex::fakefarm {
class TSmbAnswerer;
}

namespace korvex::e2e {

struct TKorvexRunOptions {
    fakefarm::TFarmOptions Farm;
    int MinuteMs = 2000;   // one refresh cycle (Update = 1) and the watchdog's minute
    Environment Extra;   // more variables for the program
    bool InPlace = false;   // run the program where it is (an installed one): its files are kept beside it
};

// Copies the program into a temporary folder (its history and log files land beside it), makes the farm
// there, answers the SMB port on a thread, and starts the program with DISPLAY on the server given.
class TKorvexRun {
public:
    TKorvexRun(const std::string& program, const std::string& xshot, const XvfbServer& server,
        const TKorvexRunOptions& options);
    ~TKorvexRun();   // stops the program (SIGTERM, then SIGKILL) and removes the folder
    TKorvexRun(const TKorvexRun&) = delete;
    TKorvexRun& operator=(const TKorvexRun&) = delete;

    bool Start();
    // Another start of the program beside the running one, with the same environment: its exit status, -1
    // when it did not end within timeoutMs. `whileRunning` (when given) is called again and again while it runs,
    // the last time after it ended, so a check for what it showed covers its whole life.
    int StartAnother(int timeoutMs = 60000, const std::function<void()>& whileRunning = {});
    // SIGTERM (the program's Exit path) and its exit status; -1 when it did not end within timeoutMs.
    int Terminate(int timeoutMs = 60000);
    bool Running();
    // Waits for the program to end on its own: its exit status (128 + the signal when a signal ended it), or -1
    // when it still ran after timeoutMs (it is killed then).
    int WaitForEnd(int timeoutMs);

    fakefarm::TFarm& Farm() { return FFarm; }
    const std::string& Folder() const { return FFolder; }
    const std::string& ProgramFolder() const { return FProgramFolder; }   // where history and log are kept
    int FarmPort() const { return FFarmPort; }
    // Advances the farm one tick on the clock (the program reads the files it writes).
    void StepFarm();
    // How many times the program has tested that an answering host answers: each answering node does once at
    // the start of each of its cycles, so this counts cycles.
    long HostChecks() const;
    // Waits until each answering node has begun `cycles` more cycles (counted from the checks now), so each has
    // ended `cycles - 1` whole cycles; false after timeoutMs.
    bool WaitForCycles(int cycles, int timeoutMs);

    // KORVEX.WUS as lines (without CR LF); empty when missing.
    std::vector<std::string> HistoryLines() const;
    std::string ProgramLog() const;   // KORVEX.LOG
    // A value of the program's settings file under HKEY_LOCAL_MACHINE; nothing when missing or not a DWORD.
    std::optional<int> SettingInteger(const std::string& key, const std::string& name) const;
    std::optional<std::string> SettingString(const std::string& key, const std::string& name) const;
    void SetSettingString(const std::string& key, const std::string& name, const std::string& value);
    void SetSettingInteger(const std::string& key, const std::string& name, int value);

    // Polls until done() holds (every 50 ms); false after timeoutMs.
    static bool WaitUntil(const std::function<bool()>& done, int timeoutMs);

    // The whole screen, written as the PNG file given (folders created) and read back.
    gdi::GdiHandle<gdi::Bitmap> Screenshot(const std::string& pngFile);
    // Top-level windows of the program that are mapped, by their titles (xdotool search).
    std::vector<std::string> VisibleWindows() const;
    // The screen rectangle of the program's visible window with this title; nothing when there is none.
    std::optional<gdi::RECT> WindowRect(const std::string& title) const;
    // Whether the program has a window of this title, shown or not (an iconified one is unmapped without a
    // window manager).
    bool HasWindow(const std::string& title) const;
    // The _NET_WM_ICON items of the program's visible window with this title: width, height and the ARGB
    // pixels of each icon in turn; empty when there is no such window or it has no icons.
    std::vector<std::uint32_t> WindowIcons(const std::string& title) const;
    // Runs xdotool on the program's display; true when it exits with 0.
    bool Xdotool(const std::vector<std::string>& arguments) const;

private:
    Environment ProgramEnvironment() const;
    enum class Mapped { Only, Any };
    std::string WindowId(const std::string& title, Mapped mapped) const;   // xdotool's id; "" when none

    std::string FProgram;
    std::string FProgramFolder;
    std::string FXshot;
    std::string FDisplay;
    std::string FFolder;
    TKorvexRunOptions FOptions;
    fakefarm::TFarm FFarm;
    int FFarmPort = 0;
    std::unique_ptr<fakefarm::TSmbAnswerer> FAnswerer;
    std::atomic<bool> FStopAnswering{false};
    std::thread FAnswering;
    std::unique_ptr<ChildProcess> FChild;
};

// The reading of a node's folder now, as a node thread makes it (one attempt, no pause).
app::TNodeReading ReadingOf(const fakefarm::TFakeNode& node);

}
