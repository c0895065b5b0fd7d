#include "page/SectionBuilder.h"

#include <string_view>

#include "page/LinkText.h"
#include "page/NewPageWriter.h"

namespace {

// The bytes an entry takes besides its fields.
constexpr size_t kEntryMarkup = 96;

// Appends `field` to `out`, each byte for which `replace(field, at)` gives a
// text written as that text.
template <class Replace>
void AddField(std::string& out, std::string_view field, Replace replace) {
    size_t run = 0;  // where the bytes kept as they are begin
    for (size_t at = 0; at < field.size(); ++at) {
        const char* text = replace(field, at);
        if (text == nullptr) continue;
        out.append(field.substr(run, at - run));
        out.append(text);
        run = at + 1;
    }
    out.append(field.substr(run));
}

// A byte of a field in the text of an element: markup escaped, a CR as a
// reference (a browser reads it as a line feed) and so a line feed the
// field begins with (the reader takes one right after a start tag for
// layout), so that the field reads back exactly and the next build writes
// the same.
const char* FieldByteText(std::string_view field, size_t at) {
    if (field[at] == '\r') return "&#13;";
    if (field[at] == '\n' && at == 0) return "&#10;";
    return MarkupReference(field[at]);
}

const char* HyperlinkByteText(std::string_view link, size_t at) { return LinkByteText(link[at]); }

const char* HeadingByteText(std::string_view text, size_t at) { return MarkupReference(text[at]); }

void AddEntry(std::string& out, const CTavrelItem& item) {
    out += "<DT><STRONG>";
    AddField(out, item.GetDate(), FieldByteText);
    out += "</STRONG>\n<BR>\n<A href=\"";
    AddField(out, item.GetHyperlink(), HyperlinkByteText);
    out += "\"><STRONG>";
    AddField(out, item.GetTitle(), FieldByteText);
    out += "</STRONG>\n</A>\n</DT>\n<DD>";
    AddField(out, item.GetDescription(), FieldByteText);
    out += "<BR>\n<P></DD>\n";
}

// The size of the DL of `head` when no field needs escaping: the string is
// made this large at once, and grows once at most when some do.
size_t SectionSize(const CTavrelItem* head) {
    size_t size = 128;
    for (const CTavrelItem* item = head; item != nullptr; item = item->GetNext()) {
        size += kEntryMarkup + item->GetDate().size() + item->GetHyperlink().size() +
                item->GetTitle().size() + item->GetDescription().size();
    }
    return size;
}

void AddSection(std::string& out, const CTavrelItem* head) {
    out += "<DL>\n<!--";
    out += kMarkerBody;
    out += " -->\n";
    for (const CTavrelItem* item = head; item != nullptr; item = item->GetNext()) {
        AddEntry(out, *item);
    }
    out += "</DL>";
}

}  // namespace

std::string BuildSection(const CTavrelItem* head) {
    std::string section;
    section.reserve(SectionSize(head));
    AddSection(section, head);
    return section;
}

std::string BuildFirstSection(const CTavrelItem* head) {
    std::string section;
    section.reserve(SectionSize(head) + 32);
    section += "<H2>";
    AddField(section, kSectionHeading, HeadingByteText);
    section += "</H2>\n";
    AddSection(section, head);
    return section;
}
