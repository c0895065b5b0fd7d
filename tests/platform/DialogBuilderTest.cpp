// The dialog builder and the small platform layers around it.
#include <gtest/gtest.h>

#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "platform/list_box.h"
#include "res/dialog_templates.h"
#include "support/DialogDriver.h"

namespace {

std::unique_ptr<QDialog> Build(int templateId) {
    auto dialog = std::make_unique<QDialog>();
    BuildDialog(dialog.get(), *FindDialogTemplate(templateId));
    return dialog;
}

// Sizes in dialog units follow the font: what matters is that every control
// sits inside the dialog, keeps its place beside its neighbours, and that the
// captions fit their buttons, at any font size.
void ExpectLaidOutForItsFont(QDialog& dialog, const DialogTemplate& dialogTemplate) {
    const QRect inside(QPoint(0, 0), dialog.size());
    const QFontMetrics metrics(dialog.font());
    for (const DialogControl& control : dialogTemplate.controls) {
        if (control.id == IDC_STATIC) continue;
        const QWidget* widget = DialogItem(&dialog, control.id);
        EXPECT_TRUE(inside.contains(widget->geometry())) << "control " << control.id;
        if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
            EXPECT_LE(metrics.horizontalAdvance(button->text().remove('&')), button->width())
                << "caption of " << control.id;
        }
        for (const DialogControl& other : dialogTemplate.controls) {
            if (other.id == IDC_STATIC || other.x < control.x + control.width) continue;
            EXPECT_LE(widget->geometry().right(), DialogItem(&dialog, other.id)->x())
                << control.id << " runs into " << other.id;
        }
    }
}

}  // namespace

TEST(DialogBuilderTest, LaysOutEveryControlForTheDialogsFont) {
    for (const int templateId : {IDD_TAVREL_DIALOG, IDD_LOCAL_HREF_DIALOG}) {
        const DialogTemplate& dialogTemplate = *FindDialogTemplate(templateId);
        auto dialog = Build(templateId);
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
        ExpectLaidOutForItsFont(*dialog, dialogTemplate);

        DialogTemplate largerFont = dialogTemplate;
        largerFont.pointSize *= 2;
        auto large = std::make_unique<QDialog>();
        BuildDialog(large.get(), largerFont);
        ExpectLaidOutForItsFont(*large, largerFont);
        EXPECT_NEAR(large->width(), 2.0 * dialog->width(), 0.25 * dialog->width());
        EXPECT_NEAR(large->height(), 2.0 * dialog->height(), 0.25 * dialog->height());

        if (templateId == IDD_TAVREL_DIALOG) {  // the page icon, never over its neighbours
            const auto* icon = ItemAs<QLabel>(dialog.get(), IDC_PAGE_ICON);
            EXPECT_FALSE(icon->pixmap().isNull());
            EXPECT_LE(icon->pixmap().width(), icon->width());
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
    QTest::keyClick(description, Qt::Key_Return);  // the description wants Enter
    QTest::keyClick(description, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(description, QStringLiteral("two"));
    EXPECT_EQ(buildIt.count(), 0);
    EXPECT_EQ(GetDlgItemText(dialog.get(), IDC_DESCRIPTION, 255), "one\n\ntwo");
    QTest::keyClick(DialogItem(dialog.get(), IDC_DATE), Qt::Key_Return);
    EXPECT_EQ(buildIt.count(), 1);

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
}
