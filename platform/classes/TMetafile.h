// TMetafile and TMetafileCanvas: a picture kept as the drawing calls that made it, recorded through a canvas.
#pragma once

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TGraphic.h"
#include "platform/gdi/Recording.h"

#include <memory>
#include <vector>

namespace korvex::classes {

// The calls a TMetafileCanvas recorded, and the picture they drew (what drawing the metafile shows). Streams
// and files are not written or read: such a picture lives only in the program.
class TMetafile : public TGraphic {
public:
    TMetafile() = default;
    ~TMetafile() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool Empty() const override { return FPicture == nullptr; }
    int Width() const override { return FWidth; }
    void SetWidth(int value) override;
    int Height() const override { return FHeight; }
    void SetHeight(int value) override;
    const std::vector<gdi::DrawCall>& Calls() const { return FCalls; }
    // The recorded picture, 32-bit (nullptr while empty).
    const TBitmap* Picture() const { return FPicture.get(); }

    // EInvalidGraphicOperation ("Metafiles are kept in memory only").
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;

protected:
    void Draw(TCanvas* canvas, const TRect& rect) override;

private:
    friend class TMetafileCanvas;
    int FWidth = 0;
    int FHeight = 0;
    std::unique_ptr<TBitmap> FPicture;
    std::vector<gdi::DrawCall> FCalls;
};

// A canvas drawing into a metafile the size of the metafile (at least 1 x 1): what is drawn is recorded and
// handed to the metafile when the canvas is freed. Its DC answers DT_METAFILE to GetDeviceCaps(TECHNOLOGY).
class TMetafileCanvas : public TCanvas {
public:
    explicit TMetafileCanvas(TMetafile* metafile);
    ~TMetafileCanvas() override;
    TMetafileCanvas(const TMetafileCanvas&) = delete;
    TMetafileCanvas& operator=(const TMetafileCanvas&) = delete;

private:
    TMetafile* FMetafile;
    std::unique_ptr<gdi::RecordingDC> FDc;
};

}
