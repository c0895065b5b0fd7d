#include "support/DialogDriver.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "platform/dialog_builder.h"

MessageRecorder::MessageRecorder() {
    m_previous = SetMessageBoxFunction([this](QWidget* owner, const std::string& text,
                                              const std::string& caption, MessageBoxIcon icon) {
        messages.push_back(text + "|" + caption + (owner ? "" : "|alone") +
                           (icon == MessageBoxIcon::Stop ? "|stop" : ""));
    });
}

MessageRecorder::~MessageRecorder() { SetMessageBoxFunction(m_previous); }

void Press(QWidget* dialog, int id) { qobject_cast<QPushButton*>(DialogItem(dialog, id))->click(); }

std::vector<std::string> RowTexts(const QListWidget* list) {
    std::vector<std::string> texts;
    for (int row = 0; row < list->count(); ++row)
        texts.push_back(list->item(row)->text().toStdString());
    return texts;
}

void ClickRow(QListWidget* list, int row, bool twice) {
    list->scrollToItem(list->item(row));
    const QPoint centre = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
}
