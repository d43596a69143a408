// TsFrameGeometry: the frame's metrics from the system's and the form's, shared by painting and hit testing.
#include "skin/windows/sFrameGeometry.h"

#include "platform/classes/TMenu.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

bool SingleOrSizeable(TFormBorderStyle style) {
    return style == bsSingle || style == bsSizeable;
}

user::RECT WindowRectOf(const TCustomForm* form) {
    user::RECT r {};
    if (form != nullptr && form->HandleAllocated()) user::GetWindowRect(form->WindowHandle(), &r);
    return r;
}

user::RECT ClientRectOf(const TCustomForm* form) {
    user::RECT r {};
    if (form != nullptr && form->HandleAllocated()) user::GetClientRect(form->WindowHandle(), &r);
    return r;
}

int FrameMetric(const TCustomForm* form, int dialogFrame, int sizingFrame) {
    if (form == nullptr || form->BorderStyle() == bsNone) return 0;
    const TFormBorderStyle style = form->BorderStyle();
    const bool dialog = form->FormStyle() == fsMDIChild
        ? style == bsSingle || style == bsToolWindow
        : style == bsSingle || style == bsDialog || style == bsToolWindow;
    return user::GetSystemMetrics(dialog ? dialogFrame : sizingFrame);
}

}

int IconSizeFor(int h) {
    if (h < 9) return 0;
    if (h <= 16) return 8;
    if (h <= 27) return 16;
    return 32;
}

int TsFrameGeometry::CaptionHeight() const {
    const TCustomForm* form = Form();
    if (form == nullptr || form->BorderStyle() == bsNone) return 0;
    const TFormBorderStyle style = form->BorderStyle();
    return user::GetSystemMetrics(
        style == bsToolWindow || style == bsSizeToolWin ? user::SM_CYSMCAPTION : user::SM_CYCAPTION);
}

// The frame of the style: the dialog frame for single, dialog and tool frames (an MDI child: single and tool
// only), the sizing frame for the rest; nothing without a border.
int TsFrameGeometry::SysBorderWidth() const {
    return FrameMetric(Form(), user::SM_CXDLGFRAME, user::SM_CXFRAME);
}

int TsFrameGeometry::SysBorderHeight() const {
    return FrameMetric(Form(), user::SM_CYDLGFRAME, user::SM_CYFRAME);
}

int TsFrameGeometry::BorderHeight() const {
    return SysBorderHeight() + (Form() != nullptr ? Form()->BorderWidth() : 0);
}

int TsFrameGeometry::FormWidth() const {
    const TCustomForm* form = Form();
    if (form == nullptr) return 0;
    if (Iconic()) return WindowRectOf(form).Width();
    return form->Width();
}

int TsFrameGeometry::MenuHeight() const {
    return Form() != nullptr && Form()->Menu() != nullptr ? user::GetSystemMetrics(user::SM_CYMENU) - 1 : 0;
}

bool TsFrameGeometry::MenuPresent() const {
    const TCustomForm* form = Form();
    if (form == nullptr || form->BorderStyle() == bsDialog || form->FormStyle() == fsMDIChild) return false;
    TMainMenu* menu = form->Menu();
    if (menu == nullptr) return false;
    for (int i = 0; i < menu->Items()->Count(); ++i)
        if (menu->Items()->Items(i)->Visible()) return true;
    // An MDI parent shows its active child's menu.
    const TCustomForm* child = form->FormStyle() == fsMDIForm ? form->ActiveMDIChild() : nullptr;
    const TMainMenu* own = child != nullptr ? child->Menu() : nullptr;
    if (own == nullptr) return false;
    for (int i = 0; i < own->Items()->Count(); ++i)
        if (own->Items()->Items(i)->Visible()) return true;
    return false;
}

int TsFrameGeometry::HeaderHeight() const {
    const TCustomForm* form = Form();
    if (form == nullptr) return 0;
    int h = WindowRectOf(form).Height() - ClientRectOf(form).Height();
    if (form->BorderStyle() != bsNone) h -= SysBorderHeight();
    h = std::max(h, 0);
    if (Iconic()) h += SysBorderHeight();
    return h;
}

int TsFrameGeometry::OffsetX() const {
    return (WindowRectOf(Form()).Width() - ClientRectOf(Form()).Width()) / 2;
}

int TsFrameGeometry::OffsetY() const {
    const TCustomForm* form = Form();
    const int h = WindowRectOf(form).Height() - ClientRectOf(form).Height();
    if (form == nullptr || form->BorderStyle() == bsNone) return h;
    return h - (SysBorderHeight() + form->BorderWidth());
}

TPoint TsFrameGeometry::FormLeftTop() const {
    const user::RECT r = WindowRectOf(Form());
    return TPoint {r.left, r.top};
}

TPoint TsFrameGeometry::CursorToPoint(TPoint screen) const {
    const TPoint origin = FormLeftTop();
    return TPoint {screen.x - origin.x, screen.y - origin.y};
}

bool TsFrameGeometry::IconVisible() const {
    return Form() != nullptr && SingleOrSizeable(Form()->BorderStyle()) && FSource.FrameShowsIcon();
}

// The title icon's own size when it has one, else a size that fits the caption.
int TsFrameGeometry::IconWidth() const {
    if (!IconVisible()) return 0;
    const int own = FSource.FrameIconSize().cx;
    return own != 0 ? own : IconSizeFor(CaptionHeight());
}

int TsFrameGeometry::IconHeight() const {
    if (!IconVisible()) return 0;
    const int own = FSource.FrameIconSize().cy;
    return own != 0 ? own : IconSizeFor(CaptionHeight());
}

TRect TsFrameGeometry::IconRect() const {
    TRect r;
    r.left = SysBorderWidth();
    r.right = r.left + IconWidth();
    r.top = (CaptionHeight() + SysBorderHeight() - IconHeight()) / 2;
    r.bottom = r.top + IconHeight();
    return r;
}

bool TsFrameGeometry::HasBorder() const {
    return Form() != nullptr && Form()->BorderStyle() != bsNone;
}

bool TsFrameGeometry::Iconic() const {
    const TCustomForm* form = Form();
    return form != nullptr && form->HandleAllocated() && user::IsIconic(form->WindowHandle());
}

bool TsFrameGeometry::Maximized() const {
    const TCustomForm* form = Form();
    return form != nullptr && form->HandleAllocated() && user::IsZoomed(form->WindowHandle());
}

int TsFrameGeometry::ButtonsTop(int buttonHeight) const {
    int top = (CaptionHeight() - buttonHeight + SysBorderHeight()) / 2;
    if (buttonHeight < 16) top += 2;
    return top;
}

std::vector<TRect> TsFrameGeometry::ButtonRects(const std::vector<int>& widths, int buttonHeight) const {
    std::vector<TRect> rects;
    rects.reserve(widths.size());
    int x = FormWidth() - SysBorderWidth();
    const int top = ButtonsTop(buttonHeight);
    for (int width : widths) {
        rects.push_back(TRect {x - width, top, x, top + buttonHeight});
        x -= width;
    }
    return rects;
}

bool TsFrameGeometry::InButtonBand(TPoint p, int buttonHeight) const {
    const int bandTop = (BorderHeight() + CaptionHeight() - buttonHeight) / 2;
    return bandTop <= p.y && p.y <= bandTop + buttonHeight;
}

bool TsFrameGeometry::OnTitleIcon(TPoint p) const {
    return IconVisible() && SysBorderWidth() <= p.x && p.x <= SysBorderWidth() + IconRect().Width();
}

bool TsFrameGeometry::OnMenuLine(TPoint p) const {
    const int top = CaptionHeight() + SysBorderHeight();
    return top <= p.y && p.y < HeaderHeight() && SysBorderWidth() <= p.x && p.x < FormWidth() - SysBorderWidth();
}

bool TsFrameGeometry::OnGrip(TPoint p, TSize grip, TSize cache) const {
    const int gx = cache.cx - grip.cx - SysBorderWidth();
    const int gy = cache.cy - grip.cy - SysBorderHeight();
    return p.y > gy && p.x > gx;
}

bool TsFrameGeometry::OutsideInner(TPoint p) const {
    if (Form() == nullptr) return false;
    const TRect inner {2, 2, Form()->Width() - 4, Form()->Height() - 4};
    return !(inner.left <= p.x && p.x < inner.right && inner.top <= p.y && p.y < inner.bottom);
}

}
