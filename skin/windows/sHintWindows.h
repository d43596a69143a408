// The skinned hint windows: a rectangle, a rounded rectangle and an ellipse with a pointer, and a balloon.
#pragma once

#include "platform/classes/THintWindow.h"
#include "skin/windows/sHintManager.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {

// Every setting comes from CurrentHintManager when the window measures, shows or paints; without one the
// window measures, shows and paints nothing. Two ways to the screen: with a compositor the window is layered
// (a 32-bit picture with per-pixel alpha: shape, soft shadow and transparency are real); without one the
// screen under the hint is copied before it shows and the hint is composed over that copy.
class TsCustomHintWindow : public classes::THintWindow {
public:
    explicit TsCustomHintWindow(classes::TComponent* owner);
    ~TsCustomHintWindow() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    void ActivateHint(classes::TRect rect, const std::string& text) override;
    // The size for the text; the maxWidth argument is not used (HintKind's MaxWidth is).
    classes::TRect CalcHintRect(int maxWidth, const std::string& text, void* data) override;
    void ReleaseHandle() override;

    // When both are non-zero, ActivateHint puts the pointer here instead of at the mouse cursor.
    classes::TPoint AnchorPoint {};
    TsMousePosition PointerPos() const { return FPointerPos; }
    int ExtraWidth() const { return FExtraWidth; }
    int ExtraHeight() const { return FExtraHeight; }
    int SkinIndex() const { return FSkinIndex; }
    bool ShownLayered() const { return FShownLayered; }   // the last hint went the layered way
    // Where the text goes: the body less the margins (and the ellipse's enlargement), or less the skin's frame.
    classes::TRect TextRect();
    classes::TRect BodyRect() {
        classes::TRect r {};
        GetBodyRect(r);
        return r;
    }

    // Waits between the fade-in's steps (15 ms); tests replace it. It may run messages: the fade checks
    // afterwards that the window still exists and still shows the same hint.
    static std::function<void(int ms)> FadeStepWait;

protected:
    void CreateParams(classes::TCreateParams& params) override;
    void Paint() override;
    void WndProc(classes::TMessage& message) override;

    virtual void GetMousePosition(classes::TPoint& p);
    virtual void PaintShadow(classes::TBitmap* bmp);
    virtual void GetBodyRect(classes::TRect& r);
    // A 24-bit mask of the window's size: white outside the shape, black (or a grey level) inside.
    virtual std::unique_ptr<classes::TBitmap> MakeShapeMask();
    virtual std::unique_ptr<classes::TBitmap> RenderBody();
    virtual void PaintBackground(classes::TBitmap* bmp, const classes::TRect& r);
    virtual void PaintBorder(classes::TBitmap* bmp);
    virtual void PaintText(classes::TBitmap* bmp);
    // What the shape adds to the measured size (the pointer band, the ellipse's enlargement).
    virtual void AddShapeSize(int& width, int& height);
    // Where the body's background goes: the whole window for the shaped classes.
    virtual classes::TRect BackgroundRect();

    // The pointed shapes (comic, ellipse, balloon) keep the pointer band out of the body and outline the
    // shape; the comic and the ellipse also share the mask and the stepped shadow of DrawBodyShape.
    virtual bool HasPointer() const { return false; }

    // For the shapes.
    static TsHintManager* Manager() { return CurrentHintManager; }
    static TsHintKind* Kind() { return CurrentHintManager ? CurrentHintManager->HintKind() : nullptr; }
    static bool UsesSkin() { return HintUsesSkin(CurrentHintManager); }
    int ShadowSpace() const;   // ShadowOffset when shadows are on, else 0
    int ShadowLevel() const;   // the shadow's transparency in percent, lighter under a transparent body
    // The transparency the mask shows (0 while the layered picture is built: the alpha does it there).
    int MaskTransparency() const;
    classes::TPoint PointerCornerPoint() const;
    bool IsBelowPointer() const { return FPointerPos == mpLeftTop || FPointerPos == mpRightTop; }
    classes::UINT ReadingFlags(classes::UINT flags) const;   // the reading-order flag added
    classes::TRect BaseBodyRect() const;
    classes::TRect ShapedBodyRect() const;   // without the pointer band
    void AddPointerBand(int& width, int& height);
    void AddEllipseSize(int& width, int& height);
    std::unique_ptr<classes::TBitmap> NewMask() const;   // white, the window's size
    // One-pixel outline of the mask's shape in the border colours onto bmp.
    void OutlineShape(classes::TBitmap* bmp, const classes::TBitmap* mask) const;
    // The pointed shapes (rounded rectangle, ellipse): the body with its pointer triangle in one grey, inset
    // by `inset` pixels on every side; the mask, the stepped shadow and the outline made from it.
    virtual void DrawBodyShape(classes::TBitmap* bmp, const classes::TRect& body, int inset, classes::TColor grey);
    void DrawPointer(classes::TBitmap* bmp, const classes::TRect& body, int inset, classes::TColor grey) const;
    std::unique_ptr<classes::TBitmap> PointedShapeMask();
    // The skin section painted with a key colour: white where the key shows, black elsewhere.
    std::unique_ptr<classes::TBitmap> SkinShapeMask();
    void PaintPointedShadow(classes::TBitmap* bmp);
    void PaintShapeOutline(classes::TBitmap* bmp);

private:
    void MakeShape();
    void BuildLayeredImage();
    void ShowLayered(const classes::TRect& r);
    void ShowScreenCopy(const classes::TRect& r);
    void PaintSkinText(classes::TBitmap* bmp, classes::TRect r);
    int SkinFrameSize(int side) const;
    void FindSkinIndexes();

    int FBorderIndex = -1;
    int FTextureIndex = -1;
    int FSkinIndex = -1;
    int FExtraWidth = 0;
    int FExtraHeight = 0;
    TsMousePosition FPointerPos = mpLeftTop;
    bool FLayeredPass = false;
    bool FShownLayered = false;
    bool FHasRegion = false;
    unsigned FShowing = 0;   // counts hints shown and hidden: a fade belongs to one showing
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
    std::unique_ptr<classes::TBitmap> FBody;
    std::unique_ptr<classes::TBitmap> FMask;
    std::unique_ptr<classes::TBitmap> FScreenCopy;
    std::unique_ptr<classes::TBitmap> FLayered;
};

class TsSimplyHintWindow : public TsCustomHintWindow {
public:
    explicit TsSimplyHintWindow(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

protected:
    void GetMousePosition(classes::TPoint& p) override;
    void PaintShadow(classes::TBitmap* bmp) override;
    std::unique_ptr<classes::TBitmap> MakeShapeMask() override;
    void PaintBorder(classes::TBitmap* bmp) override;
    classes::TRect BackgroundRect() override;
};

// The comic and the ellipse: a pointed hint whose body is a plain shape, a rounded rectangle or an ellipse.
class TsPlainShapeHintWindow : public TsCustomHintWindow {
protected:
    enum class TBodyShape { RoundRect, Ellipse };
    TsPlainShapeHintWindow(classes::TComponent* owner, TBodyShape shape)
        : TsCustomHintWindow(owner)
        , FShape(shape) { }
    bool HasPointer() const override { return true; }
    void AddShapeSize(int& width, int& height) override;
    void DrawBodyShape(classes::TBitmap* bmp, const classes::TRect& body, int inset, classes::TColor grey) override;

private:
    TBodyShape FShape;
};

class TsComicsHintWindow : public TsPlainShapeHintWindow {
public:
    explicit TsComicsHintWindow(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
};

class TsEllipseHintWindow : public TsPlainShapeHintWindow {
public:
    explicit TsEllipseHintWindow(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
};

class TsBalloonHintWindow : public TsCustomHintWindow {
public:
    explicit TsBalloonHintWindow(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    int BubbleCount = 5;
    int BubbleDivisor = 4;   // bubble j is the body's size / (BubbleDivisor * j)

    // The bubbles of the trail, biggest first, stepping from the body towards the pointer corner.
    std::vector<classes::TRect> BubbleRects();

protected:
    bool HasPointer() const override { return true; }
    void PaintShadow(classes::TBitmap* bmp) override;
    std::unique_ptr<classes::TBitmap> MakeShapeMask() override;
    void AddShapeSize(int& width, int& height) override;

private:
    // The ellipse and its trail of bubbles: one step for the mask, ShadowBlur + 1 shaded steps for a shadow.
    std::unique_ptr<classes::TBitmap> BalloonShape(bool shaded);
};

// The hint's rectangle for the pointer at p and the corner pos, kept inside the desktop (which may start
// left of or above 0): where it would leave the desktop it flips to the other side of p, and pos then names
// the corner the pointer ends up at.
classes::TRect FitHintToDesktop(
    classes::TPoint p, int width, int height, const classes::TRect& desktop, TsMousePosition& pos);

}
