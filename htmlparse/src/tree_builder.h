// Tree builder: turns the token stream into the `block` tree.
//
// The tree keeps the page's structure as written: no HTML, HEAD or BODY is
// invented and nothing is moved. What the builder adds is what HTML itself
// implies: void elements take no children; elements whose end tag may be
// omitted are closed where HTML closes them (P by a block start tag; LI, DT,
// DD, OPTION, table rows, cells and sections by their siblings; HEAD by the
// first element that cannot stand in it); an end tag closes up to its
// nearest open match within the scope HTML gives it, and the element it
// closes is flagged BF_END_TAG; an end tag with no open match (and "</br>")
// is kept as a BF_VERBATIM node holding its source; what is open at the end
// of the page stays as it is (closed). Written back in tree order, with end
// tags only where the flag says, the nodes give the page's tokens in their
// order, so a browser rebuilds the tree it built from the page.
//
// A line end directly after a start tag, an end tag, a comment or a doctype
// becomes a layout flag instead of text (a parsed element's end tag is
// written back exactly where the page had one, so the line end comes back
// with it), except after an end tag that closed nothing (kept as its source)
// and after end tags inside PRE, where it stays text so the page keeps its
// lines.
//
// Every node records where it stood in the page's bytes (records.h): its
// first byte, the byte after its last, and the length of its end tag, and
// holds the window of text its strings point into (text_window.h). An
// element that had no end tag ends where its last descendant ends, or after
// its start tag when it has none; while it is still open, that is where it
// ends so far.
//
// The open elements are kept on an explicit stack with, per entry, the
// position of the nearest element that bounds each kind of search, and the
// open positions are indexed per element code, so each token costs constant
// time (amortised) whatever the nesting depth.
#ifndef HTMLPARSE_TREE_BUILDER_H
#define HTMLPARSE_TREE_BUILDER_H

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "arena.h"
#include "htmlparse.h"
#include "records.h"
#include "tag_table.h"
#include "tokenizer.h"

namespace htmlparse {

class TreeBuilder {
  public:
    // Builds under `root`, whose children must be empty, from the tokens of
    // `tokenizer`; nodes come from `arena`.
    TreeBuilder(block* root, Arena& arena, Tokenizer& tokenizer);

    // Told when a part of the page has been built; returns false to stop.
    using PartDone = std::function<bool()>;

    // Reads every token into the tree. With `done`, calls it each time the
    // tokens since the last call span `part_size` bytes or more; between
    // tokens, every node off the tree's last path (see htmlparse.h) is
    // settled, and `done` may release such nodes. Returns false when `done`
    // stopped the build. Throws std::bad_alloc from the arena; the tree built
    // so far stays consistent.
    bool Build(std::size_t part_size = 0, const PartDone& done = {});

  private:
    using Position = std::uint32_t;
    static constexpr Position kNone = UINT32_MAX;

    // Positions of the nearest open elements that bound each search.
    struct Bounds {
        Position scope;      // end tags: APPLET, CAPTION, HTML, TABLE, TD, TH, ...
        Position button;     // "</p>" and closing P: scope plus BUTTON
        Position list;       // "</li>": scope plus OL, UL
        Position table;      // table parts: HTML, TABLE, TEMPLATE
        Position list_item;  // a new LI: special elements except ADDRESS, DIV, P
        Position term;       // a new DD or DT: the same
    };

    struct OpenElement {
        block* node;
        block* last_child;
        int code;
        std::vector<Position>* same_name;  // unknown elements: open positions of the name
        Bounds bounds;
    };

    void StartTag(const Token& token);
    void EndTag(const Token& token);
    void Text(const Token& token);
    void CommentOrDoctype(const Token& token);

    void CloseImpliedBy(int code, std::uint32_t properties);
    void CloseHeadFor(std::uint32_t properties);
    void AppendVerbatimEndTag(const Token& token);
    block* Append(std::int32_t type, std::int32_t tag, char* text);
    void Push(block* node, int code, const char* name, std::size_t name_length);
    void PopThrough(Position position);
    Position Nearest(int code) const;
    Position NearestUnknown(const char* name, std::size_t length);
    bool InForeignContent() const;
    void BreakAfter(block* node, std::uint32_t flag);
    std::uint64_t SourceOf(const char* position) const { return tokenizer_.SourceOf(position); }
    void SetSpan(block* node, const char* begin, const char* end) const;
    static void EndWithContent(const OpenElement& element);
    void EndOpenElements();

    Arena& arena_;
    Tokenizer& tokenizer_;
    std::vector<OpenElement> stack_;  // stack_[0] is the root
    std::array<std::vector<Position>, kCodeLimit> open_by_code_;
    std::unordered_map<std::string, std::vector<Position>> open_by_unknown_name_;
    block* break_node_ = nullptr;  // node whose flag a following line end sets
    std::uint32_t break_flag_ = 0;
};

}  // namespace htmlparse

#endif
