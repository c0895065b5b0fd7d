#include "page/PageScan.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <optional>

#include "htmlparse.h"
#include "model/ItemList.h"
#include "model/Messages.h"
#include "page/PageReader.h"
#include "page/SectionCheck.h"

namespace {

bool IsElement(const block* node, int code) {
    return node->type == BT_ELEMENT && node->tag == code && (node->flags & BF_VERBATIM) == 0;
}

bool IsNamed(const block* node, const char* name) {
    return node->type == BT_ELEMENT && std::strcmp(HTMLElementName(node->tag), name) == 0;
}

bool IsHead(const block* node) { return IsNamed(node, "HEAD"); }

bool IsBlankText(const block* node) {
    return node->type == BT_TEXT &&
           (node->text == nullptr || node->text[std::strspn(node->text, " \t\n\r\f")] == '\0');
}

// What a browser shows as content: an element or text that is not blank.
bool IsContent(const block* node) {
    return node->type == BT_ELEMENT || (node->type == BT_TEXT && !IsBlankText(node));
}

HTMLSourceSpan SpanOf(const block* node) {
    HTMLSourceSpan span{};
    HTMLGetSourceSpan(node, &span);
    return span;
}

// Takes the first child of `parent` out of the tree.
block* TakeFirstChild(block* parent) {
    block* child = parent->first_child;
    parent->first_child = child->next_sib;
    child->next_sib = nullptr;
    return child;
}

class Scanner {
  public:
    Scanner(PageScan* scan, size_t partSize) : m_scan(scan), m_partSize(partSize) {}

    static int Part(block* root, int last, void* context) {
        return static_cast<Scanner*>(context)->OnPart(root, last != 0) ? 0 : 1;
    }

    // The end of the page: what the scan found is settled.
    void Finish() {
        m_scan->head = m_head.Head();
        m_scan->feedLinks = m_head.FeedLinks();
        m_scan->sectionPlace = m_contentSeen ? m_contentEnd : m_lastEnd;
        m_scan->frameset = m_framesetSeen && !m_bodySeen;
    }

    bool OutOfMemory() const { return m_outOfMemory; }

  private:
    bool OnPart(block* root, bool last) {
        try {
            if (last || WalkPaysOff()) Walk(root, last);
            return true;
        } catch (const std::bad_alloc&) {
            m_outOfMemory = true;
            return false;
        }
    }

    // Whether to walk the last path after this part: on a deep page only once
    // enough of it has been parsed since the last walk to pay for the walk.
    bool WalkPaysOff() {
        if (m_depth <= kShallowDepth) return true;
        if (++m_partsSinceWalk * m_partSize < kBytesPerLevel * m_depth) return false;
        m_partsSinceWalk = 0;
        return true;
    }

    // Looks at and releases the settled nodes, going down the tree's last
    // path as far as its elements may be entered; at the end, all of them.
    void Walk(block* root, bool last) {
        block* node = root;
        for (m_depth = 0;; ++m_depth) {
            while (node->first_child != nullptr &&
                   (last || node->first_child->next_sib != nullptr)) {
                block* child = TakeFirstChild(node);
                if (node == m_reading) {
                    ReadSectionChild(child);
                } else {
                    Visit(child);
                }
                HTMLFreeTree(child);
            }
            // An entry of the section is read whole once it is settled.
            block* child = node->first_child;
            if (node == m_reading || child == nullptr || !MayEnter(child)) return;
            if (IsElement(child, HTML_BODY)) m_bodySeen = true;
            if (child->tag == HTML_DL && child != m_reading) StartSection(child);
            node = child;
        }
    }

    // A HEAD is read whole, and a DL that may turn out to be the section, or
    // to hold it, waits until it is settled. The section itself is read
    // entry by entry as its children settle, so that a long list is never
    // held whole.
    bool MayEnter(const block* node) const {
        if (node->type != BT_ELEMENT || (node->flags & BF_VERBATIM) != 0 ||
            node->first_child == nullptr || IsHead(node)) {
            return false;
        }
        if (node->tag != HTML_DL) return true;
        return node == m_reading || (!m_scan->hasSection && IsSection(node));
    }

    void StartSection(block* dl) {
        m_reading = dl;
        m_scan->hasSection = true;
        m_scan->section.begin = SpanOf(dl).begin;
        m_sectionReader.emplace();
        m_checker.emplace();
    }

    void ReadSectionChild(const block* child) {
        m_checker->Child(child);
        m_sectionReader->Child(child);
    }

    // The section being read is settled: its last children are read.
    void FinishSection() {
        for (const block* child = m_reading->first_child; child != nullptr;
             child = child->next_sib) {
            ReadSectionChild(child);
        }
        m_scan->section.end = SpanOf(m_reading).end;
        m_scan->unreadContent = m_checker->Finish();
        m_scan->entries = ItemList(m_sectionReader->Finish());
        m_reading = nullptr;
    }

    // Whether `node` is `inner` or holds it.
    static bool Holds(const block* node, const block* inner) {
        for (; inner != nullptr; inner = inner->parent) {
            if (inner == node) return true;
        }
        return false;
    }

    // Looks at a settled node and what it holds.
    void Visit(block* node) {
        if (m_reading != nullptr && Holds(node, m_reading)) FinishSection();
        const HTMLSourceSpan span = SpanOf(node);
        m_lastEnd = std::max(m_lastEnd, span.end);
        if (IsElement(node, HTML_HTML)) {
            while (node->first_child != nullptr) {
                block* child = TakeFirstChild(node);
                Visit(child);
                HTMLFreeTree(child);
            }
        } else if (IsHead(node)) {
            m_scan->hasHeadElement = true;
            m_scan->headContentEnd = span.content_end;
            if (!m_bodySeen) m_head.Read(node);
            // Markup the parser keeps in HEAD (a NOSCRIPT's content) may
            // hold the section, as it would if HEAD were looked at with the
            // element that holds it.
            Search(node);
        } else if (IsElement(node, HTML_BODY)) {
            m_bodySeen = true;
            MarkContent(span.content_end);
            if (node->first_child != nullptr) Search(node->first_child);
        } else {
            if (IsNamed(node, "FRAMESET")) m_framesetSeen = true;
            if (!m_bodySeen) m_head.Read(node);
            Search(node);
            if (IsContent(node)) MarkContent(span.end);
        }
    }

    void MarkContent(uint64_t end) {
        m_contentEnd = m_contentSeen ? std::max(m_contentEnd, end) : end;
        m_contentSeen = true;
    }

    // Reads the section if it is among `from`, its following siblings and
    // their descendants, and has not been found before.
    void Search(block* from) {
        if (m_scan->hasSection) return;
        const block* section = FindSectionFrom(from);
        if (section == nullptr) return;
        const HTMLSourceSpan span = SpanOf(section);
        m_scan->hasSection = true;
        m_scan->section = {span.begin, span.end};
        m_scan->unreadContent = CheckSection(section);
        m_scan->entries = ItemList(ReadSection(section));
    }

    // Below this depth the last path is walked after every part.
    static constexpr size_t kShallowDepth = 64;
    // Deeper, a walk waits for this many bytes parsed per level walked.
    static constexpr size_t kBytesPerLevel = 16;

    PageScan* m_scan;
    size_t m_partSize;
    size_t m_depth = 0;           // how deep the last walk went
    size_t m_partsSinceWalk = 0;  // parts parsed since then
    HeadReader m_head;
    block* m_reading = nullptr;  // the section while it is read entry by entry
    std::optional<SectionReader> m_sectionReader;
    std::optional<SectionChecker> m_checker;
    bool m_bodySeen = false;
    bool m_framesetSeen = false;
    bool m_contentSeen = false;
    uint64_t m_contentEnd = 0;  // the end of the last content seen
    uint64_t m_lastEnd = 0;     // the end of the last node seen
    bool m_outOfMemory = false;
};

}  // namespace

SessionFailure ScanPage(FILE* stream, PageScan* scan, size_t partSize) {
    *scan = PageScan{};
    partSize = std::max<size_t>(partSize, 1);
    Scanner scanner(scan, partSize);
    HTMLParseBegin();
    HTMLParseDoInParts(stream, partSize, &Scanner::Part, &scanner);
    HTMLFreeTree(HTMLParseEnd());
    HTMLPageInfo info{};
    HTMLGetPageInfo(&info);
    if (info.read_error != 0) return {FailureCode::kCannotRead, info.read_error};
    if (info.complete == 0 || scanner.OutOfMemory()) return {FailureCode::kReadIncomplete, ENOMEM};
    scanner.Finish();
    scan->form = PageFormOf(info);
    return {};
}
