#include "input_facts.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "fact_counter.h"
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

}  // namespace

InputPlan ScanInput(RawSource& source) {
    InputPlan plan;
    PageFacts& facts = plan.facts;
    const std::unique_ptr<char[]> piece(new char[kPieceSize]);
    std::size_t size = source.Read(piece.get(), kPieceSize);
    PlanFromStart(piece.get(), size, plan);
    if (facts.encoding_source != HTML_ENCODING_SNIFFED) {
        source.PutBack(piece.get(), size);
        return plan;
    }
    FactCounter counter(nullptr);  // a sniffed page is never UTF-16
    Utf8Checker utf8;
    while (size > 0) {
        counter.Bytes(piece.get(), size);
        utf8.Bytes(piece.get(), size);
        size = source.Read(piece.get(), kPieceSize);
    }
    counter.Finish(facts);
    plan.facts_counted = true;
    if (!utf8.Valid()) {
        CopyName("windows-1252", facts.encoding);
        plan.transcode = true;
    }
    source.Rewind();
    return plan;
}

}  // namespace htmlparse
