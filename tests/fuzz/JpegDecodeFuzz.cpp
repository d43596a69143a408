// Fuzz target: JPEG decoding, and a decoded image encoded and decoded again (lossy: the shape must hold).
#include "platform/gdi/JpegCodec.h"

#include "support/ImageChecks.h"

using namespace korvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const gdi::ImageResult result = gdi::ReadJpeg({data, size});
    fuzz::CheckDecoded(result);
    if (!result) return 0;
    const gdi::Bitmap& image = *result.Image.Get();
    if (image.ByteSize() > (std::size_t(1) << 20)) return 0;   // re-encoding big pictures only slows the run
    std::string error;
    const auto written = gdi::WriteJpeg(image, 75, &error);
    if (written.empty()) fuzz::Fail("a decoded JPEG cannot be encoded", error);
    const gdi::ImageResult again = gdi::ReadJpeg(written);
    if (!again) fuzz::Fail("an encoded JPEG is refused", again.Error);
    if (again.Image.Get()->Width() != image.Width() || again.Image.Get()->Height() != image.Height())
        fuzz::Fail("an encoded JPEG reads back in another size");
    return 0;
}
