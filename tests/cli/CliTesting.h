// What the tavrel command tests share: a check that what a command said
// holds a given text, which shows the whole text when it does not.
#pragma once

#include <gtest/gtest.h>

#include <string>

// Success when `said` holds `part`; otherwise a failure that shows both.
inline ::testing::AssertionResult Says(const std::string& said, const std::string& part) {
    if (said.find(part) != std::string::npos) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << part << "\" is not in:\n" << said;
}
