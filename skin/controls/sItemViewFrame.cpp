// What the skinned tree and list views share.
#include "skin/controls/sItemViewFrame.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TWinControl.h"
#include "platform/gdi/BitBlt.h"
#include "platform/user/MessageIds.h"
#include "skin/controls/sEditFrame.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sControlPaint.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sSkinManager.h"

namespace korvex::skin {

using namespace korvex::classes;

TacStep ItemViewSkinPrologue(TMessage& m, TWinControl* control, TsCommonData* data, const TacItemViewHooks& hooks,
    const std::function<void(TMessage&)>& base) {
    if (m.Msg == SM_SKINCMD && m.LParam == LPARAM(data->SkinManager())) {
        const int code = SkinCommandCode(m);
        if (code == SMC_NEWSKIN || code == SMC_REMOVESKIN || code == SMC_REFRESH) {
            CommonWndProc(m, data);
            if (ControlDestroying(control)) return TacStep::Done;
            const std::function<void()>& hook =
                code == SMC_NEWSKIN ? hooks.NewSkin : code == SMC_REMOVESKIN ? hooks.RemoveSkin : hooks.Refresh;
            if (hook) hook();
            return TacStep::Done;
        }
    }
    return SkinCommandRest(m, data, hooks.ParentUpdated, nullptr, base);
}

bool BarsCorner(const TControl* control, TsScrollBar* vertBar, TsScrollBar* horzBar, TRect& square) {
    if (vertBar == nullptr || horzBar == nullptr || !vertBar->Visible() || !horzBar->Visible()) return false;
    const int x = vertBar->Left() - control->Left();
    const int y = horzBar->Top() - control->Top();
    square = TRect {x, y, x + vertBar->Width(), y + horzBar->Height()};
    return true;
}

TacStep ItemViewFrameMessage(TMessage& m, TWinControl* control, const std::function<void(gdi::HDC)>& paintFrame) {
    switch (m.Msg) {
    case user::WM_NCPAINT:
        paintFrame(nullptr);
        return TacStep::Done;
    case user::WM_PRINT:
        control->Perform(user::WM_PAINT, m.WParam, m.LParam);
        paintFrame(reinterpret_cast<gdi::HDC>(m.WParam));
        return TacStep::Done;
    default:
        return TacStep::Continue;
    }
}

void PaintItemViewFrame(TWinControl* control, TsCommonData* data, int b, TsScrollBar* vertBar, TsScrollBar* horzBar,
    gdi::HDC given, const std::function<void()>& prepare, bool squareAtCacheCorner) {
    if (!control->HandleAllocated()) return;
    TacFrameDc dc(control->WindowHandle(), given);
    if (dc.Dc() == nullptr) return;
    if (data->BGChanged && prepare) prepare();
    TBitmap* cache = data->CacheBmp();
    if (cache == nullptr) return;
    PaintFrameAllSides(data, 0);
    const int w = control->Width();
    const int h = control->Height();
    const int cw = cache->Width();
    const int ch = cache->Height();
    gdi::HDC src = cache->Canvas()->Handle();
    gdi::BitBlt(dc.Dc(), 0, 0, w, b, src, 0, 0, gdi::SRCCOPY);   // top
    gdi::BitBlt(dc.Dc(), 0, b, b, ch - b, src, 0, b, gdi::SRCCOPY);   // left
    gdi::BitBlt(dc.Dc(), b, h - b, w, b, src, b, h - b, gdi::SRCCOPY);   // bottom
    gdi::BitBlt(dc.Dc(), cw - b, b, b, ch - 2 * b, src, cw - b, b, gdi::SRCCOPY);   // right
    TRect square;
    if (!BarsCorner(control, vertBar, horzBar, square)) return;
    gdi::BitBlt(dc.Dc(), square.left, square.top, square.Width(), square.Height(), src, square.left, square.top,
        gdi::SRCCOPY);
    if (squareAtCacheCorner) {
        const int x = cw - square.Width(), y = ch - square.Height();
        gdi::BitBlt(dc.Dc(), x, y, square.Width(), square.Height(), src, x, y, gdi::SRCCOPY);
    }
}

void KeepItemViewColors(TControl* control, TsCommonData* data, TacWindowColors windowColors) {
    if (windowColors == TacWindowColors::Yes) {
        if (!data->CustomColor() && control->Color() != clWindow) control->SetColor(clWindow);
        if (!data->CustomFont() && control->Font()->Color() != clWindowText) control->Font()->SetColor(clWindowText);
        return;
    }
    KeepEditColors(control, data, false);
}

}
