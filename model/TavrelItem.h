// One entry of the Tavrel page: date, title, description and hyperlink, all
// free UTF-8 text, and the link to the next entry of the item list.
#pragma once

#include <memory>
#include <string>

class CTavrelItem {
  public:
    CTavrelItem() = default;
    CTavrelItem(const CTavrelItem&) = delete;
    CTavrelItem& operator=(const CTavrelItem&) = delete;

    std::string GetDate() const { return m_strDate; }
    std::string GetTitle() const { return m_strTitle; }
    std::string GetDescription() const { return m_strDescription; }
    std::string GetHyperlink() const { return m_strHyperlink; }
    CTavrelItem* GetNext() const { return m_pNext; }

    void SetDate(const std::string& date) { m_strDate = date; }
    void SetTitle(const std::string& title) { m_strTitle = title; }
    void SetDescription(const std::string& description) { m_strDescription = description; }
    void SetHyperlink(const std::string& hyperlink) { m_strHyperlink = hyperlink; }
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
