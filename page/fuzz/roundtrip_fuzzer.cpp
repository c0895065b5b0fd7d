// libFuzzer target: rewrite arbitrary bytes as a page, rebuilding its section
// and adding an entry whose fields hold what could turn into markup or raw
// bytes. The sanitizers watch every step, and the target aborts when
//   - the result is not the input with only the section's range replaced
//     (or, on a page without a section, with only an insertion at the place
//     the scan gave), or differs at all when there was nothing to build;
//   - the part size the parser hands the tree over in, or the size of the
//     windows it reads the page in, changes the result;
//   - a second rebuild of the result changes it;
//   - a refusal says something else than that the page's end would not keep
//     a new list whole or that its encoding declaration would move away;
//   - the added entry does not read back as it was given (a page without a
//     section may refuse the entry when its end would not keep it whole, and
//     a section inside an A element loses the entry's link to it).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "htmlparse.h"
#include "model/ItemList.h"
#include "model/Messages.h"
#include "page/PageReader.h"
#include "page/PageRewriter.h"

namespace {

// Fields a careless writer would turn into markup or raw bytes: a quote, a
// "<" and a NUL as the byte stand-ins of the parser, and as themselves.
const char kTitle[] = "Q&A <b> \xF4\x8F\xBC\xBCscript\xF4\x8F\xBC\xBE \xC3\xA9";
const char kLink[] = "/a\xF4\x8F\xBC\xA2 onmouseover=\xF4\x8F\xBC\xA2x?b=1&c=2";
const char kDescription[] = "\nd \xF4\x8F\xBC\x80\r\n \xF4\x8F\xBF\xBF end";

void AddEntry(ItemList& entries) {
    entries.InsertAtHead(ItemOf({"7 <Dec> 2026", kTitle, kLink, kDescription}));
}

struct Result {
    SessionFailure failure;
    PageScan scan;
    std::string bytes;
};

// What was written to `out`, which is then closed.
std::string ReadBack(std::FILE* out) {
    std::string bytes;
    std::rewind(out);
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, out)) > 0;) {
        bytes.append(buffer, got);
    }
    std::fclose(out);
    return bytes;
}

// `readSize` 0: the parser's default.
Result Rewrite(const std::string& page, bool add, std::size_t partSize, std::size_t readSize = 0) {
    // fmemopen cannot open an empty buffer; a temporary file stands in.
    std::FILE* in =
        page.empty() ? std::tmpfile() : fmemopen(const_cast<char*>(page.data()), page.size(), "rb");
    std::FILE* out = std::tmpfile();
    if (in == nullptr || out == nullptr) std::abort();
    Result result;
    const PageChange change = SectionChange([add](const PageScan&, ItemList& entries) {
        if (add) AddEntry(entries);
        return true;
    });
    HTMLSetReadSize(readSize);
    result.failure = RewritePage(in, out, change, &result.scan, partSize);
    HTMLSetReadSize(0);
    std::fclose(in);
    result.bytes = ReadBack(out);
    return result;
}

// Aborts unless `after` is `before` with only `range` replaced.
void CheckOnlyRangeChanged(const std::string& before, const std::string& after, ByteRange range) {
    if (range.begin > range.end || range.end > before.size()) std::abort();
    const std::size_t suffix = before.size() - range.end;
    if (after.size() < range.begin + suffix) std::abort();
    if (after.compare(0, range.begin, before, 0, range.begin) != 0) std::abort();
    if (after.compare(after.size() - suffix, suffix, before, range.end, suffix) != 0) std::abort();
}

ByteRange ChangedRange(const PageScan& scan) {
    return scan.hasSection ? scan.section : ByteRange{scan.sectionPlace, scan.sectionPlace};
}

// Whether the section of `page` stands inside an A element. A link inside it
// closes that A, and the section with it, before the entry's title: the
// page's own markup around the list takes the entry apart there.
bool SectionInsideAnchor(const std::string& page) {
    std::FILE* in = fmemopen(const_cast<char*>(page.data()), page.size(), "rb");
    if (in == nullptr) std::abort();
    HTMLParseBegin();
    HTMLParseDo(in);
    std::fclose(in);
    block* root = HTMLParseEnd();
    const block* section = FindSectionFrom(root->first_child);
    bool inside = false;
    for (const block* up = section; up != nullptr && !inside; up = up->parent) {
        inside = up != section && up->tag == HTML_A;
    }
    HTMLFreeTree(root);
    return inside;
}

void CheckAddedEntryReadsBack(const std::string& page) {
    if (SectionInsideAnchor(page)) return;
    const Result reread = Rewrite(page, false, 1 << 16);
    const CTavrelItem* first = reread.scan.entries.Head();
    if (reread.failure || first == nullptr) std::abort();
    if (first->GetTitle() != kTitle || first->GetHyperlink() != kLink ||
        first->GetDescription() != kDescription) {
        std::abort();
    }
    if (reread.bytes != page) std::abort();  // a second build changes nothing
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string page(reinterpret_cast<const char*>(data), size);
    const std::size_t partSize = size == 0 ? 1 : 1 + data[0] % 16;
    const std::size_t readSize = size == 0 ? 1 : 1 + data[size - 1] % 32;

    // A change that would push the page's encoding declaration out of the
    // bytes browsers look at is refused, and says so.
    const Result rebuilt = Rewrite(page, false, partSize, readSize);
    if (rebuilt.failure.code == FailureCode::kEncodingWouldChange) return 0;
    if (rebuilt.failure) std::abort();
    if (!rebuilt.scan.hasSection && rebuilt.bytes != page) std::abort();
    CheckOnlyRangeChanged(page, rebuilt.bytes, ChangedRange(rebuilt.scan));
    if (Rewrite(page, false, 1 << 16).bytes != rebuilt.bytes) std::abort();

    // A page whose end would not keep a list whole has no place for one
    // there, and says so.
    const Result added = Rewrite(page, true, partSize, readSize);
    if (added.failure.code == FailureCode::kNoPlaceForList && !added.scan.hasSection) return 0;
    if (added.failure.code == FailureCode::kEncodingWouldChange) return 0;
    if (added.failure) std::abort();
    CheckOnlyRangeChanged(page, added.bytes, ChangedRange(added.scan));
    CheckAddedEntryReadsBack(added.bytes);
    return 0;
}
