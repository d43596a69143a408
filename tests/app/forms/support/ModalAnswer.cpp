// Answering the modal windows a test's command opens.
#include "support/ModalAnswer.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TLabel.h"
#include "platform/classes/TScreen.h"
#include "platform/user/MessageLoop.h"

namespace korvex::app::test {

using namespace classes;

void AnswerModal(TModalResult result, std::string* caption, std::string* text) {
    user::MessageEventLoop().Post([result, caption, text] {
        TCustomForm* active = Screen->ActiveCustomForm();
        if (Application->ModalLevel() == 0 || active == nullptr || !active->FormState().Contains(fsModal))
            return AnswerModal(result, caption, text);
        if (caption != nullptr) *caption = active->Caption();
        if (text != nullptr) {
            text->clear();
            for (int i = 0; i < active->ComponentCount(); ++i)
                if (auto* label = dynamic_cast<TCustomLabel*>(active->Components(i)))
                    *text += (text->empty() ? "" : "|") + label->Caption();
        }
        active->SetModalResult(result);
    });
}

}
