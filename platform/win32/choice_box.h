// The Win32 front end's message and question boxes: a text under a caption
// with an OK button (the system's message box), or with one button per
// answer (a small dialog of its own, since the system's box offers fixed
// button texts only).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Shows `text` under `caption` with an OK button, modal over `owner` (may be
// null), with the stop sign when `stop` is set; returns once it is closed.
void ShowMessageBoxW32(HWND owner, const std::string& text, const std::string& caption,
                       bool stop = false);

// Shows `text` under `caption` with one button per label of `buttons` ("&"
// marks the access key), modal over `owner`, and returns the index of the
// button pressed. Escape and the close box press the button at
// `escapeIndex`, which is also the one the box starts on.
int AskChoiceW32(HWND owner, const std::string& text, const std::string& caption,
                 const std::vector<std::string>& buttons, int escapeIndex);
