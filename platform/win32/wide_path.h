// The Win32 backend's conversions: the program's UTF-8 strings and
// slash-separated paths to the wide strings and long paths of the system
// calls and back, and the system's error codes as errno values.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// `text` (UTF-8) as UTF-16; bytes that are no UTF-8 become U+FFFD.
std::wstring Wide(std::string_view text);

// `text` (UTF-16) as UTF-8; unpaired surrogates become U+FFFD.
std::string Utf8(std::wstring_view text);

// `path` (UTF-8, either separator, relative or absolute) as the system
// reads it without a length limit: absolute, backslash-separated, with the
// "\\?\" (or "\\?\UNC\") prefix. "" stays "".
std::wstring LongPath(std::string_view path);

// A path the system gave ("\\?\C:\x", "\\?\UNC\host\share\x", "C:\x") in
// the program's form: without the long-path prefix, slash-separated.
std::string ProgramPath(std::wstring_view path);

// The errno value closest to the Win32 error `error`.
int ErrnoFromWin32(DWORD error);

// Sets errno from GetLastError() and returns `result`, for failure paths.
template <typename Result>
Result FailWithLastError(Result result) {
    errno = ErrnoFromWin32(GetLastError());
    return result;
}

// The Win32 handle behind the C runtime descriptor `fd`.
HANDLE HandleOf(int fd);

// A C runtime descriptor (binary mode) that owns `handle`; -1 with errno set,
// and `handle` closed, when none can be made.
int DescriptorOf(HANDLE handle, int flags);
