#include "platform/multi_line_edit.h"

#include <QKeyEvent>

MultiLineEdit::MultiLineEdit(bool wantReturn, QWidget* parent)
    : QPlainTextEdit(parent), m_bWantReturn(wantReturn) {
    setTabChangesFocus(true);
}

void MultiLineEdit::keyPressEvent(QKeyEvent* event) {
    const bool isEnter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!isEnter || m_bWantReturn) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    if (event->modifiers() & Qt::ControlModifier) {
        textCursor().insertText(QStringLiteral("\n"));
        ensureCursorVisible();
        event->accept();
        return;
    }
    // Unhandled here, the key goes on to the dialog and its default button.
    event->ignore();
}
