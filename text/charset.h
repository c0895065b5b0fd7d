// Charsets: the legacy encodings a page may be in (the single-byte ones,
// Shift_JIS, EUC-JP, ISO-2022-JP, GBK, GB18030, EUC-KR, Big5-HKSCS), decoded
// and encoded by the program's own tables (charset_tables.h), so that every
// system reads and writes a page alike. The parser decodes pages with it; the
// page writer encodes the text it puts into them.
//
// Decoding goes one character at a time, so that the bytes of each character
// are known. A byte sequence the charset cannot decode gives up its first
// byte only, and decoding goes on with the next. WINDOWS-1255 and
// WINDOWS-1258 compose a letter and the combining marks after it into one
// character where Unicode has one, so a letter waits for what follows it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace charset {

namespace tables {
struct CharsetTables;
}

using Charset = tables::CharsetTables;

// The charset of that name, letter case ignored: a name the encoding labels
// resolve to ("SHIFT_JIS" is not one, "CP932" is), or ISO-8859-1. Null for
// any other name.
const Charset* Find(std::string_view name);

// One step of decoding: the code points of the bytes up to `end`.
struct Piece {
    std::size_t end;    // the input offset just after the piece's bytes
    std::size_t count;  // 0 to 2 code points; 0 for an escape sequence
    char32_t code[2];
    bool undecodable;  // the piece is one byte, end - 1, that cannot be decoded
};

class Decoder {
  public:
    // Decodes `bytes`, which must outlive the decoder, starting in
    // `shift_state` (ISO-2022-JP's; 0, ASCII, for every other charset): a
    // text decoded in parts goes on in the state of the last piece taken
    // from the part before (ShiftState).
    Decoder(const Charset& charset, std::string_view bytes, unsigned shift_state = 0);

    // Sets `piece` to the next piece of the text; false after the last.
    // Pieces come in order and together cover every byte.
    bool Next(Piece& piece);

    // The shift state after the pieces returned so far.
    unsigned ShiftState() const { return state_; }

  private:
    struct Step {
        std::size_t length;  // 0: the first byte cannot be decoded
        std::size_t count;
        char32_t code[2];
    };
    Step DecodeAt(std::size_t at);
    Step DecodeEscape(std::size_t at);
    Step DecodeFourByte(std::size_t at, std::size_t third) const;
    Step DecodeWithSupplement(unsigned node, unsigned char byte, std::size_t length) const;
    bool IsBuffered(char32_t code) const;
    bool Compose(char32_t mark, bool& still_pending);

    const Charset& charset_;
    std::string_view bytes_;
    std::size_t at_ = 0;
    unsigned state_ = 0;    // ISO-2022-JP: ASCII, JIS X 0201 Roman or JIS X 0208
    char32_t pending_ = 0;  // a character that waits for a combining mark
    std::size_t pending_end_ = 0;
};

class Encoder {
  public:
    explicit Encoder(const Charset& charset);

    // Appends the bytes of `code` to `out`; false, writing nothing of
    // `code`, when the charset cannot hold it. A character that may compose
    // with the next is held back until then.
    bool Put(char32_t code, std::string& out);

    // Writes what is held back and returns ISO-2022-JP to ASCII.
    void Finish(std::string& out);

  private:
    bool PutOne(char32_t code, std::string& out);
    bool PutIso2022Jp(char32_t code, std::string& out);
    void SwitchTo(unsigned state, std::string& out);

    const Charset& charset_;
    bool iso2022jp_;
    unsigned state_ = 0;
    char32_t pending_ = 0;
};

}  // namespace charset
