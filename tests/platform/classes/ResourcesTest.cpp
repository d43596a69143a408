// Tests of resources embedded at build time: in the program itself and in a static library it links.
#include "platform/classes/Resources.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace korvex::classes;

namespace {

std::string FixtureBytes() {
    std::ifstream in(KORVEX_EMBED_FIXTURE, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string AsString(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}

TEST(EmbeddedResources, TheProgramsOwnResourceHoldsTheFilesBytes) {
    auto bytes = FindEmbeddedResource("Fixture.Program");
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(AsString(*bytes), FixtureBytes());
    EXPECT_FALSE(FixtureBytes().empty());
}

TEST(EmbeddedResources, AStaticLibrarysResourcesReachTheProgram) {
    auto bytes = FindEmbeddedResource("Fixture.Library");
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(AsString(*bytes), FixtureBytes());
    auto empty = FindEmbeddedResource("Fixture.Empty");
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->empty());
}

TEST(EmbeddedResources, NamesCompareExactly) {
    EXPECT_FALSE(FindEmbeddedResource("fixture.program").has_value());
    EXPECT_FALSE(FindEmbeddedResource("").has_value());
    EXPECT_FALSE(FindEmbeddedResource("Fixture.Program ").has_value());
}
