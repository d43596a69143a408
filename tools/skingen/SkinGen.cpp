// The skin generator's tasks: build the skins, write folders, fixtures, the stored form and the pictures.
#include "tools/skingen/SkinGen.h"

#include "platform/classes/TComponent.h"
#include "skin/engine/sSkinManager.h"
#include "tools/skingen/Fixtures.h"
#include "tools/skingen/Sheet.h"
#include "tools/skingen/StoredForm.h"
#include "tools/skingen/Style.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <stdexcept>

namespace korvex::skingen {

namespace {

std::string ReadFile(const std::string& path, bool& found) {
    std::ifstream in(path, std::ios::binary);
    found = static_cast<bool>(in);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& text) {
    const std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path);
}

const char* Usage = "usage: skingen [--out DIR] [--skin NAME | --all] [--fixtures DIR] [--stored FILE] [--sheet DIR] "
                    "[--check DIR]\n";

// Loads each skin from its folder under root and writes its pictures.
void WriteSheets(const std::vector<TSkinModel>& skins, const std::string& root, const std::string& dir) {
    auto owner = std::make_unique<classes::TComponent>(nullptr);
    auto* sm = classes::Create<skin::TsSkinManager>(owner.get());
    sm->SetActive(false);
    sm->SetSkinDirectory(std::filesystem::absolute(root).string());   // relative ones count from the program
    for (const TSkinModel& model : skins) {
        sm->SetSkinName(model.Name());
        sm->SetActive(true);
        skin::SkinChanging = false;
        if (sm->LoadedSkin.SkinPath.empty()) throw std::runtime_error("skin " + model.Name() + " did not load");
        WriteSheetPictures(*sm, model.Name(), dir);
        sm->SetActive(false);
    }
}

}

std::vector<TSkinModel> BuildSkins(const std::string& onlyName) {
    std::vector<TSkinModel> skins;
    for (const TStyle& style : AllStyles())
        if (onlyName.empty() || style.Name == onlyName) skins.push_back(BuildSkin(style));
    return skins;
}

std::vector<std::string> CompareWithFolders(const std::vector<TSkinModel>& skins, const std::string& root) {
    std::vector<std::string> differing;
    for (const TSkinModel& model : skins) {
        const std::string folder = root + "/" + model.Name() + "/";
        bool found = false;
        if (ReadFile(folder + OptionsFileName, found) != model.OptionsText() || !found)
            differing.push_back(model.Name() + "/" + OptionsFileName);
        const std::vector<std::uint8_t> bytes = model.MasterBytes();
        if (ReadFile(folder + MasterFileName, found) != std::string(bytes.begin(), bytes.end()) || !found)
            differing.push_back(model.Name() + "/" + MasterFileName);
    }
    return differing;
}

int RunSkinGen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string outDir, only, fixturesDir, storedFile, sheetDir, checkDir;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool missing = false;
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size())
                missing = true;
            else
                into = args[++i];
        };
        if (a == "--out")
            value(outDir);
        else if (a == "--skin")
            value(only);
        else if (a == "--all")
            only.clear();
        else if (a == "--fixtures")
            value(fixturesDir);
        else if (a == "--stored")
            value(storedFile);
        else if (a == "--sheet")
            value(sheetDir);
        else if (a == "--check")
            value(checkDir);
        else if (a == "--help" || a == "-h") {
            out << Usage;
            return 0;
        } else {
            err << "skingen: unknown argument " << a << "\n" << Usage;
            return 2;
        }
        if (missing) {
            err << "skingen: " << a << " needs a value\n" << Usage;
            return 2;
        }
    }
    if (outDir.empty() && fixturesDir.empty() && storedFile.empty() && sheetDir.empty() && checkDir.empty()) {
        err << Usage;
        return 2;
    }
    try {
        std::vector<TSkinModel> skins = BuildSkins(only);
        if (skins.empty()) {
            err << "skingen: no skin named " << only << "\n";
            return 2;
        }
        if (!outDir.empty()) {
            for (const TSkinModel& model : skins)
                model.WriteFolder(outDir);
            out << "wrote " << skins.size() << " skin folders to " << outDir << "\n";
        }
        if (!fixturesDir.empty()) {
            fixtures::WriteAll(fixturesDir);
            out << "wrote the fixtures to " << fixturesDir << "\n";
        }
        if (!storedFile.empty()) {
            std::vector<const TSkinModel*> list;
            for (const TSkinModel& model : skins)
                list.push_back(&model);
            WriteFile(storedFile, StoredSkinsText(list));
            out << "wrote the stored skins to " << storedFile << "\n";
        }
        if (!sheetDir.empty()) {
            if (outDir.empty()) {
                const std::string tmp = sheetDir + "/.skins";
                for (const TSkinModel& model : skins)
                    model.WriteFolder(tmp);
                WriteSheets(skins, tmp, sheetDir);
                std::filesystem::remove_all(tmp);
            } else {
                WriteSheets(skins, outDir, sheetDir);
            }
            out << "wrote the pictures to " << sheetDir << "\n";
        }
        if (!checkDir.empty()) {
            const std::vector<std::string> differing = CompareWithFolders(skins, checkDir);
            for (const std::string& name : differing)
                err << "skingen: " << checkDir << "/" << name << " differs from the generator's output\n";
            if (!differing.empty()) return 1;
            out << "the skins in " << checkDir << " are up to date\n";
        }
    } catch (const std::exception& e) {
        err << "skingen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

}
