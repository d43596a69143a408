// THintWindow: the plain popup window hints are shown in, and the application's hint timing state.
#pragma once

#include "platform/classes/TCustomControl.h"

#include <string>

namespace korvex::classes {

// A top-level popup that never takes activation: clInfoBk, a thin border, the text word-wrapped.
// The skins replace the class through HintWindowClass.
class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Shows text in rect (screen coordinates) above every window, without activating it.
    virtual void ActivateHint(TRect rect, const std::string& text);
    virtual void ActivateHintData(TRect rect, const std::string& text, void* data);
    // The size the text needs, at most maxWidth wide, as a rectangle at (0, 0).
    virtual TRect CalcHintRect(int maxWidth, const std::string& text, void* data);
    // Hides the window and frees its handle.
    virtual void ReleaseHandle();
    bool IsHintShowing() const;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void WndProc(TMessage& message) override;
};

// The first part of a hint "short|long" (the whole hint without a bar).
std::string GetShortHint(const std::string& hint);
std::string GetLongHint(const std::string& hint);

// A message the application's loop is about to handle: keys, clicks and the pointer leaving hide the hint.
void HintMessageSeen(const user::MSG& msg);

// The hint window the application shows now (nullptr when no hint was shown yet).
THintWindow* ApplicationHintWindow();

}
