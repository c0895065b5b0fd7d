// Reading, writing, enabling the controls of a built dialog by their IDs
// (see platform/dialog_builder.h), the way dialog code addresses them.
#pragma once

#include <cstddef>
#include <string>

class QWidget;

// The text of control `id` in `dialog` as UTF-8, cut to at most `maxBytes`
// bytes without splitting a character; "" when there is no such control.
// Line breaks of a multi-line field come as "\n".
std::string GetDlgItemText(const QWidget* dialog, int id, std::size_t maxBytes);

// Replaces the text of control `id` with the UTF-8 `text`; no such control,
// no change.
void SetDlgItemText(QWidget* dialog, int id, const std::string& text);

// Holds edit control `id` to `maxCharacters` characters (Unicode code points,
// not bytes) while the user types or pastes: an edit that would make the
// text longer than that, and longer than it was, is refused whole, so the
// field never shows what would be dropped. Text put in by SetDlgItemText is
// never cut; the user can still shorten it.
void LimitDlgItemText(QWidget* dialog, int id, int maxCharacters);

// Enables or disables control `id`; a disabled control ignores the user.
void EnableDlgItem(QWidget* dialog, int id, bool enable);
