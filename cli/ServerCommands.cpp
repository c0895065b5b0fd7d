// The tavrel subcommands that show the web server's document map and tree:
// what the link chooser reads and lists, for scripts.
#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/SettingsReport.h"
#include "linkchooser/DirectoryWalk.h"
#include "linkchooser/DocMap.h"
#include "linkchooser/FileList.h"
#include "linkchooser/FileUrl.h"
#include "linkchooser/ListOrder.h"
#include "model/Messages.h"
#include "model/ServerRegistry.h"
#include "model/ServerSource.h"
#include "platform/file_system.h"
#include "platform/registry.h"

namespace {

// Points g_hkeyServer at the registry of `machine` ("" for this machine) for
// as long as it lives, and back at this machine's afterwards.
class ServerRegistryConnection {
  public:
    explicit ServerRegistryConnection(const std::string& machine) {
        HKEY key = nullptr;
        m_result = RegConnectRegistryA(machine.empty() ? nullptr : machine.c_str(),
                                       HKEY_LOCAL_MACHINE, &key);
        if (m_result == ERROR_SUCCESS) {
            g_hkeyServer = key;
            m_connected = true;
        }
    }
    ~ServerRegistryConnection() {
        if (!m_connected) return;
        RegCloseKey(g_hkeyServer);
        g_hkeyServer = HKEY_LOCAL_MACHINE;
    }
    ServerRegistryConnection(const ServerRegistryConnection&) = delete;
    ServerRegistryConnection& operator=(const ServerRegistryConnection&) = delete;

    bool connected() const { return m_connected; }
    // What RegConnectRegistryA returned.
    LONG result() const { return m_result; }

  private:
    bool m_connected = false;
    LONG m_result = ERROR_SUCCESS;
};

// Says why the settings cannot be read: the damaged hive's or the
// configuration's file, line and reason, or that the machine has no hive.
void ReportRegistryFailure(const std::string& machine, LONG result) {
    if (result == ERROR_BADDB) {
        std::cerr << "tavrel: " << (machine.empty() ? DocMapFailure() : RegGetLastFailure())
                  << '\n';
    } else {
        std::cerr << "tavrel: cannot reach the registry of machine \"" << machine << "\".\n";
    }
}

// Reads the document map of `machine` into `head`; false, with the reason
// written to standard error, when its registry cannot be read.
bool ReadServerDocMap(const std::string& machine, DocMapEntry* head) {
    // A configuration named on the command line needs no registry folder.
    const bool namedConfig = !g_serverChoice.configFile.empty();
    if (!namedConfig && !ReportSettingsSource(machine)) return false;
    ServerRegistryConnection connection(machine);
    if (!connection.connected()) {
        ReportRegistryFailure(machine, connection.result());
        return false;
    }
    const LONG result = head->ReadDocMap();
    if (result == ERROR_SUCCESS) {
        ReportMappedDirectories(machine, *head);
        return true;
    }
    ReportRegistryFailure(machine, result);
    return false;
}

// File names and registry texts are bytes: any that are not UTF-8 are shown
// as U+FFFD rather than stopping the output.
void PrintJson(const nlohmann::json& value) {
    std::cout << value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

std::string Text(const std::unique_ptr<char[]>& text) { return text ? text.get() : ""; }

// Prints rows as columns padded to their widest cell, two spaces apart.
void PrintColumns(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
    }
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) line += std::string(widths[i] - row[i].size() + 2, ' ');
        }
        std::cout << line << '\n';
    }
}

// The rules of the chosen host that serve files but cannot be listed, as
// rows of the map without a directory.
void AddUnmappedRows(const ServerSource& source, nlohmann::json* entries,
                     std::vector<std::vector<std::string>>* rows) {
    if (source.kind != ServerSourceKind::kConfig) return;
    for (const UnmappedRule& rule : source.Host().unmapped) {
        const std::string from = PlaceText(rule.place) + " not mappable: " + rule.reason;
        entries->push_back(
            {{"prefix", rule.pattern}, {"stored", ""}, {"resolved", nullptr}, {"from", from}});
        rows->push_back({rule.pattern, from, "", "-"});
    }
}

// The map, each row with how it was made; in text, first the source line.
void PrintDocMap(const DocMapEntry& head, const ServerSource& source, bool json) {
    nlohmann::json entries = nlohmann::json::array();
    std::vector<std::vector<std::string>> rows = {{"PREFIX", "FROM", "STORED", "RESOLVED"}};
    for (const DocMapEntry* entry = &head; entry != nullptr; entry = entry->GetNext()) {
        if (!entry->m_pszResolvedDir) continue;
        const std::string prefix = Text(entry->m_pszUrlPrefix);
        const std::string stored = Text(entry->m_pszStoredDir);
        const std::string resolved = TidySystemPath(Text(entry->m_pszResolvedDir));
        entries.push_back({{"prefix", prefix},
                           {"stored", stored},
                           {"resolved", resolved},
                           {"from", entry->m_strDerivation}});
        rows.push_back({prefix, entry->m_strDerivation, stored, resolved});
    }
    AddUnmappedRows(source, &entries, &rows);
    if (json) {
        PrintJson({{"source", DescribeServerSource(source)}, {"map", entries}});
    } else {
        std::cout << "Source: " << DescribeServerSource(source) << '\n';
        PrintColumns(rows);
    }
}

void PrintDirectories(std::vector<DirectoryItem> items, bool json) {
    std::stable_sort(items.begin(), items.end(),
                     [](const auto& a, const auto& b) { return ListTextLess(a.url, b.url); });
    nlohmann::json entries = nlohmann::json::array();
    std::vector<std::vector<std::string>> rows = {{"URL", "PATH"}};
    for (const DirectoryItem& item : items) {
        entries.push_back({{"url", item.url}, {"path", item.path}});
        rows.push_back({item.url, item.path});
    }
    if (json) {
        PrintJson(entries);
    } else {
        PrintColumns(rows);
    }
}

}  // namespace

int RunDocmap(const std::string& machine, bool json) {
    DocMapEntry head;
    if (!ReadServerDocMap(machine, &head)) return 1;
    ServerRegistryConnection connection(machine);
    ServerSource source;
    std::string error;
    LookUpServerSource(&source, &error);
    PrintDocMap(head, source, json);
    return 0;
}

int RunUrl(const std::string& machine, const std::string& file) {
    DocMapEntry head;
    if (!ReadServerDocMap(machine, &head)) return 1;
    const std::optional<std::string> url = ChooserUrlOfFile(head, file);
    if (!url) {
        std::cerr << "tavrel: " << file << ' ' << kMsgOutsideDocMap << '\n';
        return 1;
    }
    std::cout << *url << '\n';
    return 0;
}

int RunDirs(const std::string& machine, bool json) {
    DocMapEntry head;
    if (!ReadServerDocMap(machine, &head)) return 1;
    std::vector<std::string> unreadable;
    PrintDirectories(WalkDocMap(head, &unreadable), json);
    ReportUnreadable(unreadable);
    return 0;
}

int RunFiles(const std::string& directory, bool json) {
    std::vector<std::string> names;
    if (!ListFileNames(directory, &names)) {
        std::cerr << directory << ": cannot read this directory.\n";
        return 1;
    }
    std::stable_sort(names.begin(), names.end(), ListTextLess);
    if (json) {
        PrintJson(names);
    } else {
        for (const std::string& name : names) std::cout << name << '\n';
    }
    return 0;
}
