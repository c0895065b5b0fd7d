// Builds a Qt dialog from a dialog template (platform/dialog_template.h).
//
// Positions and sizes in a template are dialog units, which scale with the
// dialog's font: a horizontal unit is a quarter of the average width of the
// 52 letters A-Z and a-z (rounded to whole pixels), a vertical unit an eighth
// of the character height. So a dialog keeps its proportions and its texts
// keep fitting whatever font the system substitutes for the one the template
// names.
//
// Controls become Qt widgets by class and style: EDIT a QLineEdit (or a
// MultiLineEdit with ES_MULTILINE), BUTTON a QPushButton (or a QGroupBox with
// BS_GROUPBOX), STATIC a QLabel (text, or an icon with SS_ICON), LISTBOX a
// ListBox, COMBOBOX a SimpleComboBox with CBS_SIMPLE or else a QComboBox.
// LBS_SORT and CBS_SORT make the list keep its rows in order without regard
// to letter case (a drop-down QComboBox is never sorted; no dialog asks for
// one).
// They are created in template order, which makes that the tab order, and the
// first control is on top where controls overlap.
#pragma once

#include <QDialog>
#include <QFont>
#include <QRect>

#include "platform/dialog_template.h"

// The mapping of dialog units to pixels for one font.
class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);

    // Pixels for `units` horizontal dialog units: units * base unit / 4,
    // rounded to the nearest pixel; the base unit is the letters' average
    // width rounded.
    int ToPixelsX(int units) const;
    // Pixels for `units` vertical dialog units: units * character height / 8,
    // rounded to the nearest pixel.
    int ToPixelsY(int units) const;
    // A rectangle given in dialog units, in pixels.
    QRect ToPixels(int x, int y, int width, int height) const;

  private:
    int m_baseUnitX;
    int m_charHeight;
};

// The font a template names at its point size; where the system lacks that
// family it substitutes its own sans-serif face.
QFont DialogFont(const DialogTemplate& dialogTemplate);

// Turns the empty `dialog` into the dialog of `dialogTemplate`: font, caption,
// fixed client size, frame (a title bar and close box; minimise and maximise
// boxes only when the style asks for them) and every control. Call once, on a
// dialog without children of its own.
void BuildDialog(QDialog* dialog, const DialogTemplate& dialogTemplate);

// The control with `id` that BuildDialog created in `dialog`, or null.
QWidget* DialogItem(const QWidget* dialog, int id);

// The template ID a control was built from (IDC_STATIC for any other widget).
int DialogItemId(const QWidget* control);

// Places `window` in the middle of the available area of its screen.
void CenterWindow(QWidget* window);

// Moves `window` (keeping its x) just below `keepClear`, a rectangle in
// global coordinates, or just above it when below there is no room on the
// screen; a window that does not overlap it stays where it is.
void PlaceClearOf(QWidget* window, const QRect& keepClear);
