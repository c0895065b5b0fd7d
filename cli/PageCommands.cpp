// The tavrel subcommands that edit a page. Each does what the wizard does:
// the same path test, the same read, the same list operation and the same
// writer, chosen by whether the page existed when it was opened.
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/Commands.h"
#include "model/DateText.h"
#include "model/ItemList.h"
#include "model/Messages.h"
#include "model/PagePath.h"
#include "page/NewPageWriter.h"
#include "page/PageReader.h"
#include "page/SectionBuilder.h"

namespace {

int Refuse(const std::string& caption, const char* message) {
    std::cerr << caption << ": " << message << '\n';
    return 1;
}

// Reads the entries of an existing page into the item list and keeps its
// tree for the update, as the wizard does when it opens a page.
int OpenExistingPage(const std::string& page) {
    FILE* stream = std::fopen(page.c_str(), "r");
    if (stream == nullptr) return Refuse(page, kMsgCannotRead);
    CTavrelItem* items = ReadPage(stream);
    const bool unreadable = std::ferror(stream) != 0;
    std::fclose(stream);
    AdoptItemList(items);
    if (unreadable) return Refuse(page, kMsgCannotRead);
    return 0;
}

// Tests the path and reads the page's entries into the item list; sets
// `isNew` when the page does not exist yet. Returns 0 or an exit code.
int OpenPage(const std::string& page, bool* isNew) {
    if (!IsHtmlPath(page)) return Refuse(page, kMsgNotHtml);
    *isNew = access(page.c_str(), F_OK) != 0;
    return *isNew ? 0 : OpenExistingPage(page);
}

// Writes the item list to the page with the writer the wizard would use.
int BuildPage(const std::string& page, bool isNew) {
    if (!isNew) {
        if (g_pBody == nullptr) return Refuse(page, kMsgNoBody);
        if (!WriteUpdatedPage(page)) return Refuse(page, kMsgCouldNotCreate);
        return 0;
    }
    if (!WriteNewPage(page, g_pItemHead)) return Refuse(page, kMsgCouldNotCreate);
    return 0;
}

void Apply(const EntryFields& fields, CTavrelItem* item) {
    if (fields.date) item->SetDate(*fields.date);
    if (fields.description) item->SetDescription(*fields.description);
    if (fields.title) item->SetTitle(*fields.title);
    if (fields.hyperlink) item->SetHyperlink(*fields.hyperlink);
}

int EntryCount() {
    int count = 0;
    for (CTavrelItem* item = g_pItemHead; item != nullptr; item = item->GetNext()) ++count;
    return count;
}

int RefuseIndex(const std::string& page, int index) {
    std::cerr << page << ": there is no entry " << index << "; the page has " << EntryCount()
              << " (numbered from 0).\n";
    return 1;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

void PrintTable() {
    int index = 0;
    for (CTavrelItem* item = g_pItemHead; item != nullptr; item = item->GetNext(), ++index) {
        std::cout << index << "  " << item->GetDate() << "\n   title:       " << item->GetTitle()
                  << "\n   hyperlink:   " << item->GetHyperlink()
                  << "\n   description: " << FirstLine(item->GetDescription()) << '\n';
    }
}

void PrintJson() {
    nlohmann::json entries = nlohmann::json::array();
    for (CTavrelItem* item = g_pItemHead; item != nullptr; item = item->GetNext()) {
        entries.push_back({{"date", item->GetDate()},
                           {"title", item->GetTitle()},
                           {"hyperlink", item->GetHyperlink()},
                           {"description", item->GetDescription()}});
    }
    std::cout << entries.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

// Releases the tree of an existing page when a command ends without writing it.
struct PageTreeGuard {
    PageTreeGuard() = default;
    PageTreeGuard(const PageTreeGuard&) = delete;
    PageTreeGuard& operator=(const PageTreeGuard&) = delete;
    ~PageTreeGuard() { ReleasePageTree(); }
};

}  // namespace

int RunList(const std::string& page, bool json) {
    const PageTreeGuard tree;
    bool isNew = false;
    if (const int failed = OpenPage(page, &isNew)) return failed;
    json ? PrintJson() : PrintTable();
    return 0;
}

int RunAdd(const std::string& page, const EntryFields& fields) {
    const PageTreeGuard tree;
    bool isNew = false;
    if (const int failed = OpenPage(page, &isNew)) return failed;
    if (fields.hyperlink.value_or("").empty()) return Refuse(kAppCaption, kMsgHyperlinkRequired);
    auto* item = new CTavrelItem;
    item->SetDate(DateText());
    Apply(fields, item);
    InsertItemAtHead(item);
    return BuildPage(page, isNew);
}

int RunChange(const std::string& page, int index, const EntryFields& fields) {
    const PageTreeGuard tree;
    bool isNew = false;
    if (const int failed = OpenPage(page, &isNew)) return failed;
    CTavrelItem* item = ItemAt(index);
    if (item == nullptr) return RefuseIndex(page, index);
    Apply(fields, item);
    return BuildPage(page, isNew);
}

int RunDelete(const std::string& page, int index) {
    const PageTreeGuard tree;
    bool isNew = false;
    if (const int failed = OpenPage(page, &isNew)) return failed;
    if (ItemAt(index) == nullptr) return RefuseIndex(page, index);
    RemoveItemAt(index);
    return BuildPage(page, isNew);
}

int RunRebuild(const std::string& page) {
    const PageTreeGuard tree;
    bool isNew = false;
    if (const int failed = OpenPage(page, &isNew)) return failed;
    return BuildPage(page, isNew);
}
