// Colour names and the conversion of system colours to RGB.
#include "platform/classes/Colors.h"

#include "platform/base/Exceptions.h"
#include "platform/base/Numbers.h"
#include "platform/base/Strings.h"
#include "platform/gdi/SysColors.h"

#include <array>
#include <cstdint>
#include <utility>

namespace korvex::classes {

namespace {

struct TColorName {
    TColor Color;
    std::string_view Name;
};

// Each value once; clLtGray and clDkGray are the names of clSilver and clGray only when read.
constexpr std::array ColorNames = {
    TColorName {clBlack, "clBlack"},
    TColorName {clMaroon, "clMaroon"},
    TColorName {clGreen, "clGreen"},
    TColorName {clOlive, "clOlive"},
    TColorName {clNavy, "clNavy"},
    TColorName {clPurple, "clPurple"},
    TColorName {clTeal, "clTeal"},
    TColorName {clGray, "clGray"},
    TColorName {clSilver, "clSilver"},
    TColorName {clRed, "clRed"},
    TColorName {clLime, "clLime"},
    TColorName {clYellow, "clYellow"},
    TColorName {clBlue, "clBlue"},
    TColorName {clFuchsia, "clFuchsia"},
    TColorName {clAqua, "clAqua"},
    TColorName {clWhite, "clWhite"},
    TColorName {clMoneyGreen, "clMoneyGreen"},
    TColorName {clSkyBlue, "clSkyBlue"},
    TColorName {clCream, "clCream"},
    TColorName {clMedGray, "clMedGray"},
    TColorName {clActiveBorder, "clActiveBorder"},
    TColorName {clActiveCaption, "clActiveCaption"},
    TColorName {clAppWorkSpace, "clAppWorkSpace"},
    TColorName {clBackground, "clBackground"},
    TColorName {clBtnFace, "clBtnFace"},
    TColorName {clBtnHighlight, "clBtnHighlight"},
    TColorName {clBtnShadow, "clBtnShadow"},
    TColorName {clBtnText, "clBtnText"},
    TColorName {clCaptionText, "clCaptionText"},
    TColorName {clDefault, "clDefault"},
    TColorName {clGradientActiveCaption, "clGradientActiveCaption"},
    TColorName {clGradientInactiveCaption, "clGradientInactiveCaption"},
    TColorName {clGrayText, "clGrayText"},
    TColorName {clHighlight, "clHighlight"},
    TColorName {clHighlightText, "clHighlightText"},
    TColorName {clHotLight, "clHotLight"},
    TColorName {clInactiveBorder, "clInactiveBorder"},
    TColorName {clInactiveCaption, "clInactiveCaption"},
    TColorName {clInactiveCaptionText, "clInactiveCaptionText"},
    TColorName {clInfoBk, "clInfoBk"},
    TColorName {clInfoText, "clInfoText"},
    TColorName {clMenu, "clMenu"},
    TColorName {clMenuBar, "clMenuBar"},
    TColorName {clMenuHighlight, "clMenuHighlight"},
    TColorName {clMenuText, "clMenuText"},
    TColorName {clNone, "clNone"},
    TColorName {clScrollBar, "clScrollBar"},
    TColorName {cl3DDkShadow, "cl3DDkShadow"},
    TColorName {cl3DLight, "cl3DLight"},
    TColorName {clWindow, "clWindow"},
    TColorName {clWindowFrame, "clWindowFrame"},
    TColorName {clWindowText, "clWindowText"},
};

}

TColor ColorToRGB(TColor color) {
    if (color < 0) return static_cast<TColor>(gdi::GetSysColor(color & 0xFF));
    return color;
}

bool ColorToIdent(TColor color, std::string& ident) {
    for (const TColorName& entry : ColorNames)
        if (entry.Color == color) {
            ident = std::string(entry.Name);
            return true;
        }
    return false;
}

bool IdentToColor(std::string_view ident, TColor& color) {
    std::string wanted(ident);
    for (const TColorName& entry : ColorNames)
        if (base::SameText(std::string(entry.Name), wanted)) {
            color = entry.Color;
            return true;
        }
    if (base::SameText(wanted, "clLtGray")) {
        color = clLtGray;
        return true;
    }
    if (base::SameText(wanted, "clDkGray")) {
        color = clDkGray;
        return true;
    }
    return false;
}

std::string ColorToString(TColor color) {
    std::string ident;
    if (ColorToIdent(color, ident)) return ident;
    return "$" + base::IntToHex(static_cast<std::uint32_t>(color), 8);
}

TColor StringToColor(const std::string& s) {
    TColor color = 0;
    if (IdentToColor(s, color)) return color;
    std::int64_t value = 0;
    if (!base::TryStrToInt64(s, value) || value < INT32_MIN || value > UINT32_MAX)
        throw base::EConvertError("'" + s + "' is not a valid colour value");
    return static_cast<TColor>(static_cast<std::uint32_t>(value));
}

}
