// The program's message boxes: a text, a caption and an OK button.
//
// Every message the program shows goes through ShowMessageBox, so tests can
// put a recorder in place of the real box with SetMessageBoxFunction.
#pragma once

#include <functional>
#include <string>

class QWidget;

enum class MessageBoxIcon { None, Stop };

// Shows `text` (UTF-8) under `caption` with only an OK button and `icon`, and
// returns when the user closed it. The box is modal over `owner`, or stands
// alone when `owner` is null.
void ShowMessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                    MessageBoxIcon icon = MessageBoxIcon::None);

using MessageBoxFunction = std::function<void(QWidget* owner, const std::string& text,
                                              const std::string& caption, MessageBoxIcon icon)>;

// Makes `function` show every later message box in place of the real one; an
// empty function restores the real box. Returns the function in use before.
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function);
