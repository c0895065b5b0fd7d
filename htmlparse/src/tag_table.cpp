#include "tag_table.h"

#include <array>
#include <iterator>

#include "name_table.h"

namespace htmlparse {

namespace {

struct ElementEntry {
    const char* lower;
    const char* upper;
    int code;
    std::uint32_t properties;
};

constexpr ElementEntry kElements[] = {
    {"a", "A", HTML_A, 0},
    {"body", "BODY", HTML_BODY, kSpecial},
    {"br", "BR", HTML_BR, kVoid | kSpecial},
    {"dd", "DD", HTML_DD, kClosesP | kSpecial},
    {"dl", "DL", HTML_DL, kClosesP | kSpecial},
    {"dt", "DT", HTML_DT, kClosesP | kSpecial},
    {"h2", "H2", HTML_H2, kClosesP | kSpecial | kHeading},
    {"hr", "HR", HTML_HR, kVoid | kClosesP | kSpecial},
    {"html", "HTML", HTML_HTML, kSpecial | kScopeBoundary | kTableBoundary},
    {"li", "LI", HTML_LI, kClosesP | kSpecial},
    {"p", "P", HTML_P, kClosesP | kSpecial},
    {"pre", "PRE", HTML_PRE, kClosesP | kSpecial},
    {"strong", "STRONG", HTML_STRONG, 0},
    {"title", "TITLE", HTML_TITLE, kRcdata | kSpecial | kHeadContent},
    {"address", "ADDRESS", kCodeAddress, kClosesP | kSpecial},
    {"applet", "APPLET", kCodeApplet, kSpecial | kScopeBoundary},
    {"area", "AREA", kCodeArea, kVoid | kSpecial},
    {"base", "BASE", kCodeBase, kVoid | kSpecial | kHeadContent},
    {"basefont", "BASEFONT", kCodeBasefont, kVoid | kSpecial | kHeadContent},
    {"bgsound", "BGSOUND", kCodeBgsound, kVoid | kSpecial | kHeadContent},
    {"button", "BUTTON", kCodeButton, kSpecial},
    {"caption", "CAPTION", kCodeCaption, kSpecial | kScopeBoundary},
    {"col", "COL", kCodeCol, kVoid | kSpecial},
    {"colgroup", "COLGROUP", kCodeColgroup, kSpecial},
    {"div", "DIV", kCodeDiv, kClosesP | kSpecial},
    {"embed", "EMBED", kCodeEmbed, kVoid | kSpecial},
    {"frame", "FRAME", kCodeFrame, kVoid | kSpecial},
    {"h1", "H1", kCodeH1, kClosesP | kSpecial | kHeading},
    {"h3", "H3", kCodeH3, kClosesP | kSpecial | kHeading},
    {"h4", "H4", kCodeH4, kClosesP | kSpecial | kHeading},
    {"h5", "H5", kCodeH5, kClosesP | kSpecial | kHeading},
    {"h6", "H6", kCodeH6, kClosesP | kSpecial | kHeading},
    {"head", "HEAD", kCodeHead, kSpecial},
    {"iframe", "IFRAME", kCodeIframe, kRawText | kSpecial},
    {"img", "IMG", kCodeImg, kVoid | kSpecial},
    {"input", "INPUT", kCodeInput, kVoid | kSpecial},
    {"keygen", "KEYGEN", kCodeKeygen, kVoid | kSpecial},
    {"link", "LINK", kCodeLink, kVoid | kSpecial | kHeadContent},
    {"marquee", "MARQUEE", kCodeMarquee, kSpecial | kScopeBoundary},
    {"math", "MATH", kCodeMath, kForeign},
    {"meta", "META", kCodeMeta, kVoid | kSpecial | kHeadContent},
    {"noembed", "NOEMBED", kCodeNoembed, kRawText | kSpecial},
    {"noframes", "NOFRAMES", kCodeNoframes, kRawText | kSpecial | kHeadContent},
    {"object", "OBJECT", kCodeObject, kSpecial | kScopeBoundary},
    {"ol", "OL", kCodeOl, kClosesP | kSpecial},
    {"optgroup", "OPTGROUP", kCodeOptgroup, 0},
    {"option", "OPTION", kCodeOption, 0},
    {"param", "PARAM", kCodeParam, kVoid | kSpecial},
    {"plaintext", "PLAINTEXT", kCodePlaintext, kRawText | kClosesP | kSpecial},
    {"script", "SCRIPT", kCodeScript, kRawText | kSpecial | kHeadContent},
    {"source", "SOURCE", kCodeSource, kVoid | kSpecial},
    {"style", "STYLE", kCodeStyle, kRawText | kSpecial | kHeadContent},
    {"svg", "SVG", kCodeSvg, kForeign},
    {"table", "TABLE", kCodeTable, kSpecial | kScopeBoundary | kTableBoundary},
    {"tbody", "TBODY", kCodeTbody, kSpecial},
    {"td", "TD", kCodeTd, kSpecial | kScopeBoundary},
    {"template", "TEMPLATE", kCodeTemplate,
     kSpecial | kScopeBoundary | kTableBoundary | kHeadContent},
    {"textarea", "TEXTAREA", kCodeTextarea, kRcdata | kSpecial},
    {"tfoot", "TFOOT", kCodeTfoot, kSpecial},
    {"th", "TH", kCodeTh, kSpecial | kScopeBoundary},
    {"thead", "THEAD", kCodeThead, kSpecial},
    {"tr", "TR", kCodeTr, kSpecial},
    {"track", "TRACK", kCodeTrack, kVoid | kSpecial},
    {"ul", "UL", kCodeUl, kClosesP | kSpecial},
    {"wbr", "WBR", kCodeWbr, kVoid | kSpecial},
    {"xmp", "XMP", kCodeXmp, kRawText | kClosesP | kSpecial},
    {"abbr", "ABBR", 100, 0},
    {"acronym", "ACRONYM", 101, 0},
    {"article", "ARTICLE", 102, kClosesP | kSpecial},
    {"aside", "ASIDE", 103, kClosesP | kSpecial},
    {"audio", "AUDIO", 104, 0},
    {"b", "B", 105, 0},
    {"bdi", "BDI", 106, 0},
    {"bdo", "BDO", 107, 0},
    {"big", "BIG", 108, 0},
    {"blink", "BLINK", 109, 0},
    {"blockquote", "BLOCKQUOTE", 110, kClosesP | kSpecial},
    {"canvas", "CANVAS", 111, 0},
    {"center", "CENTER", 112, kClosesP | kSpecial},
    {"cite", "CITE", 113, 0},
    {"code", "CODE", 114, 0},
    {"data", "DATA", 115, 0},
    {"datalist", "DATALIST", 116, 0},
    {"del", "DEL", 117, 0},
    {"details", "DETAILS", 118, kClosesP | kSpecial},
    {"dfn", "DFN", 119, 0},
    {"dialog", "DIALOG", 120, kClosesP},
    {"dir", "DIR", 121, kClosesP | kSpecial},
    {"em", "EM", 122, 0},
    {"fieldset", "FIELDSET", 123, kClosesP | kSpecial},
    {"figcaption", "FIGCAPTION", 124, kClosesP | kSpecial},
    {"figure", "FIGURE", 125, kClosesP | kSpecial},
    {"font", "FONT", 126, 0},
    {"footer", "FOOTER", 127, kClosesP | kSpecial},
    {"form", "FORM", 128, kClosesP | kSpecial},
    {"frameset", "FRAMESET", 129, kSpecial},
    {"header", "HEADER", 130, kClosesP | kSpecial},
    {"hgroup", "HGROUP", 131, kClosesP | kSpecial},
    {"i", "I", 132, 0},
    {"image", "IMAGE", 133, kVoid},
    {"ins", "INS", 134, 0},
    {"isindex", "ISINDEX", 135, kVoid},
    {"kbd", "KBD", 136, 0},
    {"label", "LABEL", 137, 0},
    {"legend", "LEGEND", 138, 0},
    {"listing", "LISTING", 139, kClosesP | kSpecial},
    {"main", "MAIN", 140, kClosesP | kSpecial},
    {"map", "MAP", 141, 0},
    {"mark", "MARK", 142, 0},
    {"menu", "MENU", 143, kClosesP | kSpecial},
    {"menuitem", "MENUITEM", 144, 0},
    {"meter", "METER", 145, 0},
    {"multicol", "MULTICOL", 146, 0},
    {"nav", "NAV", 147, kClosesP | kSpecial},
    {"nextid", "NEXTID", 148, 0},
    {"nobr", "NOBR", 149, 0},
    {"noscript", "NOSCRIPT", 150, kSpecial | kHeadContent},
    {"output", "OUTPUT", 151, 0},
    {"picture", "PICTURE", 152, 0},
    {"progress", "PROGRESS", 153, 0},
    {"q", "Q", 154, 0},
    {"rb", "RB", 155, 0},
    {"rp", "RP", 156, 0},
    {"rt", "RT", 157, 0},
    {"rtc", "RTC", 158, 0},
    {"ruby", "RUBY", 159, 0},
    {"s", "S", 160, 0},
    {"samp", "SAMP", 161, 0},
    {"search", "SEARCH", 162, kClosesP | kSpecial},
    {"section", "SECTION", 163, kClosesP | kSpecial},
    {"select", "SELECT", 164, kSpecial},
    {"slot", "SLOT", 165, 0},
    {"small", "SMALL", 166, 0},
    {"spacer", "SPACER", 167, 0},
    {"span", "SPAN", 168, 0},
    {"strike", "STRIKE", 169, 0},
    {"sub", "SUB", 170, 0},
    {"summary", "SUMMARY", 171, kClosesP | kSpecial},
    {"sup", "SUP", 172, 0},
    {"time", "TIME", 173, 0},
    {"tt", "TT", 174, 0},
    {"u", "U", 175, 0},
    {"var", "VAR", 176, 0},
    {"video", "VIDEO", 177, 0},
};

// Per-code view of kElements.
struct CodeIndex {
    std::array<const ElementEntry*, kCodeLimit> by_code{};
    CodeIndex() {
        for (const ElementEntry& entry : kElements) by_code[entry.code] = &entry;
    }
};

const CodeIndex& Index() {
    static const CodeIndex index;
    return index;
}

const NameTable& Names() {
    static const NameTable table = [] {
        std::array<NameTable::Entry, std::size(kElements)> entries{};
        for (std::size_t i = 0; i < std::size(kElements); ++i) {
            entries[i] = {kElements[i].lower, kElements[i].code};
        }
        return NameTable(entries.data(), entries.size());
    }();
    return table;
}

const ElementEntry* EntryFor(int code) {
    if (code < 0 || code >= kCodeLimit) return nullptr;
    return Index().by_code[code];
}

}  // namespace

int LookupElement(const char* name, std::size_t length) {
    return Names().Find(name, length, HTML_UNKNOWN);
}

std::uint32_t ElementProperties(int code) {
    const ElementEntry* entry = EntryFor(code);
    return entry == nullptr ? 0 : entry->properties;
}

const char* ElementUpperName(int code) {
    if (code == HTML_UNKNOWN) return "UNKNOWN";
    const ElementEntry* entry = EntryFor(code);
    return entry == nullptr ? "" : entry->upper;
}

const char* ElementLowerName(int code) {
    const ElementEntry* entry = EntryFor(code);
    return entry == nullptr ? "" : entry->lower;
}

}  // namespace htmlparse
