// TsCustomListView and TsListView: the list view with a skinned 2-pixel frame, its background from the cache
// behind the native items, two skinned scroll bars over the native ones, a bound label, and the report view's
// column header painted from the skin with hot and pressed sections.
#pragma once

#include "platform/classes/TListView.h"
#include "skin/controls/sLabelledControl.h"

namespace korvex::skin {

class TsScrollBar;

extern template class TsLabelledControl<classes::TListView>;

class TsCustomListView : public TsLabelledControl<classes::TListView> {
public:
    explicit TsCustomListView(classes::TComponent* owner);
    ~TsCustomListView() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void Loaded() override;   // colours, arrangement and bars too when skinned

    bool HighlightHeaders() const { return FHighlightHeaders; }
    void SetHighlightHeaders(bool value) { FHighlightHeaders = value; }

    // The skinned bars from the native scroll information (skinned, visible, not loading): placed inside the
    // 2-pixel frame; a bar not needed is hidden.
    void UpdateScrolls();
    TsScrollBar* VertBar() const { return FVertBar; }   // nullptr until needed
    TsScrollBar* HorzBar() const { return FHorzBar; }
    user::HWND HeaderHandle() const { return FHeaderHandle; }   // nullptr until the header is subclassed
    int HotSection() const { return FHotSection; }   // -2: none
    int PressedSection() const { return FPressedSection; }   // -1: none

protected:
    void WndProc(classes::TMessage& message) override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;

private:
    void SkinnedMessage(classes::TMessage& message);
    void AfterMessage(const classes::TMessage& message);
    static void DropEmptyColumnImage(classes::TMessage& message);
    void PrepareCache();
    void PaintFrame(gdi::HDC given);
    bool BackgroundFromParent() const;
    void TakeAskedColor();   // Color := the control's answer to the colour query, when it has one
    void SkinCustomDraw(const classes::TRect& rect, classes::TCustomDrawStage stage, bool& defaultDraw);
    void TransparentRepaint(bool force);
    void BarMoved(TsScrollBar* bar, int previous);
    void FeedBar(TsScrollBar* bar, const user::SCROLLINFO& si);
    void PlaceBars(bool vertical, bool horizontal);
    void KeepColors();
    void Arrange();
    // The column header.
    void HookHeader(user::HWND header);
    bool UnhookHeader();   // false: another subclass lies over ours, which stays in the chain
    void HeaderProc(classes::TMessage& message);
    void PaintHeader();
    void PaintSection(gdi::HDC dc, const classes::TRect& r, int index);
    int SectionAt(int x, int y) const;
    user::LRESULT CallHeader(const classes::TMessage& message) const;

    user::HWND FHeaderHandle = nullptr;
    user::WNDPROC FHeaderPrevious = nullptr;
    user::WNDPROC FHeaderInstance = nullptr;
    int FPressedSection = -1;
    int FHotSection = -2;
    bool FHighlightHeaders = true;
    classes::TLVAdvancedCustomDrawEvent FUserCustomDraw;
    bool FHeaderClick = false;
    bool FUpdatingScrolls = false;
    bool FSettingBars = false;   // the bars' hooks do not scroll while UpdateScrolls writes them
    TsScrollBar* FVertBar = nullptr;   // owned as components; cleared in Notification
    TsScrollBar* FHorzBar = nullptr;
};

class TsListView : public TsCustomListView {
public:
    explicit TsListView(classes::TComponent* owner) : TsCustomListView(owner) {}
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
};

}
