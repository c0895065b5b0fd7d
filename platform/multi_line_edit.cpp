#include "platform/multi_line_edit.h"

#include <QKeyEvent>

MultiLineEdit::MultiLineEdit(bool wantReturn, QWidget* parent)
    : QPlainTextEdit(parent), m_bWantReturn(wantReturn) {
    setTabChangesFocus(true);
}

void MultiLineEdit::keyPressEvent(QKeyEvent* event) {
    const bool isEnter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!isEnter) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    // Ctrl+Enter breaks the line either way; Shift+Enter too with "want
    // return", as a plain line end rather than a soft line separator.
    if (m_bWantReturn || (event->modifiers() & Qt::ControlModifier)) {
        textCursor().insertText(QStringLiteral("\n"));
        ensureCursorVisible();
        event->accept();
        return;
    }
    // Unhandled here, the key goes on to the dialog and its default button.
    event->ignore();
}
