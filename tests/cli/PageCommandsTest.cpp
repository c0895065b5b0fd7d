#include <gtest/gtest.h>

#include <string>

#include "cli/Commands.h"
#include "model/ItemList.h"
#include "support/Hive.h"

namespace {

class PageCommandsTest : public ::testing::Test {
  protected:
    ScopedHiveFolder hives;
    TempDir dir;

    void TearDown() override { ClearItemList(); }

    // Runs `command` with standard error captured into `errors`.
    template <typename Command>
    int Run(Command command, std::string* errors = nullptr) {
        testing::internal::CaptureStderr();
        const int code = command();
        const std::string text = testing::internal::GetCapturedStderr();
        if (errors != nullptr) *errors = text;
        return code;
    }
};

TEST_F(PageCommandsTest, AMissingPageIsWrittenFresh) {
    EntryFields fields;
    fields.hyperlink = "/a.htm";
    fields.title = "A";
    fields.date = "Friday, May 10, 1996";
    ASSERT_EQ(Run([&] { return RunAdd(dir / "new.html", fields); }), 0);
    EXPECT_NE(ReadFileBytes(dir / "new.html")
                  .find("<strong>Friday, May 10, 1996</strong>\n<br>\n<A HREF =\"/a.htm\">\n"
                        "<STRONG>A</STRONG></A>\n<dd>\n<BR><BR><p>\n</dl><HR>\n"),
              std::string::npos);
    ClearItemList();  // each command runs in a process of its own
    ASSERT_EQ(Run([&] { return RunRebuild(dir / "new2.htm"); }), 0);
    EXPECT_NE(ReadFileBytes(dir / "new2.htm").find("Do Not Delete. -->\n</dl><HR>\n</body>"),
              std::string::npos);
}

TEST_F(PageCommandsTest, RefusalsNameTheReasonAndWriteNothing) {
    std::string errors;
    EntryFields fields;
    fields.hyperlink = "/a.htm";
    EXPECT_EQ(Run([&] { return RunAdd(dir / "notes.txt", fields); }, &errors), 1);
    EXPECT_NE(errors.find("The file path is not an HTML document."), std::string::npos);

    fields.hyperlink = "";
    EXPECT_EQ(Run([&] { return RunAdd(dir / "page.html", fields); }, &errors), 1);
    EXPECT_NE(errors.find("A hyperlink for the Tavrel Item is required. Please type it in."),
              std::string::npos);

    EXPECT_EQ(Run([&] { return RunChange(dir / "page.html", 0, fields); }, &errors), 1);
    EXPECT_EQ(Run([&] { return RunDelete(dir / "page.html", 3); }, &errors), 1);
    EXPECT_FALSE(PathExists(dir / "page.html"));
    EXPECT_FALSE(PathExists(dir / "notes.txt"));

    fields.hyperlink = "/a.htm";
    EXPECT_EQ(Run([&] { return RunAdd(dir / "missing/page.html", fields); }, &errors), 1);
    EXPECT_NE(errors.find("Could not create Tavrel Page."), std::string::npos);
}

}  // namespace
