// Drives built dialogs the way a user does, for the headless GUI tests.
#pragma once

#include <string>
#include <vector>

#include "platform/message_box.h"

class QListWidget;
class QWidget;

// Records the message boxes shown while it lives instead of showing them:
// "text|caption", then "|alone" for a box without owner and "|stop" for the
// stop icon.
class MessageRecorder {
  public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<std::string> messages;

  private:
    MessageBoxFunction m_previous;
};

// Clicks the push button `id` of `dialog`.
void Press(QWidget* dialog, int id);

// The texts of the rows of `list`, top to bottom.
std::vector<std::string> RowTexts(const QListWidget* list);

// Clicks row `row` of `list` as the user does; with `twice` a double click
// follows (the user's double click is a click and a second press).
void ClickRow(QListWidget* list, int row, bool twice = false);
