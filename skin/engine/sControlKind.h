// TacControlKind: what a skinned control is; it picks the default section and whether the mouse makes it hot.
#pragma once

namespace korvex::skin {

// Written into TsCommonData::ControlKind by each control's constructor.
enum class TacControlKind : int {
    Unknown = 0,   // no default section: the owner's class name
    ListControl = 1,   // list and check-list boxes
    Edit = 3,
    ComboBox = 3,   // painted and coloured as an edit
    Memo = 7,   // the memo and the rich edit
    ColorBox = 9,
    ListView = 10,
    CheckBox = 32,
    RadioButton = 33,
    CurrencyEdit = 41,
    Panel = 51,
    LowPanel = 52,
    ToolBar = 54,
    DragBar = 56,
    ScrollBox = 58,
    GroupBox = 74,
    Splitter = 75,
    SpeedButton = 92,
    Button = 93,
    BitBtn = 94,
    TreeView = 96,
    EditLike = 97,   // not an edit class, but takes the section's colours on load as edits do
    FileDirEdit = 132,
    FilenameEdit = 133,
    DirectoryEdit = 134,
    ComboEdit = 138,
    PageControl = 141,
    ScrollBar = 142,
    StatusBar = 151,
    Gauge = 161,
    TrackBar = 165,
    Form = 224,
    GridItem = 227,
};

// A closed range of kind numbers that share a rule.
struct TacKindRange {
    TacControlKind First;
    TacControlKind Last;
    constexpr bool Contains(TacControlKind kind) const { return int(kind) >= int(First) && int(kind) <= int(Last); }
};

// Containers from panels to group boxes (tool bars, drag bars, scroll boxes, sheets among them).
inline constexpr TacKindRange ContainerKinds {TacControlKind::Panel, TacControlKind::GroupBox};
// Bars from page controls to gauges (scroll bars and status bars among them).
inline constexpr TacKindRange BarKinds {TacControlKind::PageControl, TacControlKind::Gauge};
// A hoverless kind outside both ranges.
inline constexpr TacControlKind LoneHoverlessKind = TacControlKind(110);

// Kinds the mouse never makes hot: ContainerKinds, BarKinds and LoneHoverlessKind.
bool IsHoverlessKind(TacControlKind kind);
// The default section of a control kind; empty for a kind without one (the owner's class name is used).
const char* DefaultSectionOf(TacControlKind kind);
// Kinds outside the edit classes that still take their section's colours on load.
constexpr bool TakesEditColors(TacControlKind kind) {
    return kind == TacControlKind::EditLike;
}

}
