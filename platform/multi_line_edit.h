// A multi-line edit control as dialogs use it.
//
// Tab moves the focus on instead of typing a tab. Without "want return",
// Enter is left to the dialog, which presses its default button, just as in a
// single-line field, and Ctrl+Enter puts the line break into the text. With
// "want return", Enter in any combination breaks the line.
#pragma once

#include <QPlainTextEdit>

class MultiLineEdit : public QPlainTextEdit {
    Q_OBJECT
  public:
    MultiLineEdit(bool wantReturn, QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool m_bWantReturn;
};
