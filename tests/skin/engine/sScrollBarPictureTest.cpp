// A sheet of scroll bars, natively and in each of our four skins (rows), normal, hot, pressed and disabled
// (columns): a horizontal bar's thumb and a vertical bar's lower arrow in each state, written as PNG.
#include "support/ScrollBarKit.h"

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/PngCodec.h"

#include <filesystem>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::sbtest;

namespace {

enum State { Normal, Hot, Pressed, Disabled };
constexpr int States = 4;
constexpr int BarCellWidth = 236, BarCellHeight = 142;

using Shot = std::unique_ptr<gdi::Bitmap, void (*)(gdi::Bitmap*)>;

Shot NewShot(gdi::Bitmap* b) {
    return Shot {b, [](gdi::Bitmap* x) {
                     if (x) gdi::DeleteObject(x);
                 }};
}

class ScrollBarPicture : public ScrollBarTestBase {
protected:
    // The bar with a margin of its background, as on the screen.
    Shot ShotOf(const TControl* bar) {
        const TPoint p = bar->ClientToScreen(TPoint {-4, -4});
        const gdi::RECT r {p.x, p.y, p.x + bar->Width() + 8, p.y + bar->Height() + 8};
        return NewShot(Display->Screenshot(&r));
    }

    // The centre of a part, where the mouse hovers and presses.
    static TPoint CentreOf(TsScrollBar* bar, TsScrollPart part) {
        const TRect t = bar->PartRect(part);
        return TPoint {(t.left + t.right) / 2, (t.top + t.bottom) / 2};
    }

    Shot ShotInState(TsScrollBar* bar, TsScrollPart part, State state, TControl* away) {
        const TPoint c = CentreOf(bar, part);
        MoveTo(away, 2, 2);
        switch (state) {
        case Normal:
            return ShotOf(bar);
        case Hot:
            MoveTo(bar, c.x, c.y);
            return ShotOf(bar);
        case Pressed: {
            PressAt(bar, c.x, c.y);
            Shot s = ShotOf(bar);
            ReleaseAt(bar, c.x, c.y);
            MoveTo(away, 2, 2);
            return s;
        }
        case Disabled: {
            bar->SetEnabled(false);
            Pump();
            Shot s = ShotOf(bar);
            bar->SetEnabled(true);
            Pump();
            return s;
        }
        }
        return NewShot(nullptr);
    }
};

void Paste(gdi::Bitmap& sheet, const gdi::Bitmap& piece, int x, int y) {
    for (int j = 0; j < piece.Height(); ++j)
        for (int i = 0; i < piece.Width(); ++i)
            sheet.SetPixelAt(x + i, y + j, piece.PixelAt(i, j));
}

TEST_F(ScrollBarPicture, SheetOfStatesInEachSkin) {
    Shot sheet = NewShot(gdi::Bitmap::Create(States * BarCellWidth, 5 * BarCellHeight, gdi::PixelFormat::pf32bit));
    sheet->Fill(gdi::RGB(255, 255, 255));
    for (int row = 0; row < 5; ++row) {
        TForm* form = NewForm(260, 170);
        auto* back = Create<ctltest::TTestPanel>(form);
        back->SetBounds(0, 0, 260, 170);
        back->SetParent(form);
        if (row > 0) LoadSkin(row - 1);
        back->SkinData->ApplyDefaultSection();
        TsScrollBar* h = NewBar(back, sbHorizontal, TRect {12, 12, 212, 28});
        TsScrollBar* v = NewBar(back, sbVertical, TRect {12, 36, 28, 166});
        for (TsScrollBar* bar : {h, v}) {
            bar->SetPageSize(20);
            bar->SetPosition(40);
        }
        back->Invalidate();
        Pump();
        ASSERT_EQ(h->SkinActive(), row > 0);
        gdi::COLORREF thumb[States] {};
        for (int s = 0; s < States; ++s) {
            // The horizontal bar shows the thumb's states, the vertical one the second arrow's.
            Shot hs = ShotInState(h, TsScrollPart::Thumb, State(s), back);
            Shot vs = ShotInState(v, TsScrollPart::Arrow2, State(s), back);
            ASSERT_TRUE(hs && vs);
            Paste(*sheet, *hs, s * BarCellWidth + 4, row * BarCellHeight + 4);
            Paste(*sheet, *vs, s * BarCellWidth + 214, row * BarCellHeight + 4);
            const TPoint c = CentreOf(h, TsScrollPart::Thumb);
            thumb[s] = hs->PixelAt(c.x + 4, c.y + 4 - 3);
        }
        if (row > 0) {
            EXPECT_NE(thumb[Pressed], thumb[Normal]) << row;
            EXPECT_NE(thumb[Disabled], thumb[Normal]) << row;
        }
        delete form;
        Pump();
    }
    const std::string dir = std::string(KORVEX_PICTURE_DIR);
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(gdi::WritePngFile(*sheet, dir + "/ScrollBars.png"));
}

}
