#include <QLineEdit>

#include "editor/TavrelDlg.h"
#include "linkchooser/LocalHrefDlg.h"
#include "platform/dialog_template.h"

// Runs the link chooser over the editor; on OK the composed hyperlink replaces
// the hyperlink field's text. The entry itself changes only when Add or
// Change reads the field afterwards.
void CTavrelDlg::OnBrowse() {
    CLocalHrefDlg chooser(this);
    if (chooser.DoModal() == IDOK) {
        m_editHyperlink->setText(QString::fromStdString(chooser.m_strResult));
    }
}
