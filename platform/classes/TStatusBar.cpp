// TStatusBar, its panels and their collection, over the native status bar.
#include "platform/classes/TStatusBar.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TControlCanvas.h"
#include "platform/classes/TForm.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/Messages.h"
#include "platform/user/Window.h"
#include "platform/user/controls/CommonControls.h"
#include "platform/user/controls/StatusBar.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace korvex::classes {

using namespace user;

// ---------------------------------------------------------------------------------------------------------
// TStatusPanel

TStatusPanel::TStatusPanel(TCollection* collection)
    : TCollectionItem(collection) {
}

TClass TStatusPanel::StaticClass() {
    static const TClassInfo info = MakeClass<TStatusPanel, TCollectionItem>("TStatusPanel", [](auto& p) {
        p.Enum("Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment, AlignmentIdents, taLeftJustify);
        p.Enum("Bevel", &TStatusPanel::Bevel, &TStatusPanel::SetBevel, StatusPanelBevelIdents, pbLowered);
        p.Enum("Style", &TStatusPanel::Style, &TStatusPanel::SetStyle, StatusPanelStyleIdents, psText);
        p.String("Text", &TStatusPanel::Text, &TStatusPanel::SetText);
        p.Int("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth, 50);
    });
    return &info;
}

void TStatusPanel::Assign(const TPersistent* source) {
    if (const auto* panel = dynamic_cast<const TStatusPanel*>(source)) {
        FText = panel->FText;
        FWidth = panel->FWidth;
        FAlignment = panel->FAlignment;
        FBevel = panel->FBevel;
        FStyle = panel->FStyle;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(source);
}

void TStatusPanel::SetText(const std::string& value) {
    if (value == FText) return;
    FText = value;
    Changed(false);
}

void TStatusPanel::SetWidth(int value) {
    if (value == FWidth) return;
    FWidth = value;
    Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment value) {
    if (value == FAlignment) return;
    FAlignment = value;
    Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel value) {
    if (value == FBevel) return;
    FBevel = value;
    Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    Changed(false);
}

// ---------------------------------------------------------------------------------------------------------
// TStatusPanels

TStatusPanels::TStatusPanels(TStatusBar* statusBar)
    : TControlCollection(statusBar) {
}

TClass TStatusPanels::StaticClass() {
    static const TClassInfo info = MakeClass<TStatusPanels, TCollection>("TStatusPanels");
    return &info;
}

void TStatusPanels::Update(TCollectionItem* item) {
    if (item != nullptr)
        Keeper()->UpdatePanel(item->Index());
    else
        Keeper()->UpdatePanels();
}

// ---------------------------------------------------------------------------------------------------------
// TStatusBar

TStatusBar::TStatusBar(TComponent* owner)
    : TWinControl(owner)
    , FPanels(std::make_unique<TStatusPanels>(this))
    , FCanvas(std::make_unique<TControlCanvas>(this)) {
    RegisterCommonControlClasses();
    FControlStyle = TControlStyle {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
    SetColor(clBtnFace);
    SetBounds(Left(), Top(), 150, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

TClass TStatusBar::StaticClass() {
    static const TClassInfo info = MakeClass<TStatusBar, TWinControl>("TStatusBar", [](auto& p) {
        p.Enum("Align", &TStatusBar::Align, &TStatusBar::SetAlign, AlignIdents, alBottom);
        p.Color("Color", &TStatusBar::Color, &TStatusBar::SetColor, clBtnFace);
        p.Object("Panels", &TStatusBar::Panels, &TStatusBar::SetPanels);
        p.Bool("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel, false);
        p.String("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText);
        p.Bool("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip, true);
        p.Event("OnDrawPanel", &TStatusBar::OnDrawPanel);
    });
    return &info;
}

TCanvas* TStatusBar::Canvas() const {
    return FCanvas.get();
}

void TStatusBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, STATUSCLASSNAME);
    // The library aligns the bar itself.
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE;
    if (GripShown()) params.Style |= SBARS_SIZEGRIP;
}

bool TStatusBar::GripShown() const {
    if (!FSizeGrip) return false;
    const TCustomForm* form = GetParentForm(this);
    return form == nullptr || form->BorderStyle() == bsSizeable || form->BorderStyle() == bsSizeToolWin;
}

void TStatusBar::CreateWnd() {
    TWinControl::CreateWnd();
    UpdatePanels();
    SendMessage(WindowHandle(), SB_SETTEXT, SB_SIMPLEID, reinterpret_cast<LPARAM>(FSimpleText.c_str()));
    SendMessage(WindowHandle(), SB_SIMPLE, FSimplePanel ? 1 : 0, 0);
}

void TStatusBar::SetSimplePanel(bool value) {
    if (value == FSimplePanel) return;
    FSimplePanel = value;
    if (HandleAllocated()) SendMessage(WindowHandle(), SB_SIMPLE, value ? 1 : 0, 0);
}

void TStatusBar::SetSimpleText(const std::string& value) {
    if (value == FSimpleText) return;
    FSimpleText = value;
    if (HandleAllocated())
        SendMessage(WindowHandle(), SB_SETTEXT, SB_SIMPLEID, reinterpret_cast<LPARAM>(FSimpleText.c_str()));
}

void TStatusBar::SetSizeGrip(bool value) {
    if (value == FSizeGrip) return;
    FSizeGrip = value;
    RecreateWnd();
}

void TStatusBar::UpdatePanels() {
    if (!HandleAllocated()) return;
    int count = FPanels->Count();
    std::vector<int> edges;
    long long right = 0;   // widths are not bounded: the edges stop at the largest int
    for (int i = 0; i < count; ++i) {
        const TStatusPanel* panel = FPanels->Items(i);
        right = std::min<long long>(right + (panel != nullptr ? panel->Width() : 50), std::numeric_limits<int>::max());
        edges.push_back(i + 1 == count ? -1 : int(right));
    }
    if (edges.empty()) edges.push_back(-1);
    SendMessage(WindowHandle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < count; ++i)
        UpdatePanel(i);
    if (count == 0) SendMessage(WindowHandle(), SB_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
}

void TStatusBar::UpdatePanel(int index) {
    if (!HandleAllocated() || index < 0 || index >= FPanels->Count()) return;
    const TStatusPanel* panel = FPanels->Items(index);
    if (panel == nullptr) return;
    WPARAM type = WPARAM(index);
    if (panel->Bevel() == pbNone) type |= SBT_NOBORDERS;
    if (panel->Bevel() == pbRaised) type |= SBT_POPOUT;
    if (panel->Style() == psOwnerDraw) {
        SendMessage(WindowHandle(), SB_SETTEXT, type | SBT_OWNERDRAW, index);
        return;
    }
    // The native bar aligns what follows one tab in the middle, what follows two at the right.
    std::string text = panel->Alignment() == taCenter ? "\t" + panel->Text()
        : panel->Alignment() == taRightJustify        ? "\t\t" + panel->Text()
                                                      : panel->Text();
    SendMessage(WindowHandle(), SB_SETTEXT, type, reinterpret_cast<LPARAM>(text.c_str()));
}

void TStatusBar::DrawPanel(TStatusPanel* panel, const TRect& rect) {
    if (OnDrawPanel)
        OnDrawPanel(this, panel, rect);
    else
        FCanvas->FillRect(rect);
}

void TStatusBar::CNDrawItem(TMessage& m) {
    auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    if (di == nullptr || int(di->itemID) >= FPanels->Count() || FPanels->Items(int(di->itemID)) == nullptr) return;
    gdi::SavedDc saved(di->hDC);
    FCanvas->SetHandle(di->hDC);
    base::ScopeExit release([this] { FCanvas->SetHandle(nullptr); });
    FCanvas->Font()->Assign(Font());
    FCanvas->Brush()->SetColor(Color());
    DrawPanel(FPanels->Items(int(di->itemID)), di->rcItem);
    m.Result = 1;
}

void TStatusBar::WndProc(TMessage& message) {
    if (message.Msg == CN_DRAWITEM) {
        CNDrawItem(message);
        return;
    }
    TWinControl::WndProc(message);
}

}
