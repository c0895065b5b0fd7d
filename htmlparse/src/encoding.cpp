#include "encoding.h"

#include <cstring>

#include "line_ends.h"
#include "malloc_block.h"
#include "text/utf8.h"

namespace htmlparse {

namespace {

bool StartsWith(const char* data, std::size_t size, const char* prefix, std::size_t length) {
    return size >= length && std::memcmp(data, prefix, length) == 0;
}

// Encodings whose ASCII-only text still needs converting.
bool NeedsConversionEvenForAscii(const char* encoding) {
    return std::strncmp(encoding, "UTF-16", 6) == 0 || std::strncmp(encoding, "ISO-2022", 8) == 0;
}

template <std::size_t N>
void CopyName(const char* name, char (&out)[N]) {
    std::strncpy(out, name, N - 1);
    out[N - 1] = '\0';
}

// The text in `encoding` as UTF-8, by the decoder browsers use for it; null
// when there is none.
char* Transcode(const char* encoding, const char* text, std::size_t size, std::size_t* out_size,
                OffsetMap* offsets) {
    if (std::strcmp(encoding, "windows-1252") == 0) {
        return TranscodeWindows1252(text, size, out_size, offsets);
    }
    if (std::strncmp(encoding, "UTF-16", 6) == 0) {
        return TranscodeUtf16(text, size, std::strcmp(encoding, "UTF-16BE") == 0, out_size,
                              offsets);
    }
    return TranscodeCharset(encoding, text, size, out_size, offsets);
}

}  // namespace

PageText PreparePageText(char* raw, std::size_t size) {
    MallocBlock block(raw);
    PageText page;
    PageFacts& facts = page.facts;
    char* text = raw;
    const char* from = nullptr;  // encoding to convert from, or null for UTF-8

    const utf8::Scan scan = utf8::ScanBytes({raw, size});
    facts.ascii_only = scan.ascii_only;
    if (StartsWith(raw, size, "\xEF\xBB\xBF", 3)) {
        facts.has_bom = true;
        facts.encoding_source = HTML_ENCODING_BOM;
        text += 3;
        size -= 3;
    } else if (StartsWith(raw, size, "\xFE\xFF", 2) || StartsWith(raw, size, "\xFF\xFE", 2)) {
        facts.has_bom = true;
        facts.encoding_source = HTML_ENCODING_BOM;
        CopyName(raw[0] == '\xFE' ? "UTF-16BE" : "UTF-16LE", facts.encoding);
        text += 2;
        size -= 2;
        from = facts.encoding;
    } else if (FindDeclaredEncoding(raw, size, facts.encoding, sizeof facts.encoding)) {
        facts.encoding_source = HTML_ENCODING_DECLARED;
        if (std::strcmp(facts.encoding, "UTF-8") != 0) from = facts.encoding;
    } else if (!scan.valid) {
        CopyName("windows-1252", facts.encoding);
        from = facts.encoding;
    }

    page.offsets.start = static_cast<std::size_t>(text - raw);  // the byte-order mark
    if (from != nullptr && (!facts.ascii_only || NeedsConversionEvenForAscii(from))) {
        std::size_t converted_size = 0;
        char* converted = Transcode(from, text, size, &converted_size, &page.offsets.transcoding);
        if (converted != nullptr) {
            block.reset(converted);
            text = converted;
            size = converted_size;
        }
    }
    LineEndStyle line_ends = LineEndStyle::kLf;
    size = NormalizeLineEnds(block, text, size, &line_ends, &page.offsets.line_ends);
    facts.crlf = line_ends == LineEndStyle::kCrLf;
    facts.cr = line_ends == LineEndStyle::kCr;
    text[size] = '\0';
    page.text = text;
    page.size = size;
    page.buffer = block.release();
    return page;
}

}  // namespace htmlparse
