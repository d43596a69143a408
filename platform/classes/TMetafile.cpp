// TMetafile and TMetafileCanvas: recording on a metafile DC, replaying as the recorded picture.
#include "platform/classes/TMetafile.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/Drawing.h"

#include <algorithm>

namespace korvex::classes {

TMetafile::~TMetafile() = default;

TClass TMetafile::StaticClass() {
    static const TClassInfo info = MakeClass<TMetafile, TGraphic>("TMetafile");
    return &info;
}

void TMetafile::SetWidth(int value) {
    if (value == FWidth) return;
    FWidth = std::max(value, 0);
    Changed();
}

void TMetafile::SetHeight(int value) {
    if (value == FHeight) return;
    FHeight = std::max(value, 0);
    Changed();
}

void TMetafile::LoadFromStream(TStream&) {
    throw EInvalidGraphicOperation("Metafiles are kept in memory only");
}

void TMetafile::SaveToStream(TStream&) const {
    throw EInvalidGraphicOperation("Metafiles are kept in memory only");
}

void TMetafile::Draw(TCanvas* canvas, const TRect& rect) {
    if (Empty()) return;
    gdi::HDC source = const_cast<TBitmap*>(FPicture.get())->Canvas()->Handle();
    if (source == nullptr) return;
    gdi::StretchBlt(canvas->Handle(), rect.left, rect.top, rect.Width(), rect.Height(), source, 0, 0,
        FPicture->Width(), FPicture->Height(), canvas->CopyMode());
}

TMetafileCanvas::TMetafileCanvas(TMetafile* metafile)
    : FMetafile(metafile) {
    const int width = std::max(metafile != nullptr ? metafile->Width() : 0, 1);
    const int height = std::max(metafile != nullptr ? metafile->Height() : 0, 1);
    FDc = std::make_unique<gdi::RecordingDC>(
        width, height, gdi::PixelFormat::pf32bit, gdi::DrawCalls::Keep, gdi::RecorderKind::Metafile);
    // A metafile starts clear, as an empty page.
    gdi::PatBlt(FDc->Handle(), 0, 0, width, height, gdi::WHITENESS);
    FDc->Recorder().Clear();
    SetHandle(FDc->Handle());
}

TMetafileCanvas::~TMetafileCanvas() {
    SetHandle(nullptr);
    if (FMetafile == nullptr) return;
    auto picture = std::make_unique<TBitmap>();
    picture->SetPixelFormat(pf32bit);
    picture->SetSize(FDc->Target()->Width(), FDc->Target()->Height());
    gdi::BitBlt(picture->Canvas()->Handle(), 0, 0, picture->Width(), picture->Height(), FDc->Handle(), 0, 0, gdi::SRCCOPY);
    FMetafile->FWidth = picture->Width();
    FMetafile->FHeight = picture->Height();
    FMetafile->FPicture = std::move(picture);
    FMetafile->FCalls = FDc->Calls();
    FMetafile->Changed();
}

}
