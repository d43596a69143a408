// THeaderControl, its sections and their collection, over the native header.
#include "platform/classes/THeaderControl.h"

#include "platform/classes/OwnerDrawItems.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TControlCanvas.h"
#include "platform/classes/TImageList.h"
#include "platform/user/Messages.h"
#include "platform/user/controls/CommonControls.h"
#include "platform/user/controls/Header.h"

#include <algorithm>

namespace korvex::classes {

using namespace user;

// ---------------------------------------------------------------------------------------------------------
// THeaderSection

THeaderSection::THeaderSection(TCollection* collection)
    : TCollectionItem(collection) {
}

TClass THeaderSection::StaticClass() {
    static const TClassInfo info = MakeClass<THeaderSection, TCollectionItem>("THeaderSection", [](auto& p) {
        p.Enum("Alignment", &THeaderSection::Alignment, &THeaderSection::SetAlignment, AlignmentIdents, taLeftJustify);
        p.Bool("AllowClick", &THeaderSection::AllowClick, &THeaderSection::SetAllowClick, true);
        p.Int("ImageIndex", &THeaderSection::ImageIndex, &THeaderSection::SetImageIndex, -1);
        p.Int("MaxWidth", &THeaderSection::MaxWidth, &THeaderSection::SetMaxWidth, 10000);
        p.Int("MinWidth", &THeaderSection::MinWidth, &THeaderSection::SetMinWidth, 0);
        p.Enum("Style", &THeaderSection::Style, &THeaderSection::SetStyle, HeaderSectionStyleIdents, hsText);
        p.String("Text", &THeaderSection::Text, &THeaderSection::SetText);
        p.Int("Width", &THeaderSection::Width, &THeaderSection::SetWidth, 50);
    });
    return &info;
}

void THeaderSection::Assign(const TPersistent* source) {
    if (const auto* section = dynamic_cast<const THeaderSection*>(source)) {
        FText = section->FText;
        FWidth = section->FWidth;
        FMinWidth = section->FMinWidth;
        FMaxWidth = section->FMaxWidth;
        FAlignment = section->FAlignment;
        FStyle = section->FStyle;
        FAllowClick = section->FAllowClick;
        FImageIndex = section->FImageIndex;
        Changed(true);
        return;
    }
    TCollectionItem::Assign(source);
}

void THeaderSection::SetText(const std::string& value) {
    if (value == FText) return;
    FText = value;
    Changed(false);
}

void THeaderSection::SetWidth(int value) {
    value = std::clamp(value, FMinWidth, std::max(FMinWidth, FMaxWidth));
    if (value == FWidth) return;
    FWidth = value;
    Changed(true);
}

void THeaderSection::SetMinWidth(int value) {
    FMinWidth = std::max(0, value);
    if (FWidth < FMinWidth) SetWidth(FMinWidth);
}

void THeaderSection::SetMaxWidth(int value) {
    FMaxWidth = std::max(FMinWidth, value);
    if (FWidth > FMaxWidth) SetWidth(FMaxWidth);
}

void THeaderSection::SetAlignment(TAlignment value) {
    if (value == FAlignment) return;
    FAlignment = value;
    Changed(false);
}

void THeaderSection::SetStyle(THeaderSectionStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    Changed(false);
}

void THeaderSection::SetImageIndex(int value) {
    if (value == FImageIndex) return;
    FImageIndex = value;
    Changed(false);
}

int THeaderSection::Left() const {
    int left = 0;
    const TCollection* sections = Collection();
    for (int i = 0; sections != nullptr && i < Index(); ++i)
        if (const auto* section = dynamic_cast<const THeaderSection*>(sections->Items(i))) left += section->Width();
    return left;
}

// ---------------------------------------------------------------------------------------------------------
// THeaderSections

THeaderSections::THeaderSections(THeaderControl* header)
    : TControlCollection(header) {
}

TClass THeaderSections::StaticClass() {
    static const TClassInfo info = MakeClass<THeaderSections, TCollection>("THeaderSections");
    return &info;
}

void THeaderSections::Update(TCollectionItem* item) {
    if (item != nullptr)
        Keeper()->UpdateSection(item->Index());
    else
        Keeper()->UpdateSections();
}

// ---------------------------------------------------------------------------------------------------------
// THeaderControl

THeaderControl::THeaderControl(TComponent* owner)
    : TCommonControl(owner)
    , FSections(std::make_unique<THeaderSections>(this))
    , FImageLink(std::make_unique<TChangeLink>()) {
    RegisterCommonControlClasses();
    FImageLink->OnChange = [this](TObject*) { Invalidate(); };
    FControlStyle = TControlStyle {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
    SetBounds(Left(), Top(), 170, 17);
    SetAlign(alTop);
}

THeaderControl::~THeaderControl() {
    if (FImages != nullptr) FImages->UnRegisterChanges(FImageLink.get());
}

TClass THeaderControl::StaticClass() {
    static const TClassInfo info = MakeClass<THeaderControl, TCommonControl>("THeaderControl", [](auto& p) {
        p.Enum("Align", &THeaderControl::Align, &THeaderControl::SetAlign, AlignIdents, alTop);
        p.Bool("HotTrack", &THeaderControl::HotTrack, &THeaderControl::SetHotTrack, false);
        p.Component("Images", &THeaderControl::Images, &THeaderControl::SetImages);
        p.Object("Sections", &THeaderControl::Sections, &THeaderControl::SetSections);
        p.Event("OnDrawSection", &THeaderControl::OnDrawSection);
        p.Event("OnSectionClick", &THeaderControl::OnSectionClick);
        p.Event("OnSectionResize", &THeaderControl::OnSectionResize);
        p.Event("OnSectionTrack", &THeaderControl::OnSectionTrack);
    });
    return &info;
}

void THeaderControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_HEADER);
    params.Style |= HDS_BUTTONS | HDS_FULLDRAG;
    if (FHotTrack) params.Style |= HDS_HOTTRACK;
}

void THeaderControl::CreateWnd() {
    TWinControl::CreateWnd();
    if (FImages != nullptr) SendMessage(WindowHandle(), HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages->Handle()));
    UpdateSections();
}

void THeaderControl::SetHotTrack(bool value) {
    if (value == FHotTrack) return;
    FHotTrack = value;
    RecreateWnd();
}

void THeaderControl::SetImages(TCustomImageList* value) {
    if (value == FImages) return;
    LinkImageList(FImages, value, FImageLink.get(), this);
    if (HandleAllocated())
        SendMessage(WindowHandle(), HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
}

void THeaderControl::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    // The list is being freed: it forgets the link itself, so only the pointer and the native handle go.
    if (operation == opRemove && component == FImages) {
        FImages = nullptr;
        if (HandleAllocated()) SendMessage(WindowHandle(), HDM_SETIMAGELIST, 0, 0);
    }
}

void THeaderControl::UpdateSections() {
    if (!HandleAllocated()) return;
    base::ValueRollback updating(FUpdating, true);
    while (SendMessage(WindowHandle(), HDM_GETITEMCOUNT, 0, 0) > 0)
        SendMessage(WindowHandle(), HDM_DELETEITEM, 0, 0);
    for (int i = 0; i < FSections->Count(); ++i) {
        HDITEM item;
        item.mask = HDI_WIDTH;
        SendMessage(WindowHandle(), HDM_INSERTITEM, WPARAM(i), reinterpret_cast<LPARAM>(&item));
        UpdateSection(i);
    }
}

void THeaderControl::UpdateSection(int index) {
    if (!HandleAllocated() || index < 0 || index >= FSections->Count()) return;
    const THeaderSection* section = FSections->Items(index);
    if (section == nullptr) return;
    base::ValueRollback updating(FUpdating, true);
    HDITEM item;
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | HDI_IMAGE;
    item.pszText = const_cast<char*>(section->Text().c_str());
    item.cxy = section->Width();
    item.fmt = int(section->Alignment()) | HDF_STRING;
    if (section->Style() == hsOwnerDraw) item.fmt |= HDF_OWNERDRAW;
    if (section->ImageIndex() >= 0) item.fmt |= HDF_IMAGE;
    item.iImage = section->ImageIndex();
    SendMessage(WindowHandle(), HDM_SETITEM, WPARAM(index), reinterpret_cast<LPARAM>(&item));
}

void THeaderControl::SectionClick(THeaderSection* section) {
    if (OnSectionClick) OnSectionClick(this, section);
}

void THeaderControl::SectionResize(THeaderSection* section) {
    if (OnSectionResize) OnSectionResize(this, section);
}

void THeaderControl::SectionTrack(THeaderSection* section, int& width, TSectionTrackState state) {
    if (OnSectionTrack) OnSectionTrack(this, section, width, state);
}

void THeaderControl::DrawSection(THeaderSection* section, const TRect& rect, bool pressed) {
    if (OnDrawSection)
        OnDrawSection(this, section, rect, pressed);
    else
        FCanvas->FillRect(rect);
}

void THeaderControl::CNNotify(TMessage& m) {
    auto* nm = reinterpret_cast<NMHEADER*>(m.LParam);
    if (nm == nullptr || nm->iItem < 0 || nm->iItem >= FSections->Count()) return;
    THeaderSection* section = FSections->Items(nm->iItem);
    if (section == nullptr) return;
    switch (nm->hdr.code) {
    case HDN_ITEMCLICK:
        if (section->AllowClick()) SectionClick(section);
        return;
    case HDN_BEGINTRACK:
    case HDN_TRACK:
    case HDN_ENDTRACK: {
        if (nm->pitem == nullptr) return;
        // The width the user drags to is kept within the section's limits; the handler may change it too.
        int width = std::clamp(nm->pitem->cxy, section->MinWidth(), std::max(section->MinWidth(), section->MaxWidth()));
        const TSectionTrackState state = nm->hdr.code == HDN_BEGINTRACK ? tsTrackBegin
            : nm->hdr.code == HDN_TRACK                                 ? tsTrackMove
                                                                        : tsTrackEnd;
        SectionTrack(section, width, state);
        nm->pitem->cxy = std::max(0, width);
        return;
    }
    case HDN_ITEMCHANGING:
        // A width from a drag is clamped before the header takes it.
        if (!FUpdating && nm->pitem != nullptr && (nm->pitem->mask & HDI_WIDTH))
            nm->pitem->cxy = std::clamp(nm->pitem->cxy, section->MinWidth(), std::max(section->MinWidth(), section->MaxWidth()));
        return;
    case HDN_ITEMCHANGED:
        if (!FUpdating && nm->pitem != nullptr && (nm->pitem->mask & HDI_WIDTH) && nm->pitem->cxy != section->FWidth) {
            section->FWidth = nm->pitem->cxy;
            SectionResize(section);
        }
        return;
    default:
        return;
    }
}

void THeaderControl::CNDrawItem(TMessage& m) {
    auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    if (di == nullptr || int(di->itemID) >= FSections->Count() || FSections->Items(int(di->itemID)) == nullptr) return;
    DrawOwnerDrawnPart(m, *FCanvas, Font(), Color(),
        [this](int index, const TRect& rect, bool pressed) { DrawSection(FSections->Items(index), rect, pressed); });
}


}
