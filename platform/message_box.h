// The program's message boxes: a text, a caption and an OK button, or a
// question with a button per answer.
//
// Every message the program shows goes through ShowMessageBox, and every
// question through AskChoice, so tests can put a recorder in place of the
// real box with SetMessageBoxFunction and SetChoiceBoxFunction.
#pragma once

#include <functional>
#include <string>
#include <vector>

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

// Shows `text` under `caption` with one button per label of `buttons` ("&"
// marks the mnemonic), modal over `owner`, and returns the index of the
// button pressed. Escape and the window's close button press the button at
// `escapeIndex`, which is also the default button.
int AskChoice(QWidget* owner, const std::string& text, const std::string& caption,
              const std::vector<std::string>& buttons, int escapeIndex);

using ChoiceBoxFunction =
    std::function<int(QWidget* owner, const std::string& text, const std::string& caption,
                      const std::vector<std::string>& buttons, int escapeIndex)>;

// Makes `function` answer every later AskChoice in place of the real box; an
// empty function restores the real box. Returns the function in use before.
ChoiceBoxFunction SetChoiceBoxFunction(ChoiceBoxFunction function);
