// Why a step of a page session was refused: a code that says which refusal
// it is, the fixed message the user reads for it, and the errno value of the
// cause. Callers decide by the code, never by the message.
#pragma once

#include <string>
#include <utility>

enum class FailureCode {
    kNone,
    kCannotRead,           // the page could not be read (errno says why)
    kReadIncomplete,       // the page could not be parsed whole (memory ran out)
    kNotRegularFile,       // the path names a folder, a pipe, a device ...
    kPageMissing,          // a step that needs the page found none
    kPageBusy,             // another program held the lock past the wait
    kOutOfMemory,          // memory ran out during the step
    kCouldNotCreate,       // the page could not be written (errno says why)
    kRegistryDamaged,      // a fresh page cannot be signed: the hive is damaged
    kSettingsUnreadable,   // the server's settings could not be read
    kEditRefused,          // the caller's own edit refused, having said why
    kNoBody,               // a frameset page has no place for the list
    kNoPlaceForList,       // the page's markup would take an added list apart
    kEncodingWouldChange,  // the write would change how browsers decode the page
    kFeedNotWritten,       // the page was written, its feed was not
    kFeedHasNoPlace,       // the page has no URL, so its feed has no place
    kFeedOutside,          // the feed link leads outside the document tree
};

// The fixed message of `code`; null for kNone.
const char* MessageOf(FailureCode code);

struct SessionFailure {
    SessionFailure() = default;
    SessionFailure(FailureCode code, int error, std::string detail = {})
        : code(code), message(MessageOf(code)), error(error), detail(std::move(detail)) {}

    FailureCode code = FailureCode::kNone;
    const char* message = nullptr;  // the code's message; null when nothing failed
    int error = 0;                  // errno value of the cause, 0 when none
    std::string detail;             // where the cause lies, when it is not the system's

    explicit operator bool() const { return code != FailureCode::kNone; }
    // The message followed by the system's text for `error` and by `detail`,
    // when there are.
    std::string Text(const char* separator) const;
};

// The message of a step that the caller's own edit refused, having already
// said why.
inline constexpr const char kMsgEditRefused[] = "The page was left unchanged.";
