// The question box on the offscreen platform: each button answers with its
// index, and Escape or the close button answer as the escape button.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QObject>
#include <QTest>
#include <QWidget>

#include "support/DialogDriver.h"

namespace {

const std::vector<std::string> kButtons = {"&Apply my changes", "&Overwrite", "Go &back"};

int AskWhile(const std::function<void(QWidget*)>& steps) {
    QObject context;
    WhenModalShown(&context, steps);
    return AskChoice(nullptr, "Changed.", "page.html", kButtons, 2);
}

void ClickButton(QWidget* box, const QString& label) {
    for (QAbstractButton* button : box->findChildren<QAbstractButton*>()) {
        if (button->text() == label) button->click();
    }
}

TEST(ChoiceBoxTest, ButtonsAnswerByIndexAndEscapeOrCloseGoBack) {
    EXPECT_EQ(AskWhile([](QWidget* box) { ClickButton(box, "&Apply my changes"); }), 0);
    EXPECT_EQ(AskWhile([](QWidget* box) { ClickButton(box, "&Overwrite"); }), 1);
    EXPECT_EQ(AskWhile([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); }), 2);
    EXPECT_EQ(AskWhile([](QWidget* box) { box->close(); }), 2);
    EXPECT_EQ(AskWhile([](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); }), 2);
}

}  // namespace
