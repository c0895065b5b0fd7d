// Writes text/charset_tables.inc: how glibc's iconv decodes and encodes every
// charset a page may be in, as compact tables (text/charset_tables.h says how
// they are laid out). Run by hand on a glibc system when the charset list
// changes; the output is checked in:
//
//   g++ -std=c++20 -O2 -o /tmp/gen_charset_tables text/tools/gen_charset_tables.cpp
//   /tmp/gen_charset_tables > /tmp/charset_tables.inc && mv /tmp/charset_tables.inc text/
//
// Decoding is explored as the parser used iconv: one character at a time,
// the input given one byte more while iconv calls it incomplete. Every byte
// sequence is tried, so a byte sequence the tables call invalid is one iconv
// refused. Encoding is tried for every code point; the tables keep only where
// iconv's choice differs from the first byte sequence that decodes to it.
// What is not a table is checked here and left to code: ISO-2022-JP's ESC
// and GB18030's four-byte form, whose mapping is kept as ranges. The run
// fails, writing nothing, where iconv does what the tables cannot express.
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

void Fail(const std::string& what) {
    std::fprintf(stderr, "gen_charset_tables: %s\n", what.c_str());
    std::exit(1);
}

// Markers of a decoding entry; everything else is a code point.
constexpr std::uint16_t kInvalid = 0xFFFF;
constexpr std::uint16_t kSupplement = 0xFFFE;
constexpr std::uint16_t kChild = 0xD800;   // | node index, below 0x400
constexpr std::uint16_t kEscape = 0xDC00;  // the stateful charset's ESC, decoded by rule
constexpr std::uint16_t kFourByte = 0xDFFF;

struct Charset {
    const char* name;
    std::vector<std::string> state_escapes;  // stateful: the escape that selects each state
};

const Charset kCharsets[] = {
    {"IBM866", {}},       {"ISO-8859-1", {}},   {"ISO-8859-2", {}},
    {"ISO-8859-3", {}},   {"ISO-8859-4", {}},   {"ISO-8859-5", {}},
    {"ISO-8859-6", {}},   {"ISO-8859-7", {}},   {"ISO-8859-8", {}},
    {"ISO-8859-10", {}},  {"ISO-8859-13", {}},  {"ISO-8859-14", {}},
    {"ISO-8859-15", {}},  {"ISO-8859-16", {}},  {"KOI8-R", {}},
    {"KOI8-U", {}},       {"MACINTOSH", {}},    {"WINDOWS-874", {}},
    {"WINDOWS-1250", {}}, {"WINDOWS-1251", {}}, {"windows-1252", {}},
    {"WINDOWS-1253", {}}, {"WINDOWS-1254", {}}, {"WINDOWS-1255", {}},
    {"WINDOWS-1256", {}}, {"WINDOWS-1257", {}}, {"WINDOWS-1258", {}},
    {"MAC-CYRILLIC", {}}, {"GBK", {}},          {"GB18030", {}},
    {"BIG5-HKSCS", {}},   {"EUC-JP", {}},       {"ISO-2022-JP", {"\x1b(B", "\x1b(J", "\x1b$B"}},
    {"CP932", {}},        {"CP949", {}},
};

class Iconv {
  public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) Fail(std::string("no converter for ") + from);
    }
    ~Iconv() { iconv_close(cd_); }

    void Reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

    // Converts `in`; returns 0 or the errno, sets how much was consumed and
    // what came out.
    int Convert(const std::string& in, std::size_t* consumed, std::string* out) {
        char* from = const_cast<char*>(in.data());
        std::size_t left = in.size();
        char buffer[256];
        char* w = buffer;
        std::size_t room = sizeof buffer;
        const std::size_t result = iconv(cd_, &from, &left, &w, &room);
        const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
        *consumed = in.size() - left;
        out->assign(buffer, static_cast<std::size_t>(w - buffer));
        return error;
    }

    std::string Flush() {
        char buffer[64];
        char* w = buffer;
        std::size_t room = sizeof buffer;
        iconv(cd_, nullptr, nullptr, &w, &room);
        return std::string(buffer, static_cast<std::size_t>(w - buffer));
    }

  private:
    iconv_t cd_;
};

std::u32string FromUtf32(const std::string& bytes) {
    std::u32string out;
    for (std::size_t i = 0; i + 3 < bytes.size(); i += 4) {
        out += static_cast<char32_t>(static_cast<unsigned char>(bytes[i]) |
                                     static_cast<unsigned char>(bytes[i + 1]) << 8 |
                                     static_cast<unsigned char>(bytes[i + 2]) << 16 |
                                     static_cast<unsigned char>(bytes[i + 3]) << 24);
    }
    return out;
}

std::string ToUtf32(char32_t code) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((code >> (8 * i)) & 0xFF);
    return out;
}

// What iconv makes of one byte sequence given alone.
struct Outcome {
    enum Kind { kValid, kInvalid, kIncomplete } kind;
    std::u32string out;     // valid: the code points, buffered ones included
    bool buffered = false;  // valid: nothing came out before the flush
};

struct Node {
    std::vector<std::uint16_t> row = std::vector<std::uint16_t>(256, kInvalid);
};

struct Supplement {
    std::uint32_t key;  // node << 8 | byte
    char32_t first, second;
};

struct Composition {
    char32_t base, mark, composed;
    bool buffered;
};

struct FourByteRange {
    std::uint32_t index;
    char32_t code;
    std::uint32_t length;
};

struct Override {
    char32_t code;
    std::string bytes;  // empty: not encodable
};

struct EncodeComposition {
    char32_t base, mark;
    std::string bytes;
};

struct Tables {
    std::vector<Node> nodes;
    std::vector<int> roots;
    std::vector<Supplement> supplements;
    std::set<char32_t> buffered;
    std::vector<Composition> compositions;
    std::map<std::uint32_t, char32_t> four_byte;  // linear index -> code point
    std::vector<FourByteRange> four_byte_ranges;
    std::vector<Override> overrides;
    std::vector<EncodeComposition> encode_compositions;
};

class Explorer {
  public:
    Explorer(const Charset& charset, Tables& tables)
        : charset_(charset), tables_(tables), iconv_("UTF-32LE", charset.name) {}

    void Explore() {
        const std::size_t states = std::max<std::size_t>(1, charset_.state_escapes.size());
        for (std::size_t s = 0; s < states; ++s) {
            state_ = charset_.state_escapes.empty() ? "" : charset_.state_escapes[s];
            tables_.roots.push_back(ExploreNode(""));
        }
        if (tables_.nodes.size() >= 0x400) Fail("too many nodes");
    }

  private:
    Outcome Probe(const std::string& bytes) {
        iconv_.Reset();
        std::size_t consumed = 0;
        std::string out;
        if (!state_.empty() && (iconv_.Convert(state_, &consumed, &out) != 0 || !out.empty())) {
            Fail("state escape refused");
        }
        const int error = iconv_.Convert(bytes, &consumed, &out);
        if (error == EINVAL && consumed == 0) return {Outcome::kIncomplete, {}};
        if (error == EILSEQ && consumed == 0) return {Outcome::kInvalid, {}};
        if (error == EILSEQ && consumed == bytes.size() && out.empty()) {
            // iconv swallows a few sequences whole (CP949 0xA2 0xE8): kept
            // as undecodable bytes instead, so that no byte of a page is lost.
            std::fprintf(stderr, "  swallowed sequence taken as undecodable\n");
            return {Outcome::kInvalid, {}};
        }
        if (error != 0 || consumed != bytes.size()) Fail("partial conversion");
        const std::string flushed = iconv_.Flush();
        return {Outcome::kValid, FromUtf32(out + flushed), out.empty() && !flushed.empty()};
    }

    // Explores the sequences that start with `prefix`; returns the node's
    // index, or -1 when no byte can follow.
    int ExploreNode(const std::string& prefix) {
        if (prefix.size() >= 4) Fail("sequence longer than four bytes");
        const int index = static_cast<int>(tables_.nodes.size());
        tables_.nodes.emplace_back();
        bool any = false;
        for (int b = 0; b < 256; ++b) {
            const std::string bytes = prefix + static_cast<char>(b);
            const std::uint16_t entry = Entry(index, b, bytes);
            tables_.nodes[index].row[b] = entry;
            any = any || entry != kInvalid;
        }
        if (!any && index != 0 && tables_.nodes.size() == static_cast<std::size_t>(index) + 1) {
            tables_.nodes.pop_back();
            return -1;
        }
        return index;
    }

    std::uint16_t Entry(int node, int b, const std::string& bytes) {
        if (!state_.empty() && bytes == "\x1b") return kEscape;
        const Outcome outcome = Probe(bytes);
        if (outcome.kind == Outcome::kInvalid) return kInvalid;
        if (outcome.kind == Outcome::kIncomplete) {
            if (IsFourBytePrefix(bytes)) return ExploreFourByte(bytes);
            const int child = ExploreNode(bytes);
            return child < 0 ? kInvalid : static_cast<std::uint16_t>(kChild | child);
        }
        if (outcome.out.empty()) Fail("a sequence without output");
        if (outcome.buffered) {
            if (bytes.size() != 1 || outcome.out.size() != 1) Fail("buffered multi-byte");
            tables_.buffered.insert(outcome.out[0]);
        }
        const char32_t first = outcome.out[0];
        if (outcome.out.size() == 1 && first < 0xFFFE && (first < 0xD800 || first > 0xDFFF)) {
            return static_cast<std::uint16_t>(first);
        }
        if (outcome.out.size() > 2) Fail("more than two code points");
        tables_.supplements.push_back({static_cast<std::uint32_t>(node << 8 | b), first,
                                       outcome.out.size() == 2 ? outcome.out[1] : 0});
        return kSupplement;
    }

    static bool IsFourBytePrefix(const std::string& bytes) {
        return bytes.size() == 2 && bytes[1] >= '0' && bytes[1] <= '9';
    }

    // Lead and digit, then 0x81..0xFE and a digit: the four-byte form.
    std::uint16_t ExploreFourByte(const std::string& prefix) {
        const auto lead = static_cast<unsigned char>(prefix[0]);
        for (int third = 0; third < 256; ++third) {
            const std::string three = prefix + static_cast<char>(third);
            const Outcome outcome = Probe(three);
            if (outcome.kind == Outcome::kInvalid) continue;
            if (outcome.kind == Outcome::kValid) Fail("three-byte sequence");
            for (int fourth = 0; fourth < 256; ++fourth) {
                const Outcome last = Probe(three + static_cast<char>(fourth));
                const bool shape = third >= 0x81 && third <= 0xFE && fourth >= '0' && fourth <= '9';
                if (last.kind == Outcome::kIncomplete ||
                    (!shape && last.kind != Outcome::kInvalid)) {
                    Fail("four-byte sequence out of shape");
                }
                if (last.kind != Outcome::kValid) continue;
                if (last.out.size() != 1 || last.buffered) Fail("four-byte output");
                const std::uint32_t index =
                    (((lead - 0x81) * 10 + (prefix[1] - '0')) * 126 + (third - 0x81)) * 10 +
                    (fourth - '0');
                tables_.four_byte[index] = last.out[0];
            }
        }
        return kFourByte;
    }

    const Charset& charset_;
    Tables& tables_;
    Iconv iconv_;
    std::string state_;
};

// How the runtime decodes a byte sequence with the tables, for the walk that
// inverts them.
void Walk(const Tables& tables, int node, const std::string& prefix,
          std::map<char32_t, std::string>* first) {
    const std::vector<std::uint16_t>& row = tables.nodes[node].row;
    for (int b = 0; b < 256; ++b) {
        const std::uint16_t entry = row[b];
        const std::string bytes = prefix + static_cast<char>(b);
        if (entry == kInvalid || entry == kFourByte || entry == kEscape) continue;
        if ((entry & 0xFC00) == kChild) {
            Walk(tables, entry & 0x3FF, bytes, first);
            continue;
        }
        char32_t code = entry;
        if (entry == kSupplement) {
            const std::uint32_t key = static_cast<std::uint32_t>(node << 8 | b);
            const auto it = std::find_if(tables.supplements.begin(), tables.supplements.end(),
                                         [key](const Supplement& s) { return s.key == key; });
            if (it->second != 0) continue;
            code = it->first;
        }
        first->emplace(code, bytes);
    }
}

void BuildFourByteRanges(Tables& tables) {
    for (const auto& [index, code] : tables.four_byte) {
        if (!tables.four_byte_ranges.empty()) {
            FourByteRange& last = tables.four_byte_ranges.back();
            if (last.index + last.length == index && last.code + last.length == code) {
                ++last.length;
                continue;
            }
        }
        tables.four_byte_ranges.push_back({index, code, 1});
    }
}

std::string FourByteOf(const Tables& tables, char32_t code) {
    for (const FourByteRange& range : tables.four_byte_ranges) {
        if (code >= range.code && code < range.code + range.length) {
            std::uint32_t index = range.index + (code - range.code);
            std::string bytes(4, '\0');
            bytes[3] = static_cast<char>('0' + index % 10);
            index /= 10;
            bytes[2] = static_cast<char>(0x81 + index % 126);
            index /= 126;
            bytes[1] = static_cast<char>('0' + index % 10);
            bytes[0] = static_cast<char>(0x81 + index / 10);
            return bytes;
        }
    }
    return "";
}

// The decoding compositions: a buffered character followed by a byte.
void ExploreCompositions(const Charset& charset, Tables& tables) {
    if (tables.buffered.empty()) return;
    Iconv iconv("UTF-32LE", charset.name);
    std::map<char32_t, std::string> paths;  // buffered character -> bytes that leave it pending
    const std::vector<std::uint16_t>& root = tables.nodes[0].row;
    for (int b = 0; b < 256; ++b) {
        if (tables.buffered.count(root[b]) != 0)
            paths.emplace(root[b], std::string(1, static_cast<char>(b)));
    }
    std::vector<char32_t> queue;
    for (const auto& [code, path] : paths) queue.push_back(code);
    while (!queue.empty()) {
        const char32_t base = queue.back();
        queue.pop_back();
        const std::string path = paths[base];
        for (int b = 0; b < 256; ++b) {
            if (root[b] == kInvalid) continue;
            iconv.Reset();
            std::size_t consumed = 0;
            std::string out;
            if (iconv.Convert(path, &consumed, &out) != 0 || !out.empty()) Fail("path");
            if (iconv.Convert(std::string(1, static_cast<char>(b)), &consumed, &out) != 0) {
                Fail("composition step");
            }
            const std::u32string step = FromUtf32(out);
            const std::u32string all = FromUtf32(out + iconv.Flush());
            const std::u32string plain{base, static_cast<char32_t>(root[b])};
            if (all == plain) continue;
            if (all.size() != 1) Fail("composition output");
            const bool buffered = step.empty();
            tables.compositions.push_back({base, root[b], all[0], buffered});
            if (buffered && paths.emplace(all[0], path + static_cast<char>(b)).second) {
                queue.push_back(all[0]);
            }
        }
    }
    std::sort(tables.compositions.begin(), tables.compositions.end(),
              [](const Composition& a, const Composition& b) {
                  return a.base != b.base ? a.base < b.base : a.mark < b.mark;
              });
}

// iconv's encoding of every code point, kept where it differs from the
// inverse of the decoding tables; and the pairs a buffered character
// composes into.
void ExploreEncoding(const Charset& charset, Tables& tables) {
    if (!charset.state_escapes.empty()) return;  // the stateful charset encodes by rule
    std::map<char32_t, std::string> first;
    Walk(tables, 0, "", &first);
    Iconv iconv(charset.name, "UTF-32LE");
    std::vector<char32_t> buffered;
    for (char32_t code = 0; code <= 0x10FFFF; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF) continue;
        iconv.Reset();
        std::size_t consumed = 0;
        std::string out;
        const int error = iconv.Convert(ToUtf32(code), &consumed, &out);
        if (error != 0 && error != EILSEQ) Fail("encoding error");
        const std::string flushed = error == 0 ? iconv.Flush() : "";
        if (error == 0 && out.empty() && !flushed.empty()) buffered.push_back(code);
        const std::string bytes = out + flushed;
        const auto it = first.find(code);
        const std::string inverse = it != first.end() ? it->second : FourByteOf(tables, code);
        if (bytes != inverse) tables.overrides.push_back({code, bytes});
    }
    for (const char32_t base : buffered) {
        for (char32_t mark = 0; mark < 0x10000; ++mark) {
            if (mark >= 0xD800 && mark <= 0xDFFF) continue;
            iconv.Reset();
            std::size_t consumed = 0;
            std::string out;
            std::string both;
            if (iconv.Convert(ToUtf32(base), &consumed, &out) != 0) Fail("buffered base");
            both = out;
            if (iconv.Convert(ToUtf32(mark), &consumed, &out) != 0) continue;
            both += out + iconv.Flush();
            iconv.Reset();
            std::string alone;
            iconv.Convert(ToUtf32(base), &consumed, &out);
            alone = out + iconv.Flush();
            iconv.Reset();
            iconv.Convert(ToUtf32(mark), &consumed, &out);
            alone += out + iconv.Flush();
            if (both != alone) tables.encode_compositions.push_back({base, mark, both});
        }
    }
}

// ---- Output ----

std::string Hex(std::uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%X", value);
    return buffer;
}

std::string BytesLiteral(const std::string& bytes) {
    std::string out = "{" + std::to_string(bytes.size()) + ", {";
    for (int i = 0; i < 4; ++i) {
        const int byte =
            i < static_cast<int>(bytes.size()) ? static_cast<unsigned char>(bytes[i]) : 0;
        out += (i > 0 ? ", " : "") + Hex(byte);
    }
    return out + "}}";
}

class Writer {
  public:
    void Add(const Charset& charset, const Tables& tables) {
        std::string record = std::string("    {\"") + charset.name + "\", ";
        record += Span(nodes_.size(), tables.nodes.size()) + ", {";
        for (std::size_t s = 0; s < 3; ++s) {
            record += std::to_string(s < tables.roots.size() ? tables.roots[s] : 0) +
                      (s < 2 ? ", " : "}, ");
        }
        for (const Node& node : tables.nodes) AddNode(node);
        record += Span(supplements_.size(), tables.supplements.size()) + ", ";
        for (const Supplement& s : tables.supplements) {
            supplements_.push_back("{" + Hex(s.key) + ", " + Hex(s.first) + ", " + Hex(s.second) +
                                   "}");
        }
        record += Span(buffered_.size(), tables.buffered.size()) + ", ";
        for (const char32_t code : tables.buffered) buffered_.push_back(Hex(code));
        record += Span(compositions_.size(), tables.compositions.size()) + ", ";
        for (const Composition& c : tables.compositions) {
            compositions_.push_back("{" + Hex(c.base) + ", " + Hex(c.mark) + ", " +
                                    Hex(c.composed) + ", " + (c.buffered ? "true" : "false") + "}");
        }
        record += Span(ranges_.size(), tables.four_byte_ranges.size()) + ", ";
        for (const FourByteRange& r : tables.four_byte_ranges) {
            ranges_.push_back("{" + std::to_string(r.index) + ", " + Hex(r.code) + ", " +
                              std::to_string(r.length) + "}");
        }
        record += Span(overrides_.size(), tables.overrides.size()) + ", ";
        for (const Override& o : tables.overrides) {
            overrides_.push_back("{" + Hex(o.code) + ", " + BytesLiteral(o.bytes) + "}");
        }
        record += Span(encode_compositions_.size(), tables.encode_compositions.size()) + "},";
        for (const EncodeComposition& c : tables.encode_compositions) {
            encode_compositions_.push_back("{" + Hex(c.base) + ", " + Hex(c.mark) + ", " +
                                           BytesLiteral(c.bytes) + "}");
        }
        charsets_.push_back(record);
    }

    void Print() const {
        std::printf(
            "// Generated by text/tools/gen_charset_tables.cpp from glibc's iconv. Do not edit.\n"
            "// %zu pool entries, %zu nodes, %zu supplements, %zu four-byte ranges, %zu encoding\n"
            "// overrides.\n\n",
            pool_.size(), nodes_.size(), supplements_.size(), ranges_.size(), overrides_.size());
        std::printf("constexpr std::uint16_t kPool[] = {\n");
        for (std::size_t i = 0; i < pool_.size(); i += 12) {
            std::string line = "   ";
            for (std::size_t j = i; j < std::min(pool_.size(), i + 12); ++j)
                line += " " + Hex(pool_[j]) + ",";
            std::printf("%s\n", line.c_str());
        }
        std::printf("};\n\n");
        PrintArray("DecodeNode", "kNodes", nodes_);
        PrintArray("DecodeSupplement", "kSupplements", supplements_);
        PrintArray("char32_t", "kBuffered", buffered_);
        PrintArray("Composition", "kCompositions", compositions_);
        PrintArray("FourByteRange", "kFourByteRanges", ranges_);
        PrintArray("EncodeOverride", "kOverrides", overrides_);
        PrintArray("EncodeComposition", "kEncodeCompositions", encode_compositions_);
        std::printf("constexpr CharsetTables kCharsetTables[] = {\n");
        for (const std::string& record : charsets_) std::printf("%s\n", record.c_str());
        std::printf("};\n");
    }

  private:
    static std::string Span(std::size_t begin, std::size_t count) {
        return "{" + std::to_string(begin) + ", " + std::to_string(count) + "}";
    }

    static void PrintArray(const char* type, const char* name,
                           const std::vector<std::string>& items) {
        // A zero-length array is not allowed: an unused item keeps it valid.
        std::printf("constexpr %s %s[] = {\n", type, name);
        if (items.empty()) std::printf("    {},\n");
        for (const std::string& item : items) std::printf("    %s,\n", item.c_str());
        std::printf("};\n\n");
    }

    void AddNode(const Node& node) {
        int first = 0;
        int last = 255;
        while (first <= last && node.row[first] == kInvalid) ++first;
        while (last >= first && node.row[last] == kInvalid) --last;
        std::vector<std::uint16_t> row;
        if (first <= last) row.assign(node.row.begin() + first, node.row.begin() + last + 1);
        std::size_t offset;
        const auto known = rows_.find(row);
        if (known != rows_.end()) {
            offset = known->second;
        } else {
            offset = pool_.size();
            pool_.insert(pool_.end(), row.begin(), row.end());
            rows_.emplace(row, offset);
        }
        nodes_.push_back("{" + std::to_string(first > last ? 0 : first) + ", " +
                         std::to_string(row.size()) + ", " + std::to_string(offset) + "}");
    }

    std::vector<std::uint16_t> pool_;
    std::map<std::vector<std::uint16_t>, std::size_t> rows_;
    std::vector<std::string> nodes_, supplements_, buffered_, compositions_, ranges_, overrides_,
        encode_compositions_, charsets_;
};

}  // namespace

int main() {
    Writer writer;
    for (const Charset& charset : kCharsets) {
        std::fprintf(stderr, "%s\n", charset.name);
        Tables tables;
        Explorer(charset, tables).Explore();
        BuildFourByteRanges(tables);
        ExploreCompositions(charset, tables);
        ExploreEncoding(charset, tables);
        writer.Add(charset, tables);
    }
    writer.Print();
    return 0;
}
