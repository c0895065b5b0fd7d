// Rewriting a page while it is parsed must give, byte for byte, what reading
// the whole page and writing its tree gives: for every page of both corpora
// and the layouts the section can be found in, with the page parsed in parts
// as small as one token, for an edit that changes nothing, one that adds an
// entry and one that deletes the first.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "PageTesting.h"
#include "model/Messages.h"
#include "page/NewPageWriter.h"
#include "page/PageRewriter.h"
#include "page/SectionBuilder.h"
#include "support/TempDir.h"

namespace {

using Edit = std::function<bool()>;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Collects what is written to a stream.
class Output {
  public:
    Output() : m_stream(open_memstream(&m_buffer, &m_size)) {}
    ~Output() { std::free(m_buffer); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    FILE* Stream() const { return m_stream; }
    std::string Close() {
        std::fclose(m_stream);
        return {m_buffer, m_size};
    }

  private:
    char* m_buffer = nullptr;
    size_t m_size = 0;
    FILE* m_stream;
};

FILE* StreamOf(const std::string& page) {
    return fmemopen(const_cast<char*>(page.data()), page.size(), "rb");
}

struct Result {
    bool written = false;
    std::string bytes;
    std::vector<Entry> entries;
    std::vector<std::string> dropped;
};

// The page as reading it whole and writing its tree after `edit` gives it.
Result WrittenWhole(const std::string& page, const Edit& edit) {
    ReleasePageTree();
    ClearItemList();
    FILE* in = StreamOf(page);
    AdoptItemList(ReadPage(in));
    std::fclose(in);
    Result result;
    result.dropped = g_unreadContent;
    if (g_pBody == nullptr || !edit()) {
        ReleasePageTree();
        return result;
    }
    result.entries = ListEntries();
    Output out;
    result.written = WriteUpdatedTree(out.Stream());
    result.bytes = out.Close();
    return result;
}

// The page as rewriting it in parts of `partSize` bytes gives it.
Result WrittenInParts(const std::string& page, const Edit& edit, size_t partSize) {
    ClearSplicePoints();
    ClearItemList();
    FILE* in = StreamOf(page);
    Output out;
    PageHead head;
    Result result;
    int edits = 0;
    const SessionFailure failure = RewritePage(
        in, out.Stream(),
        [&] {
            ++edits;
            result.dropped = g_unreadContent;
            return edit();
        },
        &head, partSize);
    std::fclose(in);
    result.bytes = out.Close();
    result.written = !failure;
    result.entries = ListEntries();
    EXPECT_LE(edits, 1) << "the edit is called once at most";
    return result;
}

bool Rebuild() { return true; }

bool AddOnTop() {
    SetList({});
    auto* item = new CTavrelItem;
    item->SetDate("December 7, 2026");
    item->SetTitle("Q&A <new>");
    item->SetHyperlink("/q?a=1&b=2");
    item->SetDescription("Line one\nline two");
    InsertItemAtHead(item);
    return true;
}

bool DeleteFirst() {
    if (g_pItemHead != nullptr) RemoveItemAt(0);
    return true;
}

// Returns how many entries the page had, as the whole tree reads them.
size_t ExpectSameInParts(const std::string& name, const std::string& page) {
    const std::pair<const char*, Edit> edits[] = {
        {"rebuild", Rebuild}, {"add", AddOnTop}, {"delete", DeleteFirst}};
    for (const auto& [label, edit] : edits) {
        const Result whole = WrittenWhole(page, edit);
        for (const size_t part : {size_t{0}, size_t{1}, size_t{5}, size_t{97}, kRewritePartSize}) {
            SCOPED_TRACE(name + ", " + label + ", parts of " + std::to_string(part));
            const Result parts = WrittenInParts(page, edit, part);
            EXPECT_EQ(parts.written, whole.written);
            if (!whole.written || !parts.written) continue;
            EXPECT_EQ(parts.bytes, whole.bytes);
            EXPECT_EQ(parts.entries, whole.entries);
            EXPECT_EQ(parts.dropped, whole.dropped);
        }
    }
    const size_t entries = WrittenWhole(page, Rebuild).entries.size();
    ClearItemList();
    return entries;
}

std::string Section(const std::string& entries) {
    return std::string("<dl>\n<!--") + kMarkerBody + " -->\n" + entries + "</dl>\n";
}

const std::string kEntry =
    "<dt><strong>May 1, 2024</strong><br>\n<a href=\"/a.html\"><strong>A</strong></a>\n"
    "<dd>About a.<br>\n<p>\n";

TEST(PageRewriterTest, EveryCorpusPageIsWrittenAsTheWholeTreeWouldBe) {
    const std::filesystem::path root(TAVREL_SOURCE_DIR);
    int pages = 0;
    for (const char* folder : {"tests/page/corpus", "tests/browser/corpus"}) {
        for (const auto& file : std::filesystem::directory_iterator(root / folder)) {
            ExpectSameInParts(file.path().filename().string(), ReadFile(file.path()));
            ++pages;
        }
    }
    EXPECT_GT(pages, 40);
}

TEST(PageRewriterTest, EverySectionLayoutIsWrittenAsTheWholeTreeWouldBe) {
    const std::string head = "<!DOCTYPE html>\n<html><head><title>T</title></head>\n<body>\n";
    const std::string many = [] {
        std::string text;
        for (int i = 0; i < 200; ++i) text += "<p>Paragraph " + std::to_string(i) + "\n";
        return text;
    }();
    const std::pair<const char*, std::string> pages[] = {
        {"section on top", head + "<h2>News</h2>\n" + Section(kEntry) + many + "</body></html>\n"},
        {"section below", head + many + Section(kEntry + kEntry) + "<p>Footer</body></html>\n"},
        {"no section", head + many + "<p>Footer\n</body></html>\n"},
        {"empty section", head + many + Section("") + "</body></html>\n"},
        {"in main", head + "<main><div id=c>" + many + Section(kEntry) + "</div></main>\n"},
        {"after body", head + many + "</body>\n" + Section(kEntry) + "</html>\n"},
        {"after html", head + many + "</body></html>\n" + Section(kEntry)},
        {"two sections", head + Section(kEntry) + many + Section(kEntry + kEntry)},
        {"in a list", head + "<dl><dt>x<dd>" + Section(kEntry) + "</dl>" + many},
        {"in a named anchor", head + "<a name=top><div>" + many + Section(kEntry) + "</div></a>"},
        {"open named anchor", head + "<a name=top>" + many + Section(kEntry)},
        {"pre", head + "<pre>\n" + many + "</pre>\n" + Section(kEntry)},
        {"dropped content", head + Section("<dd>early\n" + kEntry + "<p>between\n") + many},
        {"unclosed", "<html><body><div><span>" + many + Section(kEntry)},
        {"crlf", "<html>\r\n<body>\r\n" + many + Section(kEntry) + "</body>\r\n</html>\r\n"},
        {"list before body", "<html><head></head>\n" + Section(kEntry) + "<body>" + many},
        {"no body", "<html><head><title>T</title></head></html>\n" + many},
        {"two bodies", "<html><p>x</html><html><body>" + many + "</body></html>"},
    };
    size_t entries = 0;
    for (const auto& [name, page] : pages) entries += ExpectSameInParts(name, page);
    EXPECT_EQ(entries, 13u) << "every section above is found";
}

TEST(PageRewriterTest, DeepNestingIsWrittenAsTheWholeTreeWouldBe) {
    std::string page = "<html><body>";
    for (int i = 0; i < 3000; ++i) page += "<div>" + std::to_string(i);
    page += Section(kEntry);
    EXPECT_EQ(ExpectSameInParts("3000 levels", page), 1u);
}

// Rewrites what `in` holds into `out` (both then closed); the failure.
SessionFailure RewriteAndClose(FILE* in, FILE* out, const Edit& edit, size_t partSize = 1) {
    PageHead head;
    const SessionFailure failure = RewritePage(in, out, edit, &head, partSize);
    std::fclose(in);
    std::fclose(out);
    return failure;
}

FILE* Discard() { return std::fopen("/dev/null", "wb"); }

TEST(PageRewriterTest, RefusalsSayWhyAndCallTheEditAtMostOnce) {
    const std::string page = "<html><body>\n" + Section(kEntry) + "<p>x</body></html>\n";
    int edits = 0;
    const Edit refuse = [&edits] { return ++edits, false; };
    EXPECT_EQ(RewriteAndClose(StreamOf(page), Discard(), refuse).message, kMsgEditRefused);
    EXPECT_EQ(edits, 1);

    const std::string noBody = "<html><head><title>T</title></head></html>\n";
    EXPECT_EQ(RewriteAndClose(StreamOf(noBody), Discard(), Rebuild).message, kMsgNoBody);

    // A read that fails part way is refused with the system's reason.
    cookie_io_functions_t failing = {[](void*, char* buffer, size_t size) -> ssize_t {
                                         static int reads = 0;
                                         if (++reads > 1) return errno = EIO, -1;
                                         std::memset(buffer, ' ', size);
                                         return static_cast<ssize_t>(size);
                                     },
                                     nullptr, nullptr, nullptr};
    const SessionFailure unread =
        RewriteAndClose(fopencookie(nullptr, "rb", failing), Discard(), Rebuild);
    EXPECT_EQ(unread.message, kMsgCannotRead);
    EXPECT_EQ(unread.error, EIO);

    // A write that fails (a full disk) ends the rewrite with a refusal.
    cookie_io_functions_t full = {
        nullptr, [](void*, const char*, size_t) -> ssize_t { return errno = ENOSPC, -1; }, nullptr,
        nullptr};
    std::string large = "<html><body>\n";
    while (large.size() < (1u << 20)) large += "<p>Paragraph\n";
    EXPECT_EQ(RewriteAndClose(StreamOf(large), fopencookie(nullptr, "wb", full), Rebuild, 1 << 12)
                  .message,
              kMsgCouldNotCreate);
    ClearItemList();
}

// A writer keeps the page it renamed into place locked until it unlocks, so
// the next writer reads the page only once the feed written after it is done.
TEST(PageRewriterTest, TheRenamedPageStaysLockedUntilTheSessionUnlocks) {
    TempDir dir;
    const std::string path = dir / "news.html";
    WriteFileBytes(path, "<html><body>\n" + Section(kEntry) + "</body></html>\n");
    const auto lockable = [&path] {
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        const bool locked = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (fd >= 0) close(fd);
        return locked;
    };
    PageSession session(path);
    ASSERT_FALSE(session.Rewrite(0, AddOnTop));
    EXPECT_FALSE(lockable());
    session.Unlock();
    EXPECT_TRUE(lockable());
    EXPECT_NE(ReadFileBytes(path).find("Q&amp;A"), std::string::npos);
}

}  // namespace
