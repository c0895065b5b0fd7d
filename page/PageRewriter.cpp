#include "page/PageRewriter.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <optional>

#include "htmlparse.h"
#include "model/ItemList.h"
#include "model/Messages.h"
#include "page/PageForm.h"
#include "page/PageReader.h"
#include "page/SectionBuilder.h"
#include "page/SectionCheck.h"
#include "page/TreeSerializer.h"
#include "page/TreeWriter.h"

namespace {

// Looks for BODY as FindBody does, in a tree that grows between calls: a
// node that was looked at and had a next sibling is settled, so each node is
// looked at about once however often this is called.
class BodyFinder {
  public:
    block* Find(block* root) {
        block* top = m_top != nullptr ? m_top : root->first_child;
        while (top != nullptr) {
            if (top->tag == HTML_HTML) {
                block* child = top == m_top && m_child != nullptr ? m_child : top->first_child;
                for (; child != nullptr; child = child->next_sib) {
                    if (child->tag == HTML_BODY) return child;
                    if (child->next_sib == nullptr) break;
                }
                m_child = child;
            }
            m_top = top;
            if (top->next_sib == nullptr) return nullptr;
            top = top->next_sib;
            m_child = nullptr;
        }
        return nullptr;
    }

  private:
    block* m_top = nullptr;    // the last child of the root looked at
    block* m_child = nullptr;  // the last child of m_top looked at
};

// Where the writing may go down into an element whose content is still being
// parsed. A DL may be the section, and a named anchor's content moves out
// behind it when written; both wait until they are settled.
bool MayStart(const block* node) {
    return node->type == BT_ELEMENT && (node->flags & BF_VERBATIM) == 0 &&
           node->first_child != nullptr && node->tag != HTML_DL && !IsNamedAnchor(node);
}

// Puts `replacement` where `node` hangs in its parent's children.
void Replace(block* node, block* replacement) {
    block* parent = node->parent;
    replacement->parent = parent;
    replacement->next_sib = node->next_sib;
    block** link = &parent->first_child;
    while (*link != node) link = &(*link)->next_sib;
    *link = replacement;
    node->next_sib = nullptr;
}

block* LastChild(block* node) {
    block* last = node->first_child;
    while (last != nullptr && last->next_sib != nullptr) last = last->next_sib;
    return last;
}

class Rewriter {
  public:
    Rewriter(FILE* out, const EntryEdit& edit, size_t partSize)
        : m_out(out), m_edit(edit), m_partSize(std::max<size_t>(partSize, 1)) {}

    static int Part(block* root, int last, void* context) {
        return static_cast<Rewriter*>(context)->OnPart(root, last != 0) ? 0 : 1;
    }

    // Writes what is left and closes the output; the failure, if any.
    SessionFailure Close(bool parsedWhole) {
        if (m_failure) return m_failure;
        if (!parsedWhole) return {kMsgReadIncomplete, ENOMEM};
        m_writer.reset();
        if (!m_form->Close()) return {kMsgCouldNotCreate, 0};
        return {};
    }

    const PageHead& Head() const { return m_head; }

  private:
    bool OnPart(block* root, bool last) {
        try {
            return last ? WriteRest(root) : WriteSettled(root);
        } catch (const std::bad_alloc&) {
            m_failure = {kMsgOutOfMemory, ENOMEM};
            return false;
        } catch (...) {
            // Nothing may unwind through the parser's C interface.
            m_failure = {kMsgCouldNotCreate, 0};
            return false;
        }
    }

    // Finds BODY and, once it is there, reads the head and starts writing.
    bool FoundBody(block* root, bool last) {
        if (m_body != nullptr) return true;
        m_body = last ? FindBody(root) : m_bodyFinder.Find(root);
        if (m_body == nullptr) return false;
        m_head = ReadPageHead(root);
        HTMLPageInfo info{};
        HTMLGetPageInfo(&info);
        m_form.emplace(m_out, PageFormOf(info));
        if (m_form->Stream() == nullptr) {
            m_failure = {kMsgCouldNotCreate, 0};
            return false;
        }
        m_writer.emplace(m_form->Stream());
        m_writer->TakeAsStarted(root);
        return true;
    }

    // Writes and releases the settled nodes, going down the tree's last path
    // as far as its start tags are settled. On a deep page the path is walked
    // only once enough of the page has been parsed to pay for the walk.
    bool WriteSettled(block* root) {
        if (!FoundBody(root, false)) return !m_failure;
        if (m_writer->Depth() > kShallowDepth &&
            ++m_partsSinceWalk * m_partSize < kBytesPerLevel * m_writer->Depth()) {
            return true;
        }
        m_partsSinceWalk = 0;
        block* node = root;
        bool inBody = false;
        for (size_t depth = 0;; ++depth) {
            inBody = inBody || node == m_body;
            while (node->first_child != nullptr && node->first_child->next_sib != nullptr) {
                if (Held(node->first_child)) return WentOut();
                if (!WriteChild(node, depth + 1, inBody)) return false;
            }
            block* child = node->first_child;
            if (child == nullptr || !MayStart(child)) return WentOut();
            if (!m_writer->IsStartedAt(depth + 1, child)) m_writer->Start(child);
            node = child;
        }
    }

    // False once a write to the output has failed: the rest of the page
    // would be parsed for nothing.
    bool WentOut() {
        if (std::ferror(m_out) == 0) return true;
        m_failure = {kMsgCouldNotCreate, 0};
        return false;
    }

    // BODY, and the HTML holding it, wait for the end of the page while the
    // section has not been found: it may still come after "</body>".
    bool Held(const block* node) const {
        return !m_sectionDone && (node == m_body || node == m_body->parent);
    }

    // Takes the first child of `parent` out of the tree, rebuilds the section
    // if it is in there, and writes and releases it; `depth` is the child's.
    bool WriteChild(block* parent, size_t depth, bool inBody) {
        block* child = parent->first_child;
        parent->first_child = child->next_sib;
        child->next_sib = nullptr;
        block* section = inBody && !m_sectionDone ? FindSectionFrom(child) : nullptr;
        if (section != nullptr) {
            block* rebuilt = RebuildSection(section);
            if (rebuilt == nullptr) {
                HTMLFreeTree(child);
                return false;
            }
            if (section == child) {
                rebuilt->parent = child->parent;
                child = rebuilt;
            } else {
                Replace(section, rebuilt);
            }
            HTMLFreeTree(section);
        }
        HoistNamedAnchors(child);
        while (child != nullptr) {
            block* next = child->next_sib;
            m_writer->Finish(child, depth);
            child->next_sib = nullptr;
            HTMLFreeTree(child);
            child = next;
        }
        return true;
    }

    // The section built from the entries of `section` after the edit, not
    // yet linked anywhere; null when the edit refused.
    block* RebuildSection(const block* section) {
        m_sectionDone = true;
        g_bNoSection = 0;
        g_unreadContent = CheckSection(section);
        ClearItemList();
        AdoptItemList(ReadSection(section));
        if (!Edit()) return nullptr;
        return BuildSection(g_pItemHead);
    }

    // The end of the page: everything is settled.
    bool WriteRest(block* root) {
        if (!FoundBody(root, true)) {
            if (!m_failure) m_failure = {kMsgNoBody, 0};
            return false;
        }
        if (!m_sectionDone) {
            block* section = FindSection(m_body);
            if (section == nullptr) {
                if (!AddSection()) return false;
            } else {
                block* rebuilt = RebuildSection(section);
                if (rebuilt == nullptr) return false;
                Replace(section, rebuilt);
                HTMLFreeTree(section);
            }
        }
        HoistNamedAnchors(root);
        m_writer->Finish(root, 0);
        return true;
    }

    // A page without a section gets one, with its heading, at the end of
    // BODY, unless the list stays empty.
    bool AddSection() {
        m_sectionDone = true;
        g_bNoSection = 1;
        g_unreadContent.clear();
        ClearItemList();
        if (!Edit()) return false;
        if (g_pItemHead == nullptr) return true;
        block* added = BuildSection(g_pItemHead);
        for (block* node = added; node != nullptr; node = node->next_sib) node->parent = m_body;
        if (block* last = LastChild(m_body)) {
            last->next_sib = added;
        } else {
            m_body->first_child = added;
        }
        return true;
    }

    bool Edit() {
        if (m_edit()) return true;
        m_failure = {kMsgEditRefused, 0};
        return false;
    }

    // Below this depth the last path is walked after every part.
    static constexpr size_t kShallowDepth = 64;
    // Deeper, a walk waits for this many bytes parsed per level walked.
    static constexpr size_t kBytesPerLevel = 16;

    FILE* m_out;
    const EntryEdit& m_edit;
    size_t m_partSize;
    BodyFinder m_bodyFinder;
    block* m_body = nullptr;  // compared, never followed, once the section is done
    bool m_sectionDone = false;
    size_t m_partsSinceWalk = 0;
    PageHead m_head;
    std::optional<PageFormStream> m_form;
    std::optional<TreeWriter> m_writer;
    SessionFailure m_failure;
};

}  // namespace

SessionFailure RewritePage(FILE* stream, FILE* out, const EntryEdit& edit, PageHead* head,
                           size_t partSize) {
    Rewriter rewriter(out, edit, partSize);
    HTMLParseBegin();
    HTMLParseDoInParts(stream, partSize, &Rewriter::Part, &rewriter);
    block* root = HTMLParseEnd();
    HTMLPageInfo info{};
    HTMLGetPageInfo(&info);
    SessionFailure failure = rewriter.Close(info.complete != 0);
    if (info.read_error != 0) failure = {kMsgCannotRead, info.read_error};
    HTMLFreeTree(root);
    if (!failure) *head = rewriter.Head();
    return failure;
}
