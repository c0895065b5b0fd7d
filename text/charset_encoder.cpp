#include <algorithm>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "text/charset.h"
#include "text/charset_tables.h"

namespace charset {

namespace {

using namespace tables;

struct Encoding {
    char32_t code;
    EncodedBytes encoded;
};

// The inverse of a charset's decoding tree: each code point with the first
// byte sequence, in byte order, that decodes to it alone; sorted by code point.
class Inverse {
  public:
    explicit Inverse(const Charset& charset) : charset_(charset) {
        EncodedBytes prefix{};
        Walk(charset.roots[0], prefix);
        std::stable_sort(entries_.begin(), entries_.end(),
                         [](const Encoding& a, const Encoding& b) { return a.code < b.code; });
        entries_.erase(
            std::unique(entries_.begin(), entries_.end(),
                        [](const Encoding& a, const Encoding& b) { return a.code == b.code; }),
            entries_.end());
    }

    const EncodedBytes* Find(char32_t code) const {
        const auto found =
            std::lower_bound(entries_.begin(), entries_.end(), code,
                             [](const Encoding& e, char32_t c) { return e.code < c; });
        return found != entries_.end() && found->code == code ? &found->encoded : nullptr;
    }

  private:
    void Walk(unsigned node, EncodedBytes prefix) {
        const AllTables& all = Tables();
        const DecodeNode& n = all.nodes[charset_.nodes.begin + node];
        ++prefix.length;
        for (unsigned i = 0; i < n.count; ++i) {
            const std::uint16_t entry = all.pool[n.offset + i];
            prefix.bytes[prefix.length - 1] = static_cast<std::uint8_t>(n.first + i);
            if ((entry & kChildMask) == kChild) {
                Walk(entry & ~kChildMask, prefix);
            } else if (entry == kSupplement) {
                AddSupplement(node << 8 | (n.first + i), prefix);
            } else if (entry != kInvalid && entry != kEscape && entry != kFourByte) {
                entries_.push_back({entry, prefix});
            }
        }
    }

    void AddSupplement(std::uint32_t key, const EncodedBytes& bytes) {
        const AllTables& all = Tables();
        const DecodeSupplement* begin = all.supplements + charset_.supplements.begin;
        const DecodeSupplement* end = begin + charset_.supplements.count;
        const DecodeSupplement* found =
            std::find_if(begin, end, [key](const DecodeSupplement& s) { return s.key == key; });
        if (found != end && found->second == 0) entries_.push_back({found->first, bytes});
    }

    const Charset& charset_;
    std::vector<Encoding> entries_;
};

// The inverse of `charset`, built when first asked for.
const Inverse& InverseOf(const Charset& charset) {
    const AllTables& all = Tables();
    static std::vector<std::once_flag> once(all.charset_count);
    static std::vector<std::unique_ptr<const Inverse>> inverses(all.charset_count);
    const auto index = static_cast<std::size_t>(&charset - all.charsets);
    std::call_once(once[index],
                   [&] { inverses[index] = std::make_unique<const Inverse>(charset); });
    return *inverses[index];
}

// GB18030's four-byte form of `code`, from the first range that holds it.
bool FourByteOf(const Charset& charset, char32_t code, EncodedBytes& encoded) {
    const AllTables& all = Tables();
    const FourByteRange* begin = all.four_byte_ranges + charset.four_byte_ranges.begin;
    const FourByteRange* end = begin + charset.four_byte_ranges.count;
    const FourByteRange* found = std::find_if(begin, end, [code](const FourByteRange& r) {
        return code >= r.code && code - r.code < r.length;
    });
    if (found == end) return false;
    std::uint32_t index = found->index + (code - found->code);
    encoded.length = 4;
    encoded.bytes[3] = static_cast<std::uint8_t>('0' + index % 10);
    index /= 10;
    encoded.bytes[2] = static_cast<std::uint8_t>(0x81 + index % 126);
    index /= 126;
    encoded.bytes[1] = static_cast<std::uint8_t>('0' + index % 10);
    encoded.bytes[0] = static_cast<std::uint8_t>(0x81 + index / 10);
    return true;
}

// The bytes of `code` in a charset without shift states; length 0 when it
// cannot hold it.
EncodedBytes Lookup(const Charset& charset, char32_t code) {
    const AllTables& all = Tables();
    const EncodeOverride* begin = all.overrides + charset.overrides.begin;
    const EncodeOverride* end = begin + charset.overrides.count;
    const EncodeOverride* override = std::lower_bound(
        begin, end, code, [](const EncodeOverride& o, char32_t c) { return o.code < c; });
    if (override != end && override->code == code) return override->encoded;
    if (const EncodedBytes* found = InverseOf(charset).Find(code)) return *found;
    EncodedBytes encoded{};
    FourByteOf(charset, code, encoded);
    return encoded;
}

void Append(const EncodedBytes& encoded, std::string& out) {
    out.append(reinterpret_cast<const char*>(encoded.bytes), encoded.length);
}

// The two bytes (each 0x21 to 0x7E) of `code` in JIS X 0208, as EUC-JP
// writes it with the high bits set; 0 when JIS X 0208 lacks it.
unsigned Jisx0208Of(char32_t code) {
    static const Charset* const euc_jp = Find("EUC-JP");
    const EncodedBytes encoded = Lookup(*euc_jp, code);
    if (encoded.length != 2 || encoded.bytes[0] < 0xA1) return 0;
    return (encoded.bytes[0] & 0x7Fu) << 8 | (encoded.bytes[1] & 0x7Fu);
}

// The byte of `code` in JIS X 0201 Roman, the printable ASCII but for the yen
// sign and the overline in place of backslash and tilde; 0 when it has none.
unsigned RomanOf(char32_t code) {
    if (code == 0xA5) return 0x5C;
    if (code == 0x203E) return 0x7E;
    return code > 0x20 && code < 0x7F && code != 0x5C && code != 0x7E ? code : 0;
}

enum Iso2022JpState : unsigned { kAscii = 0, kRoman = 1, kJisx0208 = 2 };

std::span<const EncodeComposition> CompositionsOf(const Charset& charset) {
    return {Tables().encode_compositions + charset.encode_compositions.begin,
            charset.encode_compositions.count};
}

// The sequence `base` and `mark` are written as together; null when none.
const EncodeComposition* FindComposition(const Charset& charset, char32_t base, char32_t mark) {
    for (const EncodeComposition& c : CompositionsOf(charset)) {
        if (c.base == base && c.mark == mark) return &c;
    }
    return nullptr;
}

// True when `code` may be written together with a mark after it.
bool StartsComposition(const Charset& charset, char32_t code) {
    const std::span<const EncodeComposition> all = CompositionsOf(charset);
    return std::any_of(all.begin(), all.end(),
                       [code](const EncodeComposition& c) { return c.base == code; });
}

}  // namespace

Encoder::Encoder(const Charset& charset)
    : charset_(charset), iso2022jp_(&charset == Find("ISO-2022-JP")) {}

bool Encoder::Put(char32_t code, std::string& out) {
    if (pending_ != 0) {
        const char32_t base = pending_;
        pending_ = 0;
        if (const EncodeComposition* composed = FindComposition(charset_, base, code)) {
            Append(composed->encoded, out);
            return true;
        }
        PutOne(base, out);
    }
    if (StartsComposition(charset_, code)) {
        pending_ = code;
        return true;
    }
    return PutOne(code, out);
}

void Encoder::Finish(std::string& out) {
    if (pending_ != 0) PutOne(pending_, out);
    pending_ = 0;
    if (iso2022jp_) SwitchTo(kAscii, out);
}

bool Encoder::PutOne(char32_t code, std::string& out) {
    if (iso2022jp_) return PutIso2022Jp(code, out);
    const EncodedBytes encoded = Lookup(charset_, code);
    Append(encoded, out);
    return encoded.length != 0;
}

// Writes `code` in the current character set when it holds it, else in the
// first of ASCII, JIS X 0201 Roman and JIS X 0208 that does.
bool Encoder::PutIso2022Jp(char32_t code, std::string& out) {
    const unsigned roman = RomanOf(code);
    const unsigned jis = code < 0x80 ? 0 : Jisx0208Of(code);
    unsigned state = state_;
    if (!(state == kAscii && code < 0x80) && !(state == kRoman && roman != 0) &&
        !(state == kJisx0208 && jis != 0)) {
        if (code < 0x80) {
            state = kAscii;
        } else if (roman != 0) {
            state = kRoman;
        } else if (jis != 0) {
            state = kJisx0208;
        } else {
            return false;
        }
    }
    SwitchTo(state, out);
    if (state == kAscii) {
        out += static_cast<char>(code);
    } else if (state == kRoman) {
        out += static_cast<char>(roman);
    } else {
        out += static_cast<char>(jis >> 8);
        out += static_cast<char>(jis & 0xFF);
    }
    return true;
}

void Encoder::SwitchTo(unsigned state, std::string& out) {
    if (state == state_) return;
    static constexpr const char* kEscapes[] = {"\x1B(B", "\x1B(J", "\x1B$B"};
    out += kEscapes[state];
    state_ = state;
}

}  // namespace charset
