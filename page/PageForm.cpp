#include "page/PageForm.h"

#include <iconv.h>

#include <sys/types.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace {

constexpr size_t kBufferSize = 1 << 16;
constexpr char32_t kReplacementCharacter = 0xFFFD;

bool IsUtf8Name(const std::string& name) {
    std::string folded;
    for (char c : name) {
        if (c != '-' && c != '_') folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return folded == "utf8";
}

// Decodes the UTF-8 sequence at the start of `bytes`. Returns its length and
// sets `code`; 0 when the bytes do not start a valid sequence.
size_t DecodeUtf8(std::string_view bytes, char32_t& code) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    size_t length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[i]);
        if ((next & 0xC0) != 0x80) return 0;
        code = (code << 6) | (next & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

// Converts UTF-8 to the page's form and writes it to a stream, holding back
// an incomplete sequence at the end of one piece until the next arrives.
class PageEncoder {
public:
    PageEncoder(FILE* out, const PageForm& form) : m_out(out), m_crlf(form.crlf) {
        if (form.asciiOnly) {
            m_cd = iconv_open("ASCII", "UTF-8");
        } else if (!IsUtf8Name(form.encoding)) {
            m_cd = iconv_open(form.encoding.c_str(), "UTF-8");
        }
        m_ok = m_cd != kNoConversion || (!form.asciiOnly && IsUtf8Name(form.encoding));
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
        m_pending.reserve(m_pending.size() + size + size / 8);
        for (size_t i = 0; i < size; ++i) {
            if (data[i] == '\n' && m_crlf) m_pending += '\r';
            m_pending += data[i];
        }
        size_t used = Convert(m_pending, false);
        m_pending.erase(0, used);
        return m_ok;
    }

    bool Finish() {
        if (!m_ok) return false;
        Convert(m_pending, true);
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

    // Converts as much of `text` as can be; returns how many bytes were used.
    // An incomplete sequence at the end is left unless `final` is set.
    size_t Convert(std::string_view text, bool final) {
        if (m_cd == kNoConversion) {
            Emit(text.data(), text.size());
            return text.size();
        }
        size_t used = 0;
        while (used < text.size() && m_ok) {
            char* in = const_cast<char*>(text.data() + used);
            size_t inLeft = text.size() - used;
            char* out = m_output.data();
            size_t room = m_output.size();
            const size_t result = iconv(m_cd, &in, &inLeft, &out, &room);
            const int error = result == static_cast<size_t>(-1) ? errno : 0;
            used = text.size() - inLeft;
            Emit(m_output.data(), m_output.size() - room);
            if (error == E2BIG || error == 0) continue;
            if (error == EINVAL && !final) break;
            used += WriteReference(text.substr(used));
        }
        return used;
    }

    // Writes the character at the start of `rest`, which the encoding cannot
    // hold, as a numeric reference; returns the bytes it took.
    size_t WriteReference(std::string_view rest) {
        char32_t code = 0;
        size_t length = DecodeUtf8(rest, code);
        if (length == 0) {
            code = kReplacementCharacter;
            length = 1;
        }
        const std::string reference = "&#" + std::to_string(code) + ";";
        Convert(reference, true);
        return length;
    }

    FILE* m_out;
    bool m_crlf;
    iconv_t m_cd = kNoConversion;
    bool m_ok = true;
    std::string m_pending;
    std::string m_output;
};

ssize_t WriteToEncoder(void* cookie, const char* data, size_t size) {
    return static_cast<PageEncoder*>(cookie)->Put(data, size) ? static_cast<ssize_t>(size) : 0;
}

}  // namespace

PageForm PageFormOf(const HTMLPageInfo& info) {
    PageForm form;
    if (info.encoding != nullptr && info.encoding[0] != '\0') form.encoding = info.encoding;
    form.asciiOnly = info.ascii_only != 0 && info.encoding_source == HTML_ENCODING_SNIFFED;
    form.crlf = info.crlf != 0;
    form.bom = info.has_bom != 0;
    return form;
}

bool WriteInPageForm(FILE* out, const PageForm& form, const std::function<bool(FILE*)>& write) {
    if (IsUtf8Name(form.encoding) && !form.asciiOnly && !form.crlf && !form.bom) {
        return write(out) && std::ferror(out) == 0;
    }
    PageEncoder encoder(out, form);
    if (!encoder.Ok()) return false;
    cookie_io_functions_t functions = {nullptr, WriteToEncoder, nullptr, nullptr};
    FILE* stream = fopencookie(&encoder, "w", functions);
    if (stream == nullptr) return false;
    std::setvbuf(stream, nullptr, _IOFBF, kBufferSize);
    bool ok = true;
    if (form.bom) ok = std::fputs("\xEF\xBB\xBF", stream) >= 0;
    ok = ok && write(stream);
    ok = std::fclose(stream) == 0 && ok;
    ok = encoder.Finish() && ok;
    return ok && std::ferror(out) == 0;
}
