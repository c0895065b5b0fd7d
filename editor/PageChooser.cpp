#include "editor/PageChooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "linkchooser/DocMap.h"
#include "model/Messages.h"
#include "platform/file_system.h"
#include "platform/registry.h"

namespace {

constexpr char kRootUrl[] = "/";
constexpr char kHtmlFilter[] = "HTML pages (*.htm *.html)";

}  // namespace

std::string PageChooserStartFolder() {
    DocMapEntry docMap;
    if (docMap.ReadDocMap() == ERROR_SUCCESS) {
        for (const DocMapEntry* entry = &docMap; entry != nullptr; entry = entry->GetNext()) {
            if (entry->m_pszUrlPrefix && entry->m_pszResolvedDir &&
                std::string(entry->m_pszUrlPrefix.get()) == kRootUrl) {
                return TidySystemPath(entry->m_pszResolvedDir.get());
            }
        }
    }
    return QDir::currentPath().toStdString();
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
