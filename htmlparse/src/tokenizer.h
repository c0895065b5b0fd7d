// Tokenizer: cuts the page text into text runs, tags, comments and doctypes.
//
// It follows the HTML5 tokenizer where that matters for real pages: tag and
// attribute names in any letter case; attribute values double-quoted,
// single-quoted, unquoted or absent; "<!-->" and comments left open to the end
// of the page; bogus comments ("<!...>", "</ ...>") kept as comments;
// processing instructions ("<?php ... ?>", up to "?>", else up to ">") kept
// whole, as written;
// raw-text element content read up to its matching end tag only.
//
// Tokens are made in place: the page text is modified to NUL-terminate the
// strings of each token (text, attribute names and values, comment and
// doctype bodies), so the text must stay alive as long as the nodes made
// from it (text_window.h). A tag left unterminated at the end of the page is
// kept as text with everything after it, rather than dropped, so no bytes of
// the page are lost.
//
// The text is read a window at a time (text_feed.h). Where a token may run
// on past the window's end, and the page does, the tokenizer writes nothing
// and reads the token again from the next window, which begins with it: a
// token is the same however the page is cut into windows.
#ifndef HTMLPARSE_TOKENIZER_H
#define HTMLPARSE_TOKENIZER_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "arena.h"
#include "htmlparse.h"
#include "text_feed.h"
#include "text_window.h"

namespace htmlparse {

enum class TokenKind {
    kText,
    kStartTag,
    kEndTag,
    kComment,
    kDoctype,
    kSkipped,  // a construct that stands for nothing ("</>")
    kEnd,      // the page is exhausted; returned again on every later call
};

struct Token {
    TokenKind kind = TokenKind::kEnd;
    // Text: the decoded characters; comment: the body after "<!--" without
    // the one blank before "-->"; doctype: the text after "<!DOCTYPE ".
    // These are NUL-terminated. Tags: the name as written, not terminated.
    char* text = nullptr;
    std::size_t length = 0;
    int code = HTML_UNKNOWN;       // tags: element code
    char* element_text = nullptr;  // start tags of unknown elements: "<" and the name
    AttrRec* attrs = nullptr;      // start tags: attributes in source order, from the arena
    bool self_closing = false;     // start tags: ended in "/>"
    bool raw = false;              // text: raw-text content, references left as written
    bool line_end_first = false;   // text: the source began with a line end
    // End tags: the tag's source from "<" to ">" (its first byte may have been
    // overwritten with the NUL that ends the text before it).
    const char* source = nullptr;
    std::size_t source_length = 0;
    bool verbatim = false;  // comment: a processing instruction; `text` is its whole source
    bool no_blank = false;  // comment: no blank before its end was taken off its text
    // Where the token stood in the page text: its first byte and the byte
    // after its last.
    const char* begin = nullptr;
    const char* end = nullptr;
};

class Tokenizer {
  public:
    // Reads the windows of `feed`. Attribute records come from `arena`; the
    // few strings that need room of their own come from the window's.
    // Throws std::bad_alloc.
    Tokenizer(TextFeed& feed, Arena& arena);
    // Lets go of the window it reads.
    ~Tokenizer();
    Tokenizer(const Tokenizer&) = delete;
    Tokenizer& operator=(const Tokenizer&) = delete;

    // The next token; its strings point into Window(). Throws
    // std::bad_alloc.
    Token Next();

    // How far the tokens read so far reach into the page's parse text.
    std::uint64_t Position() const {
        return window_->text_offset + static_cast<std::uint64_t>(pos_ - window_->text);
    }

    // The window the last token was read from, and where a position in it
    // stood in the page's bytes.
    TextWindow* Window() const { return window_; }
    // Where strings of the last token's node that need room of their own go.
    Arena& Strings() { return window_->strings; }
    std::uint64_t SourceOf(const char* position) const {
        return window_->map.InputOf(static_cast<std::uint64_t>(position - window_->text));
    }

    // Called after the start tag of an element whose content is raw text
    // (`decode` false: SCRIPT, STYLE, ...) or escapable raw text (`decode`
    // true: TITLE, TEXTAREA): the following tokens are the content as one
    // text token, if it is not empty, and then the matching end tag, if the
    // page has one.
    void ReadRawText(int code, bool decode);

  private:
    enum class Scan { kComplete, kNotMarkup, kRunsToEnd };

    // Thrown where a token may run on past the window's end: it is read
    // again from the next window.
    struct NeedMore {};
    void NeedMoreUnlessLast() const {
        if (!last_window_) throw NeedMore{};
    }
    void MoveToNextWindow();

    struct AttrSpan {
        char* name;
        char* name_end;
        char* value;  // null: no value
        char* value_end;
        unsigned flags;
    };

    Token NextInData();
    Token NextInRawText();
    Scan ScanMarkup(char* at, Token& token, char** after);
    Scan ScanTag(char* at, bool end_tag, Token& token, char** after);
    Scan ScanAttributes(char* p, Token& token, char** after);
    void ScanComment(char* at, Token& token, char** after);
    void ScanBogusComment(char* body, Token& token, char** after);
    void ScanProcessingInstruction(char* at, Token& token, char** after);
    void ScanDoctype(char* at, Token& token, char** after);
    void FinishTag(Token& token);
    Token MakeText(char* begin, char* end, bool decode, bool raw);
    bool IsRawTextEnd(const char* at, const char* lower_name) const;

    TextFeed& feed_;
    TextWindow* window_ = nullptr;
    bool last_window_ = false;  // the window holds the end of the page
    char* pos_ = nullptr;
    char* end_ = nullptr;
    Arena& arena_;
    Token pending_;
    bool has_pending_ = false;
    int raw_code_ = -1;  // element whose raw text comes next, or -1
    bool raw_decode_ = false;
    std::vector<AttrSpan> spans_;  // attributes of the tag being scanned
};

}  // namespace htmlparse

#endif
