// The kind table: default sections and the hover rule of each control kind.
#include "skin/engine/sControlKind.h"

namespace korvex::skin {

namespace {

struct KindSection {
    TacKindRange Kinds;
    const char* Section;
};

constexpr TacKindRange Kinds(int first, int last) {
    return TacKindRange {TacControlKind(first), TacControlKind(last)};
}

constexpr TacKindRange Kind(int kind) {
    return Kinds(kind, kind);
}

// clang-format off
constexpr KindSection KindSections[] = {
    {Kinds(2, 8), "EDIT"}, {Kind(10), "EDIT"}, {Kind(41), "EDIT"}, {Kind(76), "EDIT"}, {Kind(78), "EDIT"},
    {Kinds(83, 84), "EDIT"}, {Kinds(96, 97), "EDIT"}, {Kind(131), "EDIT"}, {Kind(140), "EDIT"}, {Kind(227), "EDIT"},
    {Kinds(11, 18), "COMBOBOX"}, {Kinds(81, 82), "COMBOBOX"},
    {Kind(19), "BAR"}, {Kind(20), "BARTITLE"}, {Kind(32), "CHECKBOX"}, {Kind(33), "RADIOBUTTON"},
    {Kind(51), "PANEL"}, {Kind(59), "PANEL"}, {Kind(68), "PANEL"}, {Kind(73), "PANEL"},
    {Kind(52), "PANEL_LOW"}, {Kind(58), "PANEL_LOW"},
    {Kinds(53, 54), "TOOLBAR"}, {Kind(60), "TOOLBAR"},
    {Kind(56), "DRAGBAR"}, {Kind(57), "TABSHEET"}, {Kind(74), "GROUPBOX"}, {Kind(226), "GROUPBOX"},
    {Kind(75), "SPLITTER"}, {Kind(92), "SPEEDBUTTON"}, {Kind(95), "SPEEDBUTTON"}, {Kinds(93, 94), "BUTTON"},
    {Kind(98), "TOOLBUTTON"}, {Kind(141), "PAGECONTROL"}, {Kind(143), "TABCONTROL"}, {Kind(151), "STATUSBAR"},
    {Kind(161), "GAUGE"}, {Kind(165), "TRACKBAR"},
};
// clang-format on

}

bool IsHoverlessKind(TacControlKind kind) {
    return ContainerKinds.Contains(kind) || kind == LoneHoverlessKind || BarKinds.Contains(kind);
}

const char* DefaultSectionOf(TacControlKind kind) {
    for (const KindSection& k : KindSections)
        if (k.Kinds.Contains(kind)) return k.Section;
    return "";
}

}
