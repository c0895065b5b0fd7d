#include "page/SectionBuilder.h"

#include "page/LinkText.h"
#include "page/NewPageWriter.h"

std::string BuildHeading(const std::string& text) {
    return "<H2>" + EscapeMarkup(text) + "</H2>\n";
}

std::string BuildMarker() { return std::string("<!--") + kMarkerBody + " -->\n"; }

std::string BuildTerm(const CTavrelItem& item) {
    return "<DT><STRONG>" + EscapeMarkup(item.GetDate()) + "</STRONG>\n<BR>\n<A href=\"" +
           AttributeSafeLink(item.GetHyperlink()) + "\"><STRONG>" + EscapeMarkup(item.GetTitle()) +
           "</STRONG>\n</A>\n</DT>\n";
}

std::string BuildDefinition(const CTavrelItem& item) {
    return "<DD>" + EscapeMarkup(item.GetDescription()) + "<BR>\n<P></DD>\n";
}

std::string BuildSection(const CTavrelItem* head) {
    std::string section = "<DL>\n" + BuildMarker();
    for (const CTavrelItem* item = head; item != nullptr; item = item->GetNext()) {
        section += BuildTerm(*item);
        section += BuildDefinition(*item);
    }
    return section + "</DL>";
}
