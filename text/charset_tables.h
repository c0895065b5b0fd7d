// Charset tables: how each charset a page may be in decodes and encodes, as
// glibc's iconv does it. tools/gen_charset_tables.cpp generates them into
// charset_tables.inc; only the charset module (charset.h) reads them.
//
// Decoding walks a tree of nodes from the root of the current state (one
// state, except ISO-2022-JP's three). A node holds one entry for each byte
// in [first, first + count), in the shared pool; a byte outside is invalid.
// An entry is a code point, or one of the markers below. A sequence that
// ends in a node, or is cut short by the end of the text, is invalid, and so
// is every byte sequence iconv refused: its first byte cannot be decoded.
//
// Encoding inverts the decoding tree: a code point is written as the first
// byte sequence, in byte order, that decodes to it alone, else as the
// four-byte form its GB18030 range gives. Overrides record where iconv
// chose otherwise, and the code points it cannot write.
#pragma once

#include <cstdint>

namespace charset::tables {

// Markers of a decoding entry: any other entry is the code point itself.
inline constexpr std::uint16_t kInvalid = 0xFFFF;     // the first byte cannot be decoded
inline constexpr std::uint16_t kSupplement = 0xFFFE;  // the code points are in the supplements
inline constexpr std::uint16_t kChild = 0xD800;       // | node index: the sequence goes on
inline constexpr std::uint16_t kChildMask = 0xFC00;
inline constexpr std::uint16_t kEscape = 0xDC00;    // ISO-2022-JP's ESC, decoded in code
inline constexpr std::uint16_t kFourByte = 0xDFFF;  // GB18030's four-byte form, by ranges

// A range of one of the arrays below.
struct Span {
    std::uint32_t begin;
    std::uint32_t count;
};

struct DecodeNode {
    std::uint16_t first;   // the first byte with an entry
    std::uint16_t count;   // how many bytes have one
    std::uint32_t offset;  // where the entries start in the pool
};

// The code points of an entry that is not one BMP character: a character
// past U+FFFF, or two code points (BIG5-HKSCS).
struct DecodeSupplement {
    std::uint32_t key;  // node index << 8 | byte
    char32_t first;
    char32_t second;  // 0 when there is only one
};

// A pending character (one of the buffered) followed by a combining mark
// decodes as one composed character, which may stay pending in turn.
struct Composition {
    char32_t base;
    char32_t mark;
    char32_t composed;
    bool buffered;  // the composed character may combine further
};

// GB18030 four-byte sequences by their linear index: `length` sequences from
// `index` decode to the code points from `code`.
struct FourByteRange {
    std::uint32_t index;
    char32_t code;
    std::uint32_t length;
};

struct EncodedBytes {
    std::uint8_t length;  // 0: the character cannot be written
    std::uint8_t bytes[4];
};

struct EncodeOverride {
    char32_t code;
    EncodedBytes encoded;
};

// A character followed by a combining mark that is written as one sequence.
struct EncodeComposition {
    char32_t base;
    char32_t mark;
    EncodedBytes encoded;
};

struct CharsetTables {
    const char* name;  // the name the encoding labels resolve to
    Span nodes;
    std::uint16_t roots[3];  // the root node of each state
    Span supplements;        // sorted by key
    Span buffered;           // sorted code points that wait for a combining mark
    Span compositions;       // sorted by base, then mark
    Span four_byte_ranges;   // sorted by index
    Span overrides;          // sorted by code point
    Span encode_compositions;
};

// Every charset, and the arrays its spans index.
struct AllTables {
    const CharsetTables* charsets;
    std::uint32_t charset_count;
    const std::uint16_t* pool;
    const DecodeNode* nodes;
    const DecodeSupplement* supplements;
    const char32_t* buffered;
    const Composition* compositions;
    const FourByteRange* four_byte_ranges;
    const EncodeOverride* overrides;
    const EncodeComposition* encode_compositions;
};

const AllTables& Tables();

}  // namespace charset::tables
