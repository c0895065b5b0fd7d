// Reads the generated section of a parsed page (a DL whose first child,
// after white space, is the marker comment) into entries. The page scan
// (page/PageScan.h) finds the section and calls these.
//
// Every test on a node compares its element code and nothing else; only the
// marker test also requires the node to be a comment. Inside the section
// only direct children are looked at, at every level.
#pragma once

#include <string>
#include <vector>

#include "htmlparse.h"
#include "model/TavrelItem.h"

// Whether `node` is a generated section: a DL whose first child, after white
// space, is the marker comment.
bool IsSection(const block* node);

// The first section in document order among `from`, its following siblings
// and all their descendants, or null.
block* FindSectionFrom(block* from);

// The entries of the section `dl`, in page order, or null. A DT starts an
// entry and a DD describes the latest one; a DD before any DT makes the whole
// section read as empty. Entries that a malformed order leaves unreachable
// from the head are destroyed.
CTavrelItem* ReadSection(const block* dl);

// The same, for a section given child by child, in page order, so that a
// long one need not be held whole.
class SectionReader {
  public:
    SectionReader() = default;
    ~SectionReader();  // destroys the entries Finish did not hand over
    SectionReader(const SectionReader&) = delete;
    SectionReader& operator=(const SectionReader&) = delete;

    // Reads the next child of the section. Throws std::bad_alloc.
    void Child(const block* child);
    // The head of the list of entries read (the caller owns it), or null.
    CTavrelItem* Finish();

  private:
    std::vector<CTavrelItem*> m_created;
    CTavrelItem* m_head = nullptr;
    CTavrelItem* m_current = nullptr;  // the entry of the latest DT
    CTavrelItem* m_defined = nullptr;  // the latest entry a DD described
    bool m_emptied = false;            // a DD came before any DT
};

// Fills the date (first STRONG child) and, from every A child in turn, the
// hyperlink and title of `item`.
void ReadTerm(CTavrelItem* item, const block* dt);

// Hyperlink from the anchor's first HREF attribute with its character
// references decoded (an empty string for one without value), title from its
// first STRONG child. Throws std::bad_alloc when memory runs out. Fields with no source
// stay as they were.
void ReadAnchor(CTavrelItem* item, const block* anchor);

// Description from the first TEXT child of `dd`; none: unchanged.
void ReadDefinition(CTavrelItem* item, const block* dd);

// Which field of an entry ReadStrongText fills.
enum class StrongField { kDate, kTitle };

// Sets `field` of `item` from the first TEXT child of `strong`; none: unchanged.
void ReadStrongText(CTavrelItem* item, const block* strong, StrongField field);
