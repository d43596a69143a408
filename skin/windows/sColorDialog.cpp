// The skinned colour dialog: the component, the form's layout and the modal run.
#include "skin/windows/sColorDialog.h"
#include "skin/windows/sResStrings.h"

#include "platform/base/ScopeGuard.h"
#include "platform/base/Strings.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TPanel.h"
#include "platform/classes/TStringList.h"
#include "platform/os/DesktopLanguage.h"
#include "platform/user/Input.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sComboBoxes_ColorBox.h"
#include "skin/controls/sCurrEdit.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sMaskEdit.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/engine/sColorUtils.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sSkinProvider.h"

namespace korvex::skin {

using namespace korvex::classes;

namespace {

template <class T>
T* Put(TForm* form, const char* name, int left, int top, int width, int height) {
    auto* control = Create<T>(form);
    control->SetName(name);
    control->SetParent(form);
    control->SetBounds(left, top, width, height);
    return control;
}

TsLabel* PutLabel(TForm* form, const char* name, const std::string& caption, int left, int top) {
    auto* label = Put<TsLabel>(form, name, left, top, 10, 16);
    label->SetCaption(caption);
    return label;
}

// A label longer than its room (another language's text) grows to the left: it ends before the edit it names.
void KeepLeftOf(TsLabel* label, int editLeft) {
    if (label->Left() + label->Width() > editLeft - 3) label->SetLeft(editLeft - 3 - label->Width());
}

TsBitBtn* PutButton(TForm* form, const char* name, const std::string& caption, int left, int top, int width) {
    auto* button = Put<TsBitBtn>(form, name, left, top, width, 25);
    button->SetCaption(caption);
    return button;
}

// The main palette when the dialog has none: six rows of eight hues from light to dark, then greys.
void DefaultMainColors(TStrings* colors) {
    for (int row = 0; row < 5; ++row) {
        static constexpr double Saturation[5] = {0.35, 0.7, 1.0, 1.0, 1.0};
        static constexpr double Value[5] = {1.0, 1.0, 1.0, 0.7, 0.45};
        for (int col = 0; col < 8; ++col)
            colors->Add(base::IntToHex(HSVToRGB(col * 45.0, Saturation[row], Value[row]), 6));
    }
    for (int col = 0; col < 8; ++col) {
        const int grey = 255 - col * 255 / 7;
        colors->Add(base::IntToHex(grey | grey << 8 | grey << 16, 6));
    }
}

}   // namespace

// ---- TsColorDialog -------------------------------------------------------------------------------------------

TsColorDialog::TsColorDialog(TComponent* owner)
    : TColorDialog(owner)
    , FMainColors(std::make_unique<TStringList>()) {
    SetOptions({cdFullOpen});
}

TsColorDialog::~TsColorDialog() = default;

TClass TsColorDialog::StaticClass() {
    using T = TsColorDialog;
    static const TClassInfo info = MakeClass<T, TColorDialog>("TsColorDialog", [](TPropertyBuilder<T>& p) {
        p.Set("Options", &T::Options, &T::SetOptions, ColorDialogOptionIdents, TColorDialogOptions {cdFullOpen});
        p.Object("MainColors", &T::MainColors, &T::SetMainColors);
    });
    return &info;
}

TStrings* TsColorDialog::MainColors() const {
    return FMainColors.get();
}

void TsColorDialog::SetMainColors(const TStrings* value) {
    FMainColors->Assign(value);
}

bool TsColorDialog::Execute() {
    if (DefaultManager == nullptr) return TColorDialog::Execute();
    auto* form = Create<TsColorDialogForm>(Application);
    base::ScopeExit release([form] { form->Free(); });
    form->Dialog = this;
    if (CustomColors()->Count() > 0) form->AddPal->SetColors(CustomColors());
    if (FMainColors->Count() > 0) form->MainPal->SetColors(FMainColors.get());
    form->AddPal->GenerateColors();
    form->MainPal->GenerateColors();

    form->SetModalResult(mrCancel);
    form->SetBorderStyle(bsSingle);
    form->sBitBtn4->SetEnabled(!Options().Contains(cdFullOpen));
    form->SetWidth(form->sBitBtn4->Enabled() ? ColorDialogNarrowWidth : ColorDialogWideWidth);
    if (Options().Contains(cdPreventFullOpen)) form->sBitBtn4->SetEnabled(false);
    form->sBitBtn5->SetVisible(Options().Contains(cdShowHelp));

    const TModalResult result = form->ShowModal();
    SetCustomColors(form->AddPal->Colors());
    DoClose();
    if (result != mrOk) return false;
    SetColor(form->SelectedColor());
    return true;
}

// ---- The form ------------------------------------------------------------------------------------------------

TsColorDialogForm::TsColorDialogForm(TComponent* owner)
    : TForm(owner) {
    SkinProvider = new TsSkinProvider(this);
    SkinProvider->SkinData()->SetSkinSection("DIALOG");
    SkinProvider->SetMakeSkinMenu(false);
    SkinProvider->SetBorderIcons({biSystemMenu, biMinimize});
    SkinProvider->AfterConstruction();
    SetAutoScroll(false);
    SetCaption(LoadResString(58956));
    SetBorderIcons({biSystemMenu, biMinimize});
    SetPosition(poScreenCenter);
    SetClientWidth(533);
    SetClientHeight(383);
    Constraints()->SetMinWidth(ColorDialogNarrowWidth);
    Constraints()->SetMaxWidth(541);
    Constraints()->SetMinHeight(410);
    Build();
    MakeFieldBitmap();
    OnShow = [this](TObject*) {
        SelectColor(Dialog != nullptr ? ColorToRGB(Dialog->Color()) : clBlack);
        if (Dialog != nullptr) Dialog->DoShow();
    };
}

TsColorDialogForm::~TsColorDialogForm() {
    if (FDraggingField || FDraggingBar) user::ClipCursor(nullptr);   // closed in the middle of a drag
}

TClass TsColorDialogForm::StaticClass() {
    static const TClassInfo info = MakeClass<TsColorDialogForm, TForm>("TsColorDialogForm");
    return &info;
}

void TsColorDialogForm::Build() {
    PutLabel(this, "sLabel1", LoadResString(58958), 8, 6);
    MainPal = Put<TsColorsPanel>(this, "MainPal", 8, 24, 217, 136);
    MainPal->SetColCount(8);
    MainPal->SetRowCount(6);
    MainPal->SetItemWidth(21);
    MainPal->SetItemHeight(16);
    MainPal->SetItemMargin(5);
    MainPal->Colors()->Clear();
    DefaultMainColors(MainPal->Colors());
    PutLabel(this, "sLabel2", LoadResString(58957), 8, 166);
    AddPal = Put<TsColorsPanel>(this, "AddPal", 8, 184, 217, 52);
    AddPal->SetColCount(8);
    AddPal->SetRowCount(2);
    AddPal->SetItemWidth(21);
    AddPal->SetItemHeight(16);
    AddPal->SetItemMargin(5);
    for (TsColorsPanel* pal : {MainPal, AddPal}) {
        pal->GenerateColors();
        pal->OnChange = [this](TObject* sender) { MainPalChange(sender); };
    }
    sBitBtn4 = PutButton(this, "sBitBtn4", LoadResString(58959), 8, 244, 217);
    sBitBtn4->OnClick = [this](TObject*) { DefineColors(); };
    sBitBtn3 = PutButton(this, "sBitBtn3", LoadResString(58960), 8, 274, 217);
    sBitBtn3->OnClick = [this](TObject*) { AddToCustomColors(); };
    sBitBtn1 = PutButton(this, "sBitBtn1", LoadResString(58992), 8, 350, 70);
    sBitBtn1->SetDefault(true);
    sBitBtn1->SetModalResult(mrOk);
    sBitBtn2 = PutButton(this, "sBitBtn2", LoadResString(58991), 82, 350, 70);
    sBitBtn2->SetCancel(true);
    sBitBtn2->SetModalResult(mrCancel);
    sBitBtn5 = PutButton(this, "sBitBtn5", LoadResString(58990), 156, 350, 69);
    sBitBtn5->OnClick = [this](TObject*) {
        if (Dialog != nullptr && Application != nullptr) Application->HelpContext(Dialog->HelpContext());
    };

    ColorPanel = Put<TsPanel>(this, "ColorPanel", 240, 8, 260, 260);
    ColorPanel->SetCaption("");
    ColorPanel->OnPaint = [this](TObject*, TCanvas* canvas) { PaintField(canvas); };
    ColorPanel->OnMouseDown = [this](TObject*, TMouseButton button, TShiftState, int x, int y) {
        if (button != mbLeft) return;
        FDraggingField = true;
        ColorPanel->SetMouseCapture(true);
        // The pointer stays in the field until the button comes up.
        const TPoint origin = ColorPanel->ClientToScreen(TPoint {0, 0});
        const TRect field {origin.x, origin.y, origin.x + ColorPanel->Width(), origin.y + ColorPanel->Height()};
        user::ClipCursor(&field);
        PickFromField(x, y);
    };
    ColorPanel->OnMouseMove = [this](TObject*, TShiftState, int x, int y) {
        if (FDraggingField) PickFromField(x, y);
    };
    ColorPanel->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
        if (FDraggingField) user::ClipCursor(nullptr);
        FDraggingField = false;
        ColorPanel->SetMouseCapture(false);
        ColorPanel->SkinData()->Invalidate();
    };
    GradPanel = Put<TsPanel>(this, "GradPanel", 506, 8, 20, 260);
    GradPanel->SetCaption("");
    GradPanel->OnPaint = [this](TObject*, TCanvas* canvas) { PaintBar(canvas); };
    GradPanel->OnMouseDown = [this](TObject*, TMouseButton button, TShiftState, int, int y) {
        if (button != mbLeft) return;
        FDraggingBar = true;
        GradPanel->SetMouseCapture(true);
        // The pointer stays in the bar until the button comes up.
        const TPoint origin = GradPanel->ClientToScreen(TPoint {0, 0});
        const TRect bar {origin.x, origin.y, origin.x + GradPanel->Width(), origin.y + GradPanel->Height()};
        user::ClipCursor(&bar);
        PickFromBar(y);
    };
    GradPanel->OnMouseMove = [this](TObject*, TShiftState, int, int y) {
        if (FDraggingBar) PickFromBar(y);
    };
    GradPanel->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
        if (FDraggingBar) user::ClipCursor(nullptr);
        FDraggingBar = false;
        GradPanel->SetMouseCapture(false);
    };
    OnPaint = [this](TObject*) { PaintBarMarker(); };

    SelectedPanel = Put<TPanel>(this, "SelectedPanel", 240, 276, 56, 62);
    SelectedPanel->SetCaption("");
    SelectedPanel->SetBevelOuter(bvLowered);
    SelectedPanel->SetParentBackground(false);
    sSpeedButton1 = Put<TsSpeedButton>(this, "sSpeedButton1", 240, 346, 56, 25);
    sSpeedButton1->SetCaption(os::DesktopText("Pick", "Пипетка"));
    sSpeedButton1->OnClick = [this](TObject*) { PickFromScreen(); };
    BuildEdits();
    SetActiveControl(sBitBtn1);
}

void TsColorDialogForm::BuildEdits() {
    struct TEditPlace {
        TsCurrencyEdit*& Edit;
        const char* Name;
        std::string Caption;
        const char* Unit;
        int Left;
        int Top;
        double Max;
        TSource Source;
    };
    const TEditPlace places[] = {
        {sHEdit, "sHEdit", "H :", "o", 326, 276, 360, TSource::HSB},
        {sSEdit, "sSEdit", "S :", "%", 326, 302, 100, TSource::HSB},
        {sVEdit, "sVEdit", "B :", "%", 326, 328, 100, TSource::HSB},
        {sREdit, "sREdit", LoadResString(58955), "", 452, 276, 255, TSource::RGB},
        {sGEdit, "sGEdit", LoadResString(58954), "", 452, 302, 255, TSource::RGB},
        {sBEdit, "sBEdit", LoadResString(58953), "", 452, 328, 255, TSource::RGB},
        {sEditDecimal, "sEditDecimal", LoadResString(58952), "", 368, 356, 0xFFFFFF, TSource::Decimal},
    };
    for (const TEditPlace& place : places) {
        const int width = place.Source == TSource::Decimal ? 64 : 44;
        place.Edit = Put<TsCurrencyEdit>(this, place.Name, place.Left, place.Top, width, 21);
        place.Edit->SetDecimalPlaces(0);
        place.Edit->SetDisplayFormat("0");
        place.Edit->SetMinValue(0);
        place.Edit->SetMaxValue(place.Max);
        const int labelLeft = place.Left - (place.Source == TSource::Decimal ? 66 : place.Source == TSource::HSB ? 22 : 48);
        KeepLeftOf(PutLabel(this, (std::string(place.Name) + "Label").c_str(), place.Caption, labelLeft, place.Top + 3),
            place.Left);
        if (*place.Unit != 0)
            PutLabel(this, (std::string(place.Name) + "Unit").c_str(), place.Unit, place.Left + width + 3, place.Top + 3);
        const TSource source = place.Source;
        place.Edit->OnChange = [this, source](TObject*) { EditChanged(source); };
    }
    KeepLeftOf(PutLabel(this, "sEditHexLabel", LoadResString(58951), 440, 359), 474);
    // The colour number in six hexadecimal digits, blue first: "0000FF" is red. Typed: hexadecimal digits, Enter
    // and Esc only (Delete and a selection typed over still edit).
    sEditHex = Put<TsMaskEdit>(this, "sEditHex", 474, 356, 56, 21);
    sEditHex->SetEditMask("AAAAAA;1; ");
    sEditHex->OnChange = [this](TObject*) { EditChanged(TSource::Hex); };
    sEditHex->OnKeyPress = [](TObject*, char32_t& key) {
        const bool hex = (key >= '0' && key <= '9') || (key >= 'A' && key <= 'F') || (key >= 'a' && key <= 'f');
        if (!hex && key != 13 && key != 27) key = 0;
    };
}

void TsColorDialogForm::DefineColors() {
    SetWidth(Constraints()->MaxWidth() > 0 ? Constraints()->MaxWidth() : ColorDialogWideWidth);
    sBitBtn4->SetEnabled(false);
}

// ---- Installing ----------------------------------------------------------------------------------------------

void InstallSkinnedColorDialog() {
    ColorDialogRunner = [](TColor& color) {
        auto* dialog = new TsColorDialog(Application);
        base::ScopeExit release([dialog] { dialog->Free(); });
        dialog->SetColor(color);
        if (!dialog->Execute()) return false;
        color = dialog->Color();
        return true;
    };
}

}
