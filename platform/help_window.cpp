#include "platform/help_window.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <algorithm>

namespace {

constexpr char kHelpWindowName[] = "helpWindow";
constexpr char kHelpFile[] = "qrc:/help/tavrel-wizard.html";
constexpr int kGapToOwner = 8;
constexpr int kNarrowestHelp = 400;

// Puts `window` beside `owner`, on the side with more room, narrowed to
// that room when it is wider (but not below kNarrowestHelp); where even that
// does not fit, at the screen's right edge.
void PlaceBeside(QWidget* window, const QWidget* owner) {
    const QScreen* screen = owner->screen();
    if (screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    const QRect beside = owner->frameGeometry();
    const int roomRight = area.right() - beside.right() - kGapToOwner;
    const int roomLeft = beside.left() - area.left() - kGapToOwner;
    const int room = std::max(roomRight, roomLeft);
    int width = window->width();
    int x = area.right() + 1 - width;
    if (room >= std::min(width, kNarrowestHelp)) {
        width = std::min(width, room);
        x = roomRight >= roomLeft ? beside.right() + 1 + kGapToOwner
                                  : beside.left() - kGapToOwner - width;
    }
    const int y = std::clamp(beside.top(), area.top(),
                             std::max(area.top(), area.bottom() + 1 - window->height()));
    window->resize(width, window->height());
    window->move(x, y);
}

// Closes the help window on Escape and Ctrl+W, whichever part of it has the
// keyboard.
class CloseKeys : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool close = key->matches(QKeySequence::Cancel) ||
                           (key->key() == Qt::Key_W && key->modifiers() == Qt::ControlModifier);
        if (!close) return false;
        static_cast<QWidget*>(parent())->close();
        return true;
    }
};

void AddCloseKeys(QTextBrowser* window) {
    auto* keys = new CloseKeys(window);
    window->installEventFilter(keys);
    window->viewport()->installEventFilter(keys);
}

QTextBrowser* CreateHelpWindow(QWidget* owner) {
    auto* browser = new QTextBrowser(owner);
    browser->setObjectName(kHelpWindowName);
    // A window of its own, but a child of the owner: a modal owner does not
    // block it, and it closes with the owner.
    browser->setWindowFlags(Qt::Window);
    browser->setWindowTitle(QObject::tr("Tavrel Wizard Help"));
    browser->setOpenExternalLinks(true);
    browser->resize(620, 560);
    AddCloseKeys(browser);
    return browser;
}

}  // namespace

QTextBrowser* OpenHelp(QWidget* owner, const QString& keyword) {
    auto* browser = owner->findChild<QTextBrowser*>(kHelpWindowName, Qt::FindDirectChildrenOnly);
    if (browser == nullptr) {
        browser = CreateHelpWindow(owner);
        PlaceBeside(browser, owner);
    }
    browser->show();
    browser->setSource(QUrl(QString::fromLatin1(kHelpFile) + QLatin1Char('#') + keyword));
    browser->raise();
    browser->activateWindow();
    return browser;
}
