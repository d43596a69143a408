// THeaderControl over the native header: a collection of sections that the user clicks and sizes.
#pragma once

#include "platform/classes/Forward.h"
#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TCollection.h"
#include "platform/classes/TCommonControl.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace korvex::classes {

class THeaderControl;

enum THeaderSectionStyle { hsText, hsOwnerDraw };
inline constexpr std::string_view HeaderSectionStyleIdents[] = {"hsText", "hsOwnerDraw"};
enum TSectionTrackState { tsTrackBegin, tsTrackMove, tsTrackEnd };

// One section: its text, width (kept within MinWidth and MaxWidth), alignment, image and style.
class THeaderSection : public TCollectionItem {
public:
    explicit THeaderSection(TCollection* collection);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
    void Assign(const TPersistent* source) override;

    const std::string& Text() const { return FText; }
    void SetText(const std::string& value);
    int Width() const { return FWidth; }
    void SetWidth(int value);   // clamped to MinWidth .. MaxWidth
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int value);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    THeaderSectionStyle Style() const { return FStyle; }
    void SetStyle(THeaderSectionStyle value);
    bool AllowClick() const { return FAllowClick; }
    void SetAllowClick(bool value) { FAllowClick = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);

    int Left() const;   // the sum of the widths before it
    int Right() const { return Left() + FWidth; }

private:
    friend class THeaderControl;
    std::string FText;
    int FWidth = 50;
    int FMinWidth = 0;
    int FMaxWidth = 10000;
    TAlignment FAlignment = taLeftJustify;
    THeaderSectionStyle FStyle = hsText;
    bool FAllowClick = true;
    int FImageIndex = -1;
};

class THeaderSections : public TControlCollection<THeaderSection, THeaderControl> {
public:
    explicit THeaderSections(THeaderControl* header);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

protected:
    void Update(TCollectionItem* item) override;
};

using TSectionNotifyEvent = std::function<void(THeaderControl* headerControl, THeaderSection* section)>;
using TSectionTrackEvent = std::function<void(
    THeaderControl* headerControl, THeaderSection* section, int width, TSectionTrackState state)>;
using TDrawSectionEvent = std::function<void(
    THeaderControl* headerControl, THeaderSection* section, const TRect& rect, bool pressed)>;

// Aligned at its parent's top by default. Dragging a divider reports OnSectionTrack at every step (the width
// there may be changed) and OnSectionResize at the end; a click reports OnSectionClick.
class THeaderControl : public TCommonControl {
public:
    explicit THeaderControl(TComponent* owner);
    ~THeaderControl() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    THeaderSections* Sections() const { return FSections.get(); }
    void SetSections(const THeaderSections* value) { FSections->Assign(value); }
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);

    TSectionNotifyEvent OnSectionClick;
    TSectionNotifyEvent OnSectionResize;
    TSectionTrackEvent OnSectionTrack;
    TDrawSectionEvent OnDrawSection;

    void UpdateSections();   // hands every section to the native header
    void UpdateSection(int index);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void CNNotify(TMessage& m) override;
    void CNDrawItem(TMessage& m) override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual void SectionClick(THeaderSection* section);
    virtual void SectionResize(THeaderSection* section);
    virtual void SectionTrack(THeaderSection* section, int& width, TSectionTrackState state);
    virtual void DrawSection(THeaderSection* section, const TRect& rect, bool pressed);

private:
    std::unique_ptr<THeaderSections> FSections;
    std::unique_ptr<TChangeLink> FImageLink;
    TCustomImageList* FImages = nullptr;
    bool FHotTrack = false;
    bool FUpdating = false;   // the native header is being filled: its change reports are ours
};

}
