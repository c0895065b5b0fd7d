// The tavrel subcommands that edit a page. Each does what the wizard does:
// the same path test, the same page session (which reads, locks and writes),
// the same list operation. The lock is held from the read to the write.
#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/Commands.h"
#include "cli/PageSteps.h"
#include "model/DateText.h"
#include "model/ItemList.h"
#include "model/Messages.h"
#include "model/PagePath.h"
#include "page/LinkText.h"
#include "page/PageSession.h"
#include "text/utf8.h"

namespace {

// A field must be UTF-8: the page and its reader take nothing else.
int RefuseInvalidFields(const EntryFields& fields) {
    const std::pair<const char*, const std::optional<std::string>*> named[] = {
        {"--date", &fields.date},
        {"--title", &fields.title},
        {"--link", &fields.hyperlink},
        {"--description", &fields.description}};
    for (const auto& [option, value] : named) {
        if (value->has_value() && !utf8::IsValid(**value)) {
            std::cerr << "tavrel: the value of " << option
                      << " is not valid UTF-8; nothing was read or written.\n";
            return 1;
        }
    }
    return 0;
}

void Apply(const EntryFields& fields, CTavrelItem* item) {
    if (fields.date) item->SetDate(*fields.date);
    if (fields.description) item->SetDescription(*fields.description);
    if (fields.title) item->SetTitle(*fields.title);
    if (fields.hyperlink) item->SetHyperlink(*fields.hyperlink);
}

// The item at `index` of `entries`, or null (with the refusal written) when
// there is none.
CTavrelItem* EntryAt(const std::string& page, const ItemList& entries, long long index) {
    const int count = entries.Count();
    CTavrelItem* item = index <= count ? entries.At(static_cast<int>(index)) : nullptr;
    if (item == nullptr) {
        std::cerr << page << ": there is no entry " << index << "; the page has " << count
                  << " (numbered from 0).\n";
    }
    return item;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

void PrintTable(const ItemList& entries) {
    int index = 0;
    for (const CTavrelItem* item = entries.Head(); item != nullptr;
         item = item->GetNext(), ++index) {
        std::cout << index << "  " << item->GetDate() << "\n   title:       " << item->GetTitle()
                  << "\n   hyperlink:   " << item->GetHyperlink()
                  << "\n   description: " << FirstLine(item->GetDescription()) << '\n';
    }
}

void PrintJson(const ItemList& list) {
    nlohmann::json entries = nlohmann::json::array();
    for (const CTavrelItem* item = list.Head(); item != nullptr; item = item->GetNext()) {
        entries.push_back({{"date", item->GetDate()},
                           {"title", item->GetTitle()},
                           {"hyperlink", item->GetHyperlink()},
                           {"description", item->GetDescription()}});
    }
    std::cout << entries.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

}  // namespace

int RunList(const std::string& page, bool json, const PageOptions& options) {
    PageSession session(page);
    if (const int failed = OpenPage(page, &session, options, false)) return failed;
    if (session.IsNew()) return Refuse(page, SessionFailure{FailureCode::kPageMissing, 0});
    if (!session.Page().hasSection) std::cerr << page << ": " << kMsgNoListYet << '\n';
    json ? PrintJson(session.Page().entries) : PrintTable(session.Page().entries);
    return 0;
}

int RunAdd(const std::string& page, const EntryFields& fields, const PageOptions& options) {
    if (const int invalid = RefuseInvalidFields(fields)) return invalid;
    if (fields.hyperlink.value_or("").empty()) {
        std::cerr << "tavrel add: --link URL is required: the hyperlink of the new entry.\n";
        return 2;
    }
    PageSession session(page);
    return EditPage(page, &session, options, [&](ItemList& entries) {
        auto item = std::make_unique<CTavrelItem>();
        item->SetDate(DateText());
        Apply(fields, item.get());
        entries.InsertAtHead(std::move(item));
        return true;
    });
}

int RunChange(const std::string& page, long long index, const EntryFields& fields,
              const PageOptions& options) {
    if (!fields.date && !fields.title && !fields.hyperlink && !fields.description) {
        std::cerr << "tavrel change: give the fields to change: --title, --link, --description "
                     "or --date (`tavrel rebuild` builds the page unchanged).\n";
        return 2;
    }
    if (const int invalid = RefuseInvalidFields(fields)) return invalid;
    PageSession session(page);
    return EditPage(page, &session, options, [&](ItemList& entries) {
        CTavrelItem* item = EntryAt(page, entries, index);
        if (item != nullptr) Apply(fields, item);
        return item != nullptr;
    });
}

int RunDelete(const std::string& page, long long index, const PageOptions& options) {
    PageSession session(page);
    return EditPage(page, &session, options, [&](ItemList& entries) {
        if (EntryAt(page, entries, index) == nullptr) return false;
        entries.RemoveAt(static_cast<int>(index));
        return true;
    });
}

int RunRebuild(const std::string& page, const PageOptions& options) {
    PageSession session(page);
    return EditPage(page, &session, options, [](ItemList&) { return true; });
}
