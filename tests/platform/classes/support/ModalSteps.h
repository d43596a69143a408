// Test support for modal forms: drives the modal loop of a form that a call shows, one step per idle turn.
#pragma once

#include "platform/base/ScopeGuard.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TScreen.h"
#include "platform/user/Messages.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace korvex::classes::ctltest {

using ModalStep = std::function<void(TForm* form)>;

// Runs call, which shows a form modally; each idle turn with a visible form active runs the next step on it. A
// form still open when the steps are used up is cancelled (mrCancel). Returns what call returns.
inline int RunModalSteps(const std::function<int()>& call, std::vector<ModalStep> steps) {
    size_t next = 0;
    Application->OnIdle = [&](TObject*, bool&) {
        TForm* form = Screen->ActiveForm();
        if (form == nullptr || !form->Visible()) return;
        if (next < steps.size())
            steps[next++](form);
        else
            form->SetModalResult(mrCancel);
        user::PostMessage(form->Handle(), user::WM_NULL, 0, 0);   // the loop waits for a message
    };
    base::ScopeExit idle([] { Application->OnIdle = nullptr; });
    const int result = call();
    EXPECT_EQ(next, steps.size()) << "the form closed before every step ran";
    return result;
}

}
