// Font objects: creation from a LOGFONT, GetObject, the stock fonts.
#include "platform/gdi/Fonts.h"

#include "platform/gdi/FontEngine.h"

#include <mutex>

namespace korvex::gdi {

Font::Font(const LOGFONT& logFont)
    : GdiObject(ObjectKind::Font)
    , FLogFont(logFont) {
}

Font::~Font() = default;

std::shared_ptr<const FontInstance> Font::Instance() const {
    // Resolved again after the font selection settings changed (tests pin the face).
    static std::mutex* lock = new std::mutex;   // never freed: fonts may be used during static destruction
    std::lock_guard guard(*lock);
    unsigned generation = FontSelectionGeneration();
    if (!FInstance || FGeneration != generation) {
        FInstance = RealizeFont(FLogFont);
        FGeneration = generation;
    }
    return FInstance;
}

HFONT CreateFontIndirect(const LOGFONT& logFont) {
    return new Font(logFont);
}

HFONT CreateFontIndirect(const LOGFONT* logFont) {
    return logFont ? CreateFontIndirect(*logFont) : nullptr;
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
    DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
    const std::string& faceName) {
    LOGFONT logFont;
    logFont.lfHeight = height;
    logFont.lfWidth = width;
    logFont.lfEscapement = escapement;
    logFont.lfOrientation = orientation;
    logFont.lfWeight = weight;
    logFont.lfItalic = italic ? 1 : 0;
    logFont.lfUnderline = underline ? 1 : 0;
    logFont.lfStrikeOut = strikeOut ? 1 : 0;
    logFont.lfCharSet = BYTE(charSet);
    logFont.lfOutPrecision = BYTE(outPrecision);
    logFont.lfClipPrecision = BYTE(clipPrecision);
    logFont.lfQuality = BYTE(quality);
    logFont.lfPitchAndFamily = BYTE(pitchAndFamily);
    logFont.lfFaceName = faceName;
    return CreateFontIndirect(logFont);
}

bool GetObject(HFONT font, LOGFONT* out) {
    Font* live = ObjectCast<Font>(font);
    if (!live || !out) return false;
    *out = live->LogFont();
    return true;
}

int FontHeightFromPoints(int points) {
    // MulDiv rounds halves away from zero.
    long long scaled = (long long)points * ScreenLogPixels;
    long long rounded = scaled >= 0 ? (scaled + 36) / 72 : (scaled - 36) / 72;
    return -int(rounded);
}

LOGFONT StockLogFont(int index) {
    LOGFONT logFont;
    if (index == SYSTEM_FONT || index == DEFAULT_GUI_FONT || index == ANSI_VAR_FONT) {
        logFont.lfHeight = FontHeightFromPoints(8);
        logFont.lfWeight = FW_NORMAL;
        logFont.lfCharSet = DEFAULT_CHARSET;
        logFont.lfFaceName = "MS Sans Serif";
    }
    return logFont;
}

HFONT GetStockFont(int index) {
    auto make = [](int which) {
        HFONT font = CreateFontIndirect(StockLogFont(which));
        font->MarkStock();
        return font;
    };
    switch (index) {
    case SYSTEM_FONT: {
        static HFONT font = make(SYSTEM_FONT);
        return font;
    }
    case DEFAULT_GUI_FONT: {
        static HFONT font = make(DEFAULT_GUI_FONT);
        return font;
    }
    case ANSI_VAR_FONT: {
        static HFONT font = make(ANSI_VAR_FONT);
        return font;
    }
    default:
        return nullptr;
    }
}

}
