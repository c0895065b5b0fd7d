// The tavrel page subcommands run in this process: a missing page is written
// fresh, the list is changed and written back exactly as the wizard does, and
// refusals name their reason and leave every page untouched.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>

#include "CliTesting.h"
#include "cli/Commands.h"
#include "model/ItemList.h"
#include "model/Messages.h"
#include "support/Hive.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace {

class PageCommandsTest : public ::testing::Test {
  protected:
    TempDir m_dir;
    std::string m_page = m_dir / "page.html";

    // Runs `command` as a process of its own would.
    static ProgramResult Run(const std::function<int()>& command) { return RunInProcess(command); }

    int Add(const std::string& title) {
        const EntryFields fields{"Friday, May 10, 1996", title, "/" + title + ".htm", {}};
        return Run([&] { return RunAdd(m_page, fields); }).exitCode;
    }

    int Rebuild() {
        return Run([&] { return RunRebuild(m_page); }).exitCode;
    }
};

// A missing page is written fresh (its bytes are the page writer's own test).
TEST_F(PageCommandsTest, FreshPagesThenAddListDeleteChangeAndRebuild) {
    ASSERT_EQ(Rebuild(), 0);
    ASSERT_EQ(Add("Old"), 0);
    ASSERT_EQ(Rebuild(), 0);
    const std::string before = ReadFileBytes(m_page);

    ASSERT_EQ(Add("X"), 0);
    const std::string json = Run([&] { return RunList(m_page, true); }).output;
    EXPECT_LT(json.find("\"title\": \"X\""), json.find("\"title\": \"Old\"")) << json;
    ASSERT_EQ(Run([&] { return RunDelete(m_page, 0); }).exitCode, 0);
    EXPECT_EQ(ReadFileBytes(m_page), before);

    ASSERT_EQ(Run([&] { return RunChange(m_page, 0, {{}, {}, {}, "a < b && c"}); }).exitCode, 0);
    const std::string changed = ReadFileBytes(m_page);
    EXPECT_TRUE(Says(changed, "a &lt; b &amp;&amp; c"));
    ASSERT_EQ(Rebuild(), 0);
    EXPECT_EQ(ReadFileBytes(m_page), changed);
}

// No text a user types or a page holds turns into markup or raw bytes, and
// every field reads back as given: on a fresh page (all ASCII) and on one
// that had no list, as first written and as written again from its tree.
// The code points the parser uses for undecodable bytes are characters like
// any other, typed or written as references. The page without a list has a
// second name, so it is written in place, its first list checked like any.
TEST_F(PageCommandsTest, TextNeverTurnsIntoMarkupAndReadsBackExactly) {
    const std::string outside =
        "<p>&#1113916;script&#1113918;alert(1)&#1113916;/script&#1113918; \xF4\x8F\xBC\x80</p>\n";
    const std::string listless = m_dir / "listless.html", second = m_dir / "second.html";
    WriteFileBytes(listless, "<html><body>\n" + outside + "</body></html>\n");
    ASSERT_EQ(link(listless.c_str(), second.c_str()), 0);
    EXPECT_EQ(Run([&] { return RunList(listless, false); }).errors,
              listless + ": " + kMsgNoListYet + "\n");
    const EntryFields fields{
        "Mon, &lt; %s\n\u00e9t\u00e9",
        "Q&A: <em>new</em> %s\n\xF4\x8F\xBC\xBCscript\xF4\x8F\xBC\xBE caf\u00e9",
        "http://x/caf\u00e9?a=1&b=<2>&copy=3 %s\xF4\x8F\xBC\xA2 onclick=\xF4\x8F\xBC\xA2x",
        "100% <b>bold</b> &amp; \u20ac\nsecond line"};
    const nlohmann::json entry = {{"date", *fields.date},
                                  {"title", *fields.title},
                                  {"hyperlink", *fields.hyperlink},
                                  {"description", *fields.description}};
    for (const std::string& page : {m_page, listless}) {
        ASSERT_EQ(Run([&] { return RunAdd(page, fields); }).exitCode, 0);
        const std::string fresh = ReadFileBytes(page);
        EXPECT_TRUE(page == listless ||
                    std::all_of(fresh.begin(), fresh.end(), [](char c) { return c > 0; }));
        for (int round = 0; round < 2; ++round) {  // as first written, then from the tree
            const std::string bytes = ReadFileBytes(page);
            EXPECT_TRUE(page == m_page || bytes.find(outside) != std::string::npos);
            EXPECT_EQ(bytes.find("<script"), std::string::npos);
            EXPECT_EQ(bytes.find('\0'), std::string::npos);
            EXPECT_EQ(nlohmann::json::parse(Run([&] { return RunList(page, true); }).output),
                      nlohmann::json::array({entry}));
            ASSERT_EQ(Run([&] { return RunRebuild(page); }).exitCode, 0);
        }
    }
    EXPECT_EQ(ReadFileBytes(second), ReadFileBytes(listless));
}

// A fresh page is signed with the administrator's address from the hive, so
// a damaged hive is named rather than signed as empty; existing pages are
// not signed, so they are still built.
TEST_F(PageCommandsTest, RefusalsNameTheReasonAndWriteNothing) {
    const std::string frames = m_dir / "frames.html";
    const std::string framesPage =
        "<html><frameset cols=\"50%,50%\"><frame src=\"a.htm\"></frameset></html>\n";
    WriteFileBytes(frames, framesPage);
    const EntryFields link{{}, {}, "/a.htm", {}};
    const struct {
        std::function<int()> command;
        std::string reason;
    } cases[] = {
        {[&] { return RunChange(m_page, 0, link); }, "there is no entry 0"},
        {[&] { return RunDelete(m_page, 3); }, ""},
        {[&] { return RunAdd(m_dir / "missing/page.html", link); },
         "The page could not be written. The folder " + (m_dir / "missing") + " does not exist"},
        {[&] { return RunAdd(frames, link); }, "The page is a frameset"},
        {[&] { return RunAdd(m_dir / "script.html", link); }, "ends inside markup"},
        {[&] { return RunAdd(m_dir / "late-meta.html", link); }, "first 1024 bytes"},
    };
    WriteFileBytes(m_dir / "script.html", "<p>x</p><script>unclosed");
    // A longer list would push the declaration out of the bytes browsers
    // read it from, and the page would be read as windows-1252.
    const std::string lateMeta =
        "<body><dl>\n<!-- Automatically generated by TavrelWizard. Do Not "
        "Delete. -->\n</dl>\n<p>" +
        std::string(900, 'x') + "</p><meta charset=\"utf-8\"><p>caf\xE9</p>\n";
    WriteFileBytes(m_dir / "late-meta.html", lateMeta);
    for (const auto& c : cases) {
        const ProgramResult result = Run(c.command);
        EXPECT_EQ(result.exitCode, 1) << c.reason;
        EXPECT_TRUE(Says(result.errors, c.reason));
    }
    EXPECT_EQ(ReadFileBytes(frames), framesPage);
    EXPECT_EQ(ReadFileBytes(m_dir / "script.html"), "<p>x</p><script>unclosed");
    EXPECT_EQ(ReadFileBytes(m_dir / "late-meta.html"), lateMeta);

    ScopedHiveFolder hives;
    hives.Write("local", "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\"x\"=broken\r\n");
    EXPECT_TRUE(Says(Run([&] { return RunRebuild(m_page); }).errors,
                     "local.reg:4: malformed registry hive"));
    EXPECT_FALSE(PathExists(m_page));
    WriteFileBytes(m_page, "<p>Hand-written</p>\n");
    EXPECT_EQ(Add("New"), 0);
}

}  // namespace
