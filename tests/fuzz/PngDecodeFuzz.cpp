// Fuzz target: PNG decoding, and a decoded image written and read back unchanged.
#include "platform/gdi/PngCodec.h"

#include "support/ImageChecks.h"

using namespace korvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const gdi::ImageResult result = gdi::ReadPng({data, size});
    fuzz::CheckDecoded(result);
    if (!result) return 0;
    std::string error;
    const auto written = gdi::WritePng(*result.Image.Get(), gdi::PngAlpha::Keep, &error);
    if (written.empty()) fuzz::Fail("a decoded PNG cannot be written", error);
    const gdi::ImageResult again = gdi::ReadPng(written);
    if (!again) fuzz::Fail("a written PNG is refused", again.Error);
    fuzz::CheckSamePixels(*result.Image.Get(), *again.Image.Get(), "a written PNG reads back changed");
    return 0;
}
