#include "char_refs.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string_view>

#include "text/ascii.h"
#include "text/utf8.h"
#include "windows1252.h"

namespace htmlparse {

namespace {

struct NamedReference {
    const char* name;  // without "&"; ends in ";" unless it is a legacy name
    const char* utf8;
};

constexpr NamedReference kNamedReferences[] = {
#include "named_refs.inc"
};

// FindNamed searches the table by halves: a table edited out of order would
// make names unfindable, so the build refuses it.
static_assert(std::is_sorted(std::begin(kNamedReferences), std::end(kNamedReferences),
                             [](const NamedReference& a, const NamedReference& b) {
                                 return std::string_view(a.name) < std::string_view(b.name);
                             }),
              "named_refs.inc must stay sorted bytewise by name");

constexpr std::size_t kLongestName = 32;  // longest name in the table, ";" excluded
constexpr std::size_t kLongestLegacyName = 6;

int DigitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') return c - '0';
    if (!hex) return -1;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

const char* FindNamed(std::string_view name) {
    const NamedReference* first = std::begin(kNamedReferences);
    const NamedReference* last = std::end(kNamedReferences);
    const NamedReference* found =
        std::lower_bound(first, last, name, [](const NamedReference& entry, std::string_view key) {
            return std::string_view(entry.name) < key;
        });
    if (found != last && std::string_view(found->name) == name) return found->utf8;
    return nullptr;
}

std::size_t CopyUtf8(const char* utf8, char* out) {
    std::size_t length = std::strlen(utf8);
    std::copy_n(utf8, length, out);  // a piece of text: no terminator
    return length;
}

std::size_t DecodeNumeric(const char* source, const char* end, char* out, std::size_t* consumed) {
    const char* p = source + 2;  // after "&#"
    bool hex = p < end && (*p == 'x' || *p == 'X');
    if (hex) ++p;
    const char* digits = p;
    std::uint32_t value = 0;
    for (int digit; p < end && (digit = DigitValue(*p, hex)) >= 0; ++p) {
        value = std::min<std::uint32_t>(value * (hex ? 16 : 10) + digit, 0x110000);
    }
    if (p == digits) return 0;
    if (p < end && *p == ';') ++p;
    *consumed = static_cast<std::size_t>(p - source);
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return CopyUtf8(utf8::kReplacementBytes, out);
    }
    if (value >= 0x80 && value <= 0x9F)
        value = Windows1252CodePoint(static_cast<unsigned char>(value));
    return utf8::Encode(value, out);
}

std::size_t DecodeNamed(const char* source, const char* end, char* out, std::size_t* consumed) {
    const char* name = source + 1;
    std::size_t run = 0;
    while (name + run < end && run <= kLongestName && ascii::IsAlphanumeric(name[run])) ++run;
    if (run == 0) return 0;
    if (run <= kLongestName && name + run < end && name[run] == ';') {
        if (const char* utf8 = FindNamed({name, run + 1})) {
            *consumed = run + 2;
            return CopyUtf8(utf8, out);
        }
    }
    for (std::size_t length = std::min(run, kLongestLegacyName); length > 0; --length) {
        if (const char* utf8 = FindNamed({name, length})) {
            *consumed = length + 1;
            return CopyUtf8(utf8, out);
        }
    }
    return 0;
}

}  // namespace

std::size_t DecodeOneReference(const char* source, const char* end, char* out,
                               std::size_t* consumed) {
    if (end - source < 2) return 0;
    if (source[1] == '#') return DecodeNumeric(source, end, out, consumed);
    return DecodeNamed(source, end, out, consumed);
}

DecodedText DecodeReferences(char* begin, char* end, Arena& arena) {
    char* read = static_cast<char*>(std::memchr(begin, '&', static_cast<std::size_t>(end - begin)));
    if (read == nullptr) {
        *end = '\0';
        return {begin, static_cast<std::size_t>(end - begin)};
    }
    char* out = begin;  // start of the result
    char* write = read;
    bool in_place = true;
    while (read < end) {
        char* amp =
            static_cast<char*>(std::memchr(read, '&', static_cast<std::size_t>(end - read)));
        char* stop = amp == nullptr ? end : amp;
        std::memmove(write, read, static_cast<std::size_t>(stop - read));
        write += stop - read;
        read = stop;
        if (read == end) break;
        char decoded[8];
        std::size_t consumed = 0;
        std::size_t length = DecodeOneReference(read, end, decoded, &consumed);
        if (length == 0) {
            *write++ = *read++;
            continue;
        }
        if (in_place && write + length > read + consumed) {
            // Room of its own: every remaining source byte grows at most 6/5-fold.
            std::size_t done = static_cast<std::size_t>(write - out);
            std::size_t rest = static_cast<std::size_t>(end - read);
            auto* copy = static_cast<char*>(arena.Allocate(done + 2 * rest + 8));
            std::memcpy(copy, out, done);
            out = copy;
            write = copy + done;
            in_place = false;
        }
        std::memcpy(write, decoded, length);
        write += length;
        read += consumed;
    }
    *write = '\0';
    return {out, static_cast<std::size_t>(write - out)};
}

}  // namespace htmlparse
