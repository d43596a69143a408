// TsCommonData: the skin state every skinned control owns (section, indexes, cache bitmap, repaint flags).
#pragma once

#include "platform/classes/ControlMessages.h"
#include "platform/classes/GraphicsTypes.h"
#include "platform/classes/TPersistent.h"
#include "platform/gdi/Types.h"
#include "skin/engine/Forward.h"
#include "skin/engine/sControlKind.h"
#include "skin/engine/sParentCache.h"

#include <functional>
#include <memory>
#include <string>

namespace korvex::classes {
class TBitmap;
class TControl;
class TCustomForm;
}

namespace korvex::skin {

class TsCommonData : public classes::TPersistent {
public:
    // owner: a control, or a form's skin provider. With createCacheBmp the 24-bit cache is made at once.
    TsCommonData(classes::TPersistent* owner, bool createCacheBmp);
    ~TsCommonData() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    // ---- Published ----
    const std::string& SkinSection() const { return FSkinSection; }
    void SetSkinSection(const std::string& value);   // "" stores "UNKNOWN"; tells the owner (code 3 or 2)
    bool CustomFont() const { return FCustomFont; }
    void SetCustomFont(bool value);
    bool CustomColor() const { return FCustomColor; }
    void SetCustomColor(bool value);
    // The own manager, else the default manager, else nullptr.
    TsSkinManager* SkinManager() const;
    // The default manager is stored as none, so it is not written to form files.
    void SetSkinManager(TsSkinManager* value);
    TsSkinManager* OwnSkinManager() const;   // nullptr: follows the default manager

    // ---- State ----
    bool Updating = false;   // painting postponed (new or removed skin, code 8, BeginUpdate)
    int BorderIndex = -1;   // the section's "BORDERSMASK" image
    int SkinIndex = -1;   // the section in the loaded skin
    int Texture = -1;   // "PATTERN" image
    int HotTexture = -1;   // "HOTPATTERN" image
    bool PaintMark = false;   // code 9
    bool BGChanged = true;   // the cache must be rendered again
    bool CacheIncomplete = true;   // part of the cache was not visible when composed (code 22)
    bool Focused = false;
    bool MouseAbove = false;
    bool ComposingChildren = false;   // the owner paints its windowless children over its cache
    TacControlKind ControlKind = TacControlKind::Unknown;   // written by the owner's constructor

    classes::TControl* OwnerControl() const { return FOwnerControl; }
    // For skin states owned by something else than their control (a grid adapter's items).
    void SetOwnerControl(classes::TControl* value) { FOwnerControl = value; }
    classes::TPersistent* OwnerObject() const { return FOwnerObject; }
    classes::TControl* AnimChild() const;   // the child being animated (code 15); nullptr once freed
    void SetAnimChild(classes::TControl* value);

    // Set by a form's skin provider that owns this state: its form and its message handler.
    classes::TCustomForm* ProviderForm = nullptr;
    std::function<void(classes::TMessage&)> ProviderMessage;

    classes::TBitmap* CacheBmp() const { return FCacheBmp.get(); }
    // Makes the cache when missing: 24-bit, device-independent, the owner control's size.
    void InitCacheBmp();
    void FreeCacheBmp();

    // ---- Operations ----
    void BeginUpdate() { Updating = true; }
    void EndUpdate() { Updating = false; }
    void SetUpdating(bool value) { Updating = value; }
    // True without a manager or a loaded skin, while Updating, without a parent, or while the parent updates.
    bool IsUpdating() const;
    // Owner alive, manager alive (and, with checkLoaded, its skin loaded), SkinIndex valid for that manager.
    bool Skinned(bool checkLoaded = false) const;
    void UpdateIndexes();
    void ApplyDefaultSection();
    void Loaded();   // from the owner's Loaded
    bool IsHot() const;
    void Invalidate();   // BGChanged, then the owner's Invalidate when it can paint
    // Does the background depend on what lies under the control?
    bool NeedsRepaintOnMove() const;
    // The section's Color and FontColor onto the owner, unless CustomColor / CustomFont.
    void ApplySectionColors();

private:
    void TellOwner(int code, TsSkinManager* manager);   // SetSkinManager / SetSkinSection step
    int ResolveIndex(TsSkinManager* manager);

    classes::TPersistent* FOwnerObject = nullptr;
    classes::TControl* FOwnerControl = nullptr;
    std::string FSkinSection;
    bool FCustomFont = false;
    bool FCustomColor = false;
    std::unique_ptr<classes::TComponentWatch> FSkinManager;   // the own manager, forgotten when freed
    std::unique_ptr<classes::TComponentWatch> FAnimChild;
    std::unique_ptr<classes::TBitmap> FCacheBmp;
};

// ---- Messages ----
// The skin state's answers to SM_SKINCMD. True for the codes that answer (7, 10, 11, 19 with a section, 21).
bool CommonMessage(classes::TMessage& message, TsCommonData* data);
// SM_SKINCMD through CommonMessage, and the moves, sizes, focus, mouse and enabled changes every skinned
// control shares. True when the message was handled (the owner then skips its own handling).
bool CommonWndProc(classes::TMessage& message, TsCommonData* data);

// The parent's cache: code 5 to the owner's parent with a slot of its own; the empty record when nobody answers.
TsParentCacheInfo GetParentCache(TsCommonData* data);
// The parent's answer to code 19; false without a parent window.
bool ParentBackgroundVaries(TsCommonData* data);

// Copies the cache (from source point) to rect of dc with the bounds of opaque or windowless visible
// children that overlap rect (moved by offset) clipped out; paintFrame refreshes the frame corners first.
void BlitCacheExcludingChildren(classes::TControl* control, TsCommonData* data, classes::TPoint source,
    classes::TPoint offset, bool paintFrame, gdi::HDC dc, const classes::TRect& rect);

// Set while a number edit creates its calculator pop-up.
inline bool CalcPopupCreating = false;

}
