// Painting through a control's canvas: the paint DC is lent to the canvas for Paint only, and the canvas,
// the paint cycle and the painting flags are given back even when Paint throws.
#include "support/ControlsTestKit.h"

#include <functional>
#include <stdexcept>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

// Paints its rectangle red, then fails while Fail is set.
template <class Base>
class TFailingPainter : public Base {
public:
    explicit TFailingPainter(TComponent* owner)
        : Base(owner) { }
    bool Fail = true;
    int Paints = 0;
    bool LockedWhilePainting = false;

protected:
    void Paint() override {
        ++Paints;
        LockedWhilePainting = this->Canvas()->LockCount() == 1;
        this->Canvas()->Brush()->SetColor(clRed);
        this->Canvas()->FillRect(Rect(0, 0, this->Width(), this->Height()));
        if (Fail) throw std::runtime_error("paint failed");
    }
};

class ControlPaintingTest : public ControlsTest {
protected:
    // Paints once failing, then once more after the failure is gone.
    template <class Control>
    void PaintFailsThenRecovers(Control* control, TForm* form) {
        control->Invalidate();
        Pump();
        ASSERT_GE(control->Paints, 1);
        EXPECT_TRUE(control->LockedWhilePainting);
        EXPECT_EQ(Exceptions, std::vector<std::string>(Exceptions.size(), "paint failed"));
        EXPECT_FALSE(Exceptions.empty());
        EXPECT_EQ(control->Canvas()->LockCount(), 0);
        EXPECT_FALSE(control->Canvas()->HandleAllocated());   // the paint DC went back with the failure
        EXPECT_FALSE(control->ControlState().Contains(csCustomPaint));
        EXPECT_FALSE(form->ControlState().Contains(csCustomPaint));

        const int paints = control->Paints;
        control->Fail = false;
        Exceptions.clear();
        control->Invalidate();
        Pump();
        EXPECT_EQ(control->Paints, paints + 1);   // one more cycle: the failed one was validated, not repeated
        EXPECT_TRUE(Exceptions.empty());
        EXPECT_EQ(PixelAt(control, 2, 2), gdi::RGB(255, 0, 0));
    }
};

}

TEST_F(ControlPaintingTest, ChildControlsWhosePaintThrowsGiveTheCanvasBack) {
    TForm* form = NewForm();
    auto* label = new TFailingPainter<TGraphicControl>(form);   // windowless: painted on the form's DC
    auto* panel = new TFailingPainter<TCustomControl>(form);   // windowed: its own paint cycle
    label->SetBounds(10, 10, 40, 20);
    panel->SetBounds(60, 10, 40, 20);
    label->SetParent(form);
    panel->SetParent(form);
    PaintFailsThenRecovers(label, form);
    PaintFailsThenRecovers(panel, form);
}

TEST_F(ControlPaintingTest, AFormWhosePaintThrowsGivesTheCanvasBack) {
    auto* form = Create<TFailingPainter<TForm>>(Application);
    form->SetBounds(100, 100, 200, 150);
    form->Show();
    PaintFailsThenRecovers(form, form);
}

namespace {

// Windowless and opaque: a repaint draws it straight on its parent's window.
class TOpaqueSquare : public TGraphicControl {
public:
    explicit TOpaqueSquare(TComponent* owner)
        : TGraphicControl(owner) {
        SetControlStyle(ControlStyle() + TControlStyle {csOpaque});
    }
    int Paints = 0;
    TColor Fill = clBlue;

protected:
    void Paint() override {
        ++Paints;
        Canvas()->Brush()->SetColor(Fill);
        Canvas()->FillRect(Rect(0, 0, Width(), Height()));
    }
};

}

TEST_F(ControlPaintingTest, AnOpaqueControlsRepaintPresentsItsRectangleOnly) {
    TForm* form = NewForm();
    auto* square = new TOpaqueSquare(form);
    square->SetBounds(10, 10, 40, 20);
    square->SetParent(form);
    form->Show();
    ASSERT_TRUE(Pump());
    ASSERT_EQ(Display->StackingOrder().size(), 1u);
    const auto* surface = Display->Surface(Display->StackingOrder()[0]);
    ASSERT_NE(surface, nullptr);
    const int paints = square->Paints, presents = surface->PresentCount;

    square->Repaint();
    ASSERT_TRUE(Pump());
    EXPECT_EQ(square->Paints, paints + 1);
    EXPECT_EQ(surface->PresentCount, presents + 1);
    long pixels = 0;
    for (const gdi::RECT& r : surface->LastDirty) pixels += long(r.right - r.left) * (r.bottom - r.top);
    EXPECT_EQ(pixels, 40L * 20L);   // not the form's whole client area
    EXPECT_EQ(PixelAt(square, 5, 5), gdi::RGB(0, 0, 255));
}

// A repaint draws the later siblings that overlap the control over it, where they lie after every change.
TEST_F(ControlPaintingTest, ARepaintDrawsTheLaterSiblingsOverItWhereTheyLieNow) {
    struct TCase {
        const char* Name;
        std::function<void(TOpaqueSquare* over)> Before;   // the sibling as it is before the change
        std::function<void(TOpaqueSquare* over)> Change;
    };
    const TCase cases[] = {
        {"moved onto it", [](TOpaqueSquare* over) { over->SetBounds(100, 40, 10, 10); },
            [](TOpaqueSquare* over) { over->SetBounds(20, 15, 10, 10); }},
        {"shown", [](TOpaqueSquare* over) { over->SetVisible(false); }, [](TOpaqueSquare* over) { over->Show(); }},
        {"brought in front of it", [](TOpaqueSquare* over) { over->SendToBack(); },
            [](TOpaqueSquare* over) { over->BringToFront(); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TForm* form = NewForm();
        auto* under = new TOpaqueSquare(form);
        under->SetBounds(10, 10, 40, 20);
        under->SetParent(form);
        auto* over = new TOpaqueSquare(form);
        over->Fill = clRed;
        over->SetBounds(20, 15, 10, 10);
        over->SetParent(form);
        c.Before(over);
        form->Show();
        ASSERT_TRUE(Pump());
        ASSERT_EQ(PixelAt(under, 12, 7), gdi::RGB(0, 0, 255));

        c.Change(over);
        ASSERT_TRUE(Pump());
        under->Repaint();
        ASSERT_TRUE(Pump());
        EXPECT_EQ(PixelAt(under, 12, 7), gdi::RGB(255, 0, 0));
        EXPECT_EQ(PixelAt(under, 2, 2), gdi::RGB(0, 0, 255));
        delete form;
    }
}

namespace {

// A windowed square of one colour.
class TWindowedSquare : public TCustomControl {
public:
    TWindowedSquare(TComponent* owner, TColor fill)
        : TCustomControl(owner)
        , Fill(fill) { }
    TColor Fill;

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(Fill);
        Canvas()->FillRect(Rect(0, 0, Width(), Height()));
    }
};

}

// A windowed control whose window is made after its siblings' lies above them, as it stands last in the list:
// a control put on a shown parent, and the children of a parent shown later in whatever order their windows
// come.
TEST_F(ControlPaintingTest, AWindowMadeAfterItsSiblingsLiesAboveThemAsInTheList) {
    for (bool parentShownLater : {false, true}) {
        SCOPED_TRACE(parentShownLater ? "parent shown later" : "put on a shown parent");
        TForm* form = NewForm();
        auto* holder = new TWindowedSquare(form, clWhite);
        holder->SetBounds(0, 0, 100, 60);
        holder->SetVisible(!parentShownLater);
        holder->SetParent(form);
        auto* under = new TWindowedSquare(form, clBlue);
        under->SetBounds(10, 10, 40, 20);
        under->SetParent(holder);
        form->Show();
        ASSERT_TRUE(Pump());
        auto* over = new TWindowedSquare(form, clRed);
        over->SetBounds(20, 15, 10, 10);
        over->SetParent(holder);
        holder->SetVisible(true);
        ASSERT_TRUE(Pump());
        ASSERT_TRUE(over->HandleAllocated());
        EXPECT_EQ(user::GetWindow(holder->Handle(), user::GW_CHILD), over->Handle());
        EXPECT_EQ(PixelAt(under, 12, 7), gdi::RGB(255, 0, 0));
        EXPECT_EQ(PixelAt(under, 2, 2), gdi::RGB(0, 0, 255));
        delete form;
    }
}
