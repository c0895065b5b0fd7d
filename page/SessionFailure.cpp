#include "page/SessionFailure.h"

#include <cstring>

#include "model/Messages.h"

const char* MessageOf(FailureCode code) {
    switch (code) {
        case FailureCode::kNone:
            return nullptr;
        case FailureCode::kCannotRead:
            return kMsgCannotRead;
        case FailureCode::kReadIncomplete:
            return kMsgReadIncomplete;
        case FailureCode::kNotRegularFile:
            return kMsgNotRegularFile;
        case FailureCode::kPageMissing:
            return kMsgPageMissing;
        case FailureCode::kPageBusy:
            return kMsgPageBusy;
        case FailureCode::kOutOfMemory:
            return kMsgOutOfMemory;
        case FailureCode::kCouldNotCreate:
            return kMsgCouldNotCreate;
        case FailureCode::kRegistryDamaged:
            return kMsgRegistryDamaged;
        case FailureCode::kSettingsUnreadable:
            return kMsgSettingsUnreadable;
        case FailureCode::kEditRefused:
            return kMsgEditRefused;
        case FailureCode::kNoBody:
            return kMsgNoBody;
        case FailureCode::kNoPlaceForList:
            return kMsgNoPlaceForList;
        case FailureCode::kEncodingWouldChange:
            return kMsgEncodingWouldChange;
        case FailureCode::kFeedNotWritten:
            return kMsgFeedNotWritten;
        case FailureCode::kFeedHasNoPlace:
            return kMsgFeedHasNoPlace;
        case FailureCode::kFeedOutside:
            return kMsgFeedOutside;
    }
    return nullptr;
}

std::string SessionFailure::Text(const char* separator) const {
    std::string text = message != nullptr ? message : "";
    if (error != 0) text += separator + std::string(std::strerror(error)) + ".";
    if (!detail.empty()) text += separator + detail;
    return text;
}
