// A list box as dialogs use it: a list of text rows, one of them selectable.
//
// Rows go in through AddString. In a sorted list box each row is placed in
// alphabetical order without regard to letter case, as the user expects of a
// sorted list ("apple", "Banana", "cherry"); rows that compare equal keep the
// order in which they were added. QListWidget's own insertion calls put a row
// where they are told to, sorted or not.
#pragma once

#include <QListWidget>

class ListBox : public QListWidget {
    Q_OBJECT
  public:
    ListBox(bool sorted, QWidget* parent);

    // True when AddString keeps the rows in order.
    bool IsSorted() const { return m_bSorted; }

    // Adds a row with `text`: in its sorted place when sorted, else at the
    // end. Returns the row's index.
    int AddString(const QString& text);

  private:
    // The index before which `text` goes: after every row that does not sort
    // after it.
    int SortedRowFor(const QString& text) const;

    bool m_bSorted;
};
