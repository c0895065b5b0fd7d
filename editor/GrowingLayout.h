// How the editor dialog uses extra room when the user makes it larger.
//
// The dialog's template size is its minimum. Extra height goes half to the
// entry list and half to the description; extra width to both. The frame
// around them grows with them, and every other control keeps its template
// size and moves down by the extra height of the growing controls above it.
#pragma once

#include <QRect>
#include <QSize>
#include <map>

class QWidget;

class GrowingLayout {
  public:
    // Takes the controls' current geometry in `dialog` as the template layout
    // for the dialog's current size. `list` and `description` are the
    // controls that grow; `frame` is the box drawn around both.
    GrowingLayout(QWidget* dialog, QWidget* list, QWidget* description, QWidget* frame);

    // The template size: the smallest the dialog may be.
    QSize MinimumSize() const { return m_base; }

    // Places every control for the dialog's client size `size` (at least the
    // template size).
    void Apply(const QSize& size) const;

  private:
    QRect Placed(QWidget* control, const QRect& base, int extraWidth, int listExtra,
                 int descriptionExtra) const;

    QSize m_base;
    QWidget* m_list;
    QWidget* m_description;
    QWidget* m_frame;
    std::map<QWidget*, QRect> m_geometry;
};
