#include "page/PageRewriter.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <string>

#include "htmlparse.h"
#include "model/Messages.h"
#include "page/PageForm.h"
#include "page/SectionBuilder.h"
#include "platform/file_ops.h"
#include "text/line_ends.h"

std::optional<PageSplice> SectionSplice(const PageScan& scan, const ItemList& entries) {
    if (scan.hasSection) {
        return PageSplice{scan.section, EncodeForPage(BuildSection(entries.Head()), scan.form), {}};
    }
    if (entries.Empty()) return std::nullopt;
    const ByteRange place{scan.sectionPlace, scan.sectionPlace};
    return PageSplice{place, EncodeForPage(BuildFirstSection(entries.Head()), scan.form),
                      EncodeForPage("\n", scan.form)};
}

PageChange SectionChange(const EntriesEdit& edit) {
    return [edit](PageScan& scan, std::vector<PageSplice>* splices) {
        if (!edit(scan, scan.entries)) return false;
        if (std::optional<PageSplice> splice = SectionSplice(scan, scan.entries)) {
            splices->push_back(std::move(*splice));
        }
        return true;
    };
}

namespace {

// How far into a page browsers look for a declaration of its encoding.
constexpr uint64_t kEncodingPrescan = 1024;

// Whether the page that `splices` make could read differently from what they
// meant: a section added where the page's own markup may take it apart, or
// bytes changed where a browser looks for the page's encoding.
bool NeedsCheck(const PageScan& scan, const std::vector<PageSplice>& splices) {
    const bool added = !scan.hasSection && !scan.entries.Empty();
    return added || (!splices.empty() && splices.front().range.begin < kEncodingPrescan);
}

// Counts the line ends among the bytes of `range` of `stream`; false when
// they cannot be read.
bool CountLineEnds(FILE* stream, ByteRange range, lineends::Counts* counts) {
    if (std::fseek(stream, static_cast<long>(range.begin), SEEK_SET) != 0) return false;
    lineends::Counter counter;
    char piece[1 << 16];
    for (uint64_t left = range.end - range.begin; left > 0;) {
        const size_t got = std::fread(piece, 1, std::min<uint64_t>(left, sizeof piece), stream);
        if (got == 0) return false;
        counter.Bytes(piece, got);
        left -= got;
    }
    *counts = counter.Finish();
    return true;
}

// What the program writes takes the line ends most common outside the
// section, which it rewrites: counted with the section, a long list of the
// program's own could decide them, and the next build would write the list
// in another form. (A UTF-16 page's line ends are not bytes: it keeps the
// form of all of it.)
void WeighLineEndsOutsideSection(FILE* stream, PageScan* scan) {
    if (!scan->hasSection || scan->form.encoding.rfind("UTF-16", 0) == 0) return;
    HTMLLineEnds all{};
    HTMLGetLineEnds(&all);
    lineends::Counts inside;
    if (!CountLineEnds(stream, scan->section, &inside)) return;
    const auto less = [](uint64_t a, uint64_t b) { return a > b ? a - b : 0; };
    SetLineEnds(&scan->form,
                {less(all.lf, inside.lf), less(all.crlf, inside.crlf), less(all.cr, inside.cr)});
}

// The encoding a browser reads the page from `stream` in. The parser knows
// it before it parses the first part of the page, so the parse stops there.
SessionFailure EncodingOf(FILE* stream, std::string* encoding) {
    HTMLParseBegin();
    HTMLParseDoInParts(
        stream, 0, [](block*, int, void*) { return 1; }, nullptr);
    HTMLFreeTree(HTMLParseEnd());
    HTMLPageInfo info{};
    HTMLGetPageInfo(&info);
    if (info.read_error != 0) return {FailureCode::kCannotRead, info.read_error};
    *encoding = PageFormOf(info).encoding;
    return {};
}

// Refuses the page that `splices` make of `stream` unless it is read in the
// encoding `scan` found and, where a section was added, that section reads
// back as the item list: the page is written once more, to a temporary file,
// and read for its encoding or, where a section was added, scanned.
SessionFailure CheckWrittenPage(FILE* stream, const std::vector<PageSplice>& splices,
                                const PageScan& before) {
    const bool added = !before.hasSection && !before.entries.Empty();
    FILE* written = OpenScratchStream();
    if (written == nullptr) return {FailureCode::kCouldNotCreate, errno};
    int readError = 0;
    if (std::fseek(stream, 0, SEEK_SET) != 0 ||
        !CopyWithSplices(stream, written, splices, &readError) ||
        std::fseek(written, 0, SEEK_SET) != 0) {
        SessionFailure failure{
            readError != 0 ? FailureCode::kCannotRead : FailureCode::kCouldNotCreate,
            readError != 0 ? readError : errno};
        std::fclose(written);
        return failure;
    }
    PageScan after;
    SessionFailure failure =
        added ? ScanPage(written, &after) : EncodingOf(written, &after.form.encoding);
    std::fclose(written);
    if (!failure && after.form.encoding != before.form.encoding) {
        failure = {FailureCode::kEncodingWouldChange, 0};
    } else if (!failure && added &&
               (!after.hasSection || !after.entries.SameEntries(before.entries))) {
        failure = {FailureCode::kNoPlaceForList, 0};
    }
    return failure;
}

}  // namespace

SessionFailure RewritePage(FILE* stream, FILE* out, const PageChange& change, PageScan* scan,
                           size_t partSize) {
    if (SessionFailure failure = ScanPage(stream, scan, partSize)) return failure;
    WeighLineEndsOutsideSection(stream, scan);
    std::vector<PageSplice> splices;
    if (!change(*scan, &splices)) return {FailureCode::kEditRefused, 0};
    if (!scan->hasSection && !scan->entries.Empty() && scan->frameset)
        return {FailureCode::kNoBody, 0};
    if (NeedsCheck(*scan, splices)) {
        if (SessionFailure failure = CheckWrittenPage(stream, splices, *scan)) return failure;
    }
    if (std::fseek(stream, 0, SEEK_SET) != 0) return {FailureCode::kCannotRead, errno};
    int readError = 0;
    if (!CopyWithSplices(stream, out, splices, &readError)) {
        if (readError != 0) return {FailureCode::kCannotRead, readError};
        return {FailureCode::kCouldNotCreate, 0};
    }
    return {};
}
