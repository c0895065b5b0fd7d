#include "encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>

#include "utf8.h"

namespace htmlparse {

namespace {

constexpr std::size_t kPrescanLength = 1024;

// Code points of the windows-1252 bytes 0x80 to 0x9F.
constexpr char16_t kWindows1252C1[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Owns a malloc'd block until released.
class MallocBlock {
  public:
    explicit MallocBlock(char* block) : block_(block) {}
    ~MallocBlock() { std::free(block_); }
    MallocBlock(const MallocBlock&) = delete;
    MallocBlock& operator=(const MallocBlock&) = delete;
    char* get() const { return block_; }
    char* release() {
        char* block = block_;
        block_ = nullptr;
        return block;
    }
    void reset(char* block) {
        std::free(block_);
        block_ = block;
    }

  private:
    char* block_;
};

char* AllocateOrThrow(std::size_t size) {
    auto* block = static_cast<char*>(std::malloc(size));
    if (block == nullptr) throw std::bad_alloc();
    return block;
}

bool IsSpace(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

// --- Labels -----------------------------------------------------------------

struct LabelGroup {
    const char* encoding;
    const char* labels;  // space-separated, lower case
};

// The browsers' labels for the encodings found on real pages.
constexpr LabelGroup kLabelGroups[] = {
    {"UTF-8", "unicode-1-1-utf-8 unicode11utf8 unicode20utf8 utf-8 utf8 x-unicode20utf8"},
    // A page that declares UTF-16 in ASCII bytes is not UTF-16: read it as UTF-8.
    {"UTF-8",
     "csunicode iso-10646-ucs-2 ucs-2 unicode unicodefeff unicodefffe utf-16 utf-16be "
     "utf-16le"},
    {"windows-1252",
     "ansi_x3.4-1968 ascii cp1252 cp819 csisolatin1 ibm819 iso-8859-1 iso-ir-100 iso8859-1 "
     "iso88591 iso_8859-1 iso_8859-1:1987 l1 latin1 us-ascii windows-1252 x-cp1252 "
     "x-user-defined"},
    {"ISO-8859-2", "csisolatin2 iso-8859-2 iso-ir-101 iso8859-2 iso88592 iso_8859-2 l2 latin2"},
    {"ISO-8859-15", "csisolatin9 iso-8859-15 iso8859-15 iso885915 iso_8859-15 l9 latin9"},
    {"WINDOWS-1254",
     "cp1254 csisolatin5 iso-8859-9 iso-ir-148 iso8859-9 iso88599 iso_8859-9 l5 latin5 "
     "windows-1254 x-cp1254"},
    {"WINDOWS-874", "dos-874 iso-8859-11 iso8859-11 iso885911 tis-620 windows-874"},
    {"CP932", "csshiftjis ms932 ms_kanji shift-jis shift_jis sjis windows-31j x-sjis"},
    {"EUC-JP", "cseucpkdfmtjapanese euc-jp x-euc-jp"},
    {"ISO-2022-JP", "csiso2022jp iso-2022-jp"},
    {"CP949",
     "cseuckr csksc56011987 euc-kr iso-ir-149 korean ks_c_5601-1987 ks_c_5601-1989 ksc5601 "
     "ksc_5601 windows-949"},
    {"GBK", "chinese csgb2312 csiso58gb231280 gb2312 gb_2312 gb_2312-80 gbk iso-ir-58 x-gbk"},
    {"GB18030", "gb18030"},
    {"BIG5-HKSCS", "big5 big5-hkscs cn-big5 csbig5 x-x-big5"},
    {"KOI8-R", "cskoi8r koi koi8 koi8-r koi8_r"},
    {"KOI8-U", "koi8-ru koi8-u"},
    {"MACINTOSH", "csmacintosh mac macintosh x-mac-roman"},
    {"IBM866", "866 cp866 csibm866 ibm866"},
};

bool LabelInList(std::string_view label, std::string_view list) {
    while (!list.empty()) {
        std::size_t blank = list.find(' ');
        std::string_view entry = list.substr(0, blank);
        if (entry == label) return true;
        if (blank == std::string_view::npos) break;
        list.remove_prefix(blank + 1);
    }
    return false;
}

bool IsLabelCharacter(unsigned char c) {
    return std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == ':';
}

bool IconvKnows(const char* name) {
    iconv_t converter = iconv_open("UTF-8", name);
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    iconv_close(converter);
    return true;
}

bool CopyName(const char* name, char* out, std::size_t capacity) {
    std::size_t length = std::strlen(name);
    if (length + 1 > capacity) return false;
    std::memcpy(out, name, length + 1);
    return true;
}

// --- The <meta> prescan -----------------------------------------------------

// Cursor over the prescanned bytes.
struct Prescan {
    const char* p;
    const char* end;

    bool AtEnd() const { return p >= end; }
    std::string_view Rest() const { return {p, static_cast<std::size_t>(end - p)}; }
    void SkipSpaces() {
        while (p < end && IsSpace(static_cast<unsigned char>(*p))) ++p;
    }
    void SkipPast(std::string_view marker) {
        std::size_t at = Rest().find(marker);
        p = at == std::string_view::npos ? end : p + at + marker.size();
    }
};

struct PrescanAttribute {
    std::string_view name;  // as written; compared without letter case
    std::string_view value;
};

// Reads one attribute of a tag; false at the tag's end.
bool NextAttribute(Prescan& scan, PrescanAttribute& attribute) {
    while (!scan.AtEnd() && (IsSpace(static_cast<unsigned char>(*scan.p)) || *scan.p == '/')) {
        ++scan.p;
    }
    if (scan.AtEnd() || *scan.p == '>') return false;
    const char* name = scan.p;
    ++scan.p;  // the first character may be anything, "=" included
    while (!scan.AtEnd() && *scan.p != '=' && *scan.p != '>' && *scan.p != '/' &&
           !IsSpace(static_cast<unsigned char>(*scan.p))) {
        ++scan.p;
    }
    attribute.name = {name, static_cast<std::size_t>(scan.p - name)};
    attribute.value = {};
    scan.SkipSpaces();
    if (scan.AtEnd() || *scan.p != '=') return true;
    ++scan.p;
    scan.SkipSpaces();
    if (scan.AtEnd()) return true;
    if (*scan.p == '"' || *scan.p == '\'') {
        char quote = *scan.p++;
        const char* value = scan.p;
        while (!scan.AtEnd() && *scan.p != quote) ++scan.p;
        attribute.value = {value, static_cast<std::size_t>(scan.p - value)};
        if (!scan.AtEnd()) ++scan.p;
        return true;
    }
    const char* value = scan.p;
    while (!scan.AtEnd() && *scan.p != '>' && !IsSpace(static_cast<unsigned char>(*scan.p))) {
        ++scan.p;
    }
    attribute.value = {value, static_cast<std::size_t>(scan.p - value)};
    return true;
}

bool EqualsNoCase(std::string_view a, std::string_view lower) {
    return a.size() == lower.size() && StartsWithNoCase(a, lower);
}

// The charset named in a Content-Type value such as "text/html; charset=koi8-r".
std::string_view CharsetOfContentType(std::string_view content) {
    for (std::size_t i = 0; i + 7 <= content.size(); ++i) {
        if (!StartsWithNoCase(content.substr(i), "charset")) continue;
        std::size_t at = i + 7;
        while (at < content.size() && IsSpace(static_cast<unsigned char>(content[at]))) ++at;
        if (at >= content.size() || content[at] != '=') continue;
        ++at;
        while (at < content.size() && IsSpace(static_cast<unsigned char>(content[at]))) ++at;
        if (at < content.size() && (content[at] == '"' || content[at] == '\'')) {
            char quote = content[at++];
            std::size_t close = content.find(quote, at);
            if (close == std::string_view::npos) return {};
            return content.substr(at, close - at);
        }
        std::size_t stop = at;
        while (stop < content.size() && content[stop] != ';' &&
               !IsSpace(static_cast<unsigned char>(content[stop]))) {
            ++stop;
        }
        return content.substr(at, stop - at);
    }
    return {};
}

// Reads the attributes of a <meta> tag; returns the charset it declares, if any.
std::string_view MetaCharset(Prescan& scan) {
    PrescanAttribute attribute;
    std::string_view charset;
    std::string_view content;
    bool content_type = false;
    while (NextAttribute(scan, attribute)) {
        if (EqualsNoCase(attribute.name, "charset") && charset.empty()) {
            charset = attribute.value;
        } else if (EqualsNoCase(attribute.name, "http-equiv")) {
            content_type = content_type || EqualsNoCase(attribute.value, "content-type");
        } else if (EqualsNoCase(attribute.name, "content") && content.empty()) {
            content = attribute.value;
        }
    }
    if (!charset.empty()) return charset;
    if (content_type) return CharsetOfContentType(content);
    return {};
}

void SkipTag(Prescan& scan) {
    while (!scan.AtEnd() && *scan.p != '>' && !IsSpace(static_cast<unsigned char>(*scan.p))) {
        ++scan.p;
    }
    PrescanAttribute attribute;
    while (NextAttribute(scan, attribute)) {
    }
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// --- Conversions ------------------------------------------------------------

// Converts windows-1252 to UTF-8 by table.
char* TranscodeWindows1252(const char* data, std::size_t size, std::size_t* out_size) {
    std::size_t needed = 0;
    for (std::size_t i = 0; i < size; ++i) {
        auto byte = static_cast<unsigned char>(data[i]);
        needed += byte < 0x80 ? 1 : Windows1252CodePoint(byte) < 0x800 ? 2 : 3;
    }
    char* out = AllocateOrThrow(needed + 1);
    char* w = out;
    for (std::size_t i = 0; i < size; ++i) {
        auto byte = static_cast<unsigned char>(data[i]);
        if (byte < 0x80) {
            *w++ = static_cast<char>(byte);
        } else {
            w += EncodeUtf8(Windows1252CodePoint(byte), w);
        }
    }
    *out_size = static_cast<std::size_t>(w - out);
    return out;
}

// Growable output of a conversion.
class ConversionOutput {
  public:
    explicit ConversionOutput(std::size_t capacity)
        : data_(AllocateOrThrow(capacity)), capacity_(capacity) {}
    ~ConversionOutput() { std::free(data_); }
    ConversionOutput(const ConversionOutput&) = delete;
    ConversionOutput& operator=(const ConversionOutput&) = delete;

    char* cursor() { return data_ + used_; }
    std::size_t room() const { return capacity_ - used_ - 1; }  // one byte kept for the NUL
    void Advance(char* cursor) { used_ = static_cast<std::size_t>(cursor - data_); }
    void Grow() {
        char* grown = static_cast<char*>(std::realloc(data_, capacity_ * 2));
        if (grown == nullptr) throw std::bad_alloc();
        data_ = grown;
        capacity_ *= 2;
    }
    void Append(const char* bytes, std::size_t length) {
        while (room() < length) Grow();
        std::memcpy(cursor(), bytes, length);
        used_ += length;
    }
    char* Release(std::size_t* size) {
        *size = used_;
        char* data = data_;
        data_ = nullptr;
        return data;
    }

  private:
    char* data_;
    std::size_t capacity_;
    std::size_t used_ = 0;
};

// Closes an iconv descriptor on scope exit.
struct IconvCloser {
    iconv_t converter;
    ~IconvCloser() { iconv_close(converter); }
};

// Converts `size` bytes in `encoding` to UTF-8 through iconv; each byte it
// cannot convert becomes U+FFFD. Returns null when iconv lacks the encoding.
char* TranscodeWithIconv(const char* encoding, const char* data, std::size_t size,
                         std::size_t* out_size) {
    iconv_t converter = iconv_open("UTF-8", encoding);
    if (converter == reinterpret_cast<iconv_t>(-1)) return nullptr;
    IconvCloser closer{converter};
    ConversionOutput out(size * 2 + 16);
    char* in = const_cast<char*>(data);
    std::size_t in_left = size;
    while (in_left > 0) {
        char* w = out.cursor();
        std::size_t out_left = out.room();
        std::size_t result = iconv(converter, &in, &in_left, &w, &out_left);
        out.Advance(w);
        if (result != static_cast<std::size_t>(-1)) continue;
        if (errno == E2BIG) {
            out.Grow();
            continue;
        }
        out.Append(kReplacementUtf8, 3);
        ++in;
        --in_left;
    }
    while (true) {  // flush the shift state of stateful encodings
        char* w = out.cursor();
        std::size_t out_left = out.room();
        std::size_t result = iconv(converter, nullptr, nullptr, &w, &out_left);
        out.Advance(w);
        if (result != static_cast<std::size_t>(-1) || errno != E2BIG) break;
        out.Grow();
    }
    return out.Release(out_size);
}

// Replaces CRLF by LF and NUL by U+FFFD. Returns the new size; `block` may be
// replaced by a larger one when NUL bytes need room.
std::size_t NormalizeText(MallocBlock& block, char*& text, std::size_t size, bool* crlf) {
    std::size_t line_feeds = 0;
    std::size_t crlf_pairs = 0;
    std::size_t nuls = 0;
    for (const char* p = text;
         (p = static_cast<const char*>(std::memchr(p, '\n', text + size - p))); ++p) {
        ++line_feeds;
        if (p > text && p[-1] == '\r') ++crlf_pairs;
    }
    for (const char* p = text;
         (p = static_cast<const char*>(std::memchr(p, '\0', text + size - p))); ++p) {
        ++nuls;
    }
    *crlf = crlf_pairs > 0 && crlf_pairs * 2 >= line_feeds;
    if (crlf_pairs == 0 && nuls == 0) return size;
    char* out = text;
    if (nuls > 0) {
        out = AllocateOrThrow(size + nuls * 2 + 1);
    }
    char* w = out;
    for (std::size_t i = 0; i < size; ++i) {
        char c = text[i];
        if (c == '\r' && i + 1 < size && text[i + 1] == '\n') continue;
        if (c == '\0') {
            w = std::copy_n(kReplacementUtf8, 3, w);
        } else {
            *w++ = c;
        }
    }
    if (out != text) {
        block.reset(out);
        text = out;
    }
    return static_cast<std::size_t>(w - out);
}

bool StartsWith(const char* data, std::size_t size, const char* prefix, std::size_t length) {
    return size >= length && std::memcmp(data, prefix, length) == 0;
}

// Encodings whose ASCII-only text still needs converting.
bool NeedsConversionEvenForAscii(const char* encoding) {
    return std::strncmp(encoding, "UTF-16", 6) == 0 || std::strncmp(encoding, "ISO-2022", 8) == 0;
}

}  // namespace

char32_t Windows1252CodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kWindows1252C1[byte - 0x80];
    return byte;
}

bool ResolveEncodingLabel(const char* label, std::size_t length, char* out, std::size_t capacity) {
    while (length > 0 && IsSpace(static_cast<unsigned char>(*label))) {
        ++label;
        --length;
    }
    while (length > 0 && IsSpace(static_cast<unsigned char>(label[length - 1]))) --length;
    char lower[40];
    if (length == 0 || length >= sizeof lower) return false;
    for (std::size_t i = 0; i < length; ++i) {
        auto c = static_cast<unsigned char>(label[i]);
        if (!IsLabelCharacter(c)) return false;
        lower[i] = static_cast<char>(std::tolower(c));
    }
    lower[length] = '\0';
    for (const LabelGroup& group : kLabelGroups) {
        if (LabelInList({lower, length}, group.labels)) {
            return CopyName(group.encoding, out, capacity);
        }
    }
    char upper[40];
    for (std::size_t i = 0; i <= length; ++i) {
        upper[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(lower[i])));
    }
    return IconvKnows(upper) && CopyName(upper, out, capacity);
}

bool FindDeclaredEncoding(const char* data, std::size_t size, char* out, std::size_t capacity) {
    Prescan scan{data, data + std::min(size, kPrescanLength)};
    while (!scan.AtEnd()) {
        if (*scan.p != '<') {
            ++scan.p;
            continue;
        }
        std::string_view rest = scan.Rest();
        if (rest.starts_with("<!--")) {
            scan.p += 4;
            scan.SkipPast("-->");
        } else if (StartsWithNoCase(rest, "<meta") && rest.size() > 5 &&
                   (IsSpace(static_cast<unsigned char>(rest[5])) || rest[5] == '/')) {
            scan.p += 5;
            std::string_view charset = MetaCharset(scan);
            if (!charset.empty() &&
                ResolveEncodingLabel(charset.data(), charset.size(), out, capacity)) {
                return true;
            }
        } else if (rest.size() > 1 &&
                   (IsAsciiLetter(rest[1]) ||
                    (rest.size() > 2 && rest[1] == '/' && IsAsciiLetter(rest[2])))) {
            ++scan.p;
            SkipTag(scan);
        } else if (rest.size() > 1 && (rest[1] == '!' || rest[1] == '/' || rest[1] == '?')) {
            scan.SkipPast(">");
        } else {
            ++scan.p;
        }
    }
    return false;
}

PageText PreparePageText(char* raw, std::size_t size) {
    MallocBlock block(raw);
    PageText page;
    PageFacts& facts = page.facts;
    char* text = raw;
    const char* from = nullptr;  // encoding to convert from, or null for UTF-8

    Utf8Scan scan = ScanUtf8(reinterpret_cast<const unsigned char*>(raw), size);
    facts.ascii_only = scan.ascii_only;
    if (StartsWith(raw, size, "\xEF\xBB\xBF", 3)) {
        facts.has_bom = true;
        facts.encoding_source = HTML_ENCODING_BOM;
        text += 3;
        size -= 3;
    } else if (StartsWith(raw, size, "\xFE\xFF", 2) || StartsWith(raw, size, "\xFF\xFE", 2)) {
        facts.has_bom = true;
        facts.encoding_source = HTML_ENCODING_BOM;
        CopyName(raw[0] == '\xFE' ? "UTF-16BE" : "UTF-16LE", facts.encoding, sizeof facts.encoding);
        text += 2;
        size -= 2;
        from = facts.encoding;
    } else if (FindDeclaredEncoding(raw, size, facts.encoding, sizeof facts.encoding)) {
        facts.encoding_source = HTML_ENCODING_DECLARED;
        if (std::strcmp(facts.encoding, "UTF-8") != 0) from = facts.encoding;
    } else if (!scan.valid) {
        CopyName("windows-1252", facts.encoding, sizeof facts.encoding);
        from = facts.encoding;
    }

    if (from != nullptr && (!facts.ascii_only || NeedsConversionEvenForAscii(from))) {
        std::size_t converted_size = 0;
        char* converted = std::strcmp(from, "windows-1252") == 0
                              ? TranscodeWindows1252(text, size, &converted_size)
                              : TranscodeWithIconv(from, text, size, &converted_size);
        if (converted != nullptr) {
            block.reset(converted);
            text = converted;
            size = converted_size;
        }
    }
    size = NormalizeText(block, text, size, &facts.crlf);
    text[size] = '\0';
    page.text = text;
    page.size = size;
    page.buffer = block.release();
    return page;
}

}  // namespace htmlparse
