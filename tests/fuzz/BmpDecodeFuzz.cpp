// Fuzz target: BMP decoding, and a decoded image written and read back unchanged.
#include "platform/gdi/BmpCodec.h"

#include "support/ImageChecks.h"

using namespace korvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const gdi::ImageResult result = gdi::ReadBmp({data, size});
    fuzz::CheckDecoded(result);
    if (!result) return 0;
    const auto written = gdi::WriteBmp(*result.Image.Get());
    const gdi::ImageResult again = gdi::ReadBmp(written);
    if (!again) fuzz::Fail("a written BMP is refused", again.Error);
    fuzz::CheckSamePixels(*result.Image.Get(), *again.Image.Get(), "a written BMP reads back changed");
    return 0;
}
