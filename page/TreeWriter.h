// Writes tree nodes out as HTML, a whole tree at once or a tree that is
// still growing, part by part.
//
// Everything written comes from the tree: element names from the library
// (upper case), attribute names and values as stored, text escaped ("&", "<"
// and ">" only), and line ends after tags where the layout flags recorded
// them. A parsed element gets an end tag only where the page had one
// (BF_END_TAG), whatever HTML would allow, and end tags that closed nothing
// and processing instructions come back from their source (BF_VERBATIM), so
// that a browser builds the same tree from the output as from the page.
// Elements the program built (records whose `reserved` is zero) follow HTML's
// rules instead: void elements (BR, IMG, META ...) never get an end tag, and
// the end tag of a P or LI is left out where a browser would close it at the
// same place anyway. The content of SCRIPT, STYLE, TITLE and the other
// raw-text elements (TEXT the parser marked BF_RAW_TEXT) is written
// unescaped; a comment gets a blank before "-->" unless the page had none
// (BF_COMMENT_NO_BLANK) and is followed by a line end only where the page had
// one (BF_BREAK_AFTER_END); an element without code of its own is closed with
// its own name.
//
// The writer keeps the elements whose start tag it wrote and whose end tag it
// has not on its own stack (the "started" elements), so nesting depth is
// limited by memory only, and so that a growing tree can be written in
// parts: Start writes an element's start tag ahead of its content, and
// Finish later writes whatever of its subtree is still in the tree, then its
// end tag. Content written in an earlier part is expected to be gone from
// the tree (unlinked by the caller).
#pragma once

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "htmlparse.h"

class TreeWriter {
  public:
    // Writes to `stream` nodes that lie under the parent of `top` (null: at
    // the top of a tree), which matters inside PRE.
    explicit TreeWriter(FILE* stream, const block* top = nullptr);
    ~TreeWriter();  // flushes
    TreeWriter(const TreeWriter&) = delete;
    TreeWriter& operator=(const TreeWriter&) = delete;

    // Counts `node` as started without writing its start tag: the root of a
    // parsed page, a container that is never written itself.
    void TakeAsStarted(block* node);

    // Writes the start tag of `node`, a child of the innermost started
    // element, and counts it as started.
    void Start(block* node);

    // Writes what is left of `node` and its subtree, and its end tag. `node`
    // is the started element at `depth`, or a node under the innermost
    // started element, whose depth is then the number of started elements;
    // started elements inside it are the first child of their parent.
    void Finish(block* node, size_t depth);

    // Whether `node` is the started element at `depth` (0: the outermost).
    bool IsStartedAt(size_t depth, const block* node) const {
        return depth < m_open.size() && m_open[depth] == node;
    }

    // How many elements are started.
    size_t Depth() const { return m_open.size(); }

    // Hands what is buffered to the stream.
    void Flush();

  private:
    // Output is gathered in a buffer of our own: far cheaper than a stream
    // call for each of the many small pieces a page is written in.
    void Put(std::string_view text) {
        if (text.size() > kBufferSize - m_used) {
            PutLarge(text);
            return;
        }
        std::memcpy(m_buffer.get() + m_used, text.data(), text.size());
        m_used += text.size();
    }
    void PutLarge(std::string_view text);
    void PutEscaped(const char* text);
    void PutAttributes(const block* node);
    void PutUnknownElement(const block* node);
    bool WriteStart(const block* node);
    void WriteEnd(const block* node);
    const block* ParentOf(const block* node) const;
    void Open(block* node);
    block* Close();

    static constexpr size_t kBufferSize = size_t{1} << 16;

    FILE* m_stream;
    std::unique_ptr<char[]> m_buffer;
    size_t m_used = 0;
    std::vector<block*> m_open;  // the started elements, outermost first
    int m_openPre = 0;           // PRE elements among them and above them
};
