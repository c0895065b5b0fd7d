// How the editing core asks the user and tells the user things: a front end
// (the Qt dialog, a native dialog, a test) implements this interface and
// answers with the named answers it was offered.
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

class EditorPrompts {
  public:
    virtual ~EditorPrompts() = default;
    // Asks `question` and waits: one of its answers.
    virtual Answer Ask(const Question& question) = 0;
    // Tells `text` in a box captioned `caption` and waits until it is read.
    virtual void Tell(const std::string& text, const std::string& caption) = 0;
};
