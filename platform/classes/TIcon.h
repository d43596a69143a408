// TIcon: a small picture with per-pixel alpha (32-bit, premultiplied) for tray icons, image lists and title bars.
#pragma once

#include "platform/classes/TGraphic.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/GdiObject.h"
#include "platform/user/UserTypes.h"

#include <memory>
#include <string_view>

namespace korvex::classes {

class TBitmap;

// The pixels are B, G, R, A with the colour premultiplied by A; A = 0 is the icon's mask (nothing drawn).
// Icons are always transparent. Handle() is the HICON the window layer passes around; the pictures stay here,
// and FromHandle finds the icon of a handle again.
class TIcon : public TGraphic {
public:
    TIcon();
    ~TIcon() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Another TIcon is copied; a TBitmap gives an opaque icon, except that a transparent bitmap leaves its
    // TransparentColor pixels out (alpha 0); nullptr empties the icon. Fires OnChange once.
    void Assign(const TPersistent* source) override;

    bool Empty() const override;
    int Width() const override;
    void SetWidth(int value) override;   // new pixels are transparent
    int Height() const override;
    void SetHeight(int value) override;
    void SetSize(int width, int height) override;
    bool Transparent() const override { return true; }
    void SetTransparent(bool) override { }

    // nullptr for an empty icon.
    user::HICON Handle() const;
    static const TIcon* FromHandle(user::HICON handle);   // nullptr for null or freed handles
    // The premultiplied 32-bit picture (owned by the icon).
    const gdi::Bitmap* Image() const { return FImage.Get(); }

    // PNG (with or without alpha) and BMP files are read (a 32-bit BMP keeps its fourth byte as alpha only
    // when some pixel has one; otherwise the picture is opaque); bad bytes raise EInvalidGraphic. Written as PNG.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;

protected:
    void Draw(TCanvas* canvas, const TRect& rect) override;
    void AssignTo(TPersistent* dest) const override;   // into a TBitmap: the icon over black, pf32bit

private:
    friend class TCustomImageList;
    void TakeImage(gdi::Bitmap* image);   // premultiplied pf32bit; fires OnChange

    gdi::GdiHandle<gdi::Bitmap> FImage;
};

// A picture embedded in the program (korvex_embed) as a new icon; nullptr when missing or not a picture.
std::unique_ptr<TIcon> LoadEmbeddedIcon(std::string_view name);

// Straight (not premultiplied) alpha to premultiplied, in place, for a pf32bit bitmap.
void PremultiplyAlpha(gdi::Bitmap& bitmap);

}
