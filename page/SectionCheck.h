// Finds what the reader of the generated section cannot take into entries.
//
// An entry is a DT holding the date in a STRONG, a BR and an anchor whose
// STRONG holds the title, followed by one DD holding the description as text,
// BR and an empty P. Rebuilding the section from its entries drops everything
// else in it: a DD before any DT, a DT without its DD, a second DD, elements
// and text between entries, markup inside a field. CheckSection names each of
// these, so that a caller can refuse to drop them silently.
#pragma once

#include <string>
#include <vector>

#include "htmlparse.h"

// One line per piece of content in the section `dl` (the DL with the marker
// comment) that reading it into entries would drop, in page order; empty when
// the section reads without loss.
std::vector<std::string> CheckSection(const block* dl);

// The same, for a section given child by child, in page order, so that a
// long one need not be held whole.
class SectionChecker {
  public:
    // Looks at the next child of the section.
    void Child(const block* child);
    // What reading the section drops, once all its children were given.
    std::vector<std::string> Finish();

  private:
    void Drop(const std::string& what) { m_dropped.push_back(what); }
    std::string InEntry(const std::string& what) const;
    void DropOpenTerm();
    void CheckTerm(const block* dt);
    void CheckAnchor(const block* anchor);
    void CheckDefinition(const block* dd);

    std::vector<std::string> m_dropped;
    bool m_markerSeen = false;
    int m_entry = 0;  // entries (DT) seen so far
    bool m_termOpen = false;
};
