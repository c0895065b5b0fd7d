// The texts the wizard and the tavrel command show the user, in one place so
// that both say exactly the same.
#pragma once

inline constexpr const char kAppCaption[] = "Tavrel Wizard";
inline constexpr const char kMsgNotHtml[] = "The file path is not an HTML document.";
inline constexpr const char kMsgHyperlinkRequired[] =
    "A hyperlink for the Tavrel Item is required. Please type it in.";
inline constexpr const char kMsgCouldNotCreate[] = "Could not create Tavrel Page.";
inline constexpr const char kMsgNoBody[] =
    "The page is a frameset: it has no BODY element, so the Tavrel list cannot be put into it. "
    "The page was left unchanged.";
inline constexpr const char kMsgCannotRead[] = "The page could not be read. It was left unchanged.";
inline constexpr const char kMsgNotRegularFile[] =
    "The page is not a regular file, so it cannot be read. It was left unchanged.";
inline constexpr const char kMsgPageMissing[] = "The page does not exist.";
inline constexpr const char kMsgNoPlaceForList[] =
    "The page ends inside markup that would not keep a list added at its end whole (a script, a "
    "comment or an unclosed link, for example). Put <dl> with the marker comment where the list "
    "should go. The page was left unchanged.";
inline constexpr const char kMsgEncodingWouldChange[] =
    "The change would move the page's declaration of its encoding (<meta charset>) out of the "
    "first 1024 bytes, where browsers look for it, and the page would read differently. Move "
    "the declaration to the top of the HEAD. The page was left unchanged.";
inline constexpr const char kMsgNoListYet[] =
    "The page has no list yet. The first entry added puts it at the end of the page's BODY, "
    "or where a <dl> holding the marker comment stands.";
inline constexpr const char kMsgReadIncomplete[] =
    "The page could not be read whole, so it cannot be written back. It was left unchanged.";
inline constexpr const char kMsgPageBusy[] =
    "Another program is changing the page. It was left unchanged; try again later.";
inline constexpr const char kMsgOutOfMemory[] =
    "There is not enough memory to work on the page. It was left unchanged.";
inline constexpr const char kMsgUnreadContent[] =
    "The Tavrel list of the page holds content that cannot be kept as entries; "
    "building the page drops it:";
inline constexpr const char kMsgChangedOnDisk[] =
    "Another program changed the page after it was opened here.\n\n"
    "Apply my changes: read the page again and make the changes of this session on it.\n"
    "Overwrite: write the page as shown here; the other program's changes are lost.\n"
    "Go back: return to the editor; nothing is written.";
inline constexpr const char kBtnApplyMyChanges[] = "&Apply my changes";
inline constexpr const char kBtnOverwrite[] = "&Overwrite";
inline constexpr const char kBtnGoBack[] = "Go &back";
inline constexpr const char kBtnBuildAnyway[] = "B&uild it anyway";
inline constexpr const char kMsgRegistryDamaged[] =
    "The web server's settings could not be read, so the page cannot be signed with the "
    "administrator's address. It was not written.";
inline constexpr const char kMsgSettingsUnreadable[] =
    "The web server's settings could not be read. The page was left unchanged.";
inline constexpr const char kMsgPageHasNoUrl[] =
    "The page is outside the web server's document map, so its address is not known. "
    "Give --base-url with the address of the page's folder, or map its folder in the registry.";
inline constexpr const char kMsgFeedHasNoPlace[] =
    "The page is outside the web server's document map, so neither the place of its feed nor "
    "the addresses in it are known; no feed was written. Map the page's folder in the registry.";
inline constexpr const char kMsgFeedOutside[] =
    "The feed link leads outside the web server's document tree; no feed was written.";
inline constexpr const char kMsgFeedNotWritten[] =
    "The page was written, but its feed could not be; the old feed file was left as it was.";
inline constexpr const char kMsgBuildAnyway[] = "Build the page anyway?";
inline constexpr const char kMsgNotReplayed[] =
    "These changes could not be made on the page as it is now:";
inline constexpr const char kMsgReplayShown[] =
    "Nothing was written. The list now shows the page as it is, with the other changes made; "
    "press Build It to write it.";
// The wizard's questions before typed work would be dropped, and its
// warnings when a page opens that Build It will not be able to write.
inline constexpr const char kMsgAddBeforeBuilding[] = "Add this entry before building?";
inline constexpr const char kMsgChangeBeforeBuilding[] = "Change this entry before building?";
inline constexpr const char kBtnYes[] = "&Yes";
inline constexpr const char kBtnNo[] = "&No";
inline constexpr const char kBtnCancel[] = "Cancel";
inline constexpr const char kMsgDiscardChangesTo[] = "Discard your changes to ";
inline constexpr const char kBtnDiscard[] = "&Discard";
inline constexpr const char kMsgFolderMissing[] =
    "The page's folder does not exist, so Build It cannot write the page.";
inline constexpr const char kMsgFolderNotWritable[] =
    "The page's folder cannot be written, so Build It cannot create the page.";
inline constexpr const char kMsgPageNotWritable[] =
    "The page is write-protected, so Build It cannot write it.";
inline constexpr const char kTitleNewPage[] = " (new page)";
inline constexpr const char kTitleNoList[] = " (no list yet)";
inline constexpr const char kTitleSeparator[] = " \u2014 ";
inline constexpr const char kMsgCannotReadServerSettings[] =
    "The web server's settings could not be read, so its directories cannot be listed.";
// Where the web server's settings were read from, as `tavrel docmap` says it.
inline constexpr const char kSourceByOption[] = "named by --server-config";
inline constexpr const char kSourceByHiveValue[] = "named by the hive value ServerConfig";
inline constexpr const char kSourceLocalHive[] = "the registry hive of this machine";
inline constexpr const char kSourceRemoteHive[] = "the registry hive of the -r machine";
inline constexpr const char kSourceConfigOf[] = " configuration ";
inline constexpr const char kSourceHost[] = ", host ";
inline constexpr const char kSourceUnnamedHost[] = "without a name";
inline constexpr const char kMsgOutsideDocMap[] =
    "is in no directory the link chooser lists, so it has no URL.";
inline constexpr const char kLocalHrefCaption[] = "Choose Local HREF";
inline constexpr const char kMsgChooseDirectory[] =
    "Choose a directory in the list HREF 'Directory' first, then a file.";
inline constexpr const char kFatalErrorCaption[] = "Fatal Error";
inline constexpr const char kMsgNoRemoteRegistry[] =
    "No remote server registry supplied for -r switch";
// Why a page could not be written, from what the system tells about the page
// or its folder: {path}, {owner}, {mode} and {user} are filled in.
inline constexpr const char kMsgCouldNotWrite[] = "The page could not be written.";
inline constexpr const char kMsgOwnPageWriteProtected[] =
    "The page {path} is write-protected (owner {owner}, mode {mode}); the page was left "
    "unchanged. To allow writing it: chmod u+w {path}";
inline constexpr const char kMsgPageNotWritableBy[] =
    "The page {path} is not writable by {user} (owner {owner}, mode {mode}); the page was left "
    "unchanged. Run this as a user who may write it, or ask {owner} to let {user} write it.";
inline constexpr const char kMsgOwnFolderNotWritable[] =
    "The folder {path} is not writable by {user} (owner {owner}, mode {mode}), so the page "
    "cannot be created in it; nothing was written. To allow it: chmod u+wx {path}";
inline constexpr const char kMsgFolderNotWritableBy[] =
    "The folder {path} is not writable by {user} (owner {owner}, mode {mode}), so the page "
    "cannot be created in it; nothing was written. Run this as a user who may write there, or "
    "ask {owner} to let {user} write in it.";
inline constexpr const char kMsgFolderDoesNotExist[] =
    "The folder {path} does not exist; nothing was written. Create it first (mkdir -p {path}) "
    "or check the page's path.";
inline constexpr const char kMsgReadOnlyFileSystem[] =
    "{path} is on a read-only file system; the page was left unchanged. Remount it "
    "writable or keep the page elsewhere.";
