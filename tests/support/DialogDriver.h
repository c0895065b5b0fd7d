// Drives built dialogs the way a user does, for the headless GUI tests: the
// items are found by their ids from res/resource.h, read and typed into
// through the dialog item layer.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialog_builder.h"
#include "platform/dialog_items.h"
#include "platform/message_box.h"
#include "res/resource.h"

class QListWidget;
class QObject;
class QWidget;

using Texts = std::vector<std::string>;

// Records the message boxes shown while it lives instead of showing them:
// "text|caption", then "|alone" for a box without owner and "|stop" for the
// stop icon. Questions (AskChoice) are recorded as "text|caption|[labels]",
// the labels joined by "/", and answered from `answers` in turn, or by the
// escape button when no answer is left.
class MessageRecorder {
  public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    Texts messages;
    std::deque<int> answers;

  private:
    MessageBoxFunction m_previous;
    ChoiceBoxFunction m_previousChoice;
};

// The item `id` of `dialog` as a T, null when it is missing or no T.
template <class T>
T* ItemAs(const QWidget* dialog, int id) {
    return qobject_cast<T*>(DialogItem(dialog, id));
}

// Clicks the push button `id` of `dialog`.
void Press(QWidget* dialog, int id);

// The texts of the rows of `list`, top to bottom.
Texts RowTexts(const QListWidget* list);

// Clicks row `row` of `list` as the user does; with `twice` a double click
// follows (the user's double click is a click and a second press).
void ClickRow(QListWidget* list, int row, bool twice = false);

// Once the event loop runs (a modal dialog of `context` has shown), lets
// `steps` act on the active modal dialog; one they leave open is rejected.
void WhenModalShown(QObject* context, const std::function<void(QWidget*)>& steps);
