#include "platform/dialog_items.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QValidator>

#include "platform/dialog_builder.h"
#include "platform/multi_line_edit.h"
#include "platform/simple_combo_box.h"
#include "text/utf8.h"

namespace {

QString WidgetText(const QWidget* control) {
    if (auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
    if (auto* edit = qobject_cast<const QPlainTextEdit*>(control)) return edit->toPlainText();
    if (auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
    if (auto* label = qobject_cast<const QLabel*>(control)) return label->text();
    if (auto* box = qobject_cast<const QGroupBox*>(control)) return box->title();
    if (auto* combo = qobject_cast<const SimpleComboBox*>(control)) return combo->Text();
    return control->windowTitle();
}

void SetWidgetText(QWidget* control, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(text);
        edit->setCursorPosition(0);
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(control)) {
        edit->setPlainText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
    } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
        box->setTitle(text);
    } else if (auto* combo = qobject_cast<SimpleComboBox*>(control)) {
        combo->SetText(text);
    }
}

// Refuses a single-line field's edits past its limit. The text as last shown
// is followed through textChanged, which also reports text set by the
// program, so an edit may always shorten it.
class CharacterLimit : public QValidator {
  public:
    CharacterLimit(QLineEdit* edit, int maxCharacters)
        : QValidator(edit), m_max(maxCharacters), m_last(edit->text()) {
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { m_last = text; });
    }

    State validate(QString& input, int&) const override {
        const qsizetype count = CharacterCount(input);
        return count <= m_max || count < CharacterCount(m_last) ? Acceptable : Invalid;
    }

  private:
    int m_max;
    QString m_last;
};

}  // namespace

void LimitDlgItemText(QWidget* dialog, int id, int maxCharacters) {
    QWidget* control = DialogItem(dialog, id);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setValidator(new CharacterLimit(edit, maxCharacters));
    } else if (auto* edit = qobject_cast<MultiLineEdit*>(control)) {
        edit->SetMaxCharacters(maxCharacters);
    }
}

std::string GetDlgItemText(const QWidget* dialog, int id, std::size_t maxBytes) {
    const QWidget* control = DialogItem(dialog, id);
    if (control == nullptr) return {};
    return utf8::Prefix(WidgetText(control).toStdString(), maxBytes);
}

void SetDlgItemText(QWidget* dialog, int id, const std::string& text) {
    QWidget* control = DialogItem(dialog, id);
    if (control != nullptr) SetWidgetText(control, QString::fromStdString(text));
}

void EnableDlgItem(QWidget* dialog, int id, bool enable) {
    QWidget* control = DialogItem(dialog, id);
    if (control != nullptr) control->setEnabled(enable);
}
