// Why a step of a page session was refused: a fixed message for the user and
// the errno value of the cause.
#pragma once

#include <string>
#include <utility>

struct SessionFailure {
    SessionFailure() = default;
    SessionFailure(const char* message, int error, std::string detail = {})
        : message(message), error(error), detail(std::move(detail)) {}

    const char* message = nullptr;  // null when nothing failed
    int error = 0;                  // errno value of the cause, 0 when none
    std::string detail;             // where the cause lies, when it is not the system's

    explicit operator bool() const { return message != nullptr; }
    // The message followed by the system's text for `error` and by `detail`,
    // when there are.
    std::string Text(const char* separator) const;
};

// The failure of a step that the caller's own edit refused, having already
// said why.
inline constexpr const char kMsgEditRefused[] = "The page was left unchanged.";
