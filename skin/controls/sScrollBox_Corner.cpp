// TsScrollBoxCorner: the square between a scroll box's two skinned bars, painted from the box's cache.
#include "skin/controls/sScrollBox.h"

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/BitBlt.h"
#include "platform/user/MessageIds.h"
#include "skin/engine/sCommonData.h"

namespace korvex::skin {

using namespace korvex::classes;

TsScrollBoxCorner::TsScrollBoxCorner(TComponent* owner, TsScrollBox* box) : TCustomControl(owner), FBox(box) {
    SetControlStyle(ControlStyle() + TControlStyle {csOpaque});
    SetTabStop(false);
}

void TsScrollBoxCorner::Paint() {
    TCanvas* canvas = Canvas();
    TBitmap* cache = FBox->SkinData()->CacheBmp();
    if (cache == nullptr) {
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(TRect {0, 0, Width(), Height()});
        return;
    }
    // The same square of the box's window in its cache: the corner is laid where the bars meet.
    const int x = Left() - FBox->Left(), y = Top() - FBox->Top();
    gdi::BitBlt(canvas->Handle(), 0, 0, Width(), Height(), cache->Canvas()->Handle(), x, y, gdi::SRCCOPY);
}

void TsScrollBoxCorner::WndProc(TMessage& m) {
    if (m.Msg == user::WM_ERASEBKGND) {   // Paint covers all of it
        m.Result = 1;
        return;
    }
    TCustomControl::WndProc(m);
}

}
