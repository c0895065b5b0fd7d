// Dialog templates as data: a dialog's caption, size, font and styles, and its
// controls in template order (which is also the tab order), each with its ID,
// class, text, position and size in dialog units and its style bits.
//
// The style constants keep the values and names of the resource format the
// templates were laid out for, so a template reads like its resource script.
// Control style bits below 0x10000 mean different things per class (an EDIT's
// 0x4 is ES_MULTILINE, a LISTBOX's 0x2 is LBS_SORT); the builder
// (platform/dialog_builder.h) interprets them by the control's class.
#pragma once

#include <cstdint>
#include <span>

using DialogStyle = std::uint32_t;

#ifdef _WIN32
// On Windows the names and values are the system's own.
#include <windows.h>
#else
// Window styles, for dialogs and controls alike.
inline constexpr DialogStyle WS_POPUP = 0x80000000;
inline constexpr DialogStyle WS_CHILD = 0x40000000;
inline constexpr DialogStyle WS_VISIBLE = 0x10000000;
inline constexpr DialogStyle WS_DISABLED = 0x08000000;
inline constexpr DialogStyle WS_CAPTION = 0x00C00000;
inline constexpr DialogStyle WS_BORDER = 0x00800000;
inline constexpr DialogStyle WS_VSCROLL = 0x00200000;
inline constexpr DialogStyle WS_HSCROLL = 0x00100000;
inline constexpr DialogStyle WS_SYSMENU = 0x00080000;
inline constexpr DialogStyle WS_GROUP = 0x00020000;
inline constexpr DialogStyle WS_TABSTOP = 0x00010000;
// The same bits as WS_GROUP and WS_TABSTOP, meaning boxes on a dialog's frame.
inline constexpr DialogStyle WS_MINIMIZEBOX = 0x00020000;
inline constexpr DialogStyle WS_MAXIMIZEBOX = 0x00010000;

// Dialog styles.
inline constexpr DialogStyle DS_SETFONT = 0x40;
inline constexpr DialogStyle DS_MODALFRAME = 0x80;

// EDIT styles.
inline constexpr DialogStyle ES_LEFT = 0x0;
inline constexpr DialogStyle ES_MULTILINE = 0x4;
inline constexpr DialogStyle ES_AUTOVSCROLL = 0x40;
inline constexpr DialogStyle ES_AUTOHSCROLL = 0x80;
inline constexpr DialogStyle ES_READONLY = 0x800;
inline constexpr DialogStyle ES_WANTRETURN = 0x1000;

// BUTTON styles; the low four bits are the button's kind.
inline constexpr DialogStyle BS_PUSHBUTTON = 0x0;
inline constexpr DialogStyle BS_DEFPUSHBUTTON = 0x1;
inline constexpr DialogStyle BS_GROUPBOX = 0x7;
inline constexpr DialogStyle BS_TYPEMASK = 0xF;

// LISTBOX styles.
inline constexpr DialogStyle LBS_NOTIFY = 0x1;
inline constexpr DialogStyle LBS_SORT = 0x2;
inline constexpr DialogStyle LBS_NOINTEGRALHEIGHT = 0x100;

// COMBOBOX styles; the low two bits are the combo box's kind.
inline constexpr DialogStyle CBS_SIMPLE = 0x1;
inline constexpr DialogStyle CBS_DROPDOWN = 0x2;
inline constexpr DialogStyle CBS_DROPDOWNLIST = 0x3;
inline constexpr DialogStyle CBS_SORT = 0x100;

// STATIC styles; the low five bits are the static's kind.
inline constexpr DialogStyle SS_LEFT = 0x0;
inline constexpr DialogStyle SS_ICON = 0x3;
inline constexpr DialogStyle SS_TYPEMASK = 0x1F;

// The standard command IDs, also used as control IDs.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
#endif

// The low two bits of a COMBOBOX style: its kind.
inline constexpr DialogStyle CBS_TYPEMASK = 0x3;
// The ID of controls that are never addressed (written 65535 or -1 in a script).
inline constexpr int IDC_STATIC = -1;

enum class ControlClass { Button, Edit, Static, ListBox, ComboBox };

// One control of a template. Position and size are in dialog units.
struct DialogControl {
    int id;
    ControlClass controlClass;
    const char* text;  // caption or initial text, UTF-8; "" for none
    int x;
    int y;
    int width;
    int height;
    DialogStyle style;
    int iconId = 0;  // the icon resource an SS_ICON static shows
};

// A whole dialog. Width and height are the client area in dialog units.
struct DialogTemplate {
    int id;
    const char* caption;
    int width;
    int height;
    const char* fontName;
    int pointSize;
    DialogStyle style;
    std::span<const DialogControl> controls;  // template order = tab order
};
