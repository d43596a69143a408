// Hebrew and Arabic in the native controls drawn with a Latin face that lacks them: letters, not boxes.
#include "support/ControlTestSupport.h"

#include "platform/base/ScopeGuard.h"
#include "platform/gdi/FontEngine.h"
#include "platform/user/Painting.h"
#include "platform/user/controls/ListBox.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvex::user::test {

namespace {

using ScriptFallback = ControlTest;

TEST_F(ScriptFallback, EditsListsAndLabelsDrawLettersTheirFaceLacks) {
    gdi::SetPinnedFontFamily("Liberation Sans");   // the face of "MS Sans Serif", without these scripts
    const base::ScopeExit pinAgain([] { gdi::SetPinnedFontFamily("DejaVu Sans"); });
    auto pixelsOf = [this](HWND hwnd) {
        std::vector<COLORREF> pixels;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 40; ++x) pixels.push_back(ClientPixel(hwnd, x, y));
        return pixels;
    };
    struct Pair {
        const char* First;
        const char* Second;
    };
    for (const Pair& letters : {Pair {"\u05D0", "\u05E9"}, Pair {"\u0628", "\u0633"}}) {
        for (const char* className : {"EDIT", "STATIC", "LISTBOX"}) {
            std::vector<std::vector<COLORREF>> shown;
            int id = 10;
            for (const char* text : {letters.First, letters.Second}) {
                HWND control = Make(className, text, 0, 10, 10 + (id - 10) * 40, 60, 30, id);
                if (std::string(className) == "LISTBOX") SendMessage(control, LB_ADDSTRING, 0, LPARAM(text));
                InvalidateRect(control, nullptr, true);
                Pump();
                shown.push_back(pixelsOf(control));
                DestroyWindow(control);
                ++id;
            }
            EXPECT_NE(shown[0], shown[1]) << className << ": both letters drawn as the same box";
        }
    }
}

}

}
