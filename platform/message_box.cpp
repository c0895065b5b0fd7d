#include "platform/message_box.h"

#include <QMessageBox>
#include <QPushButton>
#include <utility>

namespace {

void ShowQtMessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                      MessageBoxIcon icon) {
    QMessageBox box(icon == MessageBoxIcon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok,
                    owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

MessageBoxFunction& CurrentFunction() {
    static MessageBoxFunction function;
    return function;
}

int AskQtChoice(QWidget* owner, const std::string& text, const std::string& caption,
                const std::vector<std::string>& buttons, int escapeIndex) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::NoButton, owner);
    box.setTextFormat(Qt::PlainText);
    std::vector<QPushButton*> pushButtons;
    pushButtons.reserve(buttons.size());
    for (const std::string& label : buttons) {
        pushButtons.push_back(
            box.addButton(QString::fromStdString(label), QMessageBox::ActionRole));
    }
    box.setEscapeButton(pushButtons.at(escapeIndex));
    box.setDefaultButton(pushButtons.at(escapeIndex));
    box.exec();
    for (std::size_t i = 0; i < pushButtons.size(); ++i) {
        if (box.clickedButton() == pushButtons[i]) return static_cast<int>(i);
    }
    return escapeIndex;
}

ChoiceBoxFunction& CurrentChoiceFunction() {
    static ChoiceBoxFunction function;
    return function;
}

}  // namespace

void ShowMessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                    MessageBoxIcon icon) {
    const MessageBoxFunction& function = CurrentFunction();
    if (function) {
        function(owner, text, caption, icon);
    } else {
        ShowQtMessageBox(owner, text, caption, icon);
    }
}

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function) {
    return std::exchange(CurrentFunction(), std::move(function));
}

int AskChoice(QWidget* owner, const std::string& text, const std::string& caption,
              const std::vector<std::string>& buttons, int escapeIndex) {
    const ChoiceBoxFunction& function = CurrentChoiceFunction();
    if (function) return function(owner, text, caption, buttons, escapeIndex);
    return AskQtChoice(owner, text, caption, buttons, escapeIndex);
}

ChoiceBoxFunction SetChoiceBoxFunction(ChoiceBoxFunction function) {
    return std::exchange(CurrentChoiceFunction(), std::move(function));
}
