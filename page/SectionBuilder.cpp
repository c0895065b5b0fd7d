#include "page/SectionBuilder.h"

#include "page/LinkText.h"
#include "page/NewPageWriter.h"

namespace {

// A field as the text of an element: markup escaped, a CR as a reference (a
// browser reads it as a line feed) and so a line feed the field begins with
// (the reader takes one right after a start tag for layout), so that the
// field reads back exactly and the next build writes the same.
std::string FieldText(const std::string& field) {
    std::string text;
    for (char c : EscapeMarkup(field)) {
        if (c == '\r') {
            text += "&#13;";
        } else {
            text += c;
        }
    }
    if (!text.empty() && text[0] == '\n') text.replace(0, 1, "&#10;");
    return text;
}

}  // namespace

std::string BuildHeading(const std::string& text) {
    return "<H2>" + EscapeMarkup(text) + "</H2>\n";
}

std::string BuildMarker() { return std::string("<!--") + kMarkerBody + " -->\n"; }

std::string BuildTerm(const CTavrelItem& item) {
    return "<DT><STRONG>" + FieldText(item.GetDate()) + "</STRONG>\n<BR>\n<A href=\"" +
           AttributeSafeLink(item.GetHyperlink()) + "\"><STRONG>" + FieldText(item.GetTitle()) +
           "</STRONG>\n</A>\n</DT>\n";
}

std::string BuildDefinition(const CTavrelItem& item) {
    return "<DD>" + FieldText(item.GetDescription()) + "<BR>\n<P></DD>\n";
}

std::string BuildSection(const CTavrelItem* head) {
    std::string section = "<DL>\n" + BuildMarker();
    for (const CTavrelItem* item = head; item != nullptr; item = item->GetNext()) {
        section += BuildTerm(*item);
        section += BuildDefinition(*item);
    }
    return section + "</DL>";
}
