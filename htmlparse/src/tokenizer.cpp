#include "tokenizer.h"

#include <cstring>

#include "attributes.h"
#include "char_refs.h"
#include "name_table.h"
#include "records.h"
#include "tag_table.h"
#include "text/ascii.h"

namespace htmlparse {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// True when the text from `p` to `end` begins with `prefix`, letter case ignored.
bool StartsWithNoCase(const char* p, const char* end, std::string_view prefix) {
    return ascii::StartsWithIgnoringCase({p, static_cast<std::size_t>(end - p)}, prefix);
}

char* Find(char* from, char* end, char c) {
    if (from >= end) return nullptr;
    return static_cast<char*>(std::memchr(from, c, static_cast<std::size_t>(end - from)));
}

}  // namespace

Tokenizer::Tokenizer(TextFeed& feed, Arena& arena) : feed_(feed), arena_(arena) {
    MoveToNextWindow();
}

Tokenizer::~Tokenizer() { WindowSet::Release(window_); }

Token Tokenizer::Next() {
    while (true) {
        if (has_pending_) {
            has_pending_ = false;
            if (pending_.kind != TokenKind::kSkipped) return pending_;
        }
        if (pos_ >= end_) {
            if (!last_window_) {
                MoveToNextWindow();
                continue;
            }
            raw_code_ = -1;
            return Token{};
        }
        try {
            Token token = raw_code_ >= 0 ? NextInRawText() : NextInData();
            if (token.kind != TokenKind::kSkipped) return token;
        } catch (const NeedMore&) {
            MoveToNextWindow();
        }
    }
}

// The next window begins where the token being read began.
void Tokenizer::MoveToNextWindow() {
    TextWindow* left = window_;
    const std::size_t carry = left != nullptr ? static_cast<std::size_t>(pos_ - left->text) : 0;
    window_ = feed_.Next(left, carry);
    WindowSet::Release(left);
    last_window_ = feed_.Exhausted();
    pos_ = window_->text;
    end_ = window_->text + window_->size;
}

void Tokenizer::ReadRawText(int code, bool decode) {
    raw_code_ = code;
    raw_decode_ = decode;
}

// Text runs up to the next "<" that starts markup. The text is terminated only
// once the markup is known to be complete, and a tag is scanned before
// anything in it is written, so that a "<" that turns out to be text, or a
// tag cut off by the end of the page, leaves the source untouched.
Token Tokenizer::NextInData() {
    char* start = pos_;
    char* p = start;
    while ((p = Find(p, end_, '<')) != nullptr) {
        Token markup;
        char* after = nullptr;
        Scan scan = ScanMarkup(p, markup, &after);
        if (scan == Scan::kRunsToEnd) break;
        if (scan == Scan::kNotMarkup) {
            ++p;
            continue;
        }
        pos_ = after;
        markup.begin = p;
        markup.end = after;
        if (p == start) return markup;
        pending_ = markup;
        has_pending_ = true;
        return MakeText(start, p, true, false);
    }
    NeedMoreUnlessLast();
    pos_ = end_;
    return MakeText(start, end_, true, false);
}

// Raw text runs up to the first end tag of the same name; without one, and
// always for PLAINTEXT, to the end of the page.
Token Tokenizer::NextInRawText() {
    char* start = pos_;
    const char* name = ElementLowerName(raw_code_);
    bool decode = raw_decode_;
    // Nothing ends PLAINTEXT, not even "</plaintext>": it runs to the end.
    const bool to_the_end = raw_code_ == kCodePlaintext;
    for (char* p = start; !to_the_end && (p = Find(p, end_, '<')) != nullptr; ++p) {
        if (!IsRawTextEnd(p, name)) continue;
        Token end_tag;
        char* after = nullptr;
        if (ScanTag(p, true, end_tag, &after) != Scan::kComplete) break;
        raw_code_ = -1;
        pos_ = after;
        end_tag.begin = p;
        end_tag.end = after;
        if (p == start) return end_tag;
        pending_ = end_tag;
        has_pending_ = true;
        return MakeText(start, p, decode, !decode);
    }
    NeedMoreUnlessLast();
    raw_code_ = -1;
    pos_ = end_;
    return MakeText(start, end_, decode, !decode);
}

bool Tokenizer::IsRawTextEnd(const char* at, const char* lower_name) const {
    std::size_t length = std::strlen(lower_name);
    if (static_cast<std::size_t>(end_ - at) < length + 3) NeedMoreUnlessLast();
    if (static_cast<std::size_t>(end_ - at) < length + 3 || at[1] != '/') return false;
    const char* after_name = at + 2 + length;
    return StartsWithNoCase(at + 2, end_, lower_name) &&
           (ascii::IsSpace(*after_name) || *after_name == '/' || *after_name == '>');
}

// What a "<" starts is told by at most the nine bytes of "<!DOCTYPE".
Tokenizer::Scan Tokenizer::ScanMarkup(char* at, Token& token, char** after) {
    if (end_ - at < 9) NeedMoreUnlessLast();
    if (end_ - at < 2) return Scan::kNotMarkup;
    char next = at[1];
    if (IsAsciiLetter(next)) return ScanTag(at, false, token, after);
    if (next == '/') {
        if (end_ - at < 3) return Scan::kNotMarkup;
        if (IsAsciiLetter(at[2])) return ScanTag(at, true, token, after);
        if (at[2] == '>') {
            token.kind = TokenKind::kSkipped;
            *after = at + 3;
            return Scan::kComplete;
        }
        ScanBogusComment(at + 2, token, after);
        return Scan::kComplete;
    }
    if (next == '?') {
        ScanProcessingInstruction(at, token, after);
        return Scan::kComplete;
    }
    if (next != '!') return Scan::kNotMarkup;
    if (end_ - at >= 4 && at[2] == '-' && at[3] == '-') {
        ScanComment(at, token, after);
    } else if (StartsWithNoCase(at + 2, end_, "doctype")) {
        ScanDoctype(at, token, after);
    } else {
        ScanBogusComment(at + 2, token, after);
    }
    return Scan::kComplete;
}

Tokenizer::Scan Tokenizer::ScanTag(char* at, bool end_tag, Token& token, char** after) {
    char* name = at + (end_tag ? 2 : 1);
    char* p = name;
    while (p < end_ && !ascii::IsSpace(*p) && *p != '/' && *p != '>') ++p;
    if (p >= end_) return Scan::kRunsToEnd;
    token.kind = end_tag ? TokenKind::kEndTag : TokenKind::kStartTag;
    token.text = name;
    token.length = static_cast<std::size_t>(p - name);
    token.code = LookupElement(name, token.length);
    spans_.clear();
    Scan scan = ScanAttributes(p, token, after);
    if (scan != Scan::kComplete) return scan;
    token.source = at;
    token.source_length = static_cast<std::size_t>(*after - at);
    FinishTag(token);
    return scan;
}

// Records the attribute spans of a tag up to its ">"; writes nothing.
Tokenizer::Scan Tokenizer::ScanAttributes(char* p, Token& token, char** after) {
    while (true) {
        while (p < end_ && ascii::IsSpace(*p)) ++p;
        if (p >= end_) return Scan::kRunsToEnd;
        if (*p == '>') break;
        if (*p == '/') {
            if (p + 1 >= end_) return Scan::kRunsToEnd;
            if (p[1] == '>') {
                token.self_closing = true;
                ++p;
                break;
            }
            ++p;  // a stray "/" counts as a blank
            continue;
        }
        AttrSpan span{p, nullptr, nullptr, nullptr, 0};
        ++p;  // the first character may be anything, "=" included
        while (p < end_ && !ascii::IsSpace(*p) && *p != '/' && *p != '>' && *p != '=') ++p;
        span.name_end = p;
        while (p < end_ && ascii::IsSpace(*p)) ++p;
        if (p >= end_) return Scan::kRunsToEnd;
        if (*p == '=') {
            ++p;
            while (p < end_ && ascii::IsSpace(*p)) ++p;
            if (p >= end_) return Scan::kRunsToEnd;
            if (*p == '"' || *p == '\'') {
                span.flags = *p == '"' ? AF_DOUBLE_QUOTED : AF_SINGLE_QUOTED;
                char* close = Find(p + 1, end_, *p);
                if (close == nullptr) return Scan::kRunsToEnd;
                span.value = p + 1;
                span.value_end = close;
                p = close + 1;
            } else {
                span.value = p;
                while (p < end_ && !ascii::IsSpace(*p) && *p != '>') ++p;
                if (p >= end_) return Scan::kRunsToEnd;
                span.value_end = p;
            }
        }
        spans_.push_back(span);
    }
    *after = p + 1;
    return Scan::kComplete;
}

// Builds the attribute records of a complete tag and terminates their strings
// in place. An element the table does not know gets "<" and its name as text.
void Tokenizer::FinishTag(Token& token) {
    if (token.kind == TokenKind::kStartTag && token.code == HTML_UNKNOWN) {
        char* text = static_cast<char*>(Strings().Allocate(token.length + 2));
        text[0] = '<';
        std::memcpy(text + 1, token.text, token.length);
        text[token.length + 1] = '\0';
        token.element_text = text;
    }
    if (token.kind != TokenKind::kStartTag) return;
    AttrRec** link = &token.attrs;
    for (const AttrSpan& span : spans_) {
        auto* attr = arena_.New<AttrRec>();
        attr->reserved = kNodeMark;
        attr->attr =
            LookupAttribute(span.name, static_cast<std::size_t>(span.name_end - span.name));
        attr->flags = span.flags;
        attr->name = span.name;
        attr->value = span.value;
        *link = attr;
        link = &attr->next;
    }
    for (const AttrSpan& span : spans_) {
        *span.name_end = '\0';
        if (span.value != nullptr) *span.value_end = '\0';
    }
}

void Tokenizer::ScanComment(char* at, Token& token, char** after) {
    token.kind = TokenKind::kComment;
    char* body = at + 4;
    token.text = body;
    // "<!-->" and "<!--->" are empty comments; their last bytes hold the NUL.
    token.no_blank = true;
    if (body < end_ && *body == '>') {
        *after = body + 1;
        *body = '\0';
        return;
    }
    if (end_ - body >= 2 && body[0] == '-' && body[1] == '>') {
        *after = body + 2;
        *body = '\0';
        return;
    }
    char* close = end_;  // the "--" that ends the comment; open comments run to the end
    *after = end_;
    for (char* p = body; (p = Find(p, end_, '-')) != nullptr; ++p) {
        if (end_ - p < 4) NeedMoreUnlessLast();
        if (end_ - p >= 3 && p[1] == '-' && p[2] == '>') {
            close = p;
            *after = p + 3;
            break;
        }
        if (end_ - p >= 4 && p[1] == '-' && p[2] == '!' && p[3] == '>') {
            close = p;
            *after = p + 4;
            break;
        }
    }
    if (close == end_) NeedMoreUnlessLast();
    // The blank before "-->" is taken off the text; BF_COMMENT_NO_BLANK says when there was none.
    if (close > body && close[-1] == ' ') {
        --close;
        token.no_blank = false;
    }
    token.length = static_cast<std::size_t>(close - body);
    *close = '\0';
}

void Tokenizer::ScanBogusComment(char* body, Token& token, char** after) {
    token.kind = TokenKind::kComment;
    token.no_blank = true;
    char* close = Find(body, end_, '>');
    if (close == nullptr) NeedMoreUnlessLast();
    char* text_end = close == nullptr ? end_ : close;
    *after = close == nullptr ? end_ : close + 1;
    token.text = body;
    token.length = static_cast<std::size_t>(text_end - body);
    *text_end = '\0';
}

// A processing instruction is kept as its source, copied before the text in
// front of it is terminated. It ends at "?>" (a server-side script holds ">"
// in its code) or, without one, where a browser ends it: at the first ">".
void Tokenizer::ScanProcessingInstruction(char* at, Token& token, char** after) {
    token.kind = TokenKind::kComment;
    token.verbatim = true;
    char* close = nullptr;
    for (char* p = at + 2; (p = Find(p, end_, '>')) != nullptr; ++p) {
        if (p[-1] == '?') {
            close = p;
            break;
        }
    }
    if (close == nullptr) NeedMoreUnlessLast();
    if (close == nullptr) close = Find(at + 2, end_, '>');
    char* stop = close == nullptr ? end_ : close + 1;
    *after = stop;
    token.length = static_cast<std::size_t>(stop - at);
    token.text = static_cast<char*>(Strings().Allocate(token.length + 1));
    std::memcpy(token.text, at, token.length);
    token.text[token.length] = '\0';
}

void Tokenizer::ScanDoctype(char* at, Token& token, char** after) {
    token.kind = TokenKind::kDoctype;
    char* body = at + 9;  // after "<!DOCTYPE"
    if (body >= end_) NeedMoreUnlessLast();
    if (body < end_ && ascii::IsSpace(*body)) ++body;
    char* close = Find(body, end_, '>');
    if (close == nullptr) NeedMoreUnlessLast();
    char* text_end = close == nullptr ? end_ : close;
    *after = close == nullptr ? end_ : close + 1;
    token.text = body;
    token.length = static_cast<std::size_t>(text_end - body);
    *text_end = '\0';
}

Token Tokenizer::MakeText(char* begin, char* end, bool decode, bool raw) {
    if (begin == end) return Token{TokenKind::kSkipped};
    Token token;
    token.kind = TokenKind::kText;
    token.begin = begin;
    token.end = end;
    token.raw = raw;
    token.line_end_first = *begin == '\n';
    if (decode) {
        DecodedText decoded = DecodeReferences(begin, end, Strings());
        token.text = decoded.text;
        token.length = decoded.length;
    } else {
        *end = '\0';
        token.text = begin;
        token.length = static_cast<std::size_t>(end - begin);
    }
    return token;
}

}  // namespace htmlparse
