#include "fact_counter.h"

#include "input_facts.h"
#include "text/utf8.h"

namespace htmlparse {

FactCounter::FactCounter(const bool* utf16_big_endian) {
    if (utf16_big_endian == nullptr) return;
    utf16_ = true;
    big_endian_ = *utf16_big_endian;
}

void FactCounter::Bytes(const char* data, std::size_t size, bool text) {
    if (ascii_only_) ascii_only_ = utf8::ScanBytes({data, size}).ascii_only;
    if (!text) return;
    if (utf16_) {
        Utf16Bytes(data, size);
    } else {
        line_ends_.Bytes(data, size);
    }
}

void FactCounter::Finish(PageFacts& facts) {
    facts.ascii_only = ascii_only_;
    facts.line_ends = line_ends_.Finish();
    const lineends::Form form = lineends::MostCommon(facts.line_ends);
    facts.crlf = form == lineends::Form::kCrLf;
    facts.cr = form == lineends::Form::kCr;
}

void FactCounter::Utf16Bytes(const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        if (!has_first_byte_) {
            first_byte_ = byte;
            has_first_byte_ = true;
            continue;
        }
        has_first_byte_ = false;
        line_ends_.Unit(big_endian_ ? (first_byte_ << 8) | byte : (byte << 8) | first_byte_);
    }
}

}  // namespace htmlparse
