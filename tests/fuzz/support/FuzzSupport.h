// Helpers the fuzz targets share: cutting one input into several files, and scratch folders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::fuzz {

// The input as text (any bytes).
inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The input cut at each occurrence of `marker` (which belongs to no part); always at least one part.
std::vector<std::string_view> SplitAt(std::string_view input, std::string_view marker);

// Several named files in one input: the first part is the main file, each later part starts with
// "\n@@file NAME\n" and holds that file's bytes. Names are cut to a plain file name ([A-Za-z0-9._-], at most
// 40 characters, not "." or ".."); parts whose name is left empty are dropped.
inline constexpr std::string_view FileMarker = "\n@@file ";
struct TNamedPart {
    std::string Name;
    std::string_view Bytes;
};
std::string_view SplitFiles(std::string_view input, std::vector<TNamedPart>& others);

// A fresh folder under $TMPDIR (or /tmp), removed with its content at the end of its scope.
class TScratchFolder {
public:
    TScratchFolder();
    ~TScratchFolder();
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;
    const std::string& Path() const { return FPath; }
    std::string operator/(std::string_view name) const { return FPath + "/" + std::string(name); }

private:
    std::string FPath;
};

// Writes the bytes to the file, replacing it; aborts when it cannot (a fuzz run without a scratch folder is
// no run).
void WriteBytes(const std::string& path, std::string_view bytes);
std::string ReadBytes(const std::string& path);   // empty when missing

// Stops the run with a message: a property the target checks does not hold.
[[noreturn]] void Fail(const char* what, std::string_view detail = {});

}
