#include "page/NewPageWriter.h"

#include "model/ServerRegistry.h"
#include "page/LinkText.h"
#include "platform/file_replace.h"

namespace {

constexpr DWORD kRegistryTextRoom = 260;

bool Put(FILE* stream, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

// A field as text of the fresh page: markup characters escaped, and ASCII
// only, since the page declares no encoding a browser could go by.
std::string FreshText(const std::string& field) { return AsciiWithReferences(EscapeMarkup(field)); }

}  // namespace

bool ReadServerAdmin(std::string* admin) {
    return ReadLocalServerText("ServerAdmin", kRegistryTextRoom, admin);
}

bool WriteNewItem(FILE* stream, const CTavrelItem& item) {
    const std::string link = AsciiWithReferences(AttributeSafeLink(item.GetHyperlink()));
    return Put(stream, "<dt>\n<strong>" + FreshText(item.GetDate()) + "</strong>\n<br>\n") &&
           Put(stream, "<A HREF =\"" + link + "\">\n") &&
           Put(stream, "<STRONG>" + FreshText(item.GetTitle()) + "</STRONG></A>\n<dd>\n") &&
           Put(stream, "<BR>" + FreshText(item.GetDescription()) + "<BR><p>\n");
}

bool WriteNewSection(FILE* stream, const CTavrelItem* head, const std::string& admin) {
    bool ok = Put(stream, "<H1>Tavrel</H1>\n<dl>\n<!--");
    ok = ok && Put(stream, std::string(kMarkerBody) + " -->\n");
    for (const CTavrelItem* item = head; ok && item != nullptr; item = item->GetNext()) {
        ok = WriteNewItem(stream, *item);
    }
    ok = ok && Put(stream, "</dl><HR>\n");
    if (ok && !admin.empty()) {
        ok = Put(stream,
                 "<A HREF=\"mailto:" + admin + "\">\n<address>" + admin + "</address>\n</a>");
    }
    return ok;
}

bool WriteNewPage(const std::string& pagePath, const CTavrelItem* head, const std::string& admin,
                  int* error, int* keptLock) {
    return ReplaceFileSafely(
        pagePath,
        [head, &admin](FILE* stream) {
            return Put(stream, "<html>\n<head>\n<title>Tavrel Page</title>\n</head>\n<body>\n") &&
                   WriteNewSection(stream, head, admin) && Put(stream, "</body>\n</html>\n");
        },
        error, keptLock);
}
