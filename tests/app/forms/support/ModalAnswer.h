// Answering the modal windows a test's command opens: as soon as one is up (tasks run inside its loop too).
#pragma once

#include "platform/classes/TForm.h"

#include <functional>
#include <string>

namespace korvex::app::test {

// Closes the next modal window with `result`; its caption and the text of its labels (joined by "|") are
// stored when asked.
void AnswerModal(classes::TModalResult result, std::string* caption = nullptr, std::string* text = nullptr);

// Runs `action`, closing with mrOk any modal window it opens (the text of its labels stored when asked); true when
// one opened. Nothing is left waiting for a later modal window.
bool OpensModal(const std::function<void()>& action, std::string* text = nullptr);

}
