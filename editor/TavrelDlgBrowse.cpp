#include <QLineEdit>

#include "editor/TavrelDlg.h"
#include "linkchooser/LocalHrefDlg.h"
#include "platform/dialog_template.h"

// Runs the link chooser over the editor, clear of the hyperlink field; on OK the composed hyperlink
// replaces the hyperlink field's text. The entry itself changes only when Add or Change reads the
// field afterwards.
void CTavrelDlg::OnBrowse() {
    CLocalHrefDlg chooser(this);
    chooser.m_keepClear =
        QRect(m_editHyperlink->mapToGlobal(QPoint(0, 0)), m_editHyperlink->size());
    if (chooser.DoModal() == IDOK) {
        m_editHyperlink->setText(QString::fromStdString(chooser.m_strResult));
    }
}
