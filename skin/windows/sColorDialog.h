// The skinned colour dialog: TsColorDialog and its form TsColorDialogForm with the main and custom palettes,
// the hue/saturation field, the brightness bar, the R, G, B, H, S, B, decimal and hexadecimal edits and the
// screen colour picker.
#pragma once

#include "platform/classes/TCommonDialog.h"
#include "platform/classes/TForm.h"

#include <memory>

namespace korvex::classes {
class TBitmap;
class TPanel;
class TStringList;
}

namespace korvex::skin {

class TsBitBtn;
class TsColorsPanel;
class TsCurrencyEdit;
class TsMaskEdit;
class TsPanel;
class TsSkinProvider;
class TsSpeedButton;

inline constexpr int ColorDialogWideWidth = 545;
inline constexpr int ColorDialogNarrowWidth = 235;

class TsColorDialog : public classes::TColorDialog {
public:
    explicit TsColorDialog(classes::TComponent* owner);
    ~TsColorDialog() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    classes::TStrings* MainColors() const;
    void SetMainColors(const classes::TStrings* value);   // copies the lines

    // The skinned form while a default skin manager exists, else the plain dialog.
    bool Execute() override;

private:
    std::unique_ptr<classes::TStringList> FMainColors;
};

// The colour a row of the brightness bar of the given height shows for a pure colour: white at the top,
// the pure colour in the middle, black at the bottom.
classes::TColor BrightnessRowColor(classes::TColor pure, int row, int height);

class TsColorDialogForm : public classes::TForm {
public:
    explicit TsColorDialogForm(classes::TComponent* owner);
    ~TsColorDialogForm() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    TsColorDialog* Dialog = nullptr;   // the dialog that shows the form, set for the form's life

    // Every input ends here: the chosen colour shown and written to every edit but the one it came from.
    void SelectColor(classes::TColor color);
    classes::TColor SelectedColor() const;
    int Hue() const { return FHue; }
    double Saturation() const { return FSaturation; }
    double Brightness() const { return FBrightness; }
    int BarRow() const { return FBarRow; }
    int NextCustomSlot() const { return FNextCustomSlot; }

    void AddToCustomColors();   // the hex text into the selected custom cell, else the next slot (wrapping)
    void DefineColors();   // opens the form to its full width
    void PickFromField(int x, int y);   // the hue and saturation at a point of the colour field
    void PickFromBar(int row);   // the colour of a row of the brightness bar
    void PickFromScreen();   // the screen picker, modal

    TsColorsPanel* MainPal = nullptr;
    TsColorsPanel* AddPal = nullptr;
    TsPanel* ColorPanel = nullptr;
    TsPanel* GradPanel = nullptr;
    classes::TPanel* SelectedPanel = nullptr;
    TsCurrencyEdit* sHEdit = nullptr;
    TsCurrencyEdit* sSEdit = nullptr;
    TsCurrencyEdit* sVEdit = nullptr;
    TsCurrencyEdit* sREdit = nullptr;
    TsCurrencyEdit* sGEdit = nullptr;
    TsCurrencyEdit* sBEdit = nullptr;
    TsCurrencyEdit* sEditDecimal = nullptr;
    TsMaskEdit* sEditHex = nullptr;
    TsSpeedButton* sSpeedButton1 = nullptr;
    TsBitBtn* sBitBtn1 = nullptr;   // OK
    TsBitBtn* sBitBtn2 = nullptr;   // Cancel
    TsBitBtn* sBitBtn3 = nullptr;   // Add to custom colors set
    TsBitBtn* sBitBtn4 = nullptr;   // Define colors
    TsBitBtn* sBitBtn5 = nullptr;   // Help
    TsSkinProvider* SkinProvider = nullptr;

private:
    enum class TSource { None, Field, Bar, Hex, Decimal, HSB, RGB };
    void Build();
    void BuildEdits();
    void EditChanged(TSource source);
    void MainPalChange(classes::TObject* sender);
    void PaintField(classes::TCanvas* canvas);
    void PaintBar(classes::TCanvas* canvas);
    void PaintBarMarker();   // the triangle on the form beside the bar's selected row
    void MoveBarMarker(int row);   // the old triangle's place painted again from the form's background
    void MakeFieldBitmap();
    void SyncPalettes(classes::TColor color);

    std::unique_ptr<classes::TBitmap> FFieldBitmap;
    int FHue = 0;
    double FSaturation = 0;
    double FBrightness = 0;
    classes::TColor FPure = 0x0000FF;
    classes::TPoint FMarker {};
    int FBarRow = 0;
    int FNextCustomSlot = 0;
    bool FDraggingField = false;
    bool FDraggingBar = false;
    bool FUpdating = false;
    TSource FSource = TSource::None;
};

// Makes the colour box's "Custom..." item run TsColorDialog.
void InstallSkinnedColorDialog();

}
