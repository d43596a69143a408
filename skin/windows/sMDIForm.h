// TsMDIForm: the MDI parent's support object: it paints the MDI client window's edge and background from the
// provider's form cache, lays skinned scroll bars over the client's own, and puts the maximized child's window
// commands at the front of the main menu.
#pragma once

#include "platform/classes/GraphicsTypes.h"
#include "platform/user/UserTypes.h"

namespace korvex::classes {
class TComponent;
class TCustomForm;
class TMenuItem;
}

namespace korvex::skin {

class TsGrip;
class TsScrollBar;
class TsSkinProvider;

class TsMDIForm {
public:
    explicit TsMDIForm(TsSkinProvider* provider);
    ~TsMDIForm();
    TsMDIForm(const TsMDIForm&) = delete;
    TsMDIForm& operator=(const TsMDIForm&) = delete;

    // Subclasses the client window once (a window already ours answers SMC_ISSKINNED).
    void ConnectToClient();
    bool Connected() const { return FConnected; }
    // "sMDICII" first in the main menu while the active child is maximized, taken out otherwise.
    void UpdateMDIIconItem();
    classes::TMenuItem* MDIIconItem() const { return FMDIIconItem; }
    // The client window's rectangle in the form's window coordinates (its 2-pixel edge included).
    classes::TRect MDIArea() const;
    classes::TCustomForm* Form() const { return FForm; }

    // The client's scroll state on skinned bars over its own (made on first need, the form's components) and
    // a grip between them; none while no child is active or the active one is maximized. A bar moved scrolls
    // the children; at the end of a scroll the client's ranges are read again.
    void UpdateScrolls();
    TsScrollBar* VertBar() const { return FVertBar; }
    TsScrollBar* HorzBar() const { return FHorzBar; }
    TsGrip* Grip() const { return FGrip; }
    void Forget(const classes::TComponent* component);   // a bar or the grip being freed elsewhere

private:
    static constexpr int ClientEdge = 2;   // the client window's sunken edge

    user::LRESULT NewClientWndProc(user::HWND hwnd, user::UINT msg, user::WPARAM wParam, user::LPARAM lParam);
    user::LRESULT CallDefault(user::HWND hwnd, user::UINT msg, user::WPARAM wParam, user::LPARAM lParam) const;
    bool PaintsEdge() const;   // skinned and connected
    bool PaintsClient() const;   // skinned, and no maximized active child covers the client
    void PaintEdge(user::HDC dc) const;
    void PaintBackground(user::HDC dc) const;
    void MakeChildIconItem();
    void SendToActiveChild(user::WPARAM command) const;

    // Scroll bars (sMDIForm_Scrolls.cpp)
    struct TScrollState;
    TScrollState ReadScroll(bool vertical) const;
    classes::TRect InsideEdge() const;   // the client window inside its edge, in the form's client coordinates
    TsScrollBar* MakeBar(bool vertical);
    void LayBar(bool vertical, const TScrollState& state, const classes::TRect& bounds);
    void LayGrip(bool shown, const classes::TRect& bounds);
    void BarChanged(TsScrollBar* bar, bool vertical);
    void BarScrolled(TsScrollBar* bar);
    void FreeScrolls();

    TsSkinProvider* FProvider = nullptr;
    classes::TCustomForm* FForm = nullptr;
    user::HWND FClient = nullptr;
    user::WNDPROC FDefClientProc = nullptr;
    user::WNDPROC FNewClientProc = nullptr;
    bool FConnected = false;
    classes::TMenuItem* FMDIIconItem = nullptr;   // owned here; in the main menu only while shown there
    TsScrollBar* FVertBar = nullptr;   // the form's components
    TsScrollBar* FHorzBar = nullptr;
    TsGrip* FGrip = nullptr;   // the provider's
    int FOffsetH = 0;   // the client's range start: a bar's position 0
    int FOffsetV = 0;
    bool FScrolling = false;   // the bars are being set or move the children: their handlers keep still
};

}
