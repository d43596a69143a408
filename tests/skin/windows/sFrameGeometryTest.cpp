// Tests for the frame geometry alone: measured from a plain form through its own small source, without a
// provider: border widths, caption height, the icon's and the caption buttons' places, and the frame areas a
// point is on, for each border style.
#include "support/WindowsKit.h"

#include "platform/classes/TApplication.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "skin/windows/sFrameGeometry.h"

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

struct FormSource : TsFrameSource {
    TCustomForm* Form = nullptr;
    bool ShowsIcon = true;
    TSize IconSize {};
    TCustomForm* FramedForm() const override { return Form; }
    bool FrameShowsIcon() const override { return ShowsIcon; }
    TSize FrameIconSize() const override { return IconSize; }
};

class FrameGeometry : public FormsTest {
protected:
    TForm* PlainForm(TFormBorderStyle style, int width = 320, int height = 200) {
        TForm* form = Create<TForm>(Application);
        form->SetBorderStyle(style);
        form->SetBounds(40, 30, width, height);
        form->Show();
        Pump();
        Source.Form = form;
        return form;
    }
    static int Metric(int index) { return index < 0 ? 0 : user::GetSystemMetrics(index); }

    FormSource Source;
    TsFrameGeometry Geometry {Source};
};

struct StyleRow {
    TFormBorderStyle Style;
    int Caption;   // the metric of the caption's height, -1 for none
    int FrameX;   // the metric of the frame's width, -1 for none
    int FrameY;
    bool Icon;
};

const StyleRow StyleRows[] {
    {bsNone, -1, -1, -1, false},
    {bsSingle, user::SM_CYCAPTION, user::SM_CXDLGFRAME, user::SM_CYDLGFRAME, true},
    {bsSizeable, user::SM_CYCAPTION, user::SM_CXFRAME, user::SM_CYFRAME, true},
    {bsDialog, user::SM_CYCAPTION, user::SM_CXDLGFRAME, user::SM_CYDLGFRAME, false},
    {bsToolWindow, user::SM_CYSMCAPTION, user::SM_CXDLGFRAME, user::SM_CYDLGFRAME, false},
    {bsSizeToolWin, user::SM_CYSMCAPTION, user::SM_CXFRAME, user::SM_CYFRAME, false},
};

TEST_F(FrameGeometry, EachBorderStyleHasItsCaptionFrameAndIcon) {
    for (const StyleRow& row : StyleRows) {
        SCOPED_TRACE(int(row.Style));
        TForm* form = PlainForm(row.Style);
        EXPECT_EQ(Geometry.CaptionHeight(), Metric(row.Caption));
        EXPECT_EQ(Geometry.SysBorderWidth(), Metric(row.FrameX));
        EXPECT_EQ(Geometry.SysBorderHeight(), Metric(row.FrameY));
        EXPECT_EQ(Geometry.BorderHeight(), Metric(row.FrameY) + form->BorderWidth());
        EXPECT_EQ(Geometry.HasBorder(), row.Style != bsNone);
        EXPECT_EQ(Geometry.IconVisible(), row.Icon);
        EXPECT_EQ(Geometry.FormWidth(), form->Width());
        delete form;
    }
}

TEST_F(FrameGeometry, WithoutAFormEverythingIsNothing) {
    EXPECT_EQ(Geometry.CaptionHeight(), 0);
    EXPECT_EQ(Geometry.SysBorderWidth(), 0);
    EXPECT_EQ(Geometry.FormWidth(), 0);
    EXPECT_EQ(Geometry.HeaderHeight(), 0);
    EXPECT_FALSE(Geometry.IconVisible());
    EXPECT_FALSE(Geometry.HasBorder());
    EXPECT_FALSE(Geometry.Iconic());
    EXPECT_FALSE(Geometry.Maximized());
    EXPECT_FALSE(Geometry.MenuPresent());
    EXPECT_FALSE(Geometry.OutsideInner(TPoint {0, 0}));
}

TEST_F(FrameGeometry, TheHeaderIsTheWindowLessTheClientAndTheBottomFrame) {
    for (const StyleRow& row : StyleRows) {
        SCOPED_TRACE(int(row.Style));
        TForm* form = PlainForm(row.Style);
        user::RECT window {};
        user::RECT client {};
        user::GetWindowRect(form->WindowHandle(), &window);
        user::GetClientRect(form->WindowHandle(), &client);
        const int frame = window.Height() - client.Height();
        EXPECT_EQ(Geometry.HeaderHeight(), std::max(frame - Metric(row.FrameY), 0));
        EXPECT_EQ(Geometry.OffsetX(), (window.Width() - client.Width()) / 2);
        EXPECT_EQ(Geometry.OffsetY(), row.Style == bsNone ? frame : frame - Metric(row.FrameY) - form->BorderWidth());
        EXPECT_EQ(Geometry.FormLeftTop(), (TPoint {window.left, window.top}));
        EXPECT_EQ(Geometry.CursorToPoint(TPoint {window.left + 7, window.top + 9}), (TPoint {7, 9}));
        delete form;
    }
}

// The title icon: its own size when it has one, else 8, 16 or 32 by the caption, centred in the title band.
TEST_F(FrameGeometry, TheIconFitsTheCaptionUnlessItHasItsOwnSize) {
    struct Row {
        TFormBorderStyle Style;
        bool Shows;
        TSize Own;
        int Width, Height;
    } rows[] {
        {bsSizeable, true, {0, 0}, 16, 16},
        {bsSingle, true, {0, 0}, 16, 16},
        {bsSizeable, true, {24, 20}, 24, 20},
        {bsSizeable, false, {0, 0}, 0, 0},
        {bsDialog, true, {24, 20}, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(int(row.Style));
        TForm* form = PlainForm(row.Style);
        Source.ShowsIcon = row.Shows;
        Source.IconSize = row.Own;
        EXPECT_EQ(Geometry.IconWidth(), row.Width);
        EXPECT_EQ(Geometry.IconHeight(), row.Height);
        const TRect icon = Geometry.IconRect();
        const int top = (Geometry.CaptionHeight() + Geometry.SysBorderHeight() - row.Height) / 2;
        const int left = Geometry.SysBorderWidth();
        EXPECT_EQ(icon, (TRect {left, top, left + row.Width, top + row.Height}));
        delete form;
    }
}

// The buttons lie right to left from the right frame edge, without gaps, centred on the title band (two
// pixels lower when smaller than 16).
TEST_F(FrameGeometry, TheButtonsLieRightToLeftFromTheFrame) {
    struct Row {
        TFormBorderStyle Style;
        int FormWidth;
        std::vector<int> Widths;
        int Height;
    } rows[] {
        {bsSizeable, 320, {21, 21, 21}, 21},
        {bsSingle, 250, {25, 19}, 18},
        {bsToolWindow, 200, {13}, 13},
        {bsSizeable, 320, {}, 21},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.FormWidth);
        TForm* form = PlainForm(row.Style, row.FormWidth);
        const int centred = (Geometry.CaptionHeight() - row.Height + Geometry.SysBorderHeight()) / 2;
        const int top = centred + (row.Height < 16 ? 2 : 0);
        EXPECT_EQ(Geometry.ButtonsTop(row.Height), top);
        const std::vector<TRect> rects = Geometry.ButtonRects(row.Widths, row.Height);
        ASSERT_EQ(rects.size(), row.Widths.size());
        int right = row.FormWidth - Geometry.SysBorderWidth();
        for (std::size_t i = 0; i < rects.size(); ++i) {
            EXPECT_EQ(rects[i], (TRect {right - row.Widths[i], top, right, top + row.Height}));
            right -= row.Widths[i];
        }
        delete form;
    }
}

TEST_F(FrameGeometry, HitTestingTheFrameAreas) {
    TForm* form = PlainForm(bsSizeable, 320, 200);
    const int frame = Geometry.SysBorderWidth();
    const int buttonHeight = 18;
    const int bandTop = (Geometry.BorderHeight() + Geometry.CaptionHeight() - buttonHeight) / 2;
    struct Row {
        TPoint P;
        bool Band, Icon, Outside;
    } rows[] {
        {{100, bandTop}, true, false, false},
        {{100, bandTop + buttonHeight}, true, false, false},
        {{100, bandTop - 1}, false, false, bandTop - 1 < 2},   // above the band: on the outer frame here
        {{100, bandTop + buttonHeight + 1}, false, false, false},
        {{frame, bandTop + 2}, true, true, false},
        {{frame + 16, bandTop + 2}, true, true, false},
        {{frame + 17, bandTop + 2}, true, false, false},
        {{1, 100}, false, false, true},
        {{2, 100}, false, false, false},
        {{315, 100}, false, false, false},
        {{316, 100}, false, false, true},
        {{100, 196}, false, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.P.x << ", " << row.P.y);
        EXPECT_EQ(Geometry.InButtonBand(row.P, buttonHeight), row.Band);
        EXPECT_EQ(Geometry.OnTitleIcon(row.P), row.Icon);
        EXPECT_EQ(Geometry.OutsideInner(row.P), row.Outside);
    }
    EXPECT_FALSE(Geometry.MenuPresent());
    delete form;
}

// The grip: the corner past a grip's size inside the frame, of the cache's size.
TEST_F(FrameGeometry, TheGripIsTheCornerInsideTheFrame) {
    TForm* form = PlainForm(bsSizeable, 320, 200);
    const TSize grip {12, 10};
    const TSize cache {320, 200};
    const int gx = cache.cx - grip.cx - Geometry.SysBorderWidth();
    const int gy = cache.cy - grip.cy - Geometry.SysBorderHeight();
    struct Row {
        TPoint P;
        bool On;
    } rows[] {
        {{gx + 1, gy + 1}, true}, {{gx, gy + 1}, false}, {{gx + 1, gy}, false}, {{319, 199}, true}, {{10, 10}, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.P.x << ", " << row.P.y);
        EXPECT_EQ(Geometry.OnGrip(row.P, grip, cache), row.On);
    }
    delete form;
}

}
}
