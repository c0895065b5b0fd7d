// Why a step of a page session was refused: a fixed message for the user and
// the errno value of the cause.
#pragma once

#include <string>

struct SessionFailure {
    const char* message = nullptr;  // null when nothing failed
    int error = 0;                  // errno value of the cause, 0 when none

    explicit operator bool() const { return message != nullptr; }
    // The message followed by the system's text for `error`, when there is one.
    std::string Text(const char* separator) const;
};

// The failure of a step that the caller's own edit refused, having already
// said why.
inline constexpr const char kMsgEditRefused[] = "The page was left unchanged.";
