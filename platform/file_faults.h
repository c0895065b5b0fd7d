// The fault counter behind SetFileFault (platform/file_ops.h), shared by the
// backends: each file operation asks it once whether it is the one to fail.
#pragma once

#include <cerrno>

// Counts one file operation; true, with errno set to the injected error, when
// it is the one SetFileFault chose.
bool FileFaultInjected();

// Runs `call` as one file operation, again while it is interrupted (EINTR);
// an injected failure returns -1 as the call itself would.
template <typename Call>
auto FileOperation(Call call) -> decltype(call()) {
    decltype(call()) result;
    do {
        result = FileFaultInjected() ? static_cast<decltype(call())>(-1) : call();
    } while (result == static_cast<decltype(call())>(-1) && errno == EINTR);
    return result;
}
