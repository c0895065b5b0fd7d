#include "page/TreeWriter.h"

#include <cstring>

#include "page/ElementRules.h"
#include "text/ascii.h"

namespace {

constexpr const char kUnknownKindMessage[] =
    "Internal error in HTML parser dump_tree()\n\t-- unknown value for top->type\n";

std::string_view TextOf(const block* node) {
    return node->text != nullptr ? std::string_view(node->text) : std::string_view();
}

}  // namespace

TreeWriter::TreeWriter(FILE* stream, const block* top)
    : m_stream(stream), m_buffer(std::make_unique<char[]>(kBufferSize)) {
    if (top == nullptr) return;
    for (const block* up = top->parent; up != nullptr; up = up->parent) {
        if (up->tag == HTML_PRE) ++m_openPre;
    }
}

void TreeWriter::TakeAsStarted(block* node) { Open(node); }

TreeWriter::~TreeWriter() { Flush(); }

void TreeWriter::Start(block* node) {
    WriteStart(node);
    Open(node);
}

// `depth` follows the position `node` has, or would have, on the stack.
void TreeWriter::Finish(block* top, size_t depth) {
    block* node = top;
    for (;;) {
        const bool isStarted = depth < m_open.size() && m_open[depth] == node;
        const bool children = isStarted || WriteStart(node);
        if (children && node->first_child != nullptr) {
            if (!isStarted) Open(node);
            node = node->first_child;
            ++depth;
            continue;
        }
        if (isStarted) Close();
        WriteEnd(node);
        while (node != top && node->next_sib == nullptr) {
            node = Close();
            --depth;
            WriteEnd(node);
        }
        if (node == top) break;
        node = node->next_sib;
    }
}

void TreeWriter::Flush() {
    std::fwrite(m_buffer.get(), 1, m_used, m_stream);
    m_used = 0;
}

// A piece that does not fit: the buffer is flushed first, and a piece larger
// than the whole buffer goes to the stream directly.
void TreeWriter::PutLarge(std::string_view text) {
    Flush();
    if (text.size() >= kBufferSize) {
        std::fwrite(text.data(), 1, text.size(), m_stream);
        return;
    }
    std::memcpy(m_buffer.get(), text.data(), text.size());
    m_used = text.size();
}

// "&", "<" and ">" as references; every other byte as it is.
void TreeWriter::PutEscaped(const char* text) {
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

// The element the children of `node` are written in.
const block* TreeWriter::ParentOf(const block* node) const {
    return m_open.empty() ? node->parent : m_open.back();
}

void TreeWriter::Open(block* node) {
    m_open.push_back(node);
    if (node->tag == HTML_PRE) ++m_openPre;
}

block* TreeWriter::Close() {
    block* node = m_open.back();
    m_open.pop_back();
    if (node->tag == HTML_PRE) --m_openPre;
    return node;
}

void TreeWriter::PutAttributes(const block* node) {
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

void TreeWriter::PutUnknownElement(const block* node) {
    Put(ascii::Uppercase(TextOf(node))), Put("\n");
    PutAttributes(node);
}

// Writes the node itself; returns whether its children are to be written.
bool TreeWriter::WriteStart(const block* node) {
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
        case BT_TEXT:
            if ((node->flags & BF_RAW_TEXT) != 0) {
                Put(TextOf(node));
            } else {
                PutEscaped(node->text != nullptr ? node->text : "");
            }
            return true;
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

// A parsed element gets its end tag exactly where the page had one, so a
// browser closes it (or recovers from its misnesting) as it did before; an
// element the program built follows HTML's rules.
void TreeWriter::WriteEnd(const block* node) {
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
