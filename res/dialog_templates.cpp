#include "res/dialog_templates.h"

#include "res/resource.h"

namespace {

constexpr DialogStyle kChild = WS_CHILD | WS_VISIBLE;
constexpr DialogStyle kModalDialog =
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

// The editor: entry list on top, the four fields of one entry below it, the
// editing buttons, then Build It, Cancel and Help.
constexpr DialogControl kTavrelControls[] = {
    {IDC_TITLE, ControlClass::Edit, "", 23, 101, 167, 12,
     kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
    {IDC_HYPERLINK, ControlClass::Edit, "", 24, 130, 125, 14,
     kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
    {IDC_BROWSE, ControlClass::Button, "&Browse...", 155, 131, 35, 12,
     kChild | WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_DESCRIPTION, ControlClass::Edit, "", 23, 159, 167, 30,
     kChild | WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN},
    {IDC_DATE, ControlClass::Edit, "", 23, 205, 167, 14,
     kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
    {IDC_NEW_ITEM, ControlClass::Button, "&New Item", 14, 231, 40, 14,
     kChild | WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_ADD, ControlClass::Button, "&Add", 62, 231, 40, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_DELETE, ControlClass::Button, "&Delete", 110, 231, 40, 14,
     kChild | WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_CHANGE, ControlClass::Button, "Chan&ge", 158, 231, 40, 14,
     kChild | WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_BUILD_IT, ControlClass::Button, "B&uild It", 15, 250, 40, 14,
     kChild | WS_TABSTOP | BS_DEFPUSHBUTTON},
    {IDCANCEL, ControlClass::Button, "&Cancel", 87, 250, 40, 14,
     kChild | WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_HELP_BUTTON, ControlClass::Button, "&Help", 158, 250, 40, 14,
     kChild | WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_ITEM_LIST, ControlClass::ListBox, "", 26, 34, 164, 50,
     kChild | WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT},
    {IDC_HYPERLINK_LABEL, ControlClass::Static, "Hyperlink of Tavrel item", 23, 118, 107, 11,
     kChild | WS_GROUP | SS_LEFT},
    {IDC_STATIC, ControlClass::Button, "", 14, 3, 183, 222, kChild | BS_GROUPBOX},
    {IDC_TITLE_LABEL, ControlClass::Static, "Tavrel item", 23, 88, 67, 10,
     kChild | WS_GROUP | SS_LEFT},
    {IDC_DESCRIPTION_LABEL, ControlClass::Static, "Brief description of Tavrel item", 23, 147, 114,
     9, kChild | WS_GROUP | SS_LEFT},
    {IDC_DATE_LABEL, ControlClass::Static, "Date", 23, 192, 44, 9, kChild | WS_GROUP | SS_LEFT},
    {IDC_PAGE_ICON, ControlClass::Static, "", 24, 13, 18, 20, kChild | SS_ICON, IDI_TAVREL_PAGE},
    {IDC_STATIC, ControlClass::Static, "Fill in the blanks to create or modify your Tavrel Page",
     41, 13, 128, 20, kChild | WS_GROUP | SS_LEFT},
};

// The link chooser: file names on the left, directories in the middle, OK and
// Cancel on the right.
constexpr DialogControl kLocalHrefControls[] = {
    {IDOK, ControlClass::Button, "OK", 174, 20, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDCANCEL, ControlClass::Button, "Cancel", 174, 36, 50, 14,
     kChild | BS_PUSHBUTTON | WS_TABSTOP},
    {IDC_FILE_COMBO, ControlClass::ComboBox, "", 3, 20, 70, 77,
     kChild | CBS_SIMPLE | CBS_SORT | WS_VSCROLL | WS_TABSTOP},
    {IDC_DIR_LIST, ControlClass::ListBox, "", 79, 20, 90, 77,
     kChild | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT | WS_BORDER | WS_VSCROLL | WS_TABSTOP},
    {IDC_STATIC, ControlClass::Static, "HREF 'Filename'", 4, 9, 55, 8, kChild | SS_LEFT | WS_GROUP},
    {IDC_STATIC, ControlClass::Static, "HREF 'Directory'", 76, 9, 56, 8,
     kChild | SS_LEFT | WS_GROUP},
};

constexpr DialogTemplate kTemplates[] = {
    {IDD_TAVREL_DIALOG, "Tavrel Wizard", 208, 276, "MS Sans Serif", 8, kModalDialog,
     kTavrelControls},
    {IDD_LOCAL_HREF_DIALOG, "Choose Local HREF", 230, 105, "MS Sans Serif", 8, kModalDialog,
     kLocalHrefControls},
};

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
    for (const DialogTemplate& dialogTemplate : kTemplates) {
        if (dialogTemplate.id == id) return &dialogTemplate;
    }
    return nullptr;
}
