#include "editor/TavrelDlg.h"

// The link chooser is not part of the wizard yet: Browse does nothing.
void CTavrelDlg::OnBrowse() {}
