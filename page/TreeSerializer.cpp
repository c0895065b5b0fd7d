#include "page/TreeSerializer.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "page/ElementRules.h"
#include "text/ascii.h"

namespace {

constexpr const char kUnknownKindMessage[] =
    "Internal error in HTML parser dump_tree()\n\t-- unknown value for top->type\n";

bool IsElement(const block* node, int code) {
    return node->type == BT_ELEMENT && node->tag == code;
}

// A named anchor: an A with NAME and without HREF. An A with neither (a
// script button, a placeholder link) is no anchor to hoist out of.
bool IsNamedAnchor(const block* node) {
    return IsElement(node, HTML_A) && HTMLGetAttr(node, "HREF") == nullptr &&
           HTMLGetAttr(node, "NAME") != nullptr;
}

// Moves the children of an anchor without HREF out behind it.
void HoistChildren(block* anchor) {
    block* first = anchor->first_child;
    block* last = first;
    while (last->next_sib != nullptr) last = last->next_sib;
    last->next_sib = anchor->next_sib;
    anchor->next_sib = first;
    anchor->first_child = nullptr;
    // Emptied, it must be closed at once, whether or not the page closed it.
    anchor->flags |= BF_END_TAG;
}

// Writes one tree, keeping the open elements on its own stack.
class TreeWriter {
  public:
    TreeWriter(FILE* stream, block* top) : m_stream(stream) {
        m_buffer.reserve(kFlushSize + kFlushSize / 4);
        for (const block* up = top->parent; up != nullptr; up = up->parent) {
            if (up->tag == HTML_PRE) ++m_openPre;
        }
    }

    void Write(block* top, int level) {
        block* node = top;
        for (;;) {
            const bool children = (node == top && level == 0) || WriteStart(node);
            if (children && node->first_child != nullptr) {
                Open(node);
                node = node->first_child;
                continue;
            }
            WriteEnd(node);
            while (node != top && node->next_sib == nullptr) {
                node = Close();
                WriteEnd(node);
            }
            if (node == top) break;
            node = node->next_sib;
        }
        Flush();
    }

  private:
    // Output is gathered in a buffer of our own: far cheaper than a stream
    // call for each of the many small pieces a page is written in.
    void Put(std::string_view text) {
        m_buffer.append(text);
        if (m_buffer.size() >= kFlushSize) Flush();
    }

    void Flush() {
        std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_stream);
        m_buffer.clear();
    }

    // "&", "<" and ">" as references; every other byte as it is.
    void PutEscaped(const char* text) {
        while (*text != '\0') {
            const size_t plain = std::strcspn(text, "&<>");
            Put(std::string_view(text, plain));
            text += plain;
            switch (*text) {
                case '&':
                    Put("&amp;");
                    break;
                case '<':
                    Put("&lt;");
                    break;
                case '>':
                    Put("&gt;");
                    break;
                default:
                    return;
            }
            ++text;
        }
    }

    static std::string_view TextOf(const block* node) {
        return node->text != nullptr ? std::string_view(node->text) : std::string_view();
    }

    // The element the children of `node` are written in.
    const block* ParentOf(const block* node) const {
        return m_open.empty() ? node->parent : m_open.back();
    }

    void Open(block* node) {
        m_open.push_back(node);
        if (node->tag == HTML_PRE) ++m_openPre;
    }

    block* Close() {
        block* node = m_open.back();
        m_open.pop_back();
        if (node->tag == HTML_PRE) --m_openPre;
        return node;
    }

    void PutAttributes(const block* node) {
        for (const AttrRec* attr = node->attrs; attr != nullptr; attr = attr->next) {
            Put(" ");
            Put(attr->name != nullptr ? attr->name : "");
            if (attr->value == nullptr) continue;
            if ((attr->flags & AF_DOUBLE_QUOTED) != 0) {
                Put("=\""), Put(attr->value), Put("\"");
            } else if ((attr->flags & AF_SINGLE_QUOTED) != 0) {
                Put("='"), Put(attr->value), Put("'");
            } else {
                Put("="), Put(attr->value);
            }
        }
        // The blank keeps "/" out of an unquoted value written before it.
        if ((node->flags & BF_SELF_CLOSED) != 0) Put(" /");
        Put((node->flags & BF_BREAK_AFTER_START) != 0 ? ">\n" : ">");
    }

    void PutUnknownElement(const block* node) {
        Put(ascii::Uppercase(TextOf(node))), Put("\n");
        PutAttributes(node);
    }

    // Writes the node itself; returns whether its children are to be written.
    bool WriteStart(const block* node) {
        switch (node->type) {
            case BT_ELEMENT:
                if ((node->flags & BF_VERBATIM) != 0) {
                    Put(TextOf(node));
                    return false;
                }
                if (node->tag == HTML_UNKNOWN) {
                    PutUnknownElement(node);
                } else {
                    Put("<"), Put(_ElementToName(node->tag));
                    PutAttributes(node);
                }
                return true;
            case BT_TEXT: {
                if ((node->flags & BF_RAW_TEXT) != 0) {
                    Put(TextOf(node));
                } else {
                    PutEscaped(node->text != nullptr ? node->text : "");
                }
                return true;
            }
            case BT_COMMENT:
                if ((node->flags & BF_VERBATIM) != 0) {
                    Put(TextOf(node));
                    if ((node->flags & BF_BREAK_AFTER_END) != 0) Put("\n");
                    return true;
                }
                Put("<!--"), Put(TextOf(node));
                Put((node->flags & BF_COMMENT_NO_BLANK) != 0 ? "-->" : " -->");
                if ((node->flags & BF_BREAK_AFTER_END) != 0) Put("\n");
                return true;
            case BT_DOCTYPE:
                Put("<!DOCTYPE "), Put(TextOf(node)), Put(">\n");
                return true;
            default:
                std::fputs(kUnknownKindMessage, stderr);
                return true;
        }
    }

    // A parsed element gets its end tag exactly where the page had one, so
    // a browser closes it (or recovers from its misnesting) as it did
    // before; an element the program built follows HTML's rules.
    void WriteEnd(const block* node) {
        if (node->type != BT_ELEMENT || (node->flags & BF_VERBATIM) != 0) return;
        if (node->reserved != 0) {
            if ((node->flags & BF_END_TAG) == 0) return;
        } else if (IsVoidElement(node) || MayOmitEndTag(node, ParentOf(node))) {
            return;
        }
        Put("</");
        if (node->tag == HTML_UNKNOWN) {
            const std::string name = ElementName(node);
            Put(name);
        } else {
            Put(_ElementToName(node->tag));
        }
        Put((node->flags & BF_BREAK_AFTER_END) != 0 && m_openPre == 0 ? ">\n" : ">");
    }

    static constexpr size_t kFlushSize = 1 << 16;

    FILE* m_stream;
    std::string m_buffer;
    std::vector<block*> m_open;
    int m_openPre = 0;
};

}  // namespace

void HoistNamedAnchors(block* node) {
    // Each entry is a node whose children are being visited; when they are
    // done, the walk goes on with its next sibling.
    std::vector<block*> resume;
    while (node != nullptr || !resume.empty()) {
        if (node == nullptr) {
            node = resume.back()->next_sib;
            resume.pop_back();
            continue;
        }
        if (node->first_child != nullptr && IsNamedAnchor(node)) {
            HoistChildren(node);
        }
        if (node->first_child != nullptr) {
            resume.push_back(node);
            node = node->first_child;
        } else {
            node = node->next_sib;
        }
    }
}

void dump_tree(FILE* stream, block* top, int level) { TreeWriter(stream, top).Write(top, level); }
