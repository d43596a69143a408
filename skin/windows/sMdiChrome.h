// TsMdiChrome: the MDI side of a skinned form: a parent's support object, a maximized child's buttons and icon
// on the parent's menu line, the parent's MDI area, the parent repainted as its children come, go, activate
// and change state, and the maximize a new child waits for.
#pragma once

#include "platform/classes/GraphicsTypes.h"

#include <memory>

namespace korvex::classes {
class TBitmap;
class TComponent;
class TCustomForm;
}

namespace korvex::skin {

class TsMDIForm;
class TsSkinProvider;

class TsMdiChrome {
public:
    explicit TsMdiChrome(TsSkinProvider& provider);
    ~TsMdiChrome();
    TsMdiChrome(const TsMdiChrome&) = delete;
    TsMdiChrome& operator=(const TsMdiChrome&) = delete;

    bool IsChild() const;
    bool IsParent() const;
    TsMDIForm* MDIForm() const { return FMDIForm.get(); }
    void Hook(bool active);   // a parent's support object made (and the parent made known) or freed
    void Connect();   // a parent's support object made and tied to its client window
    void Release();   // the support object freed and the parent forgotten

    // The application's MDI parent's provider while it is alive, else nullptr.
    static TsSkinProvider* LiveParent();
    static classes::TCustomForm* ParentForm();

    // A maximized active child's buttons on this parent's menu line.
    bool ButtonsNeeded() const;
    void PlaceButtons();
    void PaintMenuIcon(classes::TBitmap* cache);   // the maximized child's icon at the menu line's left
    void PaintButtons(classes::TBitmap* cache);   // the maximized child's buttons on the menu line
    void RepaintButton(classes::TBitmap* cache, int code);   // over the menu line's background
    int HitTest(classes::TPoint p);   // -1 without the buttons, 0 off them; the hit one made hot
    bool ButtonUp(int code);   // a release on one of the buttons sends its command to the active child
    void PaintArea(classes::TBitmap* cache);

    // A child's life: the maximize a child made while the active one is maximized waits for.
    void Creating();   // WM_CREATE, before the form's procedure
    void Destroying();   // WM_DESTROY, before it
    void MaximizeIfPending();   // the first paint

    // The parent's skinned scroll bars laid out again, from the parent or from one of its children.
    void UpdateParentScrolls();
    void ChildMoved();   // WM_MOVE of a child that is not maximized
    void Forget(const classes::TComponent* component);   // a part of the support object being freed

    void RepaintParent();
    void MaximizedChildSized();
    void ChildShowing();
    void ChildSwitched();
    void RestoreOtherChildren();   // every other maximized child of the parent
    void ChildActivated();
    bool HiddenByMaximizedSibling() const;
    bool ClientPaintWithheld() const;   // a child beside a maximized active one, or one still to be maximized
    void ChildGone();

private:
    classes::TSize ButtonSize() const;
    int ButtonMask(int code);
    void PaintButton(classes::TBitmap* cache, int code);

    TsSkinProvider& FProvider;
    std::unique_ptr<TsMDIForm> FMDIForm;
};

}
