// The program's own charsets: a few known characters everywhere, and, where
// the system has iconv, every table against it: decoding as the parser used
// iconv (one character at a time, an undecodable byte kept), encoding as the
// page writer used it.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "text/charset.h"

#if __has_include(<iconv.h>)
#include <iconv.h>

#include <cerrno>
#define HAVE_ICONV 1
#endif

namespace {

constexpr char32_t kUndecodable = 0x110000;  // + the byte, in decoded text

// Decoded text, and after each character the input offset its bytes end at.
struct Decoded {
    std::u32string text;
    std::vector<std::size_t> ends;
    bool operator==(const Decoded&) const = default;
};

Decoded Decode(const char* name, const std::string& bytes) {
    Decoded decoded;
    charset::Decoder decoder(*charset::Find(name), bytes);
    charset::Piece piece{};
    while (decoder.Next(piece)) {
        if (piece.undecodable) {
            decoded.text += kUndecodable + static_cast<unsigned char>(bytes[piece.end - 1]);
            decoded.ends.push_back(piece.end);
        }
        for (std::size_t i = 0; i < piece.count; ++i) {
            decoded.text += piece.code[i];
            decoded.ends.push_back(piece.end);
        }
    }
    return decoded;
}

std::string Encode(const char* name, const std::u32string& text) {
    charset::Encoder encoder(*charset::Find(name));
    std::string out;
    for (char32_t code : text) {
        if (!encoder.Put(code, out)) encoder.Put(U'?', out);
    }
    encoder.Finish(out);
    return out;
}

TEST(CharsetTest, KnownCharactersDecodeAndEncode) {
    const struct {
        const char* charset;
        std::string bytes;
        std::u32string text;
    } cases[] = {
        {"KOI8-R", "\xC1", U"\u0430"},
        {"WINDOWS-1251", "\xC0\xFF", U"\u0410\u044F"},
        {"CP932", "\x93\xFA\x96\x7B", U"\u65E5\u672C"},
        {"EUC-JP", "\xC6\xFC\x8E\xB1", U"\u65E5\uFF71"},
        {"ISO-2022-JP", "a\x1B$BF|\x1B(B", U"a\u65E5"},
        {"GBK", "\xD6\xD0", U"\u4E2D"},
        {"GB18030", "\x81\x30\x81\x30\x90\x30\x81\x30", U"\u0080\U00010000"},
        {"BIG5-HKSCS", "\xA4\xA4", U"\u4E2D"},
        {"CP949", "\xC7\xD1", U"\uD55C"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Decode(c.charset, c.bytes).text, c.text) << c.charset;
        EXPECT_EQ(Encode(c.charset, c.text), c.bytes) << c.charset;
    }
    // Two code points from one sequence, and back.
    EXPECT_EQ(Decode("BIG5-HKSCS", "\x88\x62").text, U"\u00CA\u0304");
    EXPECT_EQ(Encode("BIG5-HKSCS", U"\u00CA\u0304\u00CAx"), "\x88\x62\x88\x66x");
    EXPECT_EQ(Encode("ISO-2022-JP", U"\u00A5\u20AC"), "\x1B(J\\?\x1B(B");
}

TEST(CharsetTest, UndecodableBytesAreKeptInOrderAndEveryCharacterEndsWhereItsBytesDo) {
    // A cut-short sequence at the end, a lead byte without its trail byte.
    EXPECT_EQ(Decode("CP932", "a\x83\x41\x82"),
              (Decoded{U"a\u30A2" + std::u32string(1, kUndecodable + 0x82), {1, 3, 4}}));
    // A letter waiting for a mark comes before the undecodable byte after it.
    EXPECT_EQ(Decode("WINDOWS-1258", "A\x81<"),
              (Decoded{U"A" + std::u32string(1, kUndecodable + 0x81) + U"<", {1, 2, 3}}));
    // A letter and a combining mark that Unicode composes end with the mark.
    EXPECT_EQ(Decode("WINDOWS-1258", "bA\xEC<"), (Decoded{U"b\u00C1<", {1, 3, 4}}));
    // A sequence iconv swallows without a character: both bytes are kept.
    EXPECT_EQ(Decode("CP949", "\xA2\xE8").text,
              std::u32string({kUndecodable + 0xA2, kUndecodable + 0xE8}));
}

#ifdef HAVE_ICONV

// Every charset the encoding labels resolve to.
const std::vector<const char*> kSingleByte = {
    "IBM866",       "ISO-8859-2",   "ISO-8859-3",   "ISO-8859-4",   "ISO-8859-5",   "ISO-8859-6",
    "ISO-8859-7",   "ISO-8859-8",   "ISO-8859-10",  "ISO-8859-13",  "ISO-8859-14",  "ISO-8859-15",
    "ISO-8859-16",  "KOI8-R",       "KOI8-U",       "MACINTOSH",    "WINDOWS-874",  "WINDOWS-1250",
    "WINDOWS-1251", "WINDOWS-1253", "WINDOWS-1254", "WINDOWS-1255", "WINDOWS-1256", "WINDOWS-1257",
    "WINDOWS-1258", "MAC-CYRILLIC"};
const std::vector<const char*> kMultiByte = {"GBK",         "GB18030", "BIG5-HKSCS", "EUC-JP",
                                             "ISO-2022-JP", "CP932",   "CP949"};

// One iconv conversion. Text is UTF-32 in this machine's byte order: the
// bytes of a std::u32string.
class Iconv {
  public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Iconv() {
        if (Ok()) iconv_close(m_cd);
    }
    bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    void Reset() { iconv(m_cd, nullptr, nullptr, nullptr, nullptr); }

    // Converts `size` bytes at `in` (null: ends the shift state), appending
    // to `out`; returns the errno or 0, and how many bytes were consumed.
    int Convert(const void* in, std::size_t size, std::size_t* consumed, std::string* out) {
        char* from = static_cast<char*>(const_cast<void*>(in));
        std::size_t left = size;
        char buffer[1024];
        char* w = buffer;
        std::size_t room = sizeof buffer;
        const std::size_t result = iconv(m_cd, in != nullptr ? &from : nullptr, &left, &w, &room);
        *consumed = size - left;
        out->append(buffer, static_cast<std::size_t>(w - buffer));
        return result == static_cast<std::size_t>(-1) ? errno : 0;
    }

  private:
    iconv_t m_cd;
};

constexpr const char* kUtf32 = std::endian::native == std::endian::little ? "UTF-32LE" : "UTF-32BE";

std::u32string TextOf(const std::string& utf32) {
    std::u32string text(utf32.size() / 4, U'\0');
    std::memcpy(text.data(), utf32.data(), text.size() * 4);
    return text;
}

// Decodes as the parser did through iconv: each character given one byte
// more while iconv calls it incomplete, a byte it refuses kept. A sequence
// iconv consumes without a character, with an error, is refused here too.
Decoded IconvDecode(Iconv& iconv, const std::string& bytes) {
    Decoded decoded;
    iconv.Reset();
    std::size_t consumed = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t took = 0;
        std::string out;
        for (std::size_t take = 1; at + take <= bytes.size() && take <= 8; ++take) {
            const int error = iconv.Convert(bytes.data() + at, take, &consumed, &out);
            if (error == EINVAL && consumed == 0) continue;
            if (error == 0 || (consumed > 0 && !out.empty())) took = consumed;
            break;
        }
        if (took == 0) {
            decoded.text += kUndecodable + static_cast<unsigned char>(bytes[at]);
            decoded.ends.push_back(++at);
            continue;
        }
        at += took;
        for (char32_t code : TextOf(out)) {
            decoded.text += code;
            decoded.ends.push_back(at);
        }
    }
    std::string out;
    iconv.Convert(nullptr, 0, &consumed, &out);
    for (char32_t code : TextOf(out)) {
        decoded.text += code;
        decoded.ends.push_back(bytes.size());
    }
    return decoded;
}

// iconv's bytes for `text`, a character it refuses as "?", as the page writer
// used it: one conversion, the shift state kept from character to character.
std::string IconvEncode(Iconv& iconv, const std::u32string& text) {
    iconv.Reset();
    std::string out;
    std::size_t consumed = 0;
    for (std::size_t at = 0; at < text.size();) {
        const int error = iconv.Convert(text.data() + at, (text.size() - at) * 4, &consumed, &out);
        at += consumed / 4;
        if (error == 0) break;
        iconv.Convert(U"?", 4, &consumed, &out);
        ++at;
    }
    iconv.Convert(nullptr, 0, &consumed, &out);
    return out;
}

// The input offsets where a character ends in both decodings agree: iconv
// may take several characters at once (ISO-2022-JP's ESC), where it gives
// one end for all of them.
::testing::AssertionResult SameDecoding(const Decoded& expected, const Decoded& actual) {
    if (expected.text != actual.text) return ::testing::AssertionFailure() << "text differs";
    for (std::size_t i = 0; i < expected.ends.size(); ++i) {
        const bool last_of_step =
            i + 1 == expected.ends.size() || expected.ends[i + 1] != expected.ends[i];
        if (last_of_step && expected.ends[i] != actual.ends[i]) {
            return ::testing::AssertionFailure() << "character " << i << " ends elsewhere";
        }
    }
    return ::testing::AssertionSuccess();
}

// Single bytes and pairs cover every table entry but the longer sequences,
// which random text made of table bytes reaches.
void ExpectDecodingAsIconv(const char* name, bool multiByte, std::mt19937& random) {
    Iconv iconv(kUtf32, name);
    const std::string name_string = name;
    // iconv gives a letter that waits for a mark with the character after
    // it, and puts it after a byte it refuses: their text is compared where
    // no byte is refused. A single-byte charset needs its pairs only there.
    const bool composes = name_string == "WINDOWS-1255" || name_string == "WINDOWS-1258";
    std::vector<std::string> inputs;
    for (int first = 0; first < 256; ++first) {
        for (int second = composes ? 0 : -1; second < (multiByte || composes ? 256 : 0); ++second) {
            std::string bytes(1, static_cast<char>(first));
            if (second >= 0) bytes += static_cast<char>(second);
            inputs.push_back(bytes);
        }
    }
    const std::string alphabet = name_string == "GB18030"       ? "\x81\x82\x84\x90\xE3\xFE\x30\x39"
                                 : name_string == "EUC-JP"      ? "\x8F\x8E\xA1\xB0\xFE\x41"
                                 : name_string == "ISO-2022-JP" ? "\x1B$(BJ@\x21\x7E\x0A\x5C"
                                                                : "\x88\x62\xA4\xC1\x41";
    for (int i = 0; i < 3000; ++i) {
        std::string bytes(random() % 10 + 1, ' ');
        for (char& c : bytes) {
            c = random() % 4 == 0 ? static_cast<char>(random() % 256)
                                  : alphabet[random() % alphabet.size()];
        }
        inputs.push_back(bytes);
    }
    for (const std::string& bytes : inputs) {
        const Decoded actual = Decode(name, bytes);
        if (composes && std::any_of(actual.text.begin(), actual.text.end(),
                                    [](char32_t c) { return c >= kUndecodable; })) {
            continue;
        }
        const Decoded expected = IconvDecode(iconv, bytes);
        if (composes) {
            ASSERT_EQ(expected.text, actual.text) << name << ": " << testing::PrintToString(bytes);
        } else {
            ASSERT_TRUE(SameDecoding(expected, actual))
                << name << ": " << testing::PrintToString(bytes);
        }
    }
}

// Every character of the BMP, some beyond, and for ISO-2022-JP each after a
// character of each of its sets; then random text.
void ExpectEncodingAsIconv(const char* name, std::mt19937& random) {
    Iconv iconv(name, kUtf32);
    for (const char32_t before : {U'\0', U'\u00A5', U'\u3042'}) {
        for (char32_t code = 1; code < 0x110000; code += code < 0x10000 ? 1 : 97) {
            // iconv writes nothing for a tag character; here it is a
            // reference, like any other character the charset lacks.
            if ((code >= 0xD800 && code < 0xE000) || (code >= 0xE0000 && code < 0xE0080)) {
                continue;
            }
            const std::u32string text =
                before != 0 ? std::u32string{before, code} : std::u32string{code};
            ASSERT_EQ(Encode(name, text), IconvEncode(iconv, text))
                << name << ": U+" << std::hex << static_cast<unsigned>(code);
        }
        if (std::string(name) != "ISO-2022-JP") break;
    }
    const std::u32string alphabet =
        U"aA\\~\n\u00A5\u203E\u00CA\u00EA\u0304\u030C\u0300\u0301\u05E9\u05BC\u05C1\u20AC"
        U"\u3042\u65E5\uFF5E\u4E2D\uD55C\U00020000\U0001F600";
    for (int i = 0; i < 2000; ++i) {
        std::u32string text(random() % 8 + 1, U' ');
        for (char32_t& c : text) c = alphabet[random() % alphabet.size()];
        ASSERT_EQ(Encode(name, text), IconvEncode(iconv, text)) << name;
    }
}

TEST(CharsetIconvTest, EveryTableDecodesAndEncodesAsIconv) {
    std::mt19937 random(7);
    for (const auto* names : {&kSingleByte, &kMultiByte}) {
        for (const char* name : *names) {
            if (!Iconv(kUtf32, name).Ok()) GTEST_SKIP() << "iconv has no " << name;
            ExpectDecodingAsIconv(name, names == &kMultiByte, random);
            ExpectEncodingAsIconv(name, random);
            if (HasFatalFailure()) return;
        }
    }
}

#endif

}  // namespace
