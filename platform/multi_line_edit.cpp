#include "platform/multi_line_edit.h"

#include <QKeyEvent>
#include <QTextCursor>

qsizetype CharacterCount(const QString& text) {
    qsizetype count = 0;
    for (const QChar c : text) {
        if (!c.isLowSurrogate()) ++count;
    }
    return count;
}

MultiLineEdit::MultiLineEdit(bool wantReturn, QWidget* parent)
    : QPlainTextEdit(parent), m_bWantReturn(wantReturn) {
    setTabChangesFocus(true);
}

template <typename Edit>
void MultiLineEdit::Limited(Edit edit) {
    if (m_maxCharacters < 0) {
        edit();
        return;
    }
    const QString before = toPlainText();
    const int position = textCursor().position();
    edit();
    const qsizetype count = CharacterCount(toPlainText());
    if (count <= m_maxCharacters || count < CharacterCount(before)) return;
    setPlainText(before);
    QTextCursor cursor = textCursor();
    cursor.setPosition(position);
    setTextCursor(cursor);
}

void MultiLineEdit::keyPressEvent(QKeyEvent* event) {
    Limited([&] { HandleKey(event); });
}

void MultiLineEdit::inputMethodEvent(QInputMethodEvent* event) {
    Limited([&] { QPlainTextEdit::inputMethodEvent(event); });
}

void MultiLineEdit::insertFromMimeData(const QMimeData* source) {
    Limited([&] { QPlainTextEdit::insertFromMimeData(source); });
}

void MultiLineEdit::HandleKey(QKeyEvent* event) {
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
