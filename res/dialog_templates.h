// The program's dialog templates, looked up by resource ID.
#pragma once

#include "platform/dialog_template.h"

// The template with resource ID `id` (IDD_TAVREL_DIALOG, IDD_LOCAL_HREF_DIALOG),
// or null when there is none.
const DialogTemplate* FindDialogTemplate(int id);
