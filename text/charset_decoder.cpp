#include <algorithm>
#include <utility>

#include "text/charset.h"
#include "text/charset_tables.h"

namespace charset {

namespace {

using namespace tables;

constexpr unsigned char kEsc = 0x1B;

// The entry of `byte` in node `node` (an index into the charset's nodes).
std::uint16_t EntryOf(const Charset& charset, unsigned node, unsigned char byte) {
    const AllTables& all = Tables();
    const DecodeNode& n = all.nodes[charset.nodes.begin + node];
    if (byte < n.first || byte >= n.first + n.count) return kInvalid;
    return all.pool[n.offset + byte - n.first];
}

template <typename T>
const T* Begin(const T* array, Span span) {
    return array + span.begin;
}

template <typename T>
const T* End(const T* array, Span span) {
    return array + span.begin + span.count;
}

}  // namespace

Decoder::Decoder(const Charset& charset, std::string_view bytes, unsigned shift_state)
    : charset_(charset), bytes_(bytes), state_(shift_state) {}

bool Decoder::Next(Piece& piece) {
    while (at_ < bytes_.size()) {
        const Step step = DecodeAt(at_);
        if (pending_ != 0) {
            bool still_pending = false;
            if (step.length != 0 && step.count == 1 && Compose(step.code[0], still_pending)) {
                at_ += step.length;
                pending_end_ = at_;
                if (still_pending) continue;
            }
            piece = {pending_end_, 1, {pending_, 0}, false};
            pending_ = 0;
            return true;
        }
        if (step.length == 0) {
            ++at_;
            piece = {at_, 0, {0, 0}, true};
            return true;
        }
        at_ += step.length;
        if (step.count == 1 && IsBuffered(step.code[0])) {
            pending_ = step.code[0];
            pending_end_ = at_;
            continue;
        }
        piece = {at_, step.count, {step.code[0], step.code[1]}, false};
        return true;
    }
    if (pending_ == 0) return false;
    piece = {pending_end_, 1, {pending_, 0}, false};
    pending_ = 0;
    return true;
}

// Composes the pending character with `mark`, setting whether the result may
// compose further; false when the two do not compose.
bool Decoder::Compose(char32_t mark, bool& still_pending) {
    const AllTables& all = Tables();
    const Composition* begin = Begin(all.compositions, charset_.compositions);
    const Composition* end = End(all.compositions, charset_.compositions);
    const std::pair key{pending_, mark};
    const Composition* found =
        std::lower_bound(begin, end, key, [](const Composition& c, const auto& k) {
            return c.base != k.first ? c.base < k.first : c.mark < k.second;
        });
    if (found == end || found->base != pending_ || found->mark != mark) return false;
    pending_ = found->composed;
    still_pending = found->buffered;
    return true;
}

bool Decoder::IsBuffered(char32_t code) const {
    const AllTables& all = Tables();
    return std::binary_search(Begin(all.buffered, charset_.buffered),
                              End(all.buffered, charset_.buffered), code);
}

Decoder::Step Decoder::DecodeAt(std::size_t at) {
    unsigned node = charset_.roots[state_];
    for (std::size_t pos = at; pos < bytes_.size();) {
        const auto byte = static_cast<unsigned char>(bytes_[pos++]);
        const std::uint16_t entry = EntryOf(charset_, node, byte);
        if (entry == kInvalid) break;
        if ((entry & kChildMask) == kChild) {
            node = entry & ~kChildMask;
            continue;
        }
        if (entry == kEscape) return DecodeEscape(at);
        if (entry == kFourByte) return DecodeFourByte(at, pos);
        if (entry == kSupplement) return DecodeWithSupplement(node, byte, pos - at);
        return {pos - at, 1, {entry, 0}};
    }
    return {0, 0, {0, 0}};
}

// ISO-2022-JP's ESC: an escape sequence switches the state; any other ESC
// with two bytes after it is the control character.
Decoder::Step Decoder::DecodeEscape(std::size_t at) {
    const std::string_view rest = bytes_.substr(at + 1);
    if (rest.size() < 2) return {0, 0, {0, 0}};
    const std::string_view two = rest.substr(0, 2);
    unsigned state = 0;
    if (two == "(B") {
        state = 0;
    } else if (two == "(J") {
        state = 1;
    } else if (two == "$@" || two == "$B") {
        state = 2;
    } else {
        return {1, 1, {kEsc, 0}};
    }
    state_ = state;
    return {3, 0, {0, 0}};
}

// GB18030's four-byte form: a lead byte and a digit (at `third` - 2), then
// 0x81 to 0xFE and a digit.
Decoder::Step Decoder::DecodeFourByte(std::size_t at, std::size_t third) const {
    if (third + 2 > bytes_.size()) return {0, 0, {0, 0}};
    const auto byte = [this](std::size_t i) { return static_cast<unsigned char>(bytes_[i]); };
    if (byte(third) < 0x81 || byte(third) > 0xFE || byte(third + 1) < '0' ||
        byte(third + 1) > '9') {
        return {0, 0, {0, 0}};
    }
    const std::uint32_t index =
        (((byte(at) - 0x81u) * 10 + (byte(at + 1) - '0')) * 126 + (byte(third) - 0x81u)) * 10 +
        (byte(third + 1) - '0');
    const AllTables& all = Tables();
    const FourByteRange* begin = Begin(all.four_byte_ranges, charset_.four_byte_ranges);
    const FourByteRange* end = End(all.four_byte_ranges, charset_.four_byte_ranges);
    const FourByteRange* after = std::upper_bound(
        begin, end, index, [](std::uint32_t i, const FourByteRange& r) { return i < r.index; });
    if (after == begin) return {0, 0, {0, 0}};
    const FourByteRange& range = after[-1];
    if (index >= range.index + range.length) return {0, 0, {0, 0}};
    return {4, 1, {range.code + (index - range.index), 0}};
}

Decoder::Step Decoder::DecodeWithSupplement(unsigned node, unsigned char byte,
                                            std::size_t length) const {
    const AllTables& all = Tables();
    const DecodeSupplement* begin = Begin(all.supplements, charset_.supplements);
    const DecodeSupplement* end = End(all.supplements, charset_.supplements);
    const std::uint32_t key = node << 8 | byte;
    const DecodeSupplement* found = std::lower_bound(
        begin, end, key, [](const DecodeSupplement& s, std::uint32_t k) { return s.key < k; });
    if (found == end || found->key != key) return {0, 0, {0, 0}};
    return {length, found->second != 0 ? 2u : 1u, {found->first, found->second}};
}

}  // namespace charset
