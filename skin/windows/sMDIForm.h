// TsMDIForm: the MDI parent's support object: it paints the MDI client window's edge and background from the
// provider's form cache and puts the maximized child's window commands at the front of the main menu.
#pragma once

#include "platform/classes/GraphicsTypes.h"
#include "platform/user/UserTypes.h"

namespace korvex::classes {
class TCustomForm;
class TMenuItem;
}

namespace korvex::skin {

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

private:
    user::LRESULT NewClientWndProc(user::HWND hwnd, user::UINT msg, user::WPARAM wParam, user::LPARAM lParam);
    user::LRESULT CallDefault(user::HWND hwnd, user::UINT msg, user::WPARAM wParam, user::LPARAM lParam) const;
    bool PaintsEdge() const;   // skinned and connected
    bool PaintsClient() const;   // skinned, and no maximized active child covers the client
    void PaintEdge(user::HDC dc) const;
    void PaintBackground(user::HDC dc) const;
    void MakeChildIconItem();
    void SendToActiveChild(user::WPARAM command) const;

    TsSkinProvider* FProvider = nullptr;
    classes::TCustomForm* FForm = nullptr;
    user::HWND FClient = nullptr;
    user::WNDPROC FDefClientProc = nullptr;
    user::WNDPROC FNewClientProc = nullptr;
    bool FConnected = false;
    classes::TMenuItem* FMDIIconItem = nullptr;   // owned here; in the main menu only while shown there
};

}
