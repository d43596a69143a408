// Fuzz target: hint markup measured and drawn on a small bitmap; a second pass from the same starting font
// measures the same.
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "skin/windows/sHtmlParse.h"

#include "support/FuzzSupport.h"
#include "support/HeadlessUi.h"

#include <string>

using namespace korvex;
using namespace korvex::classes;

namespace {

TRect Measure(TBitmap& bitmap, const std::string& text) {
    TFont plain;
    bitmap.Canvas()->Font()->Assign(&plain);
    bitmap.Canvas()->Brush()->SetStyle(bsClear);
    skin::TsHtml html;
    html.Init(&bitmap, text, Rect(3, 2, 200, 100));
    TRect r {};
    html.Render(r);
    return r;
}

}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartHeadlessUi();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;   // hints are short; long inputs only slow the search down
    const std::string text(fuzz::AsText(data, size));
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(64, 32);
    const TRect first = Measure(bitmap, text);
    const TRect second = Measure(bitmap, text);
    if (first.right != second.right || first.bottom != second.bottom) fuzz::Fail("two passes measure differently");
    if (first.left != 0 || first.top != 0 || first.right < 0 || first.bottom < 0) fuzz::Fail("a bad measure");
    return 0;
}
