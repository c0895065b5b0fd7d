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

// Refuses the page that `splices` make of `stream` unless it has a section
// that reads back as the item list: the page is written once more, to a
// temporary file, and scanned. The item list and what the scan sets are left
// as they were.
SessionFailure CheckAddedSection(FILE* stream, const std::vector<PageSplice>& splices) {
    FILE* written = std::tmpfile();
    if (written == nullptr) return {kMsgCouldNotCreate, errno};
    int readError = 0;
    if (std::fseek(stream, 0, SEEK_SET) != 0 ||
        !CopyWithSplices(stream, written, splices, &readError) ||
        std::fseek(written, 0, SEEK_SET) != 0) {
        const SessionFailure failure{readError != 0 ? kMsgCannotRead : kMsgCouldNotCreate,
                                     readError != 0 ? readError : errno};
        std::fclose(written);
        return failure;
    }
    CTavrelItem* list = TakeItemList();
    const std::vector<std::string> unread = g_unreadContent;
    PageScan scan;
    SessionFailure failure = ScanPage(written, &scan);
    std::fclose(written);
    if (!failure && (!scan.hasSection || !SameEntries(g_pItemHead, list))) {
        failure = {kMsgNoPlaceForList, 0};
    }
    ClearItemList();
    AdoptItemList(list);
    g_unreadContent = unread;
    g_bNoSection = 1;
    return failure;
}

}  // namespace

SessionFailure RewritePage(FILE* stream, FILE* out, const PageChange& change, PageScan* scan,
                           size_t partSize) {
    if (const SessionFailure failure = ScanPage(stream, scan, partSize)) return failure;
    std::vector<PageSplice> splices;
    if (!change(*scan, &splices)) return {kMsgEditRefused, 0};
    // A page that ends inside a script, a comment or an unclosed link would
    // not keep a list added at its end whole.
    if (!scan->hasSection && g_pItemHead != nullptr) {
        if (scan->frameset) return {kMsgNoBody, 0};
        if (const SessionFailure failure = CheckAddedSection(stream, splices)) return failure;
    }
    if (std::fseek(stream, 0, SEEK_SET) != 0) return {kMsgCannotRead, errno};
    int readError = 0;
    if (!CopyWithSplices(stream, out, splices, &readError)) {
        if (readError != 0) return {kMsgCannotRead, readError};
        return {kMsgCouldNotCreate, 0};
    }
    return {};
}
