// One entry of the Tavrel page: date, title, description and hyperlink, all
// free UTF-8 text, and the link to the next entry of the item list.
#pragma once

#include <memory>
#include <string>
#include <utility>

class CTavrelItem {
  public:
    CTavrelItem() = default;
    CTavrelItem(const CTavrelItem&) = delete;
    CTavrelItem& operator=(const CTavrelItem&) = delete;

    const std::string& GetDate() const { return m_strDate; }
    const std::string& GetTitle() const { return m_strTitle; }
    const std::string& GetDescription() const { return m_strDescription; }
    const std::string& GetHyperlink() const { return m_strHyperlink; }
    CTavrelItem* GetNext() const { return m_pNext; }

    void SetDate(std::string date) { m_strDate = std::move(date); }
    void SetTitle(std::string title) { m_strTitle = std::move(title); }
    void SetDescription(std::string description) { m_strDescription = std::move(description); }
    void SetHyperlink(std::string hyperlink) { m_strHyperlink = std::move(hyperlink); }
    // Links this item to `next`; the item that followed before is not touched.
    void SetNext(CTavrelItem* next) { m_pNext = next; }

  private:
    std::string m_strDate;
    std::string m_strTitle;
    std::string m_strDescription;
    CTavrelItem* m_pNext = nullptr;
    std::string m_strHyperlink;
};

// The four fields of an entry.
struct EntryText {
    std::string date;
    std::string title;
    std::string hyperlink;
    std::string description;

    bool operator==(const EntryText&) const = default;
};

// The four fields of `item`.
inline EntryText TextOf(const CTavrelItem& item) {
    return {item.GetDate(), item.GetTitle(), item.GetHyperlink(), item.GetDescription()};
}

// Gives `item` the four fields of `text`.
inline void SetText(CTavrelItem* item, const EntryText& text) {
    item->SetDate(text.date);
    item->SetTitle(text.title);
    item->SetHyperlink(text.hyperlink);
    item->SetDescription(text.description);
}

// A new, unlinked item with the four fields of `text`.
inline std::unique_ptr<CTavrelItem> ItemOf(const EntryText& text) {
    auto item = std::make_unique<CTavrelItem>();
    SetText(item.get(), text);
    return item;
}
