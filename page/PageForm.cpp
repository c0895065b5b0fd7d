#include "page/PageForm.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

#include "text/ascii.h"
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

// `text` with every LF as the page's line end.
std::string WithLineEnds(std::string_view text, const PageForm& form) {
    const char* lineEnd = form.crlf ? "\r\n" : "\r";
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (char c : text) {
        if (c == '\n') {
            out += lineEnd;
        } else {
            out += c;
        }
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

class Encoder {
  public:
    explicit Encoder(const std::string& encoding)
        : m_cd(iconv_open(encoding.c_str(), "UTF-8")), m_windows1252(IsWindows1252Name(encoding)) {}
    ~Encoder() {
        if (Ok()) iconv_close(m_cd);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // `text` (valid UTF-8) in the encoding, what it cannot hold as references.
    std::string Encode(std::string_view text) {
        std::string out;
        size_t at = 0;
        while (at < text.size()) {
            at += Convert(text.substr(at), &out);
            if (at < text.size()) at += Unencodable(text.substr(at), &out);
        }
        Flush(&out);
        return out;
    }

  private:
    // Converts as much of `text` as the encoding holds; returns how much.
    size_t Convert(std::string_view text, std::string* out) {
        char* in = const_cast<char*>(text.data());
        size_t inLeft = text.size();
        char buffer[4096];
        while (inLeft > 0) {
            char* w = buffer;
            size_t room = sizeof buffer;
            const size_t result = iconv(m_cd, &in, &inLeft, &w, &room);
            const int error = result == static_cast<size_t>(-1) ? errno : 0;
            out->append(buffer, static_cast<size_t>(w - buffer));
            if (error != 0 && error != E2BIG) break;
        }
        return text.size() - inLeft;
    }

    // Writes the character at the start of `rest`, which the encoding cannot
    // hold; returns its length.
    size_t Unencodable(std::string_view rest, std::string* out) {
        char32_t code = 0;
        size_t length = utf8::Decode(rest, code);
        if (length == 0) {
            code = utf8::kReplacement;
            length = 1;
        }
        if (m_windows1252 && IsWindows1252Gap(code)) {
            *out += static_cast<char>(code);
        } else {
            Convert(Reference(code), out);
        }
        return length;
    }

    void Flush(std::string* out) {
        char buffer[64];
        char* w = buffer;
        size_t room = sizeof buffer;
        iconv(m_cd, nullptr, nullptr, &w, &room);
        out->append(buffer, static_cast<size_t>(w - buffer));
    }

    iconv_t m_cd;
    bool m_windows1252;
};

}  // namespace

PageForm PageFormOf(const HTMLPageInfo& info) {
    PageForm form;
    if (info.encoding != nullptr && info.encoding[0] != '\0') form.encoding = info.encoding;
    form.asciiOnly = info.ascii_only != 0 && info.encoding_source == HTML_ENCODING_SNIFFED;
    form.crlf = info.crlf != 0;
    form.cr = info.cr != 0 && !form.crlf;
    return form;
}

// A long section in a UTF-8 page with LF line ends is handed back as it is,
// without a copy.
std::string EncodeForPage(std::string text, const PageForm& form) {
    if (form.crlf || form.cr) text = WithLineEnds(text, form);
    const utf8::Scan scan = utf8::ScanBytes(text);
    if (!scan.valid || (form.asciiOnly && !scan.ascii_only)) {
        text = CleanUtf8(text, form.asciiOnly);
    }
    if (form.asciiOnly || IsUtf8Name(form.encoding)) return text;
    Encoder encoder(form.encoding);
    // An encoding the parser read but iconv cannot write: references in
    // ASCII are still read back right by every encoding a page is read in.
    if (!encoder.Ok()) return CleanUtf8(text, true);
    return encoder.Encode(text);
}
