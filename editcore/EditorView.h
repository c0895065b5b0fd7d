// What the editing core needs of a front end (the Qt dialog, a native
// dialog, a test): to ask the user, answering with one of the named answers
// it was offered, to tell the user something, and to show the core's list
// anew when the core changed it.
#pragma once

#include <string>
#include <vector>

// The answers a question may offer; each has its button text (LabelOf).
enum class Answer {
    kYes,
    kNo,
    kCancel,
    kApplyMyChanges,
    kOverwrite,
    kGoBack,
    kBuildAnyway,
    kDiscard,
};

// The button text of `answer`, with its "&" access key.
const char* LabelOf(Answer answer);

// One question: its text, the caption of its box, the answers in the order
// they are offered, and the answer that Escape or the close box gives (also
// the one the box starts on, so that a stray Enter changes nothing).
struct Question {
    std::string text;
    std::string caption;
    std::vector<Answer> answers;
    Answer escape = Answer::kCancel;
};

// The button texts of `question`'s answers, in the order they are offered.
std::vector<std::string> LabelsOf(const Question& question);
// The position of `question`'s escape answer among its answers.
int EscapeIndexOf(const Question& question);
// The answer at `index` of `question`'s answers; its escape answer for an
// index it does not offer (a box closed some other way).
Answer AnswerAt(const Question& question, int index);

class EditorView {
  public:
    virtual ~EditorView() = default;
    // Asks `question` and waits: one of its answers.
    virtual Answer Ask(const Question& question) = 0;
    // Tells `text` in a box captioned `caption` and waits until it is read.
    virtual void Tell(const std::string& text, const std::string& caption) = 0;
    // The core's list changed other than by the view's own Add, Change or
    // Delete: shows it anew with the entry at `row` selected (-1, or a row
    // the list lacks: the first entry, or the empty list's fields).
    virtual void ShowEntries(int row) = 0;
};
