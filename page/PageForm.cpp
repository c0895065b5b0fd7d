#include "page/PageForm.h"

#include <iconv.h>
#include <sys/types.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string_view>

#include "text/ascii.h"
#include "text/utf8.h"

namespace {

constexpr size_t kBufferSize = 1 << 16;
constexpr char32_t kReplacementCharacter = 0xFFFD;

bool IsUtf8Name(const std::string& name) {
    std::string folded;
    for (char c : name) {
        if (c != '-' && c != '_') folded += ascii::ToLower(c);
    }
    return folded == "utf8";
}

// The first byte of every byte stand-in's UTF-8 (U+10FF00 to U+10FFFF).
constexpr char kStandInLead = '\xF4';

bool IsStandIn(char32_t code) {
    return code >= HTML_BYTE_STAND_IN_BASE && code <= HTML_BYTE_STAND_IN_BASE + 0xFF;
}

// The five bytes windows-1252 leaves undefined, which browsers read as the C1
// controls of the same value.
bool IsWindows1252Gap(char32_t code) {
    return code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D;
}

bool IsWindows1252Name(const std::string& name) {
    return ascii::EqualsIgnoringCase(name, "windows-1252") ||
           ascii::EqualsIgnoringCase(name, "cp1252");
}

}  // namespace

// Converts UTF-8 to the page's form and writes it to a stream, holding back
// an incomplete sequence at the end of one piece until the next arrives.
class PageEncoder {
  public:
    PageEncoder(FILE* out, const PageForm& form)
        : m_out(out),
          m_lineEnd(form.crlf ? "\r\n"
                    : form.cr ? "\r"
                              : "\n"),
          m_asciiOnly(form.asciiOnly),
          m_windows1252(IsWindows1252Name(form.encoding)) {
        if (!form.asciiOnly && !IsUtf8Name(form.encoding)) {
            m_cd = iconv_open(form.encoding.c_str(), "UTF-8");
            m_ok = m_cd != kNoConversion;
        }
        m_output.resize(kBufferSize);
    }
    ~PageEncoder() {
        if (m_cd != kNoConversion) iconv_close(m_cd);
    }
    PageEncoder(const PageEncoder&) = delete;
    PageEncoder& operator=(const PageEncoder&) = delete;

    bool Ok() const { return m_ok; }

    bool Put(const char* data, size_t size) {
        if (!m_ok) return false;
        const std::string_view text(data, size);
        const bool plain = m_lineEnd == std::string_view("\n") && !m_afterCr &&
                           text.find('\r') == std::string_view::npos &&
                           text.find(kStandInLead) == std::string_view::npos;
        if (plain && m_pending.empty() && m_cd == kNoConversion && !m_asciiOnly) {
            Emit(data, size);
            return m_ok;
        }
        if (plain) {
            m_pending.append(text);
        } else {
            AppendWithLineEnds(text);
        }
        const size_t used =
            m_asciiOnly ? ConvertToAscii(m_pending, false) : Convert(m_pending, false);
        m_pending.erase(0, used);
        return m_ok;
    }

    bool Finish() {
        if (!m_ok) return false;
        if (m_asciiOnly) {
            ConvertToAscii(m_pending, true);
        } else {
            Convert(m_pending, true);
        }
        m_pending.clear();
        if (m_cd != kNoConversion) {
            char* out = m_output.data();
            size_t room = m_output.size();
            iconv(m_cd, nullptr, nullptr, &out, &room);
            Emit(m_output.data(), m_output.size() - room);
        }
        return m_ok;
    }

  private:
    static inline const iconv_t kNoConversion = reinterpret_cast<iconv_t>(-1);

    void Emit(const char* bytes, size_t size) {
        if (size != 0 && std::fwrite(bytes, 1, size, m_out) != size) m_ok = false;
    }

    // Appends `data` with each line end (LF, CR or CRLF, as a browser reads
    // them) written as the page's own.
    void AppendWithLineEnds(std::string_view data) {
        const char* lineEnd = m_lineEnd;
        m_pending.reserve(m_pending.size() + data.size() + data.size() / 16);
        for (char c : data) {
            const bool afterCr = m_afterCr;
            m_afterCr = c == '\r';
            if (c == '\r' || (c == '\n' && !afterCr)) {
                m_pending.append(lineEnd);
            } else if (c != '\n') {
                m_pending += c;
            }
        }
    }

    // Writes `text` as ASCII, every other character as a reference; returns
    // how many bytes were used. An incomplete sequence at the end is left
    // unless `final` is set.
    size_t ConvertToAscii(std::string_view text, bool final) {
        size_t start = 0;
        size_t i = 0;
        while (i < text.size()) {
            if (static_cast<unsigned char>(text[i]) < 0x80) {
                ++i;
                continue;
            }
            Emit(text.data() + start, i - start);
            char32_t code = 0;
            size_t length = utf8::Decode(text.substr(i), code);
            if (length == 0) {
                if (!final && text.size() - i < 4 && utf8::IsIncomplete(text.substr(i))) return i;
                code = kReplacementCharacter;
                length = 1;
            }
            if (IsStandIn(code)) {
                const char byte = static_cast<char>(code - HTML_BYTE_STAND_IN_BASE);
                Emit(&byte, 1);
            } else {
                const std::string reference = "&#" + std::to_string(code) + ";";
                Emit(reference.data(), reference.size());
            }
            i += length;
            start = i;
        }
        Emit(text.data() + start, i - start);
        return i;
    }

    // Converts as much of `text` as can be; returns how many bytes were used.
    // An incomplete sequence at the end is left unless `final` is set.
    size_t Convert(std::string_view text, bool final) {
        if (m_cd == kNoConversion) return EmitWithBytesRestored(text, final);
        size_t used = 0;
        while (used < text.size() && m_ok) {
            // Stand-ins are not handed to iconv: UTF-16 could encode them.
            const size_t standIn = NextStandIn(text, used);
            if (standIn == used) {
                used += WriteReference(text.substr(used));
                continue;
            }
            char* in = const_cast<char*>(text.data() + used);
            size_t inLeft = standIn - used;
            char* out = m_output.data();
            size_t room = m_output.size();
            const size_t result = iconv(m_cd, &in, &inLeft, &out, &room);
            const int error = result == static_cast<size_t>(-1) ? errno : 0;
            used = standIn - inLeft;
            Emit(m_output.data(), m_output.size() - room);
            if (error == E2BIG || error == 0) continue;
            if (error == EINVAL && !final && standIn == text.size()) break;
            used += WriteReference(text.substr(used));
        }
        return used;
    }

    // Where the next complete byte stand-in at or after `from` begins, or the
    // size of `text`.
    static size_t NextStandIn(std::string_view text, size_t from) {
        for (size_t at = from; (at = text.find(kStandInLead, at)) != std::string_view::npos; ++at) {
            char32_t code = 0;
            if (utf8::Decode(text.substr(at), code) != 0 && IsStandIn(code)) return at;
        }
        return text.size();
    }

    // Writes UTF-8 text as it is, but byte stand-ins as their bytes; returns
    // how many bytes were used. A stand-in cut off at the end is left unless
    // `final` is set.
    size_t EmitWithBytesRestored(std::string_view text, bool final) {
        size_t start = 0;
        size_t at = 0;
        while ((at = text.find(kStandInLead, at)) != std::string_view::npos) {
            char32_t code = 0;
            const size_t length = utf8::Decode(text.substr(at), code);
            if (length == 0 && !final && utf8::IsIncomplete(text.substr(at))) {
                Emit(text.data() + start, at - start);
                return at;
            }
            if (!IsStandIn(code)) {
                at += std::max<size_t>(length, 1);
                continue;
            }
            Emit(text.data() + start, at - start);
            const char byte = static_cast<char>(code - HTML_BYTE_STAND_IN_BASE);
            Emit(&byte, 1);
            at += length;
            start = at;
        }
        Emit(text.data() + start, text.size() - start);
        return text.size();
    }

    // Writes the character at the start of `rest`, which the encoding cannot
    // hold: a byte stand-in or a windows-1252 C1 control as its byte, anything
    // else as a numeric reference. Returns the bytes it took.
    size_t WriteReference(std::string_view rest) {
        char32_t code = 0;
        size_t length = utf8::Decode(rest, code);
        if (length == 0) {
            code = kReplacementCharacter;
            length = 1;
        }
        if (code == HTML_BYTE_STAND_IN_BASE) {
            Convert(std::string_view("\0", 1), true);  // NUL is a character of every encoding
        } else if (IsStandIn(code) || (m_windows1252 && IsWindows1252Gap(code))) {
            const char byte = static_cast<char>(code & 0xFF);
            Emit(&byte, 1);
        } else {
            const std::string reference = "&#" + std::to_string(code) + ";";
            Convert(reference, true);
        }
        return length;
    }

    FILE* m_out;
    const char* m_lineEnd;
    bool m_asciiOnly;
    bool m_windows1252;
    bool m_afterCr = false;  // the last character put was a CR
    iconv_t m_cd = kNoConversion;
    bool m_ok = true;
    std::string m_pending;
    std::string m_output;
};

namespace {

ssize_t WriteToEncoder(void* cookie, const char* data, size_t size) {
    return static_cast<PageEncoder*>(cookie)->Put(data, size) ? static_cast<ssize_t>(size) : 0;
}

}  // namespace

PageForm PageFormOf(const HTMLPageInfo& info) {
    PageForm form;
    if (info.encoding != nullptr && info.encoding[0] != '\0') form.encoding = info.encoding;
    form.asciiOnly = info.ascii_only != 0 && info.encoding_source == HTML_ENCODING_SNIFFED;
    form.crlf = info.crlf != 0;
    form.cr = info.cr != 0 && !form.crlf;
    form.bom = info.has_bom != 0;
    return form;
}

PageFormStream::PageFormStream(FILE* out, const PageForm& form)
    : m_out(out), m_encoder(std::make_unique<PageEncoder>(out, form)) {
    if (!m_encoder->Ok()) return;
    cookie_io_functions_t functions = {nullptr, WriteToEncoder, nullptr, nullptr};
    m_stream = fopencookie(m_encoder.get(), "w", functions);
    if (m_stream == nullptr) return;
    std::setvbuf(m_stream, nullptr, _IOFBF, kBufferSize);
    if (form.bom) m_ok = std::fputs("\xEF\xBB\xBF", m_stream) >= 0;
}

PageFormStream::~PageFormStream() {
    if (m_stream != nullptr) std::fclose(m_stream);
}

bool PageFormStream::Close() {
    if (m_stream == nullptr) return false;
    bool ok = std::fclose(m_stream) == 0 && m_ok;
    m_stream = nullptr;
    ok = m_encoder->Finish() && ok;
    return ok && std::ferror(m_out) == 0;
}

bool WriteInPageForm(FILE* out, const PageForm& form, const std::function<bool(FILE*)>& write) {
    PageFormStream converted(out, form);
    if (converted.Stream() == nullptr) return false;
    const bool written = write(converted.Stream());
    return converted.Close() && written;
}
