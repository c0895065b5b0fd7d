#include "page/SectionBuilder.h"

#include <string_view>

#include "page/LinkText.h"
#include "page/NewPageWriter.h"

namespace {

// Where the section's text goes: either only measured, or appended to a
// string. A long section is measured first and then written into a string
// of exactly that size, so that it is never copied or grown on the way.
class SectionText {
  public:
    // Appends to `*text`, or, when `text` is null, only counts the bytes.
    explicit SectionText(std::string* text) : m_text(text) {}

    void Add(std::string_view piece) {
        m_size += piece.size();
        if (m_text != nullptr) m_text->append(piece);
    }

    // `field` with every byte for which `replace(field, at)` gives a text
    // written as that text.
    template <class Replace>
    void AddField(std::string_view field, Replace replace) {
        size_t run = 0;  // where the bytes kept as they are begin
        for (size_t at = 0; at < field.size(); ++at) {
            const char* text = replace(field, at);
            if (text == nullptr) continue;
            Add(field.substr(run, at - run));
            Add(text);
            run = at + 1;
        }
        Add(field.substr(run));
    }

    // How many bytes were added.
    size_t Size() const { return m_size; }

  private:
    std::string* m_text;
    size_t m_size = 0;
};

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

void AddTerm(SectionText& out, const CTavrelItem& item) {
    out.Add("<DT><STRONG>");
    out.AddField(item.GetDate(), FieldByteText);
    out.Add("</STRONG>\n<BR>\n<A href=\"");
    out.AddField(item.GetHyperlink(), HyperlinkByteText);
    out.Add("\"><STRONG>");
    out.AddField(item.GetTitle(), FieldByteText);
    out.Add("</STRONG>\n</A>\n</DT>\n");
}

void AddDefinition(SectionText& out, const CTavrelItem& item) {
    out.Add("<DD>");
    out.AddField(item.GetDescription(), FieldByteText);
    out.Add("<BR>\n<P></DD>\n");
}

void AddMarker(SectionText& out) {
    out.Add("<!--");
    out.Add(kMarkerBody);
    out.Add(" -->\n");
}

void AddHeading(SectionText& out, std::string_view text) {
    out.Add("<H2>");
    out.AddField(text, HeadingByteText);
    out.Add("</H2>\n");
}

void AddSection(SectionText& out, const CTavrelItem* head) {
    out.Add("<DL>\n");
    AddMarker(out);
    for (const CTavrelItem* item = head; item != nullptr; item = item->GetNext()) {
        AddTerm(out, *item);
        AddDefinition(out, *item);
    }
    out.Add("</DL>");
}

// The text that `add` adds, measured first and then built in one string.
template <class Adder>
std::string Built(Adder add) {
    SectionText measure(nullptr);
    add(measure);
    std::string text;
    text.reserve(measure.Size());
    SectionText out(&text);
    add(out);
    return text;
}

}  // namespace

std::string BuildHeading(const std::string& text) {
    return Built([&text](SectionText& out) { AddHeading(out, text); });
}

std::string BuildTerm(const CTavrelItem& item) {
    return Built([&item](SectionText& out) { AddTerm(out, item); });
}

std::string BuildDefinition(const CTavrelItem& item) {
    return Built([&item](SectionText& out) { AddDefinition(out, item); });
}

std::string BuildSection(const CTavrelItem* head) {
    return Built([head](SectionText& out) { AddSection(out, head); });
}

std::string BuildFirstSection(const CTavrelItem* head) {
    return Built([head](SectionText& out) {
        AddHeading(out, kSectionHeading);
        AddSection(out, head);
    });
}
