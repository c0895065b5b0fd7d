// libFuzzer target: parse arbitrary bytes, check the tree's invariants, look
// up attributes and names, decode attribute values, then release the tree.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "htmlparse.h"

namespace {

// Walks the tree with an explicit stack and aborts on a broken invariant.
void CheckTree(const block* root) {
    std::vector<const block*> pending{root->first_child};
    while (!pending.empty()) {
        const block* node = pending.back();
        pending.pop_back();
        if (node == nullptr) continue;
        if (node->type < BT_ELEMENT || node->type > BT_DOCTYPE || node->text == nullptr)
            std::abort();
        if (node->type == BT_TEXT && (node->tag != HTML_TEXT || node->first_child != nullptr)) {
            std::abort();
        }
        if (node->type == BT_ELEMENT) {
            (void)HTMLElementName(node->tag);
            (void)HTMLGetAttr(node, "href");
            for (const AttrRec* attr = node->attrs; attr != nullptr; attr = attr->next) {
                if (attr->name == nullptr) std::abort();
                if (attr->value != nullptr) std::free(HTMLDecodeAttribute(attr->value));
            }
        }
        for (const block* child = node->first_child; child != nullptr; child = child->next_sib) {
            if (child->parent != node) std::abort();
        }
        pending.push_back(node->next_sib);
        pending.push_back(node->first_child);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // fmemopen cannot open an empty buffer; a temporary file stands in.
    std::FILE* stream =
        size > 0 ? fmemopen(const_cast<std::uint8_t*>(data), size, "rb") : std::tmpfile();
    if (stream == nullptr) return 0;
    HTMLParseBegin();
    HTMLParseDo(stream);
    block* root = HTMLParseEnd();
    std::fclose(stream);
    HTMLPageInfo info;
    HTMLGetPageInfo(&info);
    CheckTree(root);
    HTMLFreeTree(root);
    return 0;
}
