// Test support: a control written as component text and read back into a new one writes the same text.
#pragma once

#include "platform/classes/TComponent.h"
#include "platform/classes/TReader.h"
#include "platform/classes/TWriter.h"

#include <gtest/gtest.h>

#include <string>

namespace korvex::classes::ctltest {

// TabOrder depends on the parent: a copy made without one has none.
inline std::string WithoutTabOrder(std::string text) {
    const std::size_t at = text.find("  TabOrder = ");
    if (at != std::string::npos) text.erase(at, text.find('\n', at) - at + 1);
    return text;
}

// Writes control, reads the text into a new component owned by owner, writes that: the same text. Returns
// the text written.
inline std::string ExpectRoundTrip(TComponent* control, TComponent* owner) {
    const std::string text = WriteComponent(control);
    TComponent* copy = ReadComponent(text, owner);
    EXPECT_NE(copy, nullptr);
    if (copy == nullptr) return text;
    EXPECT_EQ(WithoutTabOrder(WriteComponent(copy)), WithoutTabOrder(text));
    copy->Free();
    return text;
}

}
