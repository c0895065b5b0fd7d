#include <gtest/gtest.h>

#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <cmath>
#include <memory>

#include "platform/dialog_builder.h"
#include "platform/dialog_items.h"
#include "platform/help_window.h"
#include "platform/icon_resource.h"
#include "platform/message_box.h"
#include "platform/simple_combo_box.h"
#include "platform/utf8_prefix.h"
#include "res/dialog_templates.h"
#include "res/resource.h"

namespace {

std::unique_ptr<QDialog> Build(int templateId) {
    auto dialog = std::make_unique<QDialog>();
    BuildDialog(dialog.get(), *FindDialogTemplate(templateId));
    return dialog;
}

// The pixels a dialog-unit rectangle must have under `font`, worked out from
// the font's metrics independently of the builder.
QRect ExpectedPixels(const QFont& font, int x, int y, int width, int height) {
    const QFontMetrics metrics(font);
    const double unitX = metrics.averageCharWidth() / 4.0;
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
        ASSERT_GT(QFontMetrics(font).averageCharWidth(), 0);
        EXPECT_EQ(dialog->size(),
                  ExpectedPixels(font, 0, 0, dialogTemplate.width, dialogTemplate.height).size());
        for (const DialogControl& control : dialogTemplate.controls) {
            if (control.id == IDC_STATIC) continue;
            EXPECT_EQ(DialogItem(dialog.get(), control.id)->geometry(),
                      ExpectedPixels(font, control.x, control.y, control.width, control.height))
                << "control " << control.id;
        }
    }
}

TEST(DialogBuilderTest, UnitsScaleWithTheFont) {
    QFont small(QStringLiteral("DejaVu Sans"), 8);
    QFont large(QStringLiteral("DejaVu Sans"), 20);
    for (const QFont& font : {small, large}) {
        const DialogUnits units(font);
        EXPECT_EQ(units.ToPixels(23, 101, 167, 12), ExpectedPixels(font, 23, 101, 167, 12));
    }
    EXPECT_GT(DialogUnits(large).ToPixelsX(100), DialogUnits(small).ToPixelsX(100));
}

TEST(DialogBuilderTest, CreatesEachControlByClassAndStyle) {
    auto editor = Build(IDD_TAVREL_DIALOG);
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Tavrel Wizard"));
    EXPECT_NE(qobject_cast<QLineEdit*>(DialogItem(editor.get(), IDC_TITLE)), nullptr);
    EXPECT_NE(qobject_cast<QPlainTextEdit*>(DialogItem(editor.get(), IDC_DESCRIPTION)), nullptr);
    auto* list = qobject_cast<QListWidget*>(DialogItem(editor.get(), IDC_ITEM_LIST));
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->isSortingEnabled());
    auto* buildIt = qobject_cast<QPushButton*>(DialogItem(editor.get(), IDC_BUILD_IT));
    ASSERT_NE(buildIt, nullptr);
    EXPECT_TRUE(buildIt->isDefault());
    EXPECT_EQ(buildIt->text(), QStringLiteral("B&uild It"));
    EXPECT_FALSE(qobject_cast<QPushButton*>(DialogItem(editor.get(), IDC_ADD))->isDefault());
    auto* icon = qobject_cast<QLabel*>(DialogItem(editor.get(), IDC_PAGE_ICON));
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());
    EXPECT_LE(icon->pixmap().width(), icon->width());  // stays inside its rectangle
    EXPECT_EQ(GetDlgItemText(editor.get(), IDC_DATE_LABEL, 255), "Date");
    EXPECT_EQ(editor->findChildren<QGroupBox*>().size(), 1);

    auto chooser = Build(IDD_LOCAL_HREF_DIALOG);
    EXPECT_EQ(chooser->windowTitle(), QStringLiteral("Choose Local HREF"));
    EXPECT_NE(qobject_cast<SimpleComboBox*>(DialogItem(chooser.get(), IDC_FILE_COMBO)), nullptr);
    auto* dirs = qobject_cast<QListWidget*>(DialogItem(chooser.get(), IDC_DIR_LIST));
    ASSERT_NE(dirs, nullptr);
    EXPECT_TRUE(dirs->isSortingEnabled());
    EXPECT_TRUE(qobject_cast<QPushButton*>(DialogItem(chooser.get(), IDOK))->isDefault());
}

TEST(DialogBuilderTest, FixedFrameWithoutMinimiseOrMaximise) {
    auto dialog = Build(IDD_TAVREL_DIALOG);
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    const Qt::WindowFlags flags = dialog->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
}

TEST(DialogBuilderTest, TabOrderIsTemplateOrder) {
    auto dialog = Build(IDD_TAVREL_DIALOG);
    std::vector<int> expected;
    for (const DialogControl& control : FindDialogTemplate(IDD_TAVREL_DIALOG)->controls) {
        if (control.style & WS_TABSTOP) expected.push_back(control.id);
    }
    std::vector<int> visited;
    QWidget* widget = DialogItem(dialog.get(), expected.front());
    for (size_t i = 0; i < expected.size(); ++i) {
        visited.push_back(DialogItemId(widget));
        do {
            widget = widget->nextInFocusChain();
        } while (widget->focusPolicy() != Qt::StrongFocus || DialogItemId(widget) == IDC_STATIC);
    }
    EXPECT_EQ(visited, expected);
}

TEST(DialogBuilderTest, GroupBoxDoesNotCoverTheControlsInsideIt) {
    auto dialog = Build(IDD_TAVREL_DIALOG);
    dialog->show();
    for (const int id : {IDC_ITEM_LIST, IDC_TITLE, IDC_BROWSE, IDC_DATE}) {
        QWidget* control = DialogItem(dialog.get(), id);
        QWidget* hit = dialog->childAt(control->geometry().center());
        ASSERT_NE(hit, nullptr);
        EXPECT_TRUE(hit == control || control->isAncestorOf(hit)) << "control " << id;
    }
}

TEST(DialogBuilderTest, EnterPressesTheDefaultButtonCtrlEnterBreaksTheDescription) {
    auto dialog = Build(IDD_TAVREL_DIALOG);
    dialog->show();
    QSignalSpy buildIt(qobject_cast<QPushButton*>(DialogItem(dialog.get(), IDC_BUILD_IT)),
                       &QPushButton::clicked);
    QTest::keyClick(DialogItem(dialog.get(), IDC_TITLE), Qt::Key_Return);
    EXPECT_EQ(buildIt.count(), 1);

    auto* description = qobject_cast<QPlainTextEdit*>(DialogItem(dialog.get(), IDC_DESCRIPTION));
    description->setFocus();
    QTest::keyClicks(description, QStringLiteral("one"));
    QTest::keyClick(description, Qt::Key_Return);
    EXPECT_EQ(buildIt.count(), 2);
    QTest::keyClick(description, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(description, QStringLiteral("two"));
    EXPECT_EQ(buildIt.count(), 2);
    EXPECT_EQ(GetDlgItemText(dialog.get(), IDC_DESCRIPTION, 255), "one\ntwo");

    QSignalSpy rejected(dialog.get(), &QDialog::rejected);
    QTest::keyClick(DialogItem(dialog.get(), IDC_DATE), Qt::Key_Escape);
    EXPECT_EQ(rejected.count(), 1);
}

TEST(DialogItemsTest, FieldReadsStopAtTheByteLimitWithoutSplittingACharacter) {
    auto dialog = Build(IDD_TAVREL_DIALOG);
    const std::string fits(255, 'a');
    SetDlgItemText(dialog.get(), IDC_TITLE, fits + "b");
    EXPECT_EQ(GetDlgItemText(dialog.get(), IDC_TITLE, 255), fits);
    // 254 ASCII bytes and a two-byte character: the character does not fit.
    const std::string ascii(254, 'a');
    SetDlgItemText(dialog.get(), IDC_DESCRIPTION, ascii + "\xC3\xA9");
    EXPECT_EQ(GetDlgItemText(dialog.get(), IDC_DESCRIPTION, 255), ascii);
    // The field itself keeps its whole text.
    EXPECT_EQ(GetDlgItemText(dialog.get(), IDC_DESCRIPTION, 1000), ascii + "\xC3\xA9");
    EXPECT_EQ(GetDlgItemText(dialog.get(), 4711, 255), "");
}

TEST(Utf8PrefixTest, CutsBeforeAnyCharacterThatWouldBeSplit) {
    const std::string euro = "\xE2\x82\xAC";      // three bytes
    const std::string clef = "\xF0\x9D\x84\x9E";  // four bytes
    EXPECT_EQ(Utf8Prefix("x" + euro, 1), "x");
    EXPECT_EQ(Utf8Prefix("x" + euro, 3), "x");
    EXPECT_EQ(Utf8Prefix("x" + euro, 4), "x" + euro);
    EXPECT_EQ(Utf8Prefix(clef + clef, 7), clef);
    EXPECT_EQ(Utf8Prefix(euro, 0), "");
    EXPECT_EQ(Utf8Prefix("short", 255), "short");
}

TEST(MessageBoxTest, ReplacementRecordsEveryBoxAndCanBeUndone) {
    struct Shown {
        QWidget* owner;
        std::string text, caption;
        MessageBoxIcon icon;
    };
    std::vector<Shown> shown;
    const MessageBoxFunction previous =
        SetMessageBoxFunction([&shown](QWidget* owner, const std::string& text,
                                       const std::string& caption, MessageBoxIcon icon) {
            shown.push_back({owner, text, caption, icon});
        });
    QDialog owner;
    ShowMessageBox(&owner, "text", "caption");
    ShowMessageBox(nullptr, "fatal", "Fatal Error", MessageBoxIcon::Stop);
    const MessageBoxFunction mine = SetMessageBoxFunction(previous);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].owner, &owner);
    EXPECT_EQ(shown[0].text, "text");
    EXPECT_EQ(shown[0].caption, "caption");
    EXPECT_EQ(shown[0].icon, MessageBoxIcon::None);
    EXPECT_EQ(shown[1].owner, nullptr);
    EXPECT_EQ(shown[1].icon, MessageBoxIcon::Stop);
    EXPECT_TRUE(static_cast<bool>(mine));
}

TEST(HelpWindowTest, OpensTheHelpFileAtContentsBesideAUsableOwner) {
    auto dialog = Build(IDD_TAVREL_DIALOG);
    dialog->setModal(true);
    dialog->show();
    QTextBrowser* help = OpenHelp(dialog.get(), QStringLiteral("Contents"));
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->isWindow());
    EXPECT_EQ(help->source().fragment(), QStringLiteral("Contents"));
    EXPECT_TRUE(help->toPlainText().contains(QStringLiteral("TAVREL_REGISTRY_DIR")));
    EXPECT_TRUE(help->toPlainText().contains(QStringLiteral("tavrel-wizard [-r MACHINE] PAGE")));
    EXPECT_TRUE(dialog->isEnabled());
    EXPECT_EQ(OpenHelp(dialog.get(), QStringLiteral("Contents")), help);
}

TEST(IconResourceTest, BothIconsAreThereAndUnknownOnesAreNull) {
    EXPECT_FALSE(LoadIconResource(IDR_MAINFRAME).isNull());
    EXPECT_FALSE(LoadIconResource(IDI_TAVREL_PAGE).isNull());
    EXPECT_TRUE(LoadIconResource(4711).isNull());
}
