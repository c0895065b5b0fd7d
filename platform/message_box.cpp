#include "platform/message_box.h"

#include <QMessageBox>
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
