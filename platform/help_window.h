// The application's help: an HTML help file from the resources, shown in a
// help window of the application's own.
#pragma once

class QString;
class QTextBrowser;
class QWidget;

// Shows the help at the section named `keyword` (an anchor of the help file,
// e.g. "Contents") in a help window beside `owner` (not null), placed where
// it does not cover it when the screen has room. The window does not block
// `owner`, which stays usable; a later call reuses the same window, where the
// user left it. Escape and Ctrl+W close it. Returns it.
QTextBrowser* OpenHelp(QWidget* owner, const QString& keyword);
