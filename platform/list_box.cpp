#include "platform/list_box.h"

namespace {

bool SortsBefore(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

}  // namespace

ListBox::ListBox(bool sorted, QWidget* parent) : QListWidget(parent), m_bSorted(sorted) {
    // Qt's own sorting compares case-sensitively and would move rows that
    // AddString placed; the order is kept here instead.
    setSortingEnabled(false);
}

int ListBox::AddString(const QString& text) {
    const int row = m_bSorted ? SortedRowFor(text) : count();
    insertItem(row, text);
    return row;
}

int ListBox::SortedRowFor(const QString& text) const {
    int high = count();
    // Rows added in order go at the end; one comparison tells.
    if (high == 0 || !SortsBefore(text, item(high - 1)->text())) return high;
    int low = 0;
    --high;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (SortsBefore(text, item(middle)->text())) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return low;
}
