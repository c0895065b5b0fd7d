#include "input_facts.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "meta_prescan.h"
#include "text/utf8.h"

namespace htmlparse {

namespace {

constexpr std::size_t kPieceSize = std::size_t{1} << 16;

bool StartsWith(const char* data, std::size_t size, const char* prefix, std::size_t length) {
    return size >= length && std::memcmp(data, prefix, length) == 0;
}

template <std::size_t N>
void CopyName(const char* name, char (&out)[N]) {
    std::strncpy(out, name, N - 1);
    out[N - 1] = '\0';
}

// Eight bytes at a time: a page is mostly ASCII.
bool AllAscii(const char* data, std::size_t size) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    std::uint64_t any = 0;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, data + i, sizeof word);
        any |= word;
    }
    for (; i < size; ++i) any |= static_cast<unsigned char>(data[i]);
    return (any & kHighBits) == 0;
}

// Lines are tens of bytes long: a search per line beats a look at every byte.
std::size_t CountLineFeeds(const char* data, std::size_t size) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < size; ++count) {
        const void* found = std::memchr(data + at, '\n', size - at);
        if (found == nullptr) break;
        at = static_cast<std::size_t>(static_cast<const char*>(found) - data) + 1;
    }
    return count;
}

// Counts the line ends of the page's text, unit by unit, across pieces.
class LineEndCounter {
  public:
    void Unit(char32_t unit) {
        if (after_cr_) {
            after_cr_ = false;
            if (unit == '\n') {
                ++crlf_;
                return;
            }
            ++cr_;
        }
        if (unit == '\n') ++lf_;
        if (unit == '\r') after_cr_ = true;
    }

    // A piece of an ASCII-compatible page, where CR and LF are bytes.
    void Bytes(const char* data, std::size_t size) {
        if (!after_cr_ && std::memchr(data, '\r', size) == nullptr) {
            lf_ += CountLineFeeds(data, size);
            return;
        }
        for (std::size_t i = 0; i < size; ++i) Unit(static_cast<unsigned char>(data[i]));
    }

    // Sets the style of `facts`: the most common form, CRLF kept for a page
    // mostly in CRLF.
    void Finish(PageFacts& facts) {
        if (after_cr_) ++cr_;
        after_cr_ = false;
        facts.cr = cr_ > lf_ && cr_ > crlf_;
        facts.crlf = !facts.cr && crlf_ > 0 && crlf_ >= lf_ + cr_;
    }

  private:
    std::size_t lf_ = 0;  // LF not after CR
    std::size_t crlf_ = 0;
    std::size_t cr_ = 0;  // CR not before LF
    bool after_cr_ = false;
};

// Checks UTF-8 across pieces: a character cut by the end of a piece is
// checked with the next.
class Utf8Checker {
  public:
    void Bytes(const char* data, std::size_t size) {
        if (!valid_) return;
        std::size_t at = 0;
        if (!held_.empty()) at = CompleteHeld(data, size);
        if (!valid_ || at >= size) return;
        const std::size_t cut = CutPoint(data + at, size - at);
        valid_ = utf8::ScanBytes({data + at, cut}).valid;
        held_.assign(data + at + cut, size - at - cut);
    }

    bool Valid() const { return valid_ && held_.empty(); }

  private:
    // Where the last, cut-short character of `data` starts; `size` when none is.
    static std::size_t CutPoint(const char* data, std::size_t size) {
        const std::size_t back = std::min<std::size_t>(size, 3);
        for (std::size_t start = size - back; start < size; ++start) {
            if (utf8::IsIncomplete({data + start, size - start})) return start;
        }
        return size;
    }

    // Adds bytes of `data` to the held start of a character until it is
    // whole; returns how many were taken.
    std::size_t CompleteHeld(const char* data, std::size_t size) {
        std::size_t taken = 0;
        while (taken < size && utf8::IsIncomplete(held_)) held_ += data[taken++];
        if (utf8::IsIncomplete(held_)) return taken;
        char32_t code_point = 0;
        valid_ = utf8::Decode(held_, code_point) == held_.size();
        held_.clear();
        return taken;
    }

    bool valid_ = true;
    std::string held_;
};

// The encoding from the page's start: a byte-order mark or a declaration.
void PlanFromStart(const char* data, std::size_t size, InputPlan& plan) {
    PageFacts& facts = plan.facts;
    if (StartsWith(data, size, "\xEF\xBB\xBF", 3)) {
        facts.has_bom = true;
        facts.encoding_source = HTML_ENCODING_BOM;
        plan.text_start = 3;
    } else if (StartsWith(data, size, "\xFE\xFF", 2) || StartsWith(data, size, "\xFF\xFE", 2)) {
        facts.has_bom = true;
        facts.encoding_source = HTML_ENCODING_BOM;
        CopyName(data[0] == '\xFE' ? "UTF-16BE" : "UTF-16LE", facts.encoding);
        plan.text_start = 2;
        plan.transcode = true;
    } else if (FindDeclaredEncoding(data, size, facts.encoding, sizeof facts.encoding)) {
        facts.encoding_source = HTML_ENCODING_DECLARED;
        plan.transcode = std::strcmp(facts.encoding, "UTF-8") != 0;
    }
}

bool IsUtf16(const PageFacts& facts) { return std::strncmp(facts.encoding, "UTF-16", 6) == 0; }

// Encodings whose ASCII-only text still needs decoding.
bool NeedsDecodingEvenForAscii(const PageFacts& facts) {
    return IsUtf16(facts) || std::strncmp(facts.encoding, "ISO-2022", 8) == 0;
}

// Counts the line ends of a UTF-16 page's text, across pieces.
class Utf16LineEnds {
  public:
    Utf16LineEnds(bool big_endian, std::size_t skip) : big_endian_(big_endian), skip_(skip) {}

    void Bytes(const char* data, std::size_t size, LineEndCounter& counter) {
        for (std::size_t i = 0; i < size; ++i) {
            if (skip_ > 0) {
                --skip_;
                continue;
            }
            const auto byte = static_cast<unsigned char>(data[i]);
            if (!has_first_) {
                first_ = byte;
                has_first_ = true;
                continue;
            }
            has_first_ = false;
            counter.Unit(big_endian_ ? (first_ << 8) | byte : (byte << 8) | first_);
        }
    }

  private:
    bool big_endian_;
    std::size_t skip_;  // the byte-order mark
    unsigned first_ = 0;
    bool has_first_ = false;
};

}  // namespace

InputPlan ScanInput(RawSource& source) {
    InputPlan plan;
    PageFacts& facts = plan.facts;
    const std::unique_ptr<char[]> piece(new char[kPieceSize]);
    std::size_t size = source.Read(piece.get(), kPieceSize);
    PlanFromStart(piece.get(), size, plan);
    const bool sniff = facts.encoding_source == HTML_ENCODING_SNIFFED;
    const bool utf16 = IsUtf16(facts);
    LineEndCounter line_ends;
    Utf8Checker utf8;
    Utf16LineEnds utf16_line_ends(std::strcmp(facts.encoding, "UTF-16BE") == 0, plan.text_start);
    for (bool first = true; size > 0; first = false) {
        const char* data = piece.get();
        if (facts.ascii_only) facts.ascii_only = AllAscii(data, size);
        if (sniff) utf8.Bytes(data, size);
        if (utf16) {
            utf16_line_ends.Bytes(data, size, line_ends);
        } else {
            const std::size_t skip = first ? plan.text_start : 0;
            line_ends.Bytes(data + skip, size - skip);
        }
        size = source.Read(piece.get(), kPieceSize);
    }
    line_ends.Finish(facts);
    if (sniff && !utf8.Valid()) {
        CopyName("windows-1252", facts.encoding);
        plan.transcode = true;
    }
    if (facts.ascii_only && !NeedsDecodingEvenForAscii(facts)) plan.transcode = false;
    return plan;
}

}  // namespace htmlparse
