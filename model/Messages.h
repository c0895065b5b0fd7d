// The texts the wizard and the tavrel command show the user, in one place so
// that both say exactly the same.
#pragma once

inline constexpr const char kAppCaption[] = "Tavrel Wizard";
inline constexpr const char kMsgNotHtml[] = "The file path is not an HTML document.";
inline constexpr const char kMsgHyperlinkRequired[] =
    "A hyperlink for the Tavrel Item is required. Please type it in.";
inline constexpr const char kMsgCouldNotCreate[] = "Could not create Tavrel Page.";
inline constexpr const char kMsgNoBody[] =
    "The page has no BODY element, so the Tavrel list cannot be put into it. "
    "The page was left unchanged.";
inline constexpr const char kMsgCannotRead[] = "The page could not be read. It was left unchanged.";
inline constexpr const char kFatalErrorCaption[] = "Fatal Error";
inline constexpr const char kMsgNoRemoteRegistry[] =
    "No remote server registry supplied for -r switch";
