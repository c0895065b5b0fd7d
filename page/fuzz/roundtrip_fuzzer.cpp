// libFuzzer target: parse arbitrary bytes, write the tree back as the page
// writer does (anchors hoisted, in the page's own encoding and line ends),
// parse that again and write it again. The
// sanitizers watch every step; a UTF-8 page that has been written once must
// come out of a second round the same, line ends aside. Rewriting the bytes
// as a page in parts (of a size the input picks) must give exactly what
// reading the whole page and writing its tree gives, refusals included.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "htmlparse.h"
#include "model/ItemList.h"
#include "page/PageForm.h"
#include "page/PageReader.h"
#include "page/PageRewriter.h"
#include "page/SectionBuilder.h"
#include "page/TreeSerializer.h"

namespace {

// Parses `size` bytes at `data` and returns what the writer makes of them.
std::string Rewrite(const void* data, std::size_t size) {
    // fmemopen cannot open an empty buffer; a temporary file stands in.
    std::FILE* in = size > 0 ? fmemopen(const_cast<void*>(data), size, "rb") : std::tmpfile();
    if (in == nullptr) std::abort();
    HTMLParseBegin();
    HTMLParseDo(in);
    block* root = HTMLParseEnd();
    std::fclose(in);
    HTMLPageInfo info;
    HTMLGetPageInfo(&info);

    char* buffer = nullptr;
    std::size_t length = 0;
    std::FILE* out = open_memstream(&buffer, &length);
    HoistNamedAnchors(root);
    // A page in an encoding iconv does not know is not written at all.
    WriteInPageForm(out, PageFormOf(info), [root](std::FILE* stream) {
        dump_tree(stream, root, 0);
        return true;
    });
    std::fclose(out);
    HTMLFreeTree(root);
    std::string written(buffer, length);
    std::free(buffer);
    return written;
}

// `text` with CRLF and CR as LF, as a browser reads line ends. A page with
// mixed line ends is written with one kind, so its bytes may settle later.
std::string WithLineFeeds(const std::string& text) {
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            lines += text[i];
        } else if (i + 1 == text.size() || text[i + 1] != '\n') {
            lines += '\n';
        }
    }
    return lines;
}

// Whether `size` bytes at `data` are UTF-8 without NUL: pages of undecided
// encoding may be read another way once rewritten, so only these are held
// to the second-round check.
bool IsPlainUtf8(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size;) {
        const std::uint8_t lead = data[i];
        const std::size_t length = lead == 0               ? 0
                                   : lead < 0x80           ? 1
                                   : (lead & 0xE0) == 0xC0 ? 2
                                   : (lead & 0xF0) == 0xE0 ? 3
                                   : (lead & 0xF8) == 0xF0 ? 4
                                                           : 0;
        if (length == 0 || i + length > size) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((data[i + k] & 0xC0) != 0x80) return false;
        }
        i += length;
    }
    return true;
}

// Collects what is written to a stream.
class Output {
  public:
    Output() : m_stream(open_memstream(&m_buffer, &m_length)) {
        if (m_stream == nullptr) std::abort();
    }
    ~Output() { std::free(m_buffer); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;
    std::FILE* Stream() const { return m_stream; }
    std::string Close() {
        std::fclose(m_stream);
        return {m_buffer, m_length};
    }

  private:
    char* m_buffer = nullptr;
    std::size_t m_length = 0;
    std::FILE* m_stream;
};

// Adds one entry on top, with text the page form has to escape.
bool AddEntry() {
    auto* item = new CTavrelItem;
    item->SetDate("7 <Dec> 2026");
    item->SetTitle("Q&A \xC3\xA9");
    item->SetHyperlink("/a?b=1&c=\"2\"");
    InsertItemAtHead(item);
    return true;
}

// The page rebuilt from its whole tree; empty when it is refused.
std::string RebuiltWhole(std::FILE* in, bool add) {
    ClearItemList();
    AdoptItemList(ReadPage(in));
    if (g_pBody == nullptr) return {};
    if (add) AddEntry();
    Output out;
    const bool written = WriteUpdatedTree(out.Stream());
    const std::string bytes = out.Close();
    return written ? bytes : std::string();
}

// The page rebuilt in parts of `partSize` bytes; empty when it is refused.
std::string RebuiltInParts(std::FILE* in, bool add, std::size_t partSize) {
    ClearItemList();
    ClearSplicePoints();
    Output out;
    PageHead head;
    const SessionFailure failure = RewritePage(
        in, out.Stream(), [add] { return !add || AddEntry(); }, &head, partSize);
    const std::string bytes = out.Close();
    return failure ? std::string() : bytes;
}

void CheckRebuildInParts(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return;
    const bool add = (data[size - 1] & 1) != 0;
    const std::size_t partSize = data[0] % 16;
    std::FILE* in = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    const std::string whole = RebuiltWhole(in, add);
    std::rewind(in);
    const std::string parts = RebuiltInParts(in, add, partSize);
    std::fclose(in);
    ClearItemList();
    ClearSplicePoints();
    if (whole != parts) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckRebuildInParts(data, size);
    const std::string once = Rewrite(data, size);
    const std::string twice = Rewrite(once.data(), once.size());
    const std::string thrice = Rewrite(twice.data(), twice.size());
    if (IsPlainUtf8(data, size) && WithLineFeeds(thrice) != WithLineFeeds(twice)) std::abort();
    return 0;
}
