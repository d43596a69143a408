// The skinned message dialog: its texts, the form, the layout from the message font and the modal call.
#include "skin/windows/sMessageDlg.h"
#include "skin/windows/sResStrings.h"

#include "platform/base/Assert.h"
#include "platform/base/Numbers.h"
#include "platform/base/ScopeGuard.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/SystemIcons.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TIcon.h"
#include "platform/classes/TImage.h"
#include "platform/classes/TScreen.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/Text.h"
#include "platform/user/SystemMetrics.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sLabel.h"
#include "skin/engine/sUtils.h"
#include "skin/windows/sSkinProvider.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;
using base::MulDiv;

namespace {

struct TButtonKind {
    const char* Name;
    int Caption;   // string-table id
    TModalResult Result;
};

// In TMsgDlgBtn order.
constexpr TButtonKind ButtonKinds[MsgDlgButtonKinds] = {
    {"Yes", 58994, mrYes},
    {"No", 58993, mrNo},
    {"OK", 58992, mrOk},
    {"Cancel", 58991, mrCancel},
    {"Abort", 58987, mrAbort},
    {"Retry", 58986, mrRetry},
    {"Ignore", 58985, mrIgnore},
    {"All", 58984, mrAll},
    {"NoToAll", 58983, mrNoToAll},
    {"YesToAll", 58982, mrYesToAll},
    {"Help", 58990, mrNone},
};

// The system icon of each type; 0 for none.
int IconId(TMsgDlgType dlgType) {
    switch (dlgType) {
    case mtWarning:
        return IDI_EXCLAMATION;
    case mtError:
        return IDI_HAND;
    case mtInformation:
        return IDI_ASTERISK;
    case mtConfirmation:
        return IDI_QUESTION;
    case mtCustom:
        break;
    }
    return 0;
}

// The mean width of the letters A-Z and a-z, and the line height, in the DC's font.
TPoint AverageCharSize(gdi::HDC dc) {
    static constexpr std::string_view letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    gdi::SIZE size {};
    gdi::GetTextExtentPoint(dc, letters, &size);
    return TPoint {size.cx / 52, size.cy};
}

}   // namespace

// ---------------------------------------------------------------------------------------------------------
// Texts

std::string MsgDlgCaption(TMsgDlgType dlgType) {
    switch (dlgType) {
    case mtWarning:
        return LoadResString(58998);
    case mtError:
        return LoadResString(58997);
    case mtInformation:
        return LoadResString(58996);
    case mtConfirmation:
        return LoadResString(58995);
    case mtCustom:
        break;
    }
    return Application != nullptr ? Application->Title() : std::string();
}

std::string MsgDlgButtonCaption(TMsgDlgBtn kind) {
    return LoadResString(ButtonKinds[kind].Caption);
}

const char* MsgDlgButtonName(TMsgDlgBtn kind) {
    return ButtonKinds[kind].Name;
}

int MsgDlgModalResult(TMsgDlgBtn kind) {
    return ButtonKinds[kind].Result;
}

std::array<int, MsgDlgButtonKinds>& MsgDlgButtonWidths() {
    static std::array<int, MsgDlgButtonKinds> widths {};
    return widths;
}

// ---------------------------------------------------------------------------------------------------------
// The form

TsMessageForm::TsMessageForm(TComponent* owner, int)
    : TForm(owner) {
    const user::NONCLIENTMETRICS metrics = user::GetNonClientMetrics();
    if (gdi::HFONT font = gdi::CreateFontIndirect(metrics.lfMessageFont)) Font()->SetHandle(font);
    FSkinProvider = new TsSkinProvider(this);
    FSkinProvider->SkinData()->SetSkinSection("DIALOG");
    FSkinProvider->SetMakeSkinMenu(false);
    FSkinProvider->AfterConstruction();
    SetAutoScroll(false);
}

TClass TsMessageForm::StaticClass() {
    static const TClassInfo info = MakeClass<TsMessageForm, TForm>("TsMessageForm");
    return &info;
}

void TsMessageForm::HelpButtonClick(TObject*) {
    if (Application != nullptr) Application->HelpContext(HelpContext());
}

// ---------------------------------------------------------------------------------------------------------
// Building

TsMessageForm* sCreateMessageDialog(const std::string& title, const std::string& msg, TMsgDlgType dlgType,
    TMsgDlgButtons buttons) {
    auto* form = Create<TsMessageForm>(Application);
    base::ScopeExit discard([form] { form->Free(); });
    form->SetBiDiMode(Application->BiDiMode());
    form->SetBorderStyle(bsDialog);
    form->Canvas()->Font()->Assign(form->Font());
    // Measured on a DC of our own holding the form's font, the font the label and buttons draw with (the
    // form's canvas selects its font only when it draws).
    const gdi::HDC dc = gdi::CreateCompatibleDC(nullptr);
    KORVEX_ASSERT(dc != nullptr);
    const gdi::HGDIOBJ oldFont = gdi::SelectObject(dc, form->Font()->Handle());
    base::ScopeExit freeDc([dc, oldFont] {
        gdi::SelectObject(dc, oldFont);
        gdi::DeleteDC(dc);
    });

    const TPoint average = AverageCharSize(dc);
    const int horzMargin = MulDiv(16, average.x, 4);
    const int vertMargin = MulDiv(12, average.y, 8);
    const int horzSpacing = MulDiv(10, average.x, 4);
    const int vertSpacing = MulDiv(10, average.y, 8);
    int buttonWidth = MulDiv(50, average.x, 4);
    const int buttonHeight = MulDiv(14, average.y, 8);
    const int buttonSpacing = MulDiv(4, average.x, 4);

    auto& widths = MsgDlgButtonWidths();
    int buttonCount = 0;
    for (int k = 0; k < MsgDlgButtonKinds; ++k) {
        const auto kind = TMsgDlgBtn(k);
        if (!buttons.Contains(kind)) continue;
        ++buttonCount;
        if (widths[k] == 0) {
            gdi::RECT r {};
            gdi::DrawText(dc, MsgDlgButtonCaption(kind), &r,
                form->DrawTextBiDiModeFlags(gdi::DT_CALCRECT | gdi::DT_SINGLELINE | gdi::DT_LEFT));
            widths[k] = r.right - r.left + 8;
        }
        buttonWidth = std::max(buttonWidth, widths[k]);
    }

    // The text with its terminating character, wrapped at half the screen's width.
    gdi::RECT textRect {0, 0, Screen->Width() / 2, 0};
    gdi::DrawText(dc, std::string_view(msg.c_str(), msg.size() + 1), &textRect,
        form->DrawTextBiDiModeFlags(gdi::DT_CALCRECT | gdi::DT_WORDBREAK | gdi::DT_EXPANDTABS));
    const int iconId = IconId(dlgType);
    int iconTextWidth = textRect.right;
    int iconTextHeight = textRect.bottom;
    if (iconId != 0) {
        iconTextWidth += 32 + horzSpacing;
        iconTextHeight = std::max(iconTextHeight, 32);
    }
    const int buttonGroupWidth = buttonCount == 0 ? 0 : buttonWidth * buttonCount + buttonSpacing * (buttonCount - 1);
    form->SetClientWidth(std::max(iconTextWidth, buttonGroupWidth) + 2 * horzMargin);
    form->SetClientHeight(iconTextHeight + buttonHeight + vertSpacing + 2 * vertMargin);
    form->SetLeft(Screen->Width() / 2 - form->Width() / 2);
    form->SetTop(Screen->Height() / 2 - form->Height() / 2);
    form->SetCaption(!title.empty() ? title : MsgDlgCaption(dlgType));

    if (iconId != 0) {
        auto* image = new TImage(form);
        image->SetName("Image");
        image->SetParent(form);
        image->Picture()->Icon()->Assign(TIcon::FromHandle(LoadIcon(nullptr, iconId)));
        // Read right to left the icon goes to the right, where the text leaves it room.
        const int imageLeft = form->UseRightToLeftAlignment() ? form->ClientWidth() - horzMargin - 32 : horzMargin;
        image->SetBounds(imageLeft, vertMargin, 32, 32);
    }

    auto* label = new TsLabel(form);
    label->SetName("Message");
    label->SetParent(form);
    label->SetWordWrap(true);
    label->SetCaption(msg);
    label->SetBiDiMode(form->BiDiMode());
    int textLeft = iconTextWidth - textRect.right + horzMargin;
    if (label->UseRightToLeftAlignment()) textLeft = form->ClientWidth() - textLeft - textRect.right;
    label->SetBounds(textLeft, vertMargin, textRect.right, textRect.bottom);

    const TMsgDlgBtn defaultKind
        = buttons.Contains(mbOK) ? mbOK : buttons.Contains(mbYes) ? mbYes : mbRetry;
    const TMsgDlgBtn cancelKind
        = buttons.Contains(mbCancel) ? mbCancel : buttons.Contains(mbNo) ? mbNo : mbOK;
    int x = (form->ClientWidth() - buttonGroupWidth) / 2;
    for (int k = 0; k < MsgDlgButtonKinds; ++k) {
        const auto kind = TMsgDlgBtn(k);
        if (!buttons.Contains(kind)) continue;
        auto* button = Create<TsBitBtn>(form);
        button->SetName(MsgDlgButtonName(kind));
        button->SetParent(form);
        button->SetCaption(MsgDlgButtonCaption(kind));
        button->SetModalResult(MsgDlgModalResult(kind));
        if (kind == defaultKind) button->SetDefault(true);
        if (kind == cancelKind) button->SetCancel(true);
        button->SetBounds(x, iconTextHeight + vertMargin + vertSpacing, buttonWidth, buttonHeight);
        if (kind == mbHelp) button->OnClick = [form](TObject* sender) { form->HelpButtonClick(sender); };
        x += buttonWidth + buttonSpacing;
    }
    discard.Dismiss();
    return form;
}

// ---------------------------------------------------------------------------------------------------------
// Showing

int sMessageDlgPosHelp(const std::string& title, const std::string& msg, TMsgDlgType dlgType,
    TMsgDlgButtons buttons, int helpCtx, int x, int y, const std::string& helpFileName) {
    TsMessageForm* form = sCreateMessageDialog(title, msg, dlgType, buttons);
    base::ScopeExit release([form] { form->Free(); });
    form->SetHelpContext(helpCtx);
    form->SetHelpFile(helpFileName);
    if (x >= 0) form->SetLeft(x);
    if (y >= 0) form->SetTop(y);
    if (x < 0 && y < 0) form->SetPosition(poScreenCenter);
    return form->ShowModal();
}

int sMessageDlgPos(const std::string& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons, int helpCtx, int x, int y) {
    return sMessageDlgPosHelp("", msg, dlgType, buttons, helpCtx, x, y, "");
}

int sMessageDlg(const std::string& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons, int helpCtx) {
    return sMessageDlgPosHelp("", msg, dlgType, buttons, helpCtx, -1, -1, "");
}

void sShowMessagePos(const std::string& msg, int x, int y) {
    sMessageDlgPos(msg, mtCustom, {mbOK}, 0, x, y);
}

void sShowMessage(const std::string& msg) {
    sShowMessagePos(msg, -1, -1);
}

// ---------------------------------------------------------------------------------------------------------
// The program's message boxes

void ShowExceptionMessage(TObject*, const std::exception& error) {
    sShowMessage(error.what());
}

void InstallSkinnedMessageBoxes() {
    SetMessageDialogHook([](const std::string& text, TsMessageKind kind) {
        switch (kind) {
        case TsMessageKind::Confirmation:
            return sMessageDlg(text, mtConfirmation, {mbYes, mbNo}, 0) == mrYes;
        case TsMessageKind::Warning:
            sMessageDlg(text, mtWarning, {mbOK}, 0);
            return true;
        case TsMessageKind::Error:
            sMessageDlg(text, mtError, {mbOK}, 0);
            return true;
        }
        return false;
    });
    if (Application != nullptr) Application->OnException = ShowExceptionMessage;
}

}
