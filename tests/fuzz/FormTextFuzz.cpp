// Fuzz target: component text parsed, read into components (the standard controls, menus and stored
// skins), their windows made and shown once, and freed.
#include "platform/classes/Errors.h"
#include "platform/classes/FormText.h"
#include "platform/classes/StdControls.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TEdit.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TLabel.h"
#include "platform/classes/TMemo.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TPageControl.h"
#include "platform/classes/TPanel.h"
#include "platform/classes/TProgressBar.h"
#include "platform/classes/TReader.h"
#include "platform/classes/TRichEdit.h"
#include "platform/classes/TScrollBox.h"
#include "platform/classes/TSpeedButton.h"
#include "platform/classes/TSplitter.h"
#include "platform/classes/TStatusBar.h"
#include "platform/classes/TStringGrid.h"
#include "platform/classes/TTimer.h"
#include "platform/classes/TToolBar.h"
#include "platform/classes/TTrackBar.h"
#include "platform/classes/TUpDown.h"
#include "skin/engine/sStoredSkins.h"

#include "support/FuzzSupport.h"
#include "support/HeadlessUi.h"

#include <exception>

using namespace korvex;
using namespace korvex::classes;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartHeadlessUi();
    RegisterStdControlClasses();
    RegisterMenuClasses();
    skin::RegisterStoredSkinClasses();
    RegisterClasses({TForm::StaticClass(), TPanel::StaticClass(), TLabel::StaticClass(), TEdit::StaticClass(),
        TMemo::StaticClass(), TRichEdit::StaticClass(), TStringGrid::StaticClass(), TPageControl::StaticClass(),
        TTabSheet::StaticClass(), TStatusBar::StaticClass(), TToolBar::StaticClass(), TToolButton::StaticClass(),
        TTrackBar::StaticClass(), TUpDown::StaticClass(), TProgressBar::StaticClass(), TScrollBox::StaticClass(),
        TSplitter::StaticClass(), TSpeedButton::StaticClass(), TImageList::StaticClass(), TTimer::StaticClass()});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    try {
        formtext::Parse(text);
    } catch (const EReadError&) {
    }

    TComponent* component = nullptr;
    try {
        component = ReadComponent(text, Application);
    } catch (const std::exception&) {
        return 0;   // refused with a message, nothing left behind
    }
    if (component == nullptr) fuzz::Fail("read nothing without an error");
    try {
        if (auto* control = dynamic_cast<TWinControl*>(component)) {
            control->HandleNeeded();
            control->Show();
            fuzz::PumpUi();
        }
    } catch (const EInvalidOperation&) {
        // a control whose text gives it no parent window cannot make its own
    }
    component->Free();
    fuzz::PumpUi();
    return 0;
}
