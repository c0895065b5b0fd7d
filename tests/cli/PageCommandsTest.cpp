// The tavrel page subcommands run in this process: a missing page is written
// fresh, the list is changed and written back exactly as the wizard does, and
// refusals name their reason and leave every page untouched.
#include <gtest/gtest.h>

#include <string>

#include "cli/Commands.h"
#include "model/ItemList.h"
#include "support/Hive.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace {

class PageCommandsTest : public ::testing::Test {
  protected:
    TempDir m_dir;
    std::string m_page = m_dir / "page.html";

    // Runs `command` as a process of its own would, with an empty item list.
    static ProgramResult Run(const std::function<int()>& command) {
        ProgramResult result = RunInProcess(command);
        ClearItemList();
        return result;
    }

    int Add(const std::string& title) {
        EntryFields fields;
        fields.title = title;
        fields.hyperlink = "/" + title + ".htm";
        fields.date = "Friday, May 10, 1996";
        return Run([&] { return RunAdd(m_page, fields); }).exitCode;
    }

    int Rebuild() {
        return Run([&] { return RunRebuild(m_page); }).exitCode;
    }
};

TEST_F(PageCommandsTest, FreshPagesThenAddListDeleteChangeAndRebuild) {
    const std::string empty = m_dir / "empty.htm";
    ASSERT_EQ(Run([&] { return RunRebuild(empty); }).exitCode, 0);
    EXPECT_NE(ReadFileBytes(empty).find("Do Not Delete. -->\n</dl><HR>\n</body>"),
              std::string::npos);
    ASSERT_EQ(Add("Old"), 0);
    EXPECT_NE(ReadFileBytes(m_page).find(
                  "<strong>Friday, May 10, 1996</strong>\n<br>\n<A HREF =\"/Old.htm\">\n"
                  "<STRONG>Old</STRONG></A>\n<dd>\n<BR><BR><p>\n</dl><HR>\n"),
              std::string::npos);
    ASSERT_EQ(Rebuild(), 0);
    const std::string before = ReadFileBytes(m_page);

    ASSERT_EQ(Add("X"), 0);
    const std::string json = Run([&] { return RunList(m_page, true); }).output;
    EXPECT_LT(json.find("\"title\": \"X\""), json.find("\"title\": \"Old\"")) << json;
    ASSERT_EQ(Run([&] { return RunDelete(m_page, 0); }).exitCode, 0);
    EXPECT_EQ(ReadFileBytes(m_page), before);

    EntryFields change;
    change.description = "a < b && c";
    ASSERT_EQ(Run([&] { return RunChange(m_page, 0, change); }).exitCode, 0);
    const std::string changed = ReadFileBytes(m_page);
    EXPECT_NE(changed.find("a &lt; b &amp;&amp; c"), std::string::npos);
    ASSERT_EQ(Rebuild(), 0);
    EXPECT_EQ(ReadFileBytes(m_page), changed);
}

TEST_F(PageCommandsTest, RefusalsNameTheReasonAndWriteNothing) {
    const std::string frames = m_dir / "frames.html";
    const std::string framesPage =
        "<html><frameset cols=\"50%,50%\"><frame src=\"a.htm\"></frameset></html>\n";
    WriteFileBytes(frames, framesPage);
    EntryFields link, none;
    link.hyperlink = "/a.htm";
    const struct {
        std::function<int()> command;
        std::string reason;
    } cases[] = {
        {[&] { return RunAdd(m_page, none); },
         "A hyperlink for the Tavrel Item is required. Please type it in."},
        {[&] { return RunChange(m_page, 0, none); }, ""},
        {[&] { return RunDelete(m_page, 3); }, ""},
        {[&] { return RunAdd(m_dir / "missing/page.html", link); },
         "Could not create Tavrel Page."},
        {[&] { return RunAdd(frames, link); }, "The page has no BODY element"},
        {[&] { return RunRebuild(frames); }, "The page has no BODY element"},
    };
    for (const auto& c : cases) {
        const ProgramResult result = Run(c.command);
        EXPECT_EQ(result.exitCode, 1) << c.reason;
        EXPECT_NE(result.errors.find(c.reason), std::string::npos) << result.errors;
    }
    EXPECT_FALSE(PathExists(m_page));
    EXPECT_EQ(ReadFileBytes(frames), framesPage);
}

// A fresh page is signed with the administrator's address from the hive; a
// damaged hive is named rather than signed as empty. Existing pages are not
// signed, so they are still built.
TEST_F(PageCommandsTest, AFreshPageOverADamagedHiveIsRefusedNamingFileAndLine) {
    ASSERT_EQ(Add("Old"), 0);
    ScopedHiveFolder hives;
    hives.Write("local", "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\"x\"=broken\r\n");
    const std::string fresh = m_dir / "fresh.html";
    const ProgramResult result = Run([&] { return RunRebuild(fresh); });
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.errors.find("local.reg:4: malformed registry hive"), std::string::npos)
        << result.errors;
    EXPECT_FALSE(PathExists(fresh));
    EXPECT_EQ(Add("New"), 0);
}

}  // namespace
