// Parses one file with one parser and exits; run once per measurement so that
// the whole process (reading, parsing, releasing) is what is timed and what
// the peak resident memory belongs to. Built once per parser (PARSE_WITH_*),
// so no process carries another parser's libraries.
//
//   parse_tavrel|parse_libxml2|parse_gumbo FILE
//
// Prints the number of element nodes found, as a check that the parsers read
// the same page.
#if defined(PARSE_WITH_GUMBO)
#include <gumbo.h>
#elif defined(PARSE_WITH_LIBXML2)
#include <libxml/HTMLparser.h>
#include <libxml/tree.h>
#else
#include "htmlparse.h"
#endif

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The peers parse from memory: the whole file in one read.
[[maybe_unused]] std::string ReadFile(const char* path) {
    std::string page;
    std::FILE* stream = std::fopen(path, "rb");
    if (stream == nullptr) return page;
    std::fseek(stream, 0, SEEK_END);
    page.resize(static_cast<std::size_t>(std::ftell(stream)));
    std::rewind(stream);
    page.resize(std::fread(page.data(), 1, page.size(), stream));
    std::fclose(stream);
    return page;
}

#if defined(PARSE_WITH_TAVREL)
long CountElements(const block* root) {
    long count = 0;
    std::vector<const block*> pending{root->first_child};
    while (!pending.empty()) {
        const block* node = pending.back();
        pending.pop_back();
        if (node == nullptr) continue;
        if (node->type == BT_ELEMENT) ++count;
        pending.push_back(node->next_sib);
        pending.push_back(node->first_child);
    }
    return count;
}

long Parse(const char* path) {
    std::FILE* stream = std::fopen(path, "rb");
    if (stream == nullptr) return -1;
    HTMLParseBegin();
    HTMLParseDo(stream);
    block* root = HTMLParseEnd();
    std::fclose(stream);
    long count = CountElements(root);
    HTMLFreeTree(root);
    return count;
}

#elif defined(PARSE_WITH_LIBXML2)
long CountElements(xmlNode* root) {
    long count = 0;
    std::vector<xmlNode*> pending{root};
    while (!pending.empty()) {
        xmlNode* node = pending.back();
        pending.pop_back();
        if (node == nullptr) continue;
        if (node->type == XML_ELEMENT_NODE) ++count;
        pending.push_back(node->next);
        pending.push_back(node->children);
    }
    return count;
}

// Recovery on, as a tolerant reader of real pages would use it.
long Parse(const char* path) {
    std::string page = ReadFile(path);
    htmlDocPtr document = htmlReadMemory(
        page.data(), static_cast<int>(page.size()), path, nullptr,
        HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
    if (document == nullptr) return -1;
    long count = CountElements(xmlDocGetRootElement(document));
    xmlFreeDoc(document);
    return count;
}

#elif defined(PARSE_WITH_GUMBO)
long CountElements(const GumboNode* root) {
    long count = 0;
    std::vector<const GumboNode*> pending{root};
    while (!pending.empty()) {
        const GumboNode* node = pending.back();
        pending.pop_back();
        if (node->type != GUMBO_NODE_ELEMENT) continue;
        ++count;
        const GumboVector& children = node->v.element.children;
        for (unsigned i = 0; i < children.length; ++i) {
            pending.push_back(static_cast<const GumboNode*>(children.data[i]));
        }
    }
    return count;
}

long Parse(const char* path) {
    std::string page = ReadFile(path);
    GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, page.data(), page.size());
    long count = CountElements(output->root);
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return count;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    long count = Parse(argv[1]);
    std::printf("%ld\n", count);
    return count < 0 ? 1 : 0;
}
