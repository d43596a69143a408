// Icons at the window layer: the picture source, DrawIconEx and the program's icons.
#include "platform/user/Icons.h"

#include "platform/gdi/BitBlt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/GdiObject.h"

#include <mutex>

namespace korvex::user {

namespace {

struct IconState {
    std::mutex Lock;
    IconPictureSource Source;
    HICON ProgramSmall = nullptr;
    HICON ProgramLarge = nullptr;
};

IconState& State() {
    static auto* state = new IconState();   // icons freed during static destruction may still ask
    return *state;
}

}   // namespace

IconPictureSource SetIconPictureSource(IconPictureSource source) {
    std::lock_guard guard(State().Lock);
    std::swap(State().Source, source);
    return source;
}

const gdi::Bitmap* IconPicture(HICON icon) {
    if (icon == nullptr) return nullptr;
    IconPictureSource source;
    {
        std::lock_guard guard(State().Lock);
        source = State().Source;
    }
    return source ? source(icon) : nullptr;
}

bool DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH, UINT flags) {
    const gdi::Bitmap* picture = IconPicture(icon);
    if (picture == nullptr || picture->Empty() || (flags & DI_NORMAL) == 0) return false;
    if (cx == 0) cx = picture->Width();
    if (cy == 0) cy = picture->Height();
    // The picture is the icon's own: selected only for the blend, never changed.
    const gdi::HDC source = gdi::CreateCompatibleDC(nullptr);
    if (source == nullptr) return false;
    const gdi::HBITMAP old = gdi::SelectObject(source, const_cast<gdi::Bitmap*>(picture));
    gdi::BLENDFUNCTION blend;
    blend.BlendOp = gdi::AC_SRC_OVER;
    blend.SourceConstantAlpha = 255;
    blend.AlphaFormat = gdi::AC_SRC_ALPHA;
    const bool drawn = old != nullptr
        && gdi::AlphaBlend(dc, x, y, cx, cy, source, 0, 0, picture->Width(), picture->Height(), blend);
    if (old != nullptr) gdi::SelectObject(source, old);
    gdi::DeleteDC(source);
    return drawn;
}

void SetProgramIcons(HICON small, HICON large) {
    std::lock_guard guard(State().Lock);
    State().ProgramSmall = small;
    State().ProgramLarge = large;
}

HICON ProgramIcon(WPARAM which) {
    std::lock_guard guard(State().Lock);
    return which == ICON_SMALL ? State().ProgramSmall : State().ProgramLarge;
}

}
