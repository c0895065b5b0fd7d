#include "page/PageForm.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "text/ascii.h"
#include "text/charset.h"
#include "text/charset_labels.h"
#include "text/utf8.h"

namespace {

bool IsUtf8Name(const std::string& name) {
    std::string folded;
    for (char c : name) {
        if (c != '-' && c != '_') folded += ascii::ToLower(c);
    }
    return folded == "utf8";
}

bool IsWindows1252Name(const std::string& name) {
    return ascii::EqualsIgnoringCase(name, "windows-1252") ||
           ascii::EqualsIgnoringCase(name, "cp1252");
}

// The five bytes windows-1252 leaves undefined, which browsers read as the C1
// controls of the same value.
bool IsWindows1252Gap(char32_t code) {
    return code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D;
}

std::string Reference(char32_t code) { return "&#" + std::to_string(code) + ";"; }

// `text` with every LF as the page's line end: changed in place for a lone
// CR, else written once into a string of exactly its new size.
std::string WithLineEnds(std::string text, const PageForm& form) {
    if (!form.crlf) {
        std::replace(text.begin(), text.end(), '\n', '\r');
        return text;
    }
    const auto lineFeeds = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    std::string out;
    out.reserve(text.size() + lineFeeds);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// Valid UTF-8 kept, every other character as a reference when `asciiOnly`;
// each invalid byte as U+FFFD, as a browser shows it, so that the next build
// writes the same.
std::string CleanUtf8(std::string_view text, bool asciiOnly) {
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            out += text[at++];
            continue;
        }
        char32_t code = 0;
        const size_t length = utf8::Decode(text.substr(at), code);
        if (length == 0) {
            out += asciiOnly ? Reference(utf8::kReplacement) : "\xEF\xBF\xBD";
            ++at;
        } else if (asciiOnly) {
            out += Reference(code);
            at += length;
        } else {
            out.append(text.substr(at, length));
            at += length;
        }
    }
    return out;
}

// The character at `at` in `text`, U+FFFD for a byte that starts none;
// moves `at` past it.
char32_t NextCharacter(std::string_view text, size_t& at) {
    char32_t code = 0;
    const size_t length = utf8::Decode(text.substr(at), code);
    at += length == 0 ? 1 : length;
    return length == 0 ? utf8::kReplacement : code;
}

// `text` (valid UTF-8) in `charset`, what it cannot hold as references.
std::string EncodeInCharset(std::string_view text, const charset::Charset& charset,
                            bool windows1252) {
    charset::Encoder encoder(charset);
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const char32_t code = NextCharacter(text, at);
        if (encoder.Put(code, out)) continue;
        if (windows1252 && IsWindows1252Gap(code)) {
            out += static_cast<char>(code);
            continue;
        }
        for (char c : Reference(code)) encoder.Put(static_cast<unsigned char>(c), out);
    }
    encoder.Finish(out);
    return out;
}

// `text` (valid UTF-8) in UTF-16 of the given byte order, without a
// byte-order mark.
std::string EncodeInUtf16(std::string_view text, bool bigEndian) {
    std::string out;
    out.reserve(text.size() * 2);
    const auto unit = [&out, bigEndian](char32_t value) {
        const char high = static_cast<char>(value >> 8);
        const char low = static_cast<char>(value & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    };
    for (size_t at = 0; at < text.size();) {
        const char32_t code = NextCharacter(text, at);
        if (code < 0x10000) {
            unit(code);
        } else {
            unit(0xD800 + ((code - 0x10000) >> 10));
            unit(0xDC00 + ((code - 0x10000) & 0x3FF));
        }
    }
    return out;
}

// The charset a name designates: a charset's own name, else an encoding label.
const charset::Charset* CharsetNamed(const std::string& name) {
    if (const charset::Charset* found = charset::Find(name)) return found;
    const char* labelled = charset::NameOfLabel(name);
    return labelled != nullptr ? charset::Find(labelled) : nullptr;
}

}  // namespace

PageForm PageFormOf(const HTMLPageInfo& info) {
    PageForm form;
    if (info.encoding != nullptr && info.encoding[0] != '\0') form.encoding = info.encoding;
    form.asciiOnly = info.ascii_only != 0 && info.encoding_source == HTML_ENCODING_SNIFFED;
    form.crlf = info.crlf != 0;
    form.cr = info.cr != 0 && !form.crlf;
    return form;
}

void SetLineEnds(PageForm* form, const lineends::Counts& counts) {
    const lineends::Form common = lineends::MostCommon(counts);
    form->crlf = common == lineends::Form::kCrLf;
    form->cr = common == lineends::Form::kCr;
}

// A long section in a UTF-8 page with LF or CR line ends is handed back in
// the string it came in, without a copy.
std::string EncodeForPage(std::string text, const PageForm& form) {
    if (form.crlf || form.cr) text = WithLineEnds(std::move(text), form);
    const utf8::Scan scan = utf8::ScanBytes(text);
    if (!scan.valid || (form.asciiOnly && !scan.ascii_only)) {
        text = CleanUtf8(text, form.asciiOnly);
    }
    if (form.asciiOnly || IsUtf8Name(form.encoding)) return text;
    if (ascii::EqualsIgnoringCase(form.encoding, "UTF-16LE") ||
        ascii::EqualsIgnoringCase(form.encoding, "UTF-16BE")) {
        return EncodeInUtf16(text, ascii::EqualsIgnoringCase(form.encoding, "UTF-16BE"));
    }
    const charset::Charset* charset = CharsetNamed(form.encoding);
    // An encoding no charset writes: references in ASCII are still read back
    // right by every encoding a page is read in.
    if (charset == nullptr) return CleanUtf8(text, true);
    return EncodeInCharset(text, *charset, IsWindows1252Name(form.encoding));
}
