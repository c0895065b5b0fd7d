#include "page/SectionCheck.h"

#include <cstring>

#include "text/ascii.h"

namespace {

// The element's name in upper case: the library's name for its code, or the
// name an element without code of its own has in its `text` ("<name").
std::string ElementName(const block* node) {
    if (node->tag != HTML_UNKNOWN) return HTMLElementName(node->tag);
    const char* text = node->text != nullptr ? node->text : "";
    if (*text == '<') ++text;
    return ascii::Uppercase(text);
}

bool IsBlankText(const block* node) {
    if (node->type != BT_TEXT) return false;
    const char* text = node->text != nullptr ? node->text : "";
    return text[std::strspn(text, " \t\r\n\f")] == '\0';
}

// "an" before an element name said with a vowel sound: names of one or two
// letters and H1 to H6 are spelt out ("an LI", "an H2", "a UL"), longer ones
// read as words ("an IMG", "a SPAN").
const char* Article(const std::string& name) {
    if (name.empty()) return "a";
    const bool spelt = name.size() <= 2 || (name[0] == 'H' && name[1] >= '1' && name[1] <= '6');
    const char* vowelSounds = spelt ? "AEFHILMNORSX" : "AEIO";
    return std::strchr(vowelSounds, name[0]) != nullptr ? "an" : "a";
}

// "a P element", "an EM element", "text", "a comment": what `node` is, for a
// message.
std::string Kind(const block* node) {
    if (node->type == BT_TEXT) return "text";
    if (node->type == BT_COMMENT) return "a comment";
    if (node->type != BT_ELEMENT) return "a declaration";
    const std::string name = ElementName(node);
    return std::string(Article(name)) + " " + name + " element";
}

// True when `node` holds nothing but one text (or nothing at all).
bool HoldsOnlyText(const block* node) {
    const block* child = node->first_child;
    return child == nullptr || (child->type == BT_TEXT && child->next_sib == nullptr);
}

bool HoldsOnlyBlanks(const block* node) {
    for (const block* child = node->first_child; child != nullptr; child = child->next_sib) {
        if (!IsBlankText(child)) return false;
    }
    return true;
}

}  // namespace

// The marker comment opens the list, after white space on an indented page.
void SectionChecker::Child(const block* child) {
    if (!m_markerSeen && child->type == BT_COMMENT) {
        m_markerSeen = true;
        return;
    }
    if (!IsBlankText(child)) m_markerSeen = true;
    if (child->tag == HTML_DT) {
        CheckTerm(child);
    } else if (child->tag == HTML_DD) {
        CheckDefinition(child);
    } else if (!IsBlankText(child)) {
        Drop(Kind(child) + " between entries");
    }
}

std::vector<std::string> SectionChecker::Finish() {
    if (m_termOpen) DropOpenTerm();
    m_termOpen = false;
    return std::move(m_dropped);
}

// Entries are numbered from 0 in page order, as tavrel numbers them.
std::string SectionChecker::InEntry(const std::string& what) const {
    return what + " in entry " + std::to_string(m_entry - 1);
}

void SectionChecker::DropOpenTerm() { Drop(InEntry("a term (DT) without its description (DD)")); }

void SectionChecker::CheckTerm(const block* dt) {
    if (m_termOpen) DropOpenTerm();
    ++m_entry;
    m_termOpen = true;
    bool dateSeen = false;
    bool anchorSeen = false;
    for (const block* child = dt->first_child; child != nullptr; child = child->next_sib) {
        if (IsBlankText(child) || (child->tag == HTML_BR && child->first_child == nullptr)) {
            continue;
        }
        if (child->tag == HTML_STRONG && !dateSeen && HoldsOnlyText(child)) {
            dateSeen = true;
        } else if (child->tag == HTML_A && !anchorSeen) {
            anchorSeen = true;
            CheckAnchor(child);
        } else {
            Drop(InEntry(Kind(child) + " beside the date and title"));
        }
    }
}

void SectionChecker::CheckAnchor(const block* anchor) {
    bool titleSeen = false;
    for (const block* child = anchor->first_child; child != nullptr; child = child->next_sib) {
        if (IsBlankText(child)) continue;
        if (child->tag == HTML_STRONG && !titleSeen && HoldsOnlyText(child)) {
            titleSeen = true;
        } else {
            Drop(InEntry(Kind(child) + " in the title"));
        }
    }
}

void SectionChecker::CheckDefinition(const block* dd) {
    if (m_entry == 0) {
        Drop("a description (DD) before the first entry, which empties the whole list");
        return;
    }
    if (!m_termOpen) Drop(InEntry("a second description (DD)"));
    m_termOpen = false;
    bool textSeen = false;
    for (const block* child = dd->first_child; child != nullptr; child = child->next_sib) {
        if (child->type == BT_TEXT && !textSeen) {
            textSeen = true;
        } else if (IsBlankText(child) || (child->tag == HTML_BR && child->first_child == nullptr) ||
                   (child->tag == HTML_P && HoldsOnlyBlanks(child))) {
            continue;
        } else {
            Drop(InEntry(Kind(child) + " in the description"));
        }
    }
}

std::vector<std::string> CheckSection(const block* dl) {
    SectionChecker checker;
    for (const block* child = dl->first_child; child != nullptr; child = child->next_sib) {
        checker.Child(child);
    }
    return checker.Finish();
}
