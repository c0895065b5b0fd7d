#include "attributes.h"

#include <iterator>

#include "name_table.h"
#include "text/ascii.h"

namespace htmlparse {

namespace {

constexpr NameTable::Entry kAttributes[] = {
    {"action", 1},      {"align", 2},        {"alt", 3},          {"bgcolor", 4},
    {"border", 5},      {"class", 6},        {"content", 7},      {"href", HTML_ATTR_HREF},
    {"height", 9},      {"http-equiv", 10},  {"id", 11},          {"lang", 12},
    {"name", 13},       {"rel", 14},         {"src", 15},         {"style", 16},
    {"target", 17},     {"title", 18},       {"type", 19},        {"value", 20},
    {"width", 21},      {"charset", 22},     {"colspan", 23},     {"rowspan", 24},
    {"method", 25},     {"onclick", 26},     {"color", 27},       {"face", 28},
    {"size", 29},       {"cellpadding", 30}, {"cellspacing", 31}, {"valign", 32},
    {"background", 33}, {"text", 34},        {"link", 35},        {"vlink", 36},
    {"alink", 37},      {"for", 38},         {"checked", 39},     {"selected", 40},
    {"disabled", 41},   {"onload", 42},      {"dir", 43},
};

const NameTable& Table() {
    static const NameTable table(kAttributes, std::size(kAttributes));
    return table;
}

}  // namespace

int LookupAttribute(const char* name, std::size_t length) {
    return Table().Find(name, length, kAttrUnknown);
}

const AttrRec* FindAttribute(const block* node, const char* name) {
    if (node == nullptr || name == nullptr) return nullptr;
    for (const AttrRec* attr = node->attrs; attr != nullptr; attr = attr->next) {
        if (attr->name != nullptr && ascii::EqualsIgnoringCase(attr->name, name)) return attr;
    }
    return nullptr;
}

}  // namespace htmlparse
