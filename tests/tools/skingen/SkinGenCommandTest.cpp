// The skingen command line: arguments, folders, the check against folders, fixtures, stored form, pictures.
#include "tools/skingen/Fixtures.h"
#include "tools/skingen/Sheet.h"
#include "tools/skingen/SkinGen.h"

#include "support/SkinFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace korvex::skingen;
using korvex::skin::test::TempFolder;

namespace {

const std::string Next = "NextStyle (internal)";

int Skingen(const std::vector<std::string>& args, std::string* err = nullptr) {
    std::ostringstream out, errors;
    const int code = RunSkinGen(args, out, errors);
    if (err != nullptr) *err = errors.str();
    return code;
}

}

TEST(SkinGenCommand, UnknownArgumentsAndNoTaskAreUsageErrors) {
    std::string err;
    EXPECT_EQ(Skingen({"--bogus"}, &err), 2);
    EXPECT_NE(err.find("usage"), std::string::npos);
    EXPECT_EQ(Skingen({}), 2);
    EXPECT_EQ(Skingen({"--out"}), 2);   // a value is missing
}

TEST(SkinGenCommand, AnUnknownSkinNameIsRefused) {
    TempFolder dir;
    std::string err;
    EXPECT_EQ(Skingen({"--skin", "Nope", "--out", dir.Path()}, &err), 2);
    EXPECT_NE(err.find("Nope"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(SkinGenCommand, CheckPassesOnWrittenFoldersAndNamesEveryDifference) {
    TempFolder dir;
    EXPECT_EQ(Skingen({"--skin", Next, "--out", dir.Path()}), 0);
    EXPECT_TRUE(std::filesystem::exists(dir / Next + "/Options.dat"));
    EXPECT_TRUE(std::filesystem::exists(dir / Next + "/Master.bmp"));
    EXPECT_EQ(Skingen({"--skin", Next, "--check", dir.Path()}), 0);

    std::ofstream(dir / Next + "/Options.dat", std::ios::app) << "[EXTRA]\r\n";
    std::filesystem::remove(dir / Next + "/Master.bmp");
    std::string err;
    EXPECT_EQ(Skingen({"--skin", Next, "--check", dir.Path()}, &err), 1);
    EXPECT_NE(err.find(Next + "/Options.dat"), std::string::npos);
    EXPECT_NE(err.find(Next + "/Master.bmp"), std::string::npos);
}

TEST(SkinGenCommand, FixturesAndStoredFormAreWritten) {
    TempFolder dir;
    EXPECT_EQ(Skingen({"--skin", Next, "--fixtures", dir / "fixtures", "--stored", dir / "stored/Skins.txt"}), 0);
    for (const std::string& name : fixtures::Names())
        EXPECT_TRUE(std::filesystem::exists(dir / "fixtures/" + name + "/Options.dat")) << name;
    std::ifstream in(dir / "stored/Skins.txt");
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "object TsSkinManager");
    std::stringstream rest;
    rest << in.rdbuf();
    EXPECT_NE(rest.str().find("'" + Next + "'"), std::string::npos);
    EXPECT_EQ(rest.str().find("IsDefault"), std::string::npos);
}

TEST(SkinGenCommand, PicturesAreWrittenPerSkinAsPng) {
    TempFolder dir;
    EXPECT_EQ(Skingen({"--skin", Next, "--sheet", dir.Path()}), 0);
    for (const char* suffix : {"-master.png", "-sheet.png"}) {
        const std::string path = dir / PictureStem(Next) + suffix;
        ASSERT_TRUE(std::filesystem::exists(path)) << path;
        std::ifstream png(path, std::ios::binary);
        char magic[4] = {};
        png.read(magic, 4);
        EXPECT_EQ(std::string(magic + 1, 3), "PNG");
    }
    EXPECT_FALSE(std::filesystem::exists(dir / ".skins"));
}

TEST(SkinGenCommand, PictureStemsDropBlanksAndBrackets) {
    EXPECT_EQ(PictureStem("LongHorn (internal)"), "LongHorn-internal");
    EXPECT_EQ(PictureStem("Plain"), "Plain");
    EXPECT_EQ(PictureStem("(x)"), "x");
}
