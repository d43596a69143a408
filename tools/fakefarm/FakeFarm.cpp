// The fake farm: making its folders and settings, keeping its state and advancing its nodes a tick at a time.
#include "tools/fakefarm/FakeFarm.h"

#include "app/settings/Settings.h"
#include "platform/base/DateTime.h"
#include "platform/os/Registry.h"
#include "platform/os/RegistryBatch.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace korvex::fakefarm {

namespace {

namespace fs = std::filesystem;

constexpr double SecondsPerDay = 86400.0;
constexpr int StuckNode = 1;
constexpr int DownNode = 2;
constexpr int HintedNodes = 4;   // nodes listed in the tray hint

std::string NodeName(int index) {
    char text[16];
    std::snprintf(text, sizeof text, "node%02d", index);
    return text;
}

std::string LogPath(const TFakeNode& node) {
    return node.Folder + "/FAHlog.txt";
}

std::string UnitInfoPath(const TFakeNode& node) {
    return node.Folder + "/unitinfo.txt";
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

void WriteWhole(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) throw std::runtime_error("cannot write " + temporary);
    }
    fs::rename(temporary, path);
}

// The client appends; one write a tick, so a reader sees whole lines or none of the tick's.
void Append(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << Joined(lines);
    if (!out.flush()) throw std::runtime_error("cannot append to " + path);
}

void Add(std::vector<std::string>& lines, const std::vector<std::string>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
}

TFakeNode MakeNode(const std::string& dir, const TFarmOptions& options, int index) {
    TFakeNode node;
    node.Index = index;
    node.Kind = index % 3 == 1 ? TCoreKind::Frames : TCoreKind::Steps;
    node.Role = index == StuckNode ? TNodeRole::Stuck : index == DownNode ? TNodeRole::Unreachable : TNodeRole::Running;
    node.Unit = 3 + index % 5;
    node.TicksPerItem = node.Kind == TCoreKind::Frames ? 1 : 1 + index % 3;
    // Node 0 is about to finish its unit; the others lie across the range.
    const int percent = index == 0 ? 97 : (index * 37 + 23) % 90 + 5;
    node.Done = node.Kind == TCoreKind::Frames ? percent * FramesPerUnit / 100 + index % 4 : percent;
    node.Label = "Node " + NodeName(index).substr(4);
    const std::string name = NodeName(index);
    if (node.Role == TNodeRole::Unreachable) {
        node.Folder = UncRoot(dir) + "/" + options.DownHost + "/fah/" + name;
        node.SettingsPath = "\\\\" + options.DownHost + "\\fah\\" + name;
    } else if (index % 4 == 3) {
        node.Folder = UncRoot(dir) + "/" + options.UncHost + "/fah/" + name;
        node.SettingsPath = "\\\\" + options.UncHost + "\\fah\\" + name;
    } else {
        node.Folder = dir + "/nodes/" + name;
        node.SettingsPath = node.Folder;
    }
    if (options.FarmServicePort > 0 && node.Role != TNodeRole::Unreachable) node.ServiceIp = ServiceAddress(index);
    return node;
}

// The node's files as a client that started a while ago and has reached node.Done by nowUtc.
void WriteNodeFiles(TFakeNode& node, int stepSeconds, base::TDateTime nowUtc) {
    const double itemSeconds = static_cast<double>(node.TicksPerItem) * stepSeconds;
    node.Downloaded = nowUtc - (node.Done * itemSeconds + 60) / SecondsPerDay;
    std::vector<std::string> lines = ClientStartLines(node, node.Downloaded - 10 / SecondsPerDay);
    Add(lines, UnitStartLines(node, node.Downloaded));
    TFakeNode at = node;
    for (at.Done = 1; at.Done <= node.Done; ++at.Done)
        Add(lines, ProgressLines(at, node.Downloaded + at.Done * itemSeconds / SecondsPerDay));
    fs::create_directories(node.Folder);
    WriteWhole(LogPath(node), Joined(lines));
    WriteWhole(UnitInfoPath(node), UnitInfoText(node));
}

// One tick of a node that writes. A node whose folder is gone stands still (false) until the folder is back; one
// back without its log gets its files whole. The tick counts once its log line is written.
bool StepNode(TFakeNode& node, int stepSeconds, base::TDateTime nowUtc) {
    std::error_code error;
    if (!fs::is_directory(node.Folder, error)) return false;
    TFakeNode next = node;
    if (++next.TickPhase < next.TicksPerItem) {
        node = next;
        return true;
    }
    next.TickPhase = 0;
    ++next.Done;
    std::vector<std::string> lines = ProgressLines(next, nowUtc);
    if (next.Done == ItemsPerUnit(next)) {
        Add(lines, UnitEndLines(nowUtc));
        ++next.Unit;
        next.Done = 0;
        next.Downloaded = nowUtc;
        Add(lines, UnitStartLines(next, nowUtc));
    }
    try {
        if (!fs::exists(LogPath(next), error)) {
            WriteNodeFiles(next, stepSeconds, nowUtc);
            node = next;
            return true;
        }
        Append(LogPath(next), lines);
        node = next;
        WriteWhole(UnitInfoPath(node), UnitInfoText(node));
    } catch (const std::exception&) {
        return false;   // the folder went while it was written
    }
    return true;
}

// The settings the program reads: the node list and a few options; everything else it writes itself.
void WriteSettings(const TFarm& farm, const TFarmOptions& options) {
    os::RegistryStore store(RegistryFile(farm.Dir));
    os::TRegistryBatch batch(store);
    os::TRegistry reg(store);
    reg.SetRootKey(os::HKEY_LOCAL_MACHINE);
    auto open = [&](const char* key) {
        if (!reg.OpenKey(std::string("\\") + key, true)) throw std::runtime_error(std::string("cannot create key ") + key);
    };
    open(app::OptionsKey);
    reg.WriteInteger("HostCount", static_cast<int>(farm.Nodes.size()));
    reg.WriteInteger("Update", options.UpdateMinutes);
    reg.WriteInteger("Language", 1);
    reg.WriteBool("RunStartup", false);
    for (const TFakeNode& node : farm.Nodes) {
        const std::string i = std::to_string(node.Index);
        open(app::LabelKey);
        reg.WriteString("Label" + i, node.Label);
        open(app::PathKey);
        reg.WriteString("Path" + i, node.SettingsPath);
        reg.WriteString("Ip" + i, node.ServiceIp);
        open(app::HintKey);
        reg.WriteBool("Hint" + i, node.Index < HintedNodes);
        open(app::GetWUKey);
        reg.WriteBool("Get" + i, !node.ServiceIp.empty());
        reg.WriteString("RSPath" + i, node.ServiceIp.empty() ? "" : node.Folder);
    }
    reg.CloseKey();
    if (!batch.Commit()) throw std::runtime_error("cannot write " + RegistryFile(farm.Dir));
}

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}

std::string StateFile(const std::string& dir) {
    return dir + "/fakefarm.state";
}

std::string RegistryFile(const std::string& dir) {
    return dir + "/registry.reg";
}

std::string UncRoot(const std::string& dir) {
    return dir + "/unc";
}

std::string EnvFile(const std::string& dir) {
    return dir + "/farm.env";
}

std::string ServiceAddress(int index) {
    return "127.1." + std::to_string(index / 254) + "." + std::to_string(index % 254 + 1);
}

base::TDateTime UtcNow() {
    return base::UnixToDateTime(static_cast<std::int64_t>(std::time(nullptr)));
}

TFarm InitFarm(const std::string& dir, const TFarmOptions& options, int smbPort, base::TDateTime nowUtc) {
    if (options.Nodes < 1) throw std::runtime_error("a farm needs at least one node");
    if (options.StepSeconds < 1) throw std::runtime_error("a tick lasts at least one second");
    fs::create_directories(dir);
    TFarm farm;
    farm.Dir = fs::absolute(dir).lexically_normal().string();
    if (farm.Dir.size() > 1 && farm.Dir.back() == '/') farm.Dir.pop_back();
    farm.StepSeconds = options.StepSeconds;
    farm.SmbPort = smbPort;
    farm.FarmPort = options.FarmPort;
    farm.FarmServicePort = options.FarmServicePort;
    for (int i = 0; i < options.Nodes; ++i) {
        farm.Nodes.push_back(MakeNode(farm.Dir, options, i));
        WriteNodeFiles(farm.Nodes.back(), farm.StepSeconds, nowUtc);
    }
    WriteSettings(farm, options);
    std::string env = "KORVEX_REGISTRY=" + ShellQuoted(RegistryFile(farm.Dir)) + "\nKORVEX_UNC_ROOT="
        + ShellQuoted(UncRoot(farm.Dir)) + "\nKORVEX_SMB_PORT=" + std::to_string(smbPort) + "\n";
    if (options.FarmPort > 0) env += "KORVEX_FARM_PORT=" + std::to_string(options.FarmPort) + "\n";
    if (options.FarmServicePort > 0)
        env += "KORVEX_FARM_SERVICE_PORT=" + std::to_string(options.FarmServicePort) + "\n";
    WriteWhole(EnvFile(farm.Dir), env);
    SaveFarm(farm);
    return farm;
}

void SaveFarm(const TFarm& farm) {
    std::ostringstream out;
    out.precision(17);
    out << "fakefarm 1\nstep-seconds " << farm.StepSeconds << "\nsmb-port " << farm.SmbPort << "\ntick " << farm.Tick
        << "\n";
    // Later additions, each on a line or in a field that older states lack.
    if (farm.FarmPort > 0) out << "farm-port " << farm.FarmPort << "\n";
    if (farm.FarmServicePort > 0) out << "farm-service-port " << farm.FarmServicePort << "\n";
    for (const TFakeNode& node : farm.Nodes) {
        out << "node " << node.Index << ' ' << static_cast<int>(node.Kind) << ' ' << static_cast<int>(node.Role) << ' '
            << node.Unit << ' ' << node.Done << ' ' << node.TicksPerItem << ' ' << node.TickPhase << ' '
            << node.Downloaded << '\t' << node.Label << '\t' << node.Folder << '\t' << node.SettingsPath;
        if (!node.ServiceIp.empty()) out << '\t' << node.ServiceIp << '\t' << (node.ConsoleStopped ? "stopped" : "running");
        out << "\n";
    }
    out << "end\n";   // a state cut short lacks it
    WriteWhole(StateFile(farm.Dir), out.str());
}

TFarm LoadFarm(const std::string& dir) {
    std::ifstream in(StateFile(dir), std::ios::binary);
    if (!in) throw std::runtime_error("no farm in " + dir + " (run fakefarm init first)");
    auto damaged = [&]() { return std::runtime_error("damaged farm state " + StateFile(dir)); };
    TFarm farm;
    farm.Dir = dir;
    std::string word;
    int version = 0;
    if (!(in >> word >> version) || word != "fakefarm" || version != 1) throw damaged();
    if (!(in >> word >> farm.StepSeconds) || word != "step-seconds" || farm.StepSeconds < 1) throw damaged();
    if (!(in >> word >> farm.SmbPort) || word != "smb-port") throw damaged();
    if (!(in >> word >> farm.Tick) || word != "tick") throw damaged();
    bool ended = false;
    while (!ended && in >> word) {
        if (word == "end") {
            ended = true;
            continue;
        }
        if (word == "farm-port" || word == "farm-service-port") {
            int port = 0;
            if (!(in >> port) || port < 0 || port > 65535) throw damaged();
            (word == "farm-port" ? farm.FarmPort : farm.FarmServicePort) = port;
            continue;
        }
        if (word != "node") throw damaged();
        TFakeNode node;
        int kind = 0, role = 0;
        if (!(in >> node.Index >> kind >> role >> node.Unit >> node.Done >> node.TicksPerItem >> node.TickPhase
                >> node.Downloaded))
            throw damaged();
        if (kind < 0 || kind > 1 || role < 0 || role > 2 || node.TicksPerItem < 1) throw damaged();
        node.Kind = static_cast<TCoreKind>(kind);
        node.Role = static_cast<TNodeRole>(role);
        if (node.Done < 0 || node.Done >= ItemsPerUnit(node)) throw damaged();
        std::string rest;
        std::getline(in, rest);
        std::istringstream fields(rest.substr(rest.find('\t') == std::string::npos ? rest.size() : rest.find('\t') + 1));
        if (!std::getline(fields, node.Label, '\t') || !std::getline(fields, node.Folder, '\t')
            || !std::getline(fields, node.SettingsPath, '\t'))
            throw damaged();
        if (std::getline(fields, node.ServiceIp, '\t')) {
            std::string console;
            if (node.ServiceIp.empty() || !std::getline(fields, console) || (console != "running" && console != "stopped"))
                throw damaged();
            node.ConsoleStopped = console == "stopped";
        }
        farm.Nodes.push_back(node);
    }
    if (!ended || farm.Nodes.empty()) throw damaged();
    return farm;
}

std::vector<int> StepFarm(TFarm& farm, base::TDateTime nowUtc) {
    ++farm.Tick;
    std::vector<int> waiting;
    for (TFakeNode& node : farm.Nodes) {
        if (node.Role == TNodeRole::Stuck || node.ConsoleStopped) continue;
        if (!StepNode(node, farm.StepSeconds, nowUtc)) waiting.push_back(node.Index);
    }
    SaveFarm(farm);
    return waiting;
}

}
