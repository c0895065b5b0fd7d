// A dialog template (platform/dialog_template.h) as the in-memory template
// the system's dialog functions read: a DLGTEMPLATE with its menu, class,
// caption and font, then one DLGITEMTEMPLATE per control, every item on a
// four-byte boundary, texts in UTF-16, classes as their predefined ordinals.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/dialog_template.h"

// The words of `dialogTemplate` in memory form; the vector's data is four-byte
// aligned and lives as long as the vector, ready for DialogBoxIndirectParamW.
// An SS_ICON static names its icon resource by ordinal; the template's font
// and point size make the dialog units, as the system computes them; the
// dialog opens centred.
std::vector<DWORD> DialogMemory(const DialogTemplate& dialogTemplate);
