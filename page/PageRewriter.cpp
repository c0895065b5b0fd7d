#include "page/PageRewriter.h"

#include <cerrno>
#include <new>
#include <string>

#include "model/ItemList.h"
#include "model/Messages.h"
#include "page/PageForm.h"
#include "page/PageReader.h"
#include "page/SectionBuilder.h"

std::optional<PageSplice> SectionSplice(const PageScan& scan, const CTavrelItem* head) {
    if (scan.hasSection) {
        return PageSplice{scan.section, EncodeForPage(BuildSection(head), scan.form), {}};
    }
    if (head == nullptr) return std::nullopt;
    const std::string added = BuildHeading(kSectionHeading) + BuildSection(head);
    const ByteRange place{scan.sectionPlace, scan.sectionPlace};
    return PageSplice{place, EncodeForPage(added, scan.form), EncodeForPage("\n", scan.form)};
}

PageChange SectionChange(const std::function<bool()>& edit) {
    return [edit](const PageScan& scan, std::vector<PageSplice>* splices) {
        if (!edit()) return false;
        if (std::optional<PageSplice> splice = SectionSplice(scan, g_pItemHead)) {
            splices->push_back(std::move(*splice));
        }
        return true;
    };
}

namespace {

// Whether the lists at `a` and `b` hold the same entries in the same order.
bool SameEntries(const CTavrelItem* a, const CTavrelItem* b) {
    for (; a != nullptr && b != nullptr; a = a->GetNext(), b = b->GetNext()) {
        if (a->GetDate() != b->GetDate() || a->GetTitle() != b->GetTitle() ||
            a->GetHyperlink() != b->GetHyperlink() || a->GetDescription() != b->GetDescription()) {
            return false;
        }
    }
    return a == nullptr && b == nullptr;
}

// How far into a page browsers look for a declaration of its encoding.
constexpr uint64_t kEncodingPrescan = 1024;

// Whether the page that `splices` make could read differently from what they
// meant: a section added where the page's own markup may take it apart, or
// bytes changed where a browser looks for the page's encoding.
bool NeedsCheck(const PageScan& scan, const std::vector<PageSplice>& splices) {
    const bool added = !scan.hasSection && g_pItemHead != nullptr;
    return added || (!splices.empty() && splices.front().range.begin < kEncodingPrescan);
}

// Refuses the page that `splices` make of `stream` unless it is read in the
// encoding `scan` found and, where a section was added, that section reads
// back as the item list: the page is written once more, to a temporary file,
// and scanned. The item list and what the scan sets are left as they were.
SessionFailure CheckWrittenPage(FILE* stream, const std::vector<PageSplice>& splices,
                                const PageScan& before) {
    const bool added = !before.hasSection && g_pItemHead != nullptr;
    FILE* written = std::tmpfile();
    if (written == nullptr) return {kMsgCouldNotCreate, errno};
    int readError = 0;
    if (std::fseek(stream, 0, SEEK_SET) != 0 ||
        !CopyWithSplices(stream, written, splices, &readError) ||
        std::fseek(written, 0, SEEK_SET) != 0) {
        SessionFailure failure{readError != 0 ? kMsgCannotRead : kMsgCouldNotCreate,
                               readError != 0 ? readError : errno};
        std::fclose(written);
        return failure;
    }
    CTavrelItem* list = TakeItemList();
    const std::vector<std::string> unread = g_unreadContent;
    const int noSection = g_bNoSection;
    PageScan after;
    SessionFailure failure = ScanPage(written, &after);
    std::fclose(written);
    if (!failure && after.form.encoding != before.form.encoding) {
        failure = {kMsgEncodingWouldChange, 0};
    } else if (!failure && added && (!after.hasSection || !SameEntries(g_pItemHead, list))) {
        failure = {kMsgNoPlaceForList, 0};
    }
    ClearItemList();
    AdoptItemList(list);
    g_unreadContent = unread;
    g_bNoSection = noSection;
    return failure;
}

}  // namespace

SessionFailure RewritePage(FILE* stream, FILE* out, const PageChange& change, PageScan* scan,
                           size_t partSize) {
    if (SessionFailure failure = ScanPage(stream, scan, partSize)) return failure;
    std::vector<PageSplice> splices;
    if (!change(*scan, &splices)) return {kMsgEditRefused, 0};
    if (!scan->hasSection && g_pItemHead != nullptr && scan->frameset) return {kMsgNoBody, 0};
    if (NeedsCheck(*scan, splices)) {
        if (SessionFailure failure = CheckWrittenPage(stream, splices, *scan)) return failure;
    }
    if (std::fseek(stream, 0, SEEK_SET) != 0) return {kMsgCannotRead, errno};
    int readError = 0;
    if (!CopyWithSplices(stream, out, splices, &readError)) {
        if (readError != 0) return {kMsgCannotRead, readError};
        return {kMsgCouldNotCreate, 0};
    }
    return {};
}
