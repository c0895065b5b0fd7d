#include "editor/PageChooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "linkchooser/FileUrl.h"
#include "model/Messages.h"

namespace {

constexpr char kHtmlFilter[] = "HTML pages (*.htm *.html)";

}  // namespace

std::string PageChooserStartFolder() {
    return DocumentRootFolder().value_or(QDir::currentPath().toStdString());
}

std::string AskForPagePath() {
    QFileDialog dialog(nullptr, QString::fromUtf8(kAppCaption),
                       QString::fromStdString(PageChooserStartFolder()),
                       QString::fromUtf8(kHtmlFilter));
    // A page that does not exist yet may be named too: Build It creates it.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return QFileInfo(dialog.selectedFiles().front()).absoluteFilePath().toStdString();
}
