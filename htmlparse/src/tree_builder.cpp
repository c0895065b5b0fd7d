#include "tree_builder.h"

#include <cstring>

#include "name_table.h"
#include "records.h"
#include "text/ascii.h"

namespace htmlparse {

namespace {

bool HasNonSpace(const char* text, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        char c = text[i];
        if (c != ' ' && c != '\t' && c != '\n' && c != '\f' && c != '\r') return true;
    }
    return false;
}

bool IsTablePart(int code) {
    return code == kCodeTable || code == kCodeTbody || code == kCodeThead || code == kCodeTfoot ||
           code == kCodeTr || code == kCodeTd || code == kCodeTh || code == kCodeCaption;
}

}  // namespace

TreeBuilder::TreeBuilder(block* root, Arena& arena, Tokenizer& tokenizer)
    : arena_(arena), tokenizer_(tokenizer) {
    stack_.push_back(OpenElement{root, nullptr, -1, nullptr, Bounds{0, 0, 0, 0, 0, 0}});
}

bool TreeBuilder::Build(std::size_t part_size, const PartDone& done) {
    std::uint64_t part_start = tokenizer_.Position();
    while (true) {
        if (done && tokenizer_.Position() - part_start >= part_size) {
            if (!done()) return false;
            part_start = tokenizer_.Position();
        }
        Token token = tokenizer_.Next();
        if (token.kind == TokenKind::kEnd) {
            EndOpenElements();
            return true;
        }
        if (token.kind == TokenKind::kText) {
            Text(token);
            continue;
        }
        break_node_ = nullptr;
        switch (token.kind) {
            case TokenKind::kStartTag:
                StartTag(token);
                break;
            case TokenKind::kEndTag:
                EndTag(token);
                break;
            case TokenKind::kComment:
            case TokenKind::kDoctype:
                CommentOrDoctype(token);
                break;
            default:
                break;
        }
    }
}

void TreeBuilder::StartTag(const Token& token) {
    int code = token.code;
    std::uint32_t properties = ElementProperties(code);
    CloseHeadFor(properties);
    CloseImpliedBy(code, properties);
    char* text =
        code == HTML_UNKNOWN ? token.element_text : const_cast<char*>(ElementLowerName(code));
    block* node = Append(BT_ELEMENT, code, text);
    SetSpan(node, token.begin, token.end);
    node->attrs = token.attrs;
    BreakAfter(node, BF_BREAK_AFTER_START);
    // "/>" closes an element only where browsers honour it: in SVG and
    // MathML. On an HTML element, known or not, it means nothing.
    bool foreign = InForeignContent() || (properties & kForeign) != 0;
    if (token.self_closing && foreign) node->flags |= BF_SELF_CLOSED;
    if ((properties & kVoid) != 0 || (node->flags & BF_SELF_CLOSED) != 0) return;
    Push(node, code, token.text, token.length);
    // TITLE and TEXTAREA content is kept as written too: a browser decodes
    // its references the same way whenever it is read back.
    if (!foreign && (properties & (kRawText | kRcdata)) != 0) tokenizer_.ReadRawText(code, false);
}

void TreeBuilder::EndTag(const Token& token) {
    int code = token.code;
    if (code == HTML_BR) {  // "</br>" reads as "<br>": it closes nothing
        AppendVerbatimEndTag(token);
        return;
    }
    Position position =
        code == HTML_UNKNOWN ? NearestUnknown(token.text, token.length) : Nearest(code);
    const Bounds& bounds = stack_.back().bounds;
    Position bound = code == HTML_P      ? bounds.button
                     : code == HTML_LI   ? bounds.list
                     : IsTablePart(code) ? bounds.table
                                         : bounds.scope;
    if (position == kNone || position < bound) {
        AppendVerbatimEndTag(token);
        return;
    }
    block* node = stack_[position].node;
    node->flags |= BF_END_TAG;
    PopThrough(position);
    NodeRecord* record = RecordOf(node);
    const std::uint64_t end_tag_begin = SourceOf(token.begin);
    record->end = SourceOf(token.end);
    record->end_tag = static_cast<std::uint32_t>(record->end - end_tag_begin);
    if (open_by_code_[HTML_PRE].empty()) BreakAfter(node, BF_BREAK_AFTER_END);
}

void TreeBuilder::Text(const Token& token) {
    char* text = token.text;
    std::size_t length = token.length;
    const char* begin = token.begin;
    if (break_node_ != nullptr && token.line_end_first) {
        break_node_->flags |= break_flag_;
        ++text;
        --length;
        ++begin;
    }
    break_node_ = nullptr;
    if (length == 0) return;
    if (stack_.back().code == kCodeHead && HasNonSpace(text, length)) {
        PopThrough(static_cast<Position>(stack_.size() - 1));
    }
    block* node = Append(BT_TEXT, HTML_TEXT, text);
    SetSpan(node, begin, token.end);
    if (token.raw) node->flags |= BF_RAW_TEXT;
}

void TreeBuilder::CommentOrDoctype(const Token& token) {
    std::int32_t type = token.kind == TokenKind::kComment ? BT_COMMENT : BT_DOCTYPE;
    block* node = Append(type, HTML_UNKNOWN, token.text);
    SetSpan(node, token.begin, token.end);
    if (token.verbatim) node->flags |= BF_VERBATIM;
    if (token.no_blank) node->flags |= BF_COMMENT_NO_BLANK;
    BreakAfter(node, BF_BREAK_AFTER_END);
}

// Closes what a start tag of `code` implicitly ends.
void TreeBuilder::CloseImpliedBy(int code, std::uint32_t properties) {
    auto close_if = [this](Position position, Position bound) {
        if (position != kNone && position >= bound) PopThrough(position);
    };
    auto latest = [](Position a, Position b) {
        if (a == kNone) return b;
        if (b == kNone) return a;
        return a > b ? a : b;
    };
    auto bounds = [this]() -> const Bounds& { return stack_.back().bounds; };

    if (code == HTML_LI) {
        close_if(Nearest(HTML_LI), bounds().list_item);
    } else if (code == HTML_DD || code == HTML_DT) {
        close_if(latest(Nearest(HTML_DD), Nearest(HTML_DT)), bounds().term);
    } else if (code == kCodeTd || code == kCodeTh) {
        close_if(latest(Nearest(kCodeTd), Nearest(kCodeTh)), bounds().table);
    } else if (code == kCodeTr || code == kCodeTbody || code == kCodeThead || code == kCodeTfoot) {
        Position target = kNone;
        if (code != kCodeTr) {
            target = latest(latest(Nearest(kCodeTbody), Nearest(kCodeThead)), Nearest(kCodeTfoot));
        }
        if (target == kNone || target < bounds().table) target = Nearest(kCodeTr);
        if (target == kNone || target < bounds().table) {
            target = latest(Nearest(kCodeTd), Nearest(kCodeTh));
        }
        close_if(target, bounds().table);
    } else if (code == kCodeOption || code == kCodeOptgroup) {
        if (stack_.back().code == kCodeOption) PopThrough(static_cast<Position>(stack_.size() - 1));
        if (code == kCodeOptgroup && stack_.back().code == kCodeOptgroup) {
            PopThrough(static_cast<Position>(stack_.size() - 1));
        }
    } else if (code == HTML_A || code == kCodeButton) {
        close_if(Nearest(code), bounds().scope);
    }
    if ((properties & kClosesP) != 0) close_if(Nearest(HTML_P), bounds().button);
    if ((properties & kHeading) != 0 && (ElementProperties(stack_.back().code) & kHeading) != 0) {
        PopThrough(static_cast<Position>(stack_.size() - 1));
    }
}

// HEAD ends at the first element that cannot stand in it.
void TreeBuilder::CloseHeadFor(std::uint32_t properties) {
    if (stack_.back().code == kCodeHead && (properties & kHeadContent) == 0) {
        PopThrough(static_cast<Position>(stack_.size() - 1));
    }
}

// An end tag that closes nothing is kept as its source. "</p>" and "</br>",
// which a browser reads as elements, end HEAD as those elements would.
void TreeBuilder::AppendVerbatimEndTag(const Token& token) {
    if (token.code == HTML_P || token.code == HTML_BR) {
        CloseHeadFor(ElementProperties(token.code));
    }
    char* text = static_cast<char*>(tokenizer_.Strings().Allocate(token.source_length + 1));
    text[0] = '<';
    std::memcpy(text + 1, token.source + 1, token.source_length - 1);
    text[token.source_length] = '\0';
    block* node = Append(BT_ELEMENT, HTML_UNKNOWN, text);
    SetSpan(node, token.begin, token.end);
    node->flags |= BF_VERBATIM;
}

block* TreeBuilder::Append(std::int32_t type, std::int32_t tag, char* text) {
    OpenElement& parent = stack_.back();
    block* node = NewNode(arena_, type, tag, text, tokenizer_.Window());
    node->parent = parent.node;
    if (parent.last_child == nullptr) {
        parent.node->first_child = node;
    } else {
        parent.last_child->next_sib = node;
    }
    parent.last_child = node;
    return node;
}

void TreeBuilder::Push(block* node, int code, const char* name, std::size_t name_length) {
    auto position = static_cast<Position>(stack_.size());
    std::uint32_t properties = ElementProperties(code);
    Bounds bounds = stack_.back().bounds;
    if ((properties & kScopeBoundary) != 0) {
        bounds.scope = bounds.button = bounds.list = position;
    }
    if (code == kCodeButton) bounds.button = position;
    if (code == kCodeOl || code == kCodeUl) bounds.list = position;
    if ((properties & kTableBoundary) != 0) bounds.table = position;
    bool keeps_search_open = code == kCodeAddress || code == kCodeDiv || code == HTML_P;
    if ((properties & kSpecial) != 0 && !keeps_search_open) {
        if (code != HTML_LI) bounds.list_item = position;
        if (code != HTML_DD && code != HTML_DT) bounds.term = position;
    }
    std::vector<Position>* same_name = nullptr;
    if (code == HTML_UNKNOWN) {
        const std::string key = ascii::Lowercase({name, name_length});
        same_name = &open_by_unknown_name_[key];
        same_name->push_back(position);
    } else {
        open_by_code_[code].push_back(position);
    }
    stack_.push_back(OpenElement{node, nullptr, code, same_name, bounds});
}

void TreeBuilder::PopThrough(Position position) {
    while (stack_.size() > position && stack_.size() > 1) {
        OpenElement& top = stack_.back();
        EndWithContent(top);
        if (top.same_name != nullptr) {
            top.same_name->pop_back();
        } else {
            open_by_code_[top.code].pop_back();
        }
        stack_.pop_back();
    }
}

TreeBuilder::Position TreeBuilder::Nearest(int code) const {
    const std::vector<Position>& open = open_by_code_[code];
    return open.empty() ? kNone : open.back();
}

TreeBuilder::Position TreeBuilder::NearestUnknown(const char* name, std::size_t length) {
    const std::string key = ascii::Lowercase({name, length});
    auto found = open_by_unknown_name_.find(key);
    if (found == open_by_unknown_name_.end() || found->second.empty()) return kNone;
    return found->second.back();
}

bool TreeBuilder::InForeignContent() const {
    return !open_by_code_[kCodeSvg].empty() || !open_by_code_[kCodeMath].empty();
}

void TreeBuilder::SetSpan(block* node, const char* begin, const char* end) const {
    NodeRecord* record = RecordOf(node);
    record->begin = SourceOf(begin);
    record->end = SourceOf(end);
}

// An element closed without its end tag ends with its last child.
void TreeBuilder::EndWithContent(const OpenElement& element) {
    if (element.last_child == nullptr || element.node->reserved != kNodeMark) return;
    NodeRecord* record = RecordOf(element.node);
    const std::uint64_t content_end = RecordOf(element.last_child)->end;
    if (content_end > record->end) record->end = content_end;
}

// What is still open at the end of the page ends with its content,
// innermost first; the elements stay open.
void TreeBuilder::EndOpenElements() {
    for (auto open = stack_.rbegin(); open != stack_.rend(); ++open) EndWithContent(*open);
}

void TreeBuilder::BreakAfter(block* node, std::uint32_t flag) {
    break_node_ = node;
    break_flag_ = flag;
}

}  // namespace htmlparse
