// TCustomImageList and TImageList: same-sized images with masks, drawn normal or disabled; TChangeLink listeners.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsTypes.h"
#include "platform/classes/TComponent.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/GdiObject.h"
#include "platform/user/controls/ImageListSource.h"

#include <vector>

namespace korvex::classes {

class TBitmap;
class TCanvas;
class TCustomImageList;
class TIcon;

// One listener of an image list's changes (several controls may share one list). The link and the list
// forget each other when either is freed.
class TChangeLink : public TObject {
public:
    TChangeLink() = default;
    ~TChangeLink() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TCustomImageList* Sender() const { return FSender; }
    void SetSender(TCustomImageList* value) { FSender = value; }
    virtual void Change();   // calls OnChange with the list

    TNotifyEvent OnChange;

private:
    TCustomImageList* FSender = nullptr;
};

// Images of Width x Height pixels, each with its mask (alpha 0 = transparent, stored premultiplied 32-bit).
// Adding a bitmap wider than Width adds Width-wide strips from its left; a bitmap smaller than the image
// size fills the top-left corner and leaves the rest transparent. Indexes outside 0..Count-1 draw nothing and
// answer false; nothing here raises for them.
class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* owner);
    ~TCustomImageList() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Another image list's size, background colour and images.
    void Assign(const TPersistent* source) override;

    int Width() const { return FWidth; }
    void SetWidth(int value);   // a new size (1..32767) empties the list
    int Height() const { return FHeight; }
    void SetHeight(int value);
    void SetSize(int width, int height);
    int Count() const { return static_cast<int>(FImages.size()); }
    // Drawn under the transparent parts of images by Draw; clNone (the default) leaves them transparent.
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor value);

    // The index of the first image added, -1 when nothing was added (null or empty bitmap). With a mask,
    // white mask pixels are transparent; without one the images are opaque.
    int Add(const TBitmap* image, const TBitmap* mask);
    // Pixels of maskColor are transparent; clDefault takes the colour of the top-left pixel.
    int AddMasked(const TBitmap* image, TColor maskColor);
    int AddIcon(const TIcon* icon);   // keeps the icon's alpha; scaled to the image size when it differs
    void Delete(int index);
    void Clear();

    // Draws image index with its top-left corner at (x, y). Disabled images are drawn as a grey emboss:
    // their pixels that are not white in the highlight colour one pixel down and right, then in the shadow colour.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
    // Sizes image to the image size and draws the image on what it holds; false for a bad index or null.
    bool GetBitmap(int index, TBitmap* image);
    bool GetIcon(int index, TIcon* image);

    // The list as the native controls draw from it; valid while the list lives.
    user::HIMAGELIST Handle();

    void RegisterChanges(TChangeLink* link);
    void UnRegisterChanges(TChangeLink* link);

    // Component text: the images as the binary entry "Bitmap", written when the list is not empty.
    void DefineProperties(TFiler& filer) override;

    TNotifyEvent OnChange;

protected:
    virtual void Change();   // the links first, then OnChange

private:
    struct Image {
        gdi::GdiHandle<gdi::Bitmap> Pixels;   // Width x Height, pf32bit premultiplied
        bool PartialAlpha = false;
    };
    enum class MaskSource { None, Bitmap, Color };

    int AddStrips(const TBitmap* image, MaskSource source, const TBitmap* mask, gdi::COLORREF key);
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    void DrawDisabled(gdi::HDC dc, int x, int y, const gdi::Bitmap& pixels);
    void ReadImages(TStream& stream);
    void WriteImages(TStream& stream) const;

    int FWidth = 16;
    int FHeight = 16;
    TColor FBkColor = clNone;
    std::vector<Image> FImages;
    std::vector<TChangeLink*> FLinks;
    std::unique_ptr<user::ImageListSource> FSource;
};

// The image list components put on forms publish their settings.
// A control's image-list property set to value: the change link and the free notification move from the
// old list to the new one.
void LinkImageList(TCustomImageList*& slot, TCustomImageList* value, TChangeLink* link, TComponent* client);

class TImageList : public TCustomImageList {
public:
    explicit TImageList(TComponent* owner)
        : TCustomImageList(owner) { }
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

}
