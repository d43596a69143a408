// The colour dialog's picking: selecting a colour into every view, the field, the brightness bar, the edits,
// the palettes and the screen picker.
#include "skin/windows/sColorDialog.h"

#include "platform/base/ScopeGuard.h"
#include "platform/base/Strings.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TPanel.h"
#include "platform/classes/TScreen.h"
#include "platform/classes/TStrings.h"
#include "platform/gdi/BitBlt.h"
#include "platform/user/Painting.h"
#include "platform/user/VirtualKeys.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sCurrEdit.h"
#include "skin/controls/sMaskEdit.h"
#include "skin/controls/sPanel.h"
#include "skin/engine/sColorUtils.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

int Channel(TColor color, int i) {
    return int((color >> (8 * i)) & 0xFF);
}

}   // namespace

TColor BrightnessRowColor(TColor pure, int row, int height) {
    if (height <= 1) return pure;
    const int mid = (height - 1) / 2;
    TColor result = 0;
    for (int i = 0; i < 3; ++i) {
        const double c = Channel(pure, i);
        double value;
        if (row <= mid)
            value = mid == 0 ? c : 255 + (c - 255) * row / mid;
        else
            value = c - c * (row - mid) / (height - 1 - mid);
        int v = std::clamp(int(std::lround(value)), 0, 255);
        if (row <= mid) v = v < 3 ? 0 : v > 253 ? 255 : v;
        result |= TColor(v) << (8 * i);
    }
    return result;
}

TColor TsColorDialogForm::SelectedColor() const {
    return SelectedPanel->Color();
}

// ---- Selecting -----------------------------------------------------------------------------------------------

void TsColorDialogForm::SelectColor(TColor color) {
    base::ValueRollback<bool> updating(FUpdating, true);
    color &= 0xFFFFFF;
    SelectedPanel->SetColor(color);
    // The bar and the field set hue, saturation and brightness themselves (the field's point stays where it was
    // picked, also at brightness 0); every other input is split into them.
    if (FSource != TSource::Bar && FSource != TSource::Field) {
        const TsHSV hsv = RGBToHSV(color);
        FHue = hsv.H;
        FSaturation = hsv.S;
        FBrightness = hsv.V;
    }
    if (FSource != TSource::Bar) FPure = HSVToRGB(FHue, FSaturation, 1.0);
    if (FSource != TSource::HSB) {
        sHEdit->SetValue(FHue);
        if (FSource == TSource::Bar) {
            const int height = GradPanel->Height();
            const int half = height / 2;
            if (FBarRow >= half && half > 0)
                sVEdit->SetValue(std::round((1.0 - double(FBarRow - half) / half) * 100));
            else
                sSEdit->SetValue(std::round(FSaturation * 100 * 2 / height * (FBarRow + 1)));
        } else {
            sSEdit->SetValue(std::round(FSaturation * 100));
            sVEdit->SetValue(std::round(FBrightness * 100));
        }
    }
    if (FSource != TSource::RGB) {
        sREdit->SetValue(Channel(color, 0));
        sGEdit->SetValue(Channel(color, 1));
        sBEdit->SetValue(Channel(color, 2));
    }
    if (FSource != TSource::Decimal) sEditDecimal->SetValue(color);
    if (FSource != TSource::Hex) sEditHex->SetText(base::IntToHex(color & 0xFFFFFF, 6));   // the number: blue first
    if (FSource != TSource::Bar) {
        FMarker = TPoint {ColorPanel->Width() * FHue / 360, int(std::lround((1 - FSaturation) * ColorPanel->Height()))};
        int matching = 0;
        for (int row = 0; row < GradPanel->Height(); ++row) {
            const TColor c = BrightnessRowColor(FPure, row, GradPanel->Height());
            if (std::abs(Channel(c, 0) - Channel(color, 0)) < 2 && std::abs(Channel(c, 1) - Channel(color, 1)) < 2
                && std::abs(Channel(c, 2) - Channel(color, 2)) < 2) {
                matching = row;
                break;
            }
        }
        MoveBarMarker(matching);
        // A skinned panel keeps what OnPaint drew in its cache: its skin data must render it again.
        GradPanel->SkinData()->Invalidate();
    }
    PaintBarMarker();
    SyncPalettes(color);
}

void TsColorDialogForm::SyncPalettes(TColor color) {
    if (MainPal->ItemIndex() >= 0 && MainPal->ColorValue() != color) MainPal->SetItemIndex(-1);
    if (AddPal->ItemIndex() >= 0 && AddPal->ColorValue() != color) {
        FNextCustomSlot = AddPal->ItemIndex();
        AddPal->SetItemIndex(-1);
    }
}

void TsColorDialogForm::EditChanged(TSource source) {
    if (FUpdating) return;
    base::ValueRollback<TSource> from(FSource, source);
    TColor color = 0;
    switch (source) {
    case TSource::RGB:
        // Each channel limited to 0..255 by its edit: nothing spills into the neighbours.
        color = TColor(sREdit->AsInteger()) | TColor(sGEdit->AsInteger()) << 8 | TColor(sBEdit->AsInteger()) << 16;
        break;
    case TSource::HSB:
        FHue = int(sHEdit->AsInteger());
        FSaturation = double(sSEdit->AsInteger()) / 100;
        FBrightness = double(sVEdit->AsInteger()) / 100;
        color = HSVToRGB(FHue, FSaturation, FBrightness);
        break;
    case TSource::Decimal:
        color = TColor(sEditDecimal->AsInteger());
        break;
    case TSource::Hex:
        color = TColor(std::clamp<std::int64_t>(HexToInt(ExtractWord(1, sEditHex->Text(), " ")), 0, 0xFFFFFF));
        break;
    default:
        return;
    }
    SelectColor(color);
    MainPal->SetItemIndex(-1);
    ColorPanel->SkinData()->Invalidate();
}

void TsColorDialogForm::MainPalChange(TObject* sender) {
    if (FUpdating) return;
    auto* pal = static_cast<TsColorsPanel*>(sender);
    const int index = pal->ItemIndex();
    if (index < 0) return;
    if (pal == AddPal && base::ExtractWord(1, AddPal->Colors()->Strings(index), "\r\n ") == "FFFFFF") return;
    SelectColor(pal->ColorValue());
    ColorPanel->SkinData()->Invalidate();
}

void TsColorDialogForm::AddToCustomColors() {
    const int count = int(AddPal->Items().size());
    if (count == 0) return;
    const std::string hex = sEditHex->Text();   // as typed: a cell reads its first word
    int slot = AddPal->ItemIndex();
    if (slot < 0) {
        slot = FNextCustomSlot % count;   // past the last cell the slots start again at the first
        FNextCustomSlot = (slot + 1) % count;
    }
    AddPal->Colors()->SetStrings(slot, hex);
    AddPal->GenerateColors();
    AddPal->SkinData()->Invalidate();
}

// ---- The field and the bar -----------------------------------------------------------------------------------

void TsColorDialogForm::MakeFieldBitmap() {
    const int width = ColorPanel->Width();
    const int height = ColorPanel->Height();
    FFieldBitmap = std::make_unique<TBitmap>();
    FFieldBitmap->SetPixelFormat(pf24bit);
    FFieldBitmap->SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* line = FFieldBitmap->ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const TColor c = HSVToRGB(double(x) * 360 / width, 1 - double(y) / height, 1 - double(y) / (3.0 * height));
            line[3 * x] = std::uint8_t(Channel(c, 2));   // rows are blue, green, red
            line[3 * x + 1] = std::uint8_t(Channel(c, 1));
            line[3 * x + 2] = std::uint8_t(Channel(c, 0));
        }
    }
}

void TsColorDialogForm::PaintField(TCanvas* canvas) {
    canvas->Draw(0, 0, FFieldBitmap.get());
    if (FDraggingField) return;
    canvas->Pen()->SetColor(clBlack);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Ellipse(FMarker.x - 5, FMarker.y - 5, FMarker.x + 6, FMarker.y + 6);
}

void TsColorDialogForm::PaintBar(TCanvas* canvas) {
    const int height = GradPanel->Height();
    for (int row = 0; row < height; ++row) {
        canvas->Pen()->SetColor(BrightnessRowColor(FPure, row, height));
        canvas->MoveTo(0, row);
        canvas->LineTo(GradPanel->Width(), row);
    }
}

void TsColorDialogForm::MoveBarMarker(int row) {
    const int oldRow = std::exchange(FBarRow, row);
    if (!HandleAllocated() || oldRow == row) return;
    const int x = GradPanel->Left() + GradPanel->Width();
    const int y = GradPanel->Top() + oldRow;
    const gdi::RECT under {x, y - 3, x + 7, y + 4};
    user::InvalidateRect(WindowHandle(), &under, true);
    user::UpdateWindow(WindowHandle());
}

void TsColorDialogForm::PaintBarMarker() {
    if (!HandleAllocated() || !Visible()) return;
    // A 6 x 6 black triangle on the form, its point at the bar's right edge on the selected row.
    const int x = GradPanel->Left() + GradPanel->Width();
    const int y = GradPanel->Top() + FBarRow;
    const TPoint points[] = {{x, y}, {x + 6, y - 3}, {x + 6, y + 3}};
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetColor(clBlack);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBlack);
    canvas->Polygon(points);
}

void TsColorDialogForm::PickFromField(int x, int y) {
    // The pointer is confined to the field while dragging; a position from before that is held at its edge.
    x = std::clamp(x, 0, ColorPanel->Width() - 1);
    y = std::clamp(y, 0, ColorPanel->Height() - 1);
    FHue = int(std::lround(double(x) * 360 / ColorPanel->Width()));
    FSaturation = 1 - double(y) / ColorPanel->Height();
    FMarker = TPoint {x, y};
    {
        base::ValueRollback<TSource> from(FSource, TSource::Field);
        SelectColor(HSVToRGB(FHue, FSaturation, FBrightness));
    }
    MainPal->SetItemIndex(-1);
    ColorPanel->SkinData()->Invalidate();
}

void TsColorDialogForm::PickFromBar(int row) {
    MoveBarMarker(std::clamp(row, 0, GradPanel->Height() - 1));
    base::ValueRollback<TSource> from(FSource, TSource::Bar);
    SelectColor(BrightnessRowColor(FPure, FBarRow, GradPanel->Height()));
    MainPal->SetItemIndex(-1);
}

// ---- The screen picker ---------------------------------------------------------------------------------------

void TsColorDialogForm::PickFromScreen() {
    const int width = Screen->Width();
    const int height = Screen->Height();
    TBitmap shot;
    shot.SetPixelFormat(pf24bit);
    shot.SetSize(width, height);
    {
        gdi::HDC screenDc = user::GetDC(nullptr);
        base::ScopeExit releaseDc([screenDc] { user::ReleaseDC(nullptr, screenDc); });
        gdi::BitBlt(shot.Canvas()->Handle(), 0, 0, width, height, screenDc, 0, 0, gdi::SRCCOPY);
    }
    auto* picker = new TForm(Application);
    base::ScopeExit release([picker] { picker->Free(); });
    picker->SetName("ScreenPicker");
    picker->SetBorderStyle(bsNone);
    picker->SetBounds(0, 0, width, height);
    picker->SetWindowState(wsMaximized);
    picker->SetCursor(crCross);
    picker->OnPaint = [&shot, picker](TObject*) { picker->Canvas()->Draw(0, 0, &shot); };
    auto* preview = new TPanel(picker);
    preview->SetName("Preview");
    preview->SetParent(picker);
    const TPoint at = SelectedPanel->ClientToScreen(TPoint {0, 0});
    preview->SetBounds(at.x - 1, at.y - 1, SelectedPanel->Width(), SelectedPanel->Height());
    preview->SetBevelOuter(bvNone);
    preview->SetBorderStyle(bsSingle);
    preview->SetParentBackground(false);
    preview->SetColor(SelectedColor());
    auto under = [&shot](int x, int y) { return shot.Canvas()->Pixels(x, y) & 0xFFFFFF; };
    picker->OnMouseMove = [preview, under](TObject*, TShiftState, int x, int y) { preview->SetColor(under(x, y)); };
    picker->OnMouseDown = [this, picker, under](TObject*, TMouseButton, TShiftState, int x, int y) {
        SelectColor(under(x, y));
        MainPal->SetItemIndex(-1);
        ColorPanel->SkinData()->Invalidate();
        picker->SetModalResult(mrOk);
    };
    picker->SetKeyPreview(true);
    picker->OnKeyDown = [picker](TObject*, user::WORD& key, TShiftState) {
        if (key == user::VK_ESCAPE) picker->SetModalResult(mrCancel);
    };
    picker->ShowModal();
}

}
