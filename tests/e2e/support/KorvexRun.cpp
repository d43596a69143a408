// The real program against a fake farm on a private Xvfb.
#include "support/KorvexRun.h"

#include "support/X11TestKit.h"
#include "tools/fakefarm/SmbAnswerer.h"

#include "app/nodes/NodeFiles.h"
#include "platform/base/DateTime.h"
#include "platform/gdi/PngCodec.h"
#include "platform/os/Registry.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace korvex::e2e {

namespace {

namespace fs = std::filesystem;

// xdotool and xshot on a loaded machine: generous, never met when they work.
constexpr int ToolTimeoutMs = 60000;

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string MakeTempFolder() {
    std::string pattern = (fs::temp_directory_path() / "korvex-e2e-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    return pattern;
}

}

TKorvexRun::TKorvexRun(const std::string& program, const std::string& xshot, const XvfbServer& server,
    const TKorvexRunOptions& options)
    : FProgram(program)
    , FXshot(xshot)
    , FDisplay(server.Name())
    , FFolder(MakeTempFolder())
    , FOptions(options) {
    if (FOptions.InPlace) {
        FProgramFolder = fs::path(program).parent_path().string();
    } else {
        fs::copy_file(program, FFolder + "/korvex");
        FProgram = FFolder + "/korvex";
        FProgramFolder = FFolder;
    }
    FAnswerer = std::make_unique<fakefarm::TSmbAnswerer>(0);
    FFarmPort = fakefarm::FreeLoopbackPort();
    FFarm = fakefarm::InitFarm(FFolder + "/farm", FOptions.Farm, FAnswerer->Port(), fakefarm::UtcNow());
    FAnswering = std::thread([this] {
        while (!FStopAnswering) FAnswerer->Serve(50);
    });
}

TKorvexRun::~TKorvexRun() {
    if (FChild && !FChild->Ended()) Terminate(5000);
    FChild.reset();
    FStopAnswering = true;
    FAnswering.join();
    std::error_code ignored;
    fs::remove_all(FFolder, ignored);
}

Environment TKorvexRun::ProgramEnvironment() const {
    Environment env = {{"DISPLAY", FDisplay}, {"KORVEX_REGISTRY", fakefarm::RegistryFile(FFarm.Dir)},
        {"KORVEX_UNC_ROOT", fakefarm::UncRoot(FFarm.Dir)}, {"KORVEX_SMB_PORT", std::to_string(FFarm.SmbPort)},
        {"KORVEX_FARM_PORT", std::to_string(FFarmPort)}, {"KORVEX_MINUTE_MS", std::to_string(FOptions.MinuteMs)},
        {"XDG_RUNTIME_DIR", FFolder}, {"XDG_CONFIG_HOME", FFolder + "/config"}};
    env.insert(env.end(), FOptions.Extra.begin(), FOptions.Extra.end());
    return env;
}

bool TKorvexRun::Start() {
    FChild = std::make_unique<ChildProcess>();
    return FChild->Start({FProgram}, ProgramEnvironment());
}

int TKorvexRun::StartAnother(int timeoutMs, const std::function<void()>& whileRunning) {
    ChildProcess other;
    if (!other.Start({FProgram}, ProgramEnvironment())) return -1;
    if (!whileRunning) return other.Wait(timeoutMs);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = -1;
    for (bool ended = false; !ended;) {
        ended = other.Ended(&status);
        whileRunning();
        if (!ended && std::chrono::steady_clock::now() > deadline) return other.Wait(0);
        if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(10));   // a polling step, not a wait
    }
    return status;
}

int TKorvexRun::Terminate(int timeoutMs) {
    if (!FChild) return -1;
    int status = 0;
    if (FChild->Ended(&status)) return status;
    ::kill(FChild->Pid(), SIGTERM);
    return FChild->Wait(timeoutMs);
}

int TKorvexRun::WaitForEnd(int timeoutMs) {
    return FChild ? FChild->Wait(timeoutMs) : -1;
}

bool TKorvexRun::Running() {
    return FChild && !FChild->Ended();
}

void TKorvexRun::StepFarm() {
    fakefarm::StepFarm(FFarm, fakefarm::UtcNow());
}

long TKorvexRun::HostChecks() const {
    return FAnswerer->Connections();
}

bool TKorvexRun::WaitForCycles(int cycles, int timeoutMs) {
    // The checks are not told apart by node; the nodes share one interval, so the count is spread evenly.
    const long answering = std::count_if(FFarm.Nodes.begin(), FFarm.Nodes.end(),
        [](const fakefarm::TFakeNode& node) { return node.Role != fakefarm::TNodeRole::Unreachable; });
    const long target = HostChecks() + cycles * answering;
    return WaitUntil([&] { return HostChecks() >= target; }, timeoutMs);
}

std::vector<std::string> TKorvexRun::HistoryLines() const {
    std::vector<std::string> lines;
    std::istringstream text(Slurp(FProgramFolder + "/KORVEX.WUS"));
    for (std::string line; std::getline(text, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

std::string TKorvexRun::ProgramLog() const {
    return Slurp(FProgramFolder + "/KORVEX.LOG");
}

std::optional<int> TKorvexRun::SettingInteger(const std::string& key, const std::string& name) const {
    os::RegistryStore store(fakefarm::RegistryFile(FFarm.Dir));
    os::TRegistry reg(store);
    reg.SetRootKey(os::HKEY_LOCAL_MACHINE);
    int value = 0;
    if (!reg.OpenKeyReadOnly("\\" + key) || !reg.TryReadInteger(name, value)) return std::nullopt;
    return value;
}

std::optional<std::string> TKorvexRun::SettingString(const std::string& key, const std::string& name) const {
    os::RegistryStore store(fakefarm::RegistryFile(FFarm.Dir));
    os::TRegistry reg(store);
    reg.SetRootKey(os::HKEY_LOCAL_MACHINE);
    std::string value;
    if (!reg.OpenKeyReadOnly("\\" + key) || !reg.TryReadString(name, value)) return std::nullopt;
    return value;
}

void TKorvexRun::SetSettingString(const std::string& key, const std::string& name, const std::string& value) {
    os::RegistryStore store(fakefarm::RegistryFile(FFarm.Dir));
    os::TRegistry reg(store);
    reg.SetRootKey(os::HKEY_LOCAL_MACHINE);
    if (!reg.OpenKey("\\" + key, true)) throw std::runtime_error("cannot open " + key);
    reg.WriteString(name, value);
}

void TKorvexRun::SetSettingInteger(const std::string& key, const std::string& name, int value) {
    os::RegistryStore store(fakefarm::RegistryFile(FFarm.Dir));
    os::TRegistry reg(store);
    reg.SetRootKey(os::HKEY_LOCAL_MACHINE);
    if (!reg.OpenKey("\\" + key, true)) throw std::runtime_error("cannot open " + key);
    reg.WriteInteger(name, value);
}

bool TKorvexRun::WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

gdi::GdiHandle<gdi::Bitmap> TKorvexRun::Screenshot(const std::string& pngFile) {
    fs::create_directories(fs::path(pngFile).parent_path());
    if (RunProcess({FXshot, pngFile}, {{"DISPLAY", FDisplay}}, ToolTimeoutMs) != 0) return {};
    gdi::ImageResult image = gdi::ReadPngFile(pngFile);
    std::printf("screenshot: %s\n", pngFile.c_str());
    return std::move(image.Image);
}

std::vector<std::string> TKorvexRun::VisibleWindows() const {
    std::vector<std::string> titles;
    if (!FChild) return titles;
    std::string ids;
    RunProcess({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(FChild->Pid())}, {{"DISPLAY", FDisplay}},
        ToolTimeoutMs, &ids);
    std::istringstream lines(ids);
    for (std::string id; std::getline(lines, id);) {
        std::string title;
        if (id.empty() || RunProcess({"xdotool", "getwindowname", id}, {{"DISPLAY", FDisplay}}, ToolTimeoutMs, &title) != 0)
            continue;
        while (!title.empty() && (title.back() == '\n' || title.back() == '\r')) title.pop_back();
        titles.push_back(title);
    }
    return titles;
}

std::string TKorvexRun::WindowId(const std::string& title, Mapped mapped) const {
    if (!FChild) return {};
    std::vector<std::string> search {"xdotool", "search", "--pid", std::to_string(FChild->Pid())};
    if (mapped == Mapped::Only) search.insert(search.begin() + 2, "--onlyvisible");
    std::string ids;
    RunProcess(search, {{"DISPLAY", FDisplay}}, ToolTimeoutMs, &ids);
    std::istringstream lines(ids);
    for (std::string id; std::getline(lines, id);) {
        std::string name;
        if (!id.empty()
            && RunProcess({"xdotool", "getwindowname", id}, {{"DISPLAY", FDisplay}}, ToolTimeoutMs, &name) == 0
            && name.substr(0, name.find('\n')) == title)
            return id;
    }
    return {};
}

std::vector<std::uint32_t> TKorvexRun::WindowIcons(const std::string& title) const {
    const std::string id = WindowId(title, Mapped::Only);
    if (id.empty()) return {};
    ::Display* connection = XOpenDisplay(FDisplay.c_str());
    if (connection == nullptr) return {};
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<std::uint32_t> items;
    XGetWindowProperty(connection, Window(std::stoul(id)), XInternAtom(connection, "_NET_WM_ICON", False), 0, 1 << 16,
        False, XA_CARDINAL, &type, &format, &count, &after, &data);
    if (data != nullptr && format == 32)
        for (unsigned long i = 0; i < count; ++i)
            items.push_back(std::uint32_t(reinterpret_cast<long*>(data)[i]));   // Xlib widens each to a long
    if (data != nullptr) XFree(data);
    XCloseDisplay(connection);
    return items;
}

std::optional<gdi::RECT> TKorvexRun::WindowRect(const std::string& title) const {
    const std::string id = WindowId(title, Mapped::Only);
    std::string geometry;
    if (!id.empty()
        && RunProcess(
               {"xdotool", "getwindowgeometry", "--shell", id}, {{"DISPLAY", FDisplay}}, ToolTimeoutMs, &geometry)
            == 0) {
        // X=.. Y=.. WIDTH=.. HEIGHT=.. lines
        int x = 0, y = 0, width = 0, height = 0;
        std::istringstream values(geometry);
        for (std::string line; std::getline(values, line);) {
            const std::size_t eq = line.find('=');
            if (eq == std::string::npos) continue;
            const std::string key = line.substr(0, eq);
            const int value = std::atoi(line.c_str() + eq + 1);
            if (key == "X") x = value;
            if (key == "Y") y = value;
            if (key == "WIDTH") width = value;
            if (key == "HEIGHT") height = value;
        }
        return gdi::RECT{x, y, x + width, y + height};
    }
    return std::nullopt;
}

bool TKorvexRun::HasWindow(const std::string& title) const {
    return !WindowId(title, Mapped::Any).empty();
}

bool TKorvexRun::Xdotool(const std::vector<std::string>& arguments) const {
    return e2e::Xdotool(FDisplay, arguments);
}

app::TNodeReading ReadingOf(const fakefarm::TFakeNode& node) {
    os::TRetryOptions once;
    once.Attempts = 1;
    once.Pause = [](int) { return true; };
    return app::ReadNodeFolder(node.Folder, base::Now(), app::SystemUtcOffset(), once);
}

}
