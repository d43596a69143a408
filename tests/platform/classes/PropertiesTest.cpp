// Tests of the published-property registry: order, inheritance, typed access, dotted paths, defaults and colours.
#include "support/Fixtures.h"

#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/gdi/SysColors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::test;

namespace {

std::vector<std::string> Names(const TObject& obj) {
    std::vector<std::string> names;
    for (const TPropInfo* p : GetPropList(obj))
        names.push_back(p->Name);
    return names;
}

}

TEST(PropertyRegistry, ListsInheritedPropertiesFirstInDeclarationOrder) {
    TTestComponent c(nullptr);
    std::vector<std::string> expected {"Name", "Tag", "Width", "Height", "Hidden", "ReadOnly", "Visible", "Shape",
        "Flags", "Bits", "Caption", "Ratio", "Scale", "Color", "Big", "Font", "Items", "Lines", "Link", "OnClick",
        "OnValue"};
    EXPECT_EQ(Names(c), expected);
}

TEST(PropertyRegistry, APropertyPublishedAgainKeepsItsPlaceWithTheNewDefault) {
    TTestPanel panel(nullptr);
    EXPECT_EQ(Names(panel), Names(TTestComponent(nullptr)));
    const TPropInfo* width = GetPropInfo(panel, "Width");
    ASSERT_NE(width, nullptr);
    EXPECT_EQ(width->OrdDefault, 200);
    EXPECT_EQ(GetPropInfo(TTestComponent(nullptr), "Width")->OrdDefault, 100);
}

TEST(PropertyRegistry, LooksUpNamesWithoutCase) {
    TTestComponent c(nullptr);
    EXPECT_EQ(GetPropInfo(c, "wIDTH"), GetPropInfo(c, "Width"));
    EXPECT_EQ(GetPropInfo(c, "Nope"), nullptr);
}

TEST(PropertyRegistry, TypedAccessGoesThroughGettersAndSetters) {
    TTestComponent c(nullptr);
    SetOrdProp(c, *GetPropInfo(c, "Width"), 42);
    EXPECT_EQ(c.Width(), 42);
    SetOrdProp(c, *GetPropInfo(c, "Shape"), shTriangle);
    EXPECT_EQ(c.Shape, shTriangle);
    SetOrdProp(c, *GetPropInfo(c, "Flags"), 6);
    EXPECT_EQ(c.Flags, (TFlags {flItalic, flLarge}));
    SetOrdProp(c, *GetPropInfo(c, "Bits"), 5);
    EXPECT_EQ(c.Bits.to_ulong(), 5u);
    SetOrdProp(c, *GetPropInfo(c, "Visible"), 0);
    EXPECT_FALSE(c.Visible);
    SetOrdProp(c, *GetPropInfo(c, "Big"), std::int64_t(1) << 40);
    EXPECT_EQ(c.Big, std::int64_t(1) << 40);
    SetFloatProp(c, *GetPropInfo(c, "Ratio"), 0.25);
    EXPECT_EQ(GetFloatProp(c, *GetPropInfo(c, "Ratio")), 0.25);
    SetStrProp(c, *GetPropInfo(c, "Caption"), "Привет");
    EXPECT_EQ(GetStrProp(c, *GetPropInfo(c, "Caption")), "Привет");
    EXPECT_EQ(GetObjectProp(c, *GetPropInfo(c, "Font")), c.Font());
}

TEST(PropertyRegistry, ReadOnlyAndWrongKindAccessRaise) {
    TTestComponent c(nullptr);
    const TPropInfo& readOnly = *GetPropInfo(c, "ReadOnly");
    EXPECT_FALSE(readOnly.IsWritable());
    EXPECT_EQ(GetOrdProp(c, readOnly), 7);
    EXPECT_THROW(SetOrdProp(c, readOnly, 1), EPropertyError);
    EXPECT_THROW(GetStrProp(c, *GetPropInfo(c, "Width")), base::EConvertError);
    EXPECT_THROW(SetFloatProp(c, *GetPropInfo(c, "Caption"), 1), base::EConvertError);
}

namespace {

// Properties of narrow types and a range of the class's own.
enum class TSmallEnum : std::uint8_t { A, B };
class TNarrow : public TPersistent {
public:
    static TClass StaticClass() {
        static const TClassInfo info = MakeClass<TNarrow, TPersistent>("TNarrow", [](auto& p) {
            p.Int("Small", &TNarrow::Small, &TNarrow::Small);
            p.Int("Percent", &TNarrow::Percent, &TNarrow::Percent).Range(0, 100);
            p.Enum("Unnamed", &TNarrow::Unnamed, &TNarrow::Unnamed, TIdentNames {});
            p.Float("Single", &TNarrow::Single, &TNarrow::Single);
        });
        return &info;
    }
    TClass ClassType() const override { return StaticClass(); }
    std::uint8_t Small = 0;
    int Percent = 0;
    TSmallEnum Unnamed = TSmallEnum::A;
    float Single = 0;
};

struct TOrdinalCase {
    const char* Property;
    std::int64_t Value;
    bool Taken;
};

}

TEST(PropertyRegistry, OrdinalsBeyondTheTypeTheNamesOrTheRangeRaiseAndKeepTheValue) {
    const TOrdinalCase cases[] = {
        {"Width", 2147483647, true},
        {"Width", -2147483648LL, true},
        {"Width", 2147483648LL, false},
        {"Width", -2147483649LL, false},
        {"Shape", 2, true},
        {"Shape", 3, false},
        {"Shape", -1, false},
        {"Flags", 7, true},
        {"Flags", 8, false},
        {"Flags", -1, false},
        {"Bits", 8, false},
        {"Visible", 2, false},
        {"Color", 0xFFFFFFFFLL, true},
        {"Color", 0x100000000LL, false},
        {"Big", std::numeric_limits<std::int64_t>::min(), true},
    };
    for (const TOrdinalCase& c : cases) {
        TTestComponent obj(nullptr);
        const TPropInfo& prop = *GetPropInfo(obj, c.Property);
        const std::int64_t before = GetOrdProp(obj, prop);
        EXPECT_EQ(prop.AcceptsOrd(c.Value), c.Taken) << c.Property << " " << c.Value;
        if (c.Taken) {
            EXPECT_NO_THROW(SetOrdProp(obj, prop, c.Value)) << c.Property << " " << c.Value;
        } else {
            EXPECT_THROW(SetOrdProp(obj, prop, c.Value), base::EConvertError) << c.Property << " " << c.Value;
            EXPECT_EQ(GetOrdProp(obj, prop), before) << c.Property;
        }
    }
    const TOrdinalCase narrow[] = {
        {"Small", 255, true},
        {"Small", 256, false},
        {"Small", -1, false},
        {"Percent", 100, true},
        {"Percent", 101, false},
        {"Unnamed", 255, true},   // no names: the underlying type's range
        {"Unnamed", 256, false},
    };
    for (const TOrdinalCase& c : narrow) {
        TNarrow obj;
        EXPECT_EQ(GetPropInfo(obj, c.Property)->AcceptsOrd(c.Value), c.Taken) << c.Property << " " << c.Value;
    }
}

TEST(PropertyRegistry, AFloatBeyondAFloatPropertysTypeRaises) {
    TNarrow obj;
    const TPropInfo& single = *GetPropInfo(obj, "Single");
    SetFloatProp(obj, single, 1e38);
    EXPECT_FLOAT_EQ(obj.Single, 1e38f);
    EXPECT_THROW(SetFloatProp(obj, single, 1e300), base::EConvertError);
    EXPECT_THROW(SetFloatProp(obj, single, -1e300), base::EConvertError);
    EXPECT_FLOAT_EQ(obj.Single, 1e38f);
    SetFloatProp(obj, single, std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isinf(obj.Single));
}

TEST(PropertyRegistry, AComponentPropertyRefusesAnotherClass) {
    TTestComponent c(nullptr);
    TComponent plain(nullptr);
    TTestPanel panel(nullptr);
    const TPropInfo& link = *GetPropInfo(c, "Link");
    EXPECT_THROW(SetObjectProp(c, link, &plain), base::EConvertError);
    SetObjectProp(c, link, &panel);
    EXPECT_EQ(c.Link(), &panel);
    SetObjectProp(c, link, nullptr);
    EXPECT_EQ(c.Link(), nullptr);
}

TEST(PropertyRegistry, DottedPathsReachSubObjectsAndReferencedComponents) {
    TTestComponent c(nullptr), other(nullptr);
    TPropTarget t = FindPropPath(c, "font.NAME");
    EXPECT_EQ(t.Object, c.Font());
    ASSERT_NE(t.Prop, nullptr);
    EXPECT_EQ(t.Prop->Name, "Name");
    EXPECT_EQ(FindPropPath(c, "Link.Width").Prop, nullptr);   // nil link
    c.SetLink(&other);
    EXPECT_EQ(FindPropPath(c, "Link.Width").Object, &other);
    EXPECT_EQ(FindPropPath(c, "Width.Height").Prop, nullptr);
    EXPECT_EQ(FindPropPath(c, "Font.Nope").Prop, nullptr);
    c.SetLink(nullptr);
}

TEST(PropertyRegistry, DefaultsAndStoredPredicates) {
    TTestComponent c(nullptr);
    auto isDefault = [&](const char* name) { return GetPropInfo(c, name)->IsDefault(c); };
    EXPECT_TRUE(isDefault("Width"));
    EXPECT_FALSE(isDefault("Height"));   // no default: always written
    EXPECT_TRUE(isDefault("Caption"));
    EXPECT_TRUE(isDefault("Ratio"));   // floats default to 0
    EXPECT_TRUE(isDefault("Scale"));
    EXPECT_TRUE(isDefault("Link"));
    EXPECT_TRUE(isDefault("OnClick"));
    EXPECT_FALSE(isDefault("Font"));
    c.Scale = 2;
    c.OnClick = [](TObject*) {};
    EXPECT_FALSE(isDefault("Scale"));
    EXPECT_FALSE(isDefault("OnClick"));
    EXPECT_FALSE(GetPropInfo(c, "Hidden")->IsStored(c));
    EXPECT_FALSE(GetPropInfo(c, "Name")->IsStored(c));
    EXPECT_TRUE(GetPropInfo(c, "Width")->IsStored(c));
}

TEST(PropertyRegistry, EventsTakeOnlyHandlersOfTheirExactType) {
    TTestComponent c(nullptr);
    const TPropInfo& onClick = *GetPropInfo(c, "OnClick");
    int calls = 0;
    EXPECT_TRUE(onClick.SetEvent(c, std::any(TNotifyEvent([&](TObject*) { ++calls; }))));
    c.OnClick(&c);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(onClick.SetEvent(c, std::any(TValueEvent([](TObject*, int) {}))));
    EXPECT_TRUE(onClick.SetEvent(c, std::any()));
    EXPECT_FALSE(c.OnClick);
}

TEST(EnumNames, ByOrdinalAndByNameWithoutCase) {
    EXPECT_EQ(GetEnumName(ShapeIdents, 1), "shSquare");
    EXPECT_EQ(GetEnumName(ShapeIdents, 3), "");
    EXPECT_EQ(GetEnumName(ShapeIdents, -1), "");
    std::int64_t v = -1;
    EXPECT_TRUE(TryGetEnumValue(ShapeIdents, "SHTRIANGLE", v));
    EXPECT_EQ(v, 2);
    EXPECT_FALSE(TryGetEnumValue(ShapeIdents, "shHexagon", v));
}

struct TColorCase {
    TColor Color;
    const char* Text;
};

class ColorText : public testing::TestWithParam<TColorCase> { };

TEST_P(ColorText, ConvertsBothWays) {
    EXPECT_EQ(ColorToString(GetParam().Color), GetParam().Text);
    EXPECT_EQ(StringToColor(GetParam().Text), GetParam().Color);
}

INSTANTIATE_TEST_SUITE_P(Colors, ColorText,
    testing::Values(TColorCase {clRed, "clRed"}, TColorCase {clBtnFace, "clBtnFace"}, TColorCase {clNone, "clNone"},
        TColorCase {clDefault, "clDefault"}, TColorCase {clHighlightText, "clHighlightText"},
        TColorCase {0x00123456, "$00123456"}, TColorCase {clSkyBlue, "clSkyBlue"}));

TEST(Colors, NamesReadWithoutCaseAndNumbersInAnyForm) {
    EXPECT_EQ(StringToColor("CLRED"), clRed);
    EXPECT_EQ(StringToColor("clLtGray"), clSilver);
    EXPECT_EQ(StringToColor("255"), 255);
    EXPECT_EQ(StringToColor("-16777201"), clBtnFace);
    EXPECT_EQ(StringToColor("$FF00000F"), clBtnFace);
    EXPECT_THROW(StringToColor("clPlaid"), base::EConvertError);
    EXPECT_THROW(StringToColor(""), base::EConvertError);
}

TEST(Colors, SystemColoursBecomeTheirCurrentRgb) {
    EXPECT_EQ(static_cast<std::uint32_t>(ColorToRGB(clBtnFace)), gdi::GetSysColor(gdi::COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
}
