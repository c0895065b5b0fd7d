// The tavrel subcommands on pages that exist: they read the page, change the
// list and write it back exactly as the wizard does, and refuse pages they
// cannot read or put a list into without touching them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "cli/Commands.h"
#include "model/ItemList.h"
#include "model/Messages.h"
#include "support/TempDir.h"

namespace {

class PageCommandsUpdateTest : public ::testing::Test {
  protected:
    // Runs `command` as a process of its own would: its exit code, with what
    // it wrote to standard error in `errors` and to standard output in `output`.
    template <typename Command>
    int Run(Command command, std::string* errors = nullptr, std::string* output = nullptr) {
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        const int code = command();
        ClearItemList();
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string text = testing::internal::GetCapturedStderr();
        if (errors != nullptr) *errors = text;
        if (output != nullptr) *output = out;
        return code;
    }

    int Add(const std::string& title, std::string* errors = nullptr) {
        EntryFields fields;
        fields.title = title;
        fields.hyperlink = "/" + title + ".htm";
        fields.date = "Sunday, December 06, 2026";
        return Run([&] { return RunAdd(m_page, fields); }, errors);
    }

    int Rebuild(std::string* errors = nullptr) {
        return Run([&] { return RunRebuild(m_page); }, errors);
    }

    TempDir m_dir;
    std::string m_page = m_dir / "page.html";
};

TEST_F(PageCommandsUpdateTest, AddListDeleteAndRebuildOnAPageWithASection) {
    ASSERT_EQ(Add("Old"), 0);  // fresh page
    ASSERT_EQ(Rebuild(), 0);
    const std::string before = ReadFileBytes(m_page);

    ASSERT_EQ(Add("X"), 0);
    std::string json;
    ASSERT_EQ(Run([&] { return RunList(m_page, true); }, nullptr, &json), 0);
    EXPECT_LT(json.find("\"title\": \"X\""), json.find("\"title\": \"Old\"")) << json;
    ASSERT_EQ(Run([&] { return RunDelete(m_page, 0); }), 0);
    EXPECT_EQ(ReadFileBytes(m_page), before);

    EntryFields change;
    change.description = "a < b && c";
    ASSERT_EQ(Run([&] { return RunChange(m_page, 0, change); }), 0);
    const std::string changed = ReadFileBytes(m_page);
    EXPECT_NE(changed.find("a &lt; b &amp;&amp; c"), std::string::npos);
    ASSERT_EQ(Rebuild(), 0);
    EXPECT_EQ(ReadFileBytes(m_page), changed);
}

TEST_F(PageCommandsUpdateTest, PagesThatCannotBeReadOrHaveNoBodyAreRefusedUntouched) {
    const std::string frames =
        "<html><frameset cols=\"50%,50%\"><frame src=\"a.htm\"></frameset></html>\n";
    WriteFileBytes(m_page, frames);
    std::string errors;
    EXPECT_EQ(Add("x", &errors), 1);
    EXPECT_NE(errors.find("The page has no BODY element"), std::string::npos) << errors;
    EXPECT_EQ(Rebuild(), 1);
    EXPECT_EQ(ReadFileBytes(m_page), frames);

    m_page = m_dir / "folder.html";
    ASSERT_EQ(mkdir(m_page.c_str(), 0755), 0);  // exists, opens, but cannot be read
    EXPECT_EQ(Rebuild(&errors), 1);
    EXPECT_NE(errors.find(kMsgNotRegularFile), std::string::npos) << errors;
}

}  // namespace
