#include "support/DialogDriver.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

MessageRecorder::MessageRecorder() {
    m_previous = SetMessageBoxFunction([this](QWidget* owner, const std::string& text,
                                              const std::string& caption, MessageBoxIcon icon) {
        messages.push_back(text + "|" + caption + (owner ? "" : "|alone") +
                           (icon == MessageBoxIcon::Stop ? "|stop" : ""));
    });
    m_previousChoice =
        SetChoiceBoxFunction([this](QWidget*, const std::string& text, const std::string& caption,
                                    const std::vector<std::string>& buttons, int escapeIndex) {
            std::string labels;
            for (const std::string& label : buttons) labels += (labels.empty() ? "" : "/") + label;
            messages.push_back(text + "|" + caption + "|[" + labels + "]");
            if (answers.empty()) return escapeIndex;
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        });
}

MessageRecorder::~MessageRecorder() {
    SetMessageBoxFunction(m_previous);
    SetChoiceBoxFunction(m_previousChoice);
}

void Press(QWidget* dialog, int id) { ItemAs<QPushButton>(dialog, id)->click(); }

Texts RowTexts(const QListWidget* list) {
    Texts texts;
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

void WhenModalShown(QObject* context, const std::function<void(QWidget*)>& steps) {
    QTimer::singleShot(0, context, [steps] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(modal, nullptr);
        steps(modal);
        if (modal->isVisible()) modal->reject();
    });
}
