// Resource IDs: dialog templates, icons and the controls the program
// addresses. The templates themselves are in res/dialog_templates.cpp.
#pragma once

#include "platform/dialog_template.h"

// Dialog templates.
inline constexpr int IDD_TAVREL_DIALOG = 102;
inline constexpr int IDD_LOCAL_HREF_DIALOG = 130;

// Icons: the application's own (window, task bar, minimised) and the one in
// the editor's heading.
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDI_TAVREL_PAGE = 129;

// Controls of the editor dialog (template 102).
inline constexpr int IDC_ADD = 1000;
inline constexpr int IDC_DELETE = 1001;
inline constexpr int IDC_CHANGE = 1002;
inline constexpr int IDC_TITLE = 1008;
inline constexpr int IDC_DESCRIPTION = 1009;
inline constexpr int IDC_DATE = 1010;
inline constexpr int IDC_ITEM_LIST = 1012;
inline constexpr int IDC_TITLE_LABEL = 1013;
inline constexpr int IDC_DESCRIPTION_LABEL = 1014;
inline constexpr int IDC_DATE_LABEL = 1015;
inline constexpr int IDC_BUILD_IT = 1016;
inline constexpr int IDC_HELP_BUTTON = 1017;
inline constexpr int IDC_NEW_ITEM = 1018;
inline constexpr int IDC_HYPERLINK = 1019;
inline constexpr int IDC_HYPERLINK_LABEL = 1020;
inline constexpr int IDC_BROWSE = 1022;
inline constexpr int IDC_PAGE_ICON = 202;

// Controls of the link chooser dialog (template 130); OK and Cancel are
// IDOK and IDCANCEL.
inline constexpr int IDC_FILE_COMBO = 1001;
inline constexpr int IDC_DIR_LIST = 1002;
