// Helpers the fuzz targets share: cutting inputs, scratch folders, files.
#include "support/FuzzSupport.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace korvex::fuzz {

std::vector<std::string_view> SplitAt(std::string_view input, std::string_view marker) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = marker.empty() ? std::string_view::npos : input.find(marker, start);
        if (at == std::string_view::npos) break;
        parts.push_back(input.substr(start, at - start));
        start = at + marker.size();
    }
    parts.push_back(input.substr(start));
    return parts;
}

std::string_view SplitFiles(std::string_view input, std::vector<TNamedPart>& others) {
    others.clear();
    const auto parts = SplitAt(input, FileMarker);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        std::string_view part = parts[i];
        const std::size_t eol = part.find('\n');
        const std::string_view rawName = part.substr(0, eol);
        std::string name;
        for (char c : rawName)
            if (name.size() < 40 && (std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == '-'))
                name += c;
        if (name.empty() || name == "." || name == "..") continue;
        others.push_back({name, eol == std::string_view::npos ? std::string_view() : part.substr(eol + 1)});
    }
    return parts[0];
}

TScratchFolder::TScratchFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/korvex-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) Fail("cannot make a scratch folder", pattern);
    FPath = pattern;
}

TScratchFolder::~TScratchFolder() {
    std::error_code error;
    std::filesystem::remove_all(FPath, error);
}

void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) Fail("cannot write", path);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Fail(const char* what, std::string_view detail) {
    std::fprintf(stderr, "fuzz: %s: %.*s\n", what, static_cast<int>(std::min<std::size_t>(detail.size(), 400)),
        detail.data());
    std::abort();
}

}
