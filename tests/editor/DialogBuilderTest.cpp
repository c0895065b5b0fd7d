// The dialog builder and the small platform layers around it.
#include <gtest/gtest.h>

#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <memory>

#include "platform/list_box.h"
#include "platform/utf8_prefix.h"
#include "res/dialog_templates.h"
#include "support/DialogDriver.h"

namespace {

std::unique_ptr<QDialog> Build(int templateId) {
    auto dialog = std::make_unique<QDialog>();
    BuildDialog(dialog.get(), *FindDialogTemplate(templateId));
    return dialog;
}

// The pixels of a dialog-unit rectangle under `font`, from the font's metrics:
// the horizontal base unit is the average width of the 52 letters, rounded.
QRect ExpectedPixels(const QFont& font, int x, int y, int width, int height) {
    const QFontMetrics metrics(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const double unitX = std::lround(metrics.horizontalAdvance(letters) / 52.0) / 4.0;
    const double unitY = metrics.height() / 8.0;
    return QRect(std::lround(x * unitX), std::lround(y * unitY), std::lround(width * unitX),
                 std::lround(height * unitY));
}

}  // namespace

TEST(DialogBuilderTest, MapsDialogUnitsByTheFontsMetrics) {
    for (const int templateId : {IDD_TAVREL_DIALOG, IDD_LOCAL_HREF_DIALOG}) {
        const DialogTemplate& dialogTemplate = *FindDialogTemplate(templateId);
        auto dialog = Build(templateId);
        const QFont font = dialog->font();
        EXPECT_EQ(dialog->size(),
                  ExpectedPixels(font, 0, 0, dialogTemplate.width, dialogTemplate.height).size());
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
        if (templateId == IDD_TAVREL_DIALOG) {  // the page icon, never over its neighbours
            const auto* icon = ItemAs<QLabel>(dialog.get(), IDC_PAGE_ICON);
            EXPECT_FALSE(icon->pixmap().isNull());
            EXPECT_LE(icon->pixmap().width(), icon->width());
        }
        for (const DialogControl& control : dialogTemplate.controls) {
            if (control.id == IDC_STATIC) continue;
            EXPECT_EQ(DialogItem(dialog.get(), control.id)->geometry(),
                      ExpectedPixels(font, control.x, control.y, control.width, control.height))
                << "control " << control.id;
        }
    }
}

TEST(ListBoxTest, SortedRowsIgnoreLetterCaseAndEqualRowsKeepTheirOrder) {
    ListBox list(true, nullptr);
    std::vector<int> rows;
    for (const char* text : {"b.htm", "A.htm", "C", "a.htm", "_x"})
        rows.push_back(list.AddString(text));
    EXPECT_EQ(rows, (std::vector<int>{0, 0, 2, 1, 0}));
    EXPECT_EQ(RowTexts(&list), (std::vector<std::string>{"_x", "A.htm", "a.htm", "b.htm", "C"}));
}

// Tab follows the template, the group box covers nothing, Enter presses the
// default button and Ctrl+Enter breaks the description's line, Esc cancels.
TEST(DialogBuilderTest, KeysAndClicksReachTheControlsAsTheTemplateSays) {
    auto dialog = Build(IDD_TAVREL_DIALOG);
    dialog->show();
    std::vector<int> expected, visited;
    for (const DialogControl& control : FindDialogTemplate(IDD_TAVREL_DIALOG)->controls)
        if (control.style & WS_TABSTOP) expected.push_back(control.id);
    for (QWidget* widget = DialogItem(dialog.get(), expected.front());
         visited.size() < expected.size(); widget = widget->nextInFocusChain()) {
        if (widget->focusPolicy() == Qt::StrongFocus && DialogItemId(widget) != IDC_STATIC)
            visited.push_back(DialogItemId(widget));
    }
    EXPECT_EQ(visited, expected);
    for (const int id : {IDC_ITEM_LIST, IDC_TITLE, IDC_BROWSE, IDC_DATE}) {
        QWidget* control = DialogItem(dialog.get(), id);
        QWidget* hit = dialog->childAt(control->geometry().center());
        EXPECT_TRUE(hit == control || control->isAncestorOf(hit)) << "control " << id;
    }

    QSignalSpy buildIt(ItemAs<QPushButton>(dialog.get(), IDC_BUILD_IT), &QPushButton::clicked);
    QWidget* description = DialogItem(dialog.get(), IDC_DESCRIPTION);
    description->setFocus();
    QTest::keyClicks(description, QStringLiteral("one"));
    QTest::keyClick(description, Qt::Key_Return);
    EXPECT_EQ(buildIt.count(), 1);
    QTest::keyClick(description, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(description, QStringLiteral("two"));
    EXPECT_EQ(buildIt.count(), 1);
    EXPECT_EQ(GetDlgItemText(dialog.get(), IDC_DESCRIPTION, 255), "one\ntwo");

    QSignalSpy rejected(dialog.get(), &QDialog::rejected);
    QTest::keyClick(DialogItem(dialog.get(), IDC_DATE), Qt::Key_Escape);
    EXPECT_EQ(rejected.count(), 1);
}

TEST(DialogItemsTest, FieldReadsStopAtTheByteLimitWithoutSplittingACharacter) {
    auto dialog = Build(IDD_TAVREL_DIALOG);
    const std::string ascii(254, 'a');
    SetDlgItemText(dialog.get(), IDC_DESCRIPTION, ascii + "\xC3\xA9");
    EXPECT_EQ(GetDlgItemText(dialog.get(), IDC_DESCRIPTION, 255), ascii);
    EXPECT_EQ(GetDlgItemText(dialog.get(), IDC_DESCRIPTION, 256), ascii + "\xC3\xA9");
    EXPECT_EQ(GetDlgItemText(dialog.get(), 4711, 255), "");
    const std::string clef = "\xF0\x9D\x84\x9E";  // four bytes
    EXPECT_EQ(Utf8Prefix("x" + clef, 4), "x");
    EXPECT_EQ(Utf8Prefix("x" + clef, 5), "x" + clef);
}
