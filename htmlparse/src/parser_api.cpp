// The C interface of the library: one parse at a time, state kept here.
// No exception crosses this boundary: running out of memory ends a parse
// early with the tree built so far, and the page information says so.
#include <cstdlib>
#include <cstring>
#include <new>

#include "attributes.h"
#include "char_refs.h"
#include "htmlparse.h"
#include "input_facts.h"
#include "raw_source.h"
#include "records.h"
#include "tag_table.h"
#include "text_feed.h"
#include "tokenizer.h"
#include "tree_builder.h"
#include "tree_release.h"

namespace htmlparse {
namespace {

// The tree of the parse in progress, between HTMLParseBegin and HTMLParseEnd.
RootRecord* g_parse_root = nullptr;

// Facts about the page of the last HTMLParseDo.
PageFacts g_page_facts;

// Whether the last HTMLParseDo read and parsed its whole stream.
bool g_parse_complete = false;

// The errno value of the read that failed in the last HTMLParseDo, or 0.
int g_read_error = 0;

// How many bytes of the page a parse reads at a time (HTMLSetReadSize).
constexpr std::size_t kDefaultReadSize = std::size_t{1} << 17;
std::size_t g_read_size = kDefaultReadSize;

// Handed out when not even a root can be allocated; never released.
block g_fallback_root{};

RootRecord* NewRoot() {
    auto* root = new (std::nothrow) RootRecord;
    if (root == nullptr) return nullptr;
    root->node.type = 0;  // no kind: the root is a container that is never written
    root->node.tag = -1;
    root->node.reserved = kRootMark;
    return root;
}

// A caller's function told of each part of a parse in parts.
struct PartCallback {
    std::size_t part_size = 0;
    HTMLPartParsed parsed = nullptr;
    void* context = nullptr;
};

// Records the callee releases while it is told of a part go back to the
// parse's arena; at any other time they stay where they are.
bool TellPart(const PartCallback& callback, RootRecord& root, int last) {
    SetRecyclingArena(&root.arena);
    const int stop = callback.parsed(&root.node, last, callback.context);
    SetRecyclingArena(nullptr);
    return stop == 0;
}

// True when the whole stream was read and parsed (and the callee, if any,
// did not stop it). The page's encoding is found first (input_facts.h), then
// the page is read window by window as it is parsed.
bool ParseInto(RootRecord& root, std::FILE* stream, const PartCallback& callback) {
    RawSource source(stream);
    const InputPlan plan = ScanInput(source);
    g_page_facts = plan.facts;
    g_read_error = source.Error();
    TextFeed feed(source, plan, root.windows, g_read_size);
    // Set however the parse ends, also when the callee or memory stops it.
    struct FactsAtEnd {
        TextFeed& feed;
        ~FactsAtEnd() { feed.FinishFacts(g_page_facts); }
    } facts_at_end{feed};
    Tokenizer tokenizer(feed, root.arena);
    TreeBuilder builder(&root.node, root.arena, tokenizer);
    bool built = true;
    if (callback.parsed == nullptr) {
        builder.Build();
    } else {
        built = builder.Build(callback.part_size, [&] { return TellPart(callback, root, 0); });
    }
    g_read_error = source.Error();
    const bool read_whole = g_read_error == 0;
    return built && read_whole && (callback.parsed == nullptr || TellPart(callback, root, 1));
}

void Parse(std::FILE* stream, const PartCallback& callback) {
    if (g_parse_root == nullptr || g_parse_root->node.first_child != nullptr) {
        HTMLParseBegin();
    }
    if (g_parse_root == nullptr || stream == nullptr) return;
    try {
        g_parse_complete = ParseInto(*g_parse_root, stream, callback);
    } catch (...) {
        // Out of memory: keep the tree built so far, marked incomplete.
        SetRecyclingArena(nullptr);
        g_parse_complete = false;
    }
}

// Whether the reference that DecodeOneReference read from `source` (spanning
// `consumed` bytes) is one an attribute value decodes.
bool DecodesInAttribute(const char* source, std::size_t consumed) {
    return source[1] == '#' || source[consumed - 1] == ';';
}

}  // namespace
}  // namespace htmlparse

using namespace htmlparse;

extern "C" {

HTMLPARSE_API void HTMLParseBegin(void) {
    delete g_parse_root;
    g_parse_root = NewRoot();
    g_page_facts = PageFacts{};
    g_parse_complete = false;
    g_read_error = 0;
}

HTMLPARSE_API void HTMLParseDo(FILE* stream) { Parse(stream, PartCallback{}); }

HTMLPARSE_API void HTMLParseDoInParts(FILE* stream, size_t part_size, HTMLPartParsed parsed,
                                      void* context) {
    Parse(stream, PartCallback{part_size, parsed, context});
}

HTMLPARSE_API void HTMLSetReadSize(size_t bytes) {
    g_read_size = bytes == 0 ? kDefaultReadSize : bytes;
}

HTMLPARSE_API block* HTMLParseEnd(void) {
    if (g_parse_root == nullptr) g_parse_root = NewRoot();
    RootRecord* root = g_parse_root;
    g_parse_root = nullptr;
    return root == nullptr ? &g_fallback_root : &root->node;
}

HTMLPARSE_API void HTMLFreeTree(block* node) {
    if (node == &g_fallback_root) return;
    ReleaseSubtree(node);
}

HTMLPARSE_API int HTMLGetSourceSpan(const block* node, HTMLSourceSpan* span) {
    if (node == nullptr || span == nullptr || node->reserved != kNodeMark) return 0;
    const NodeRecord* record = RecordOf(node);
    span->begin = record->begin;
    span->end = record->end;
    span->content_end = record->end - record->end_tag;
    return 1;
}

HTMLPARSE_API const char* HTMLGetAttr(const block* node, const char* name) {
    const AttrRec* attr = FindAttribute(node, name);
    if (attr == nullptr) return nullptr;
    return attr->value == nullptr ? "" : attr->value;
}

HTMLPARSE_API const char* HTMLElementName(int code) { return ElementUpperName(code); }

HTMLPARSE_API const char* _ElementToName(int code) { return ElementUpperName(code); }

HTMLPARSE_API void HTMLGetPageInfo(HTMLPageInfo* info) {
    if (info == nullptr) return;
    info->encoding = g_page_facts.encoding;
    info->encoding_source = g_page_facts.encoding_source;
    info->has_bom = g_page_facts.has_bom ? 1 : 0;
    info->crlf = g_page_facts.crlf ? 1 : 0;
    info->cr = g_page_facts.cr ? 1 : 0;
    info->ascii_only = g_page_facts.ascii_only ? 1 : 0;
    info->complete = g_parse_complete ? 1 : 0;
    info->read_error = g_read_error;
}

HTMLPARSE_API void HTMLGetLineEnds(HTMLLineEnds* counts) {
    if (counts == nullptr) return;
    counts->lf = g_page_facts.line_ends.lf;
    counts->crlf = g_page_facts.line_ends.crlf;
    counts->cr = g_page_facts.line_ends.cr;
}

HTMLPARSE_API char* HTMLDecodeAttribute(const char* value) {
    const std::size_t length = std::strlen(value);
    // A reference's UTF-8 is at most twice as long as its source text.
    auto* decoded = static_cast<char*>(std::malloc(2 * length + 1));
    if (decoded == nullptr) return nullptr;
    const char* end = value + length;
    char* out = decoded;
    for (const char* source = value; source < end;) {
        std::size_t consumed = 0;
        char utf8[8];
        const std::size_t produced =
            *source == '&' ? DecodeOneReference(source, end, utf8, &consumed) : 0;
        if (produced == 0 || !DecodesInAttribute(source, consumed)) {
            *out++ = *source++;
            continue;
        }
        std::memcpy(out, utf8, produced);
        out += produced;
        source += consumed;
    }
    *out = '\0';
    return decoded;
}

}  // extern "C"
