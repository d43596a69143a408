// LED component base: properties, repaint requests and the frame-rate throttle, off-screen painting, property files.
#include "leds/iComponent.h"

#include "leds/iGPFunctions.h"
#include "platform/base/DateTime.h"
#include "platform/base/ScopeGuard.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TStringList.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/user/Window.h"
#include "platform/user/WindowConstants.h"

namespace korvex::leds {

using namespace classes;

TiComponent::TiComponent(TComponent* owner)
    : TCustomControl(owner)
    , FLastRepaintTime(base::Now())
    , FErrorFont(std::make_unique<TFont>()) {
    SetControlStyle(TControlStyle {csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks, csReplicatable});
    FErrorFont->SetColor(clRed);
    FErrorFont->SetStyle(TFontStyles {fsBold});
}

TiComponent::~TiComponent() = default;

TClass TiComponent::StaticClass() {
    static const TClassInfo info = MakeClass<TiComponent, TCustomControl>("TiComponent", [](auto& p) {
        // What the class library publishes for every control but an LED has no use for: kept out of
        // component text and property files.
        p.String("Caption", &TControl::Caption, &TControl::SetCaption).Stored(false);
        p.Color("Color", &TControl::Color, &TControl::SetColor).Stored(false);
        p.Object("Font", &TControl::Font, &TControl::SetFont).Stored(false);
        p.Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, true).Stored(false);
        p.Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true).Stored(false);
        p.Bool("DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered, false).Stored(false);
        p.Bool("ParentBackground", &TWinControl::ParentBackground, &TWinControl::SetParentBackground, false)
            .Stored(false);
        p.Set("Anchors", &TControl::Anchors, &TControl::SetAnchors, AnchorIdents, TAnchors {akLeft, akTop})
            .Stored(false);
        p.Object("Constraints", &TControl::Constraints, &TControl::SetConstraints).Stored(false);
        p.Enum("BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode, BiDiModeIdents, bdLeftToRight).Stored(false);
        p.Bool("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode, true).Stored(false);
        p.Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true).Stored(false);
        p.Set("BevelEdges", &TWinControl::BevelEdges, &TWinControl::SetBevelEdges, BevelEdgeIdents,
             TBevelEdges {beLeft, beTop, beRight, beBottom})
            .Stored(false);
        p.Enum("BevelInner", &TWinControl::BevelInner, &TWinControl::SetBevelInner, BevelCutIdents, bvRaised)
            .Stored(false);
        p.Enum("BevelKind", &TWinControl::BevelKind, &TWinControl::SetBevelKind, BevelKindIdents, bkNone)
            .Stored(false);
        p.Enum("BevelOuter", &TWinControl::BevelOuter, &TWinControl::SetBevelOuter, BevelCutIdents, bvLowered)
            .Stored(false);
        p.Int("BorderWidth", &TWinControl::BorderWidth, &TWinControl::SetBorderWidth, 0).Stored(false);
        p.Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).Stored(false);
        p.Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, false).Stored(false);

        p.Bool("OptionSaveAllProperties", &TiComponent::OptionSaveAllProperties,
            &TiComponent::SetOptionSaveAllProperties, false);
        p.Bool("AutoFrameRate", &TiComponent::AutoFrameRate, &TiComponent::SetAutoFrameRate, false);
        p.Int("UpdateFrameRate", &TiComponent::UpdateFrameRate, &TiComponent::SetUpdateFrameRate, 60);
    });
    return &info;
}

// ---------------------------------------------------------------------------------------------------------
// Properties

void TiComponent::SetAutoFrameRate(bool value) {
    if (value == FAutoFrameRate) return;
    FAutoFrameRate = value;
    if (value)
        InvalidateChange();
    else
        EndUpdate();
}

void TiComponent::SetUpdateFrameRate(int value) {
    if (value == FUpdateFrameRate) return;
    FUpdateFrameRate = value;
    InvalidateChange();
}

void TiComponent::SetBackGroundColor(TColor value) {
    if (value == FBackGroundColor) return;
    FBackGroundColor = value;
    InvalidateChange();
}

void TiComponent::SetBorderStyle(TiBevelStyle value) {
    if (value == FBorderStyle) return;
    FBorderStyle = value;
    InvalidateChange();
}

TPoint TiComponent::GetCenterPoint() const {
    return Point(Width() / 2, Height() / 2);
}

int TiComponent::OPCRequestedDataType(const std::string& propertyName) const {
    (void)propertyName;
    return 0;
}

bool TiComponent::WriteItemValue(const std::string& propertyName, const TiOPCValue& value) {
    (void)propertyName;
    (void)value;
    return false;
}

// ---------------------------------------------------------------------------------------------------------
// Repaint requests

void TiComponent::InvalidateChange() {
    FBackGroundChanged = true;
    FChangePending = true;
    if (FUpdating) return;
    if (FAutoFrameRate)
        FrameRateCheck();
    else
        RepaintNow();
}

void TiComponent::InvalidateNoChange() {
    FRepaintPending = true;
    if (FUpdating) return;
    if (FAutoFrameRate)
        FrameRateCheck();
    else
        RepaintNow();
}

void TiComponent::BeginUpdate() {
    FUpdating = true;
}

void TiComponent::EndUpdate() {
    FUpdating = false;
    if (FRepaintPending || FChangePending) FrameRateCheck();
}

void TiComponent::RepaintNow() {
    FRepaintPending = false;
    FChangePending = false;
    FLastRepaintTime = base::Now();
    Invalidate();
}

void TiComponent::FrameRateCheck() {
    if (!FAutoFrameRate || FUpdateFrameRate == 0) {
        RepaintNow();
        return;
    }
    // In floating point: a large rate must not overflow the product.
    const double interval = 1.0 / (static_cast<double>(FUpdateFrameRate) * 86400.0);
    if (FLastRepaintTime + interval < base::Now()) RepaintNow();
}

// ---------------------------------------------------------------------------------------------------------
// Painting

namespace {
class TPaintLock {
public:
    explicit TPaintLock(TiComponent& control)
        : FControl(control) {
        FControl.Lock();
    }
    ~TPaintLock() { FControl.Unlock(); }
    TPaintLock(const TPaintLock&) = delete;
    TPaintLock& operator=(const TPaintLock&) = delete;

private:
    TiComponent& FControl;
};
}

void TiComponent::Paint() {
    TPaintLock lock(*this);
    // A metafile records the drawing itself, not an off-screen copy of it.
    if (gdi::GetDeviceCaps(Canvas()->Handle(), gdi::TECHNOLOGY) == gdi::DT_METAFILE) {
        iPaintTo(Canvas());
        return;
    }
    if (Width() <= 0 || Height() <= 0) return;
    TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Pen()->SetStyle(psSolid);
    iPaintTo(canvas);
    Canvas()->Draw(0, 0, &bitmap);
}

void TiComponent::iPaintBackground(TCanvas* canvas, TColor color) {
    FBackGroundChanged = false;
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(color);
    canvas->FillRect(Rect(0, 0, Width(), Height()));
    iPaintBorder(canvas);
}

void TiComponent::iPaintBorder(TCanvas* canvas) {
    if (FBorderStyle == ibsRaised)
        DrawEdgeBorder(canvas, Rect(0, 0, Width(), Height()), iEdgeRaised);
    else if (FBorderStyle == ibsLowered)
        DrawEdgeBorder(canvas, Rect(0, 0, Width(), Height()), iEdgeSunken);
}

// ---------------------------------------------------------------------------------------------------------
// Focus and input hooks

void TiComponent::iDoSetFocus() {
    // Every window up the chain takes part in dialog navigation, so the keys reach the control.
    for (TWinControl* c = this; c != nullptr; c = c->Parent()) {
        if (!c->HandleAllocated()) continue;
        user::HWND hwnd = c->WindowHandle();
        user::SetWindowLongPtr(
            hwnd, user::GWL_EXSTYLE, user::GetWindowLongPtr(hwnd, user::GWL_EXSTYLE) | user::WS_EX_CONTROLPARENT);
    }
    Invalidate();
}

void TiComponent::iDoKillFocus() {
    iMouseUp(mbLeft, TShiftState {}, 0, 0);
    Invalidate();
}

void TiComponent::iMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    (void)button, (void)shift, (void)x, (void)y;
}

void TiComponent::iMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    (void)button, (void)shift, (void)x, (void)y;
}

void TiComponent::KeyDown(user::WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    iKeyDown(key, shift);
}

void TiComponent::KeyUp(user::WORD& key, TShiftState shift) {
    TCustomControl::KeyUp(key, shift);
    iKeyUp(key, shift);
}

void TiComponent::KeyPress(char32_t& key) {
    TCustomControl::KeyPress(key);
    iKeyPress(key);
}

void TiComponent::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    iMouseDown(button, shift, x, y);
}

void TiComponent::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    iMouseUp(button, shift, x, y);
}

void TiComponent::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    iMouseMove(shift, x, y);
}

void TiComponent::DblClick() {
    TCustomControl::DblClick();
    iDoubleClick();
}

bool TiComponent::DoMouseWheel(TShiftState shift, int wheelDelta, classes::TPoint mousePos) {
    const bool handled = TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos);
    return iMouseWheel(shift, wheelDelta, mousePos) != 0 || handled;
}

// ---------------------------------------------------------------------------------------------------------
// Property files

void TiComponent::SavePropertiesToFile(const std::string& fileName) {
    std::vector<std::string> exclusions {"Name"};
    if (!FOptionSaveAllProperties)
        exclusions.insert(exclusions.end(),
            {"Left", "Top", "Width", "Height", "Align", "Cursor", "ShowHint", "Tag", "Visible", "Enabled", "Hint",
                "HelpContext"});
    std::vector<std::string> lines {std::string(PropertyFileTypePrefix) + ClassName()};
    AppendPropertyLines(*this, "", lines, exclusions);
    TStringList file;
    for (const std::string& line : lines)
        file.Add(line);
    file.SaveToFile(fileName);
}

void TiComponent::LoadPropertiesFromFile(const std::string& fileName) {
    TStringList file;
    file.LoadFromFile(fileName);
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(file.Count()));
    for (int i = 0; i < file.Count(); ++i)
        lines.push_back(file.Strings(i));
    BeginUpdate();
    base::ScopeExit endUpdate([this] { EndUpdate(); });   // a bad value must not leave the control without repaints
    LoadPropertyLines(*this, "", lines);
}

}
