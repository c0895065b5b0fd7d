#include "platform/help_window.h"

#include <QTextBrowser>
#include <QUrl>

namespace {

constexpr char kHelpWindowName[] = "helpWindow";
constexpr char kHelpFile[] = "qrc:/help/tavrel-wizard.html";

QTextBrowser* CreateHelpWindow(QWidget* owner) {
    auto* browser = new QTextBrowser(owner);
    browser->setObjectName(kHelpWindowName);
    // A window of its own, but a child of the owner: a modal owner does not
    // block it, and it closes with the owner.
    browser->setWindowFlags(Qt::Window);
    browser->setWindowTitle(QObject::tr("Tavrel Wizard Help"));
    browser->setOpenExternalLinks(true);
    browser->resize(620, 560);
    return browser;
}

}  // namespace

QTextBrowser* OpenHelp(QWidget* owner, const QString& keyword) {
    auto* browser = owner->findChild<QTextBrowser*>(kHelpWindowName, Qt::FindDirectChildrenOnly);
    if (browser == nullptr) browser = CreateHelpWindow(owner);
    browser->show();
    browser->setSource(QUrl(QString::fromLatin1(kHelpFile) + QLatin1Char('#') + keyword));
    browser->raise();
    browser->activateWindow();
    return browser;
}
