// Answering the modal windows a test's command opens.
#include "support/ModalAnswer.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TLabel.h"
#include "platform/classes/TScreen.h"
#include "platform/user/MessageLoop.h"

#include <memory>

namespace korvex::app::test {

using namespace classes;

namespace {

std::string LabelTexts(TCustomForm* form) {
    std::string text;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* label = dynamic_cast<TCustomLabel*>(form->Components(i)))
            text += (text.empty() ? "" : "|") + label->Caption();
    return text;
}

struct TModalWatch {
    bool Returned = false;   // the action came back: a task run later sees no modal window of it
    bool Opened = false;
    std::string Text;
};

// Runs inside the action's modal loop only: before, nothing turns the loop; after, the watch has ended.
void WatchModal(const std::shared_ptr<TModalWatch>& watch) {
    user::MessageEventLoop().Post([watch] {
        if (watch->Returned) return;
        TCustomForm* active = Screen->ActiveCustomForm();
        if (Application->ModalLevel() == 0 || active == nullptr || !active->FormState().Contains(fsModal))
            return WatchModal(watch);
        watch->Opened = true;
        watch->Text = LabelTexts(active);
        active->SetModalResult(mrOk);
    });
}

}

void AnswerModal(TModalResult result, std::string* caption, std::string* text) {
    user::MessageEventLoop().Post([result, caption, text] {
        TCustomForm* active = Screen->ActiveCustomForm();
        if (Application->ModalLevel() == 0 || active == nullptr || !active->FormState().Contains(fsModal))
            return AnswerModal(result, caption, text);
        if (caption != nullptr) *caption = active->Caption();
        if (text != nullptr) *text = LabelTexts(active);
        active->SetModalResult(result);
    });
}

bool OpensModal(const std::function<void()>& action, std::string* text) {
    auto watch = std::make_shared<TModalWatch>();
    WatchModal(watch);
    action();
    watch->Returned = true;
    if (text != nullptr) *text = watch->Text;
    return watch->Opened;
}

}
