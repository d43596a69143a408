// Test support: pumping the message queue, and saying so when the pump stopped at its bound (a message cycle).
#pragma once

#include "platform/user/MessageLoop.h"

#include <gtest/gtest.h>

namespace korvex::user::test {

// Everything pending, presented. A pump that gave up at its bound with messages still coming is a message
// cycle: the running test fails, and the result says so too, for tests that check it where it matters.
inline ::testing::AssertionResult PumpSettled() {
    bool hitLimit = false;
    int handled = PumpMessages(&hitLimit);
    if (!hitLimit) return ::testing::AssertionSuccess();
    ADD_FAILURE() << "the message pump stopped at its bound after " << handled << " messages (a message cycle)";
    return ::testing::AssertionFailure() << "the pump stopped at its bound (a message cycle)";
}

}
