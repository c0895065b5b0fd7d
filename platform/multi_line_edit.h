// A multi-line edit control as dialogs use it.
//
// Tab moves the focus on instead of typing a tab. Without "want return",
// Enter is left to the dialog, which presses its default button, just as in a
// single-line field, and Ctrl+Enter puts the line break into the text. With
// "want return", Enter in any combination breaks the line.
//
// A limit on its length (SetMaxCharacters) holds what the user types, pastes
// or drops: an edit that would make the text longer than the limit, and
// longer than it was, is undone whole. Text the program sets is not cut.
#pragma once

#include <QPlainTextEdit>

// The number of characters (Unicode code points) of `text`.
qsizetype CharacterCount(const QString& text);

class MultiLineEdit : public QPlainTextEdit {
    Q_OBJECT
  public:
    MultiLineEdit(bool wantReturn, QWidget* parent);

    // Limits what the user may make the text to `maxCharacters` characters.
    void SetMaxCharacters(int maxCharacters) { m_maxCharacters = maxCharacters; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

  private:
    void HandleKey(QKeyEvent* event);
    // Runs the user's edit `edit`, then puts the text back as it was when the
    // edit made it longer than the limit.
    template <typename Edit>
    void Limited(Edit edit);

    bool m_bWantReturn;
    int m_maxCharacters = -1;  // -1: no limit
};
