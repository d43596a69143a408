// The client's client.cfg: reading its core type and editing its machine ID, core type and memory by line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvex::app {

inline constexpr const char* ClientConfigName = "client.cfg";
inline constexpr int CacheClientMemory = 768;   // the memory value a cache client's copy gets

// What an edit sets. A value is written into every line whose key is exactly that name ("machineid", "type",
// "memory"; blanks around the key allowed); the rest of the line after "=" is replaced, its terminator kept.
struct TClientConfigEdit {
    std::optional<int> MachineId;
    std::optional<int> Type;
    std::optional<int> Memory;
    // With no "type" line: "type=" is added after the "[clienttype]" line, else that section is appended.
    bool AddMissingType = false;
};

// The text with the edit applied; every byte outside the edited values stays as it was.
std::string EditClientConfig(std::string_view text, const TClientConfigEdit& edit);

// The core type the text names: the last "type" line whose value is a number; `current` when none is.
int ClientConfigType(std::string_view text, int current);

// Edits a file through a temporary file and a rename. False, with the file untouched, when it is missing,
// cannot be read or cannot be written.
bool EditClientConfigFile(const std::string& path, const TClientConfigEdit& edit);

// The cache client's copy: machine ID, core type and memory 768 set; nothing added.
bool ReClient(int coreType, int machineId, const std::string& file);

// The node's core type in its folder's client.cfg: read (`current` when the file or the value is missing),
// and written (the "type" line added when missing). A missing file is left alone.
int ReadClientCoreType(const std::string& nodeFolder, int current);
bool WriteClientCoreType(const std::string& nodeFolder, int coreType);

}
