#include "serverconf/ApacheConfig.h"

#include <map>
#include <optional>
#include <set>
#include <vector>

#include "platform/config_files.h"
#include "serverconf/ApacheLines.h"
#include "serverconf/ConfigFailure.h"
#include "serverconf/IncludeChain.h"
#include "text/ascii.h"

namespace {

// The document root Debian's server is built with.
constexpr char kBuiltInDocumentRoot[] = "/var/www/html";
// The modules Debian's server has built in.
const std::set<std::string> kBuiltInModules = {
    "core.c",          "mod_so.c",      "mod_watchdog.c",    "http_core.c",  "mod_log_config.c",
    "mod_logio.c",     "mod_version.c", "mod_unixd.c",       "core_module",  "so_module",
    "watchdog_module", "http_module",   "log_config_module", "logio_module", "version_module",
    "unixd_module"};

// What one host sets itself.
struct HostDraft {
    std::optional<MappedFolder> documentRoot;
    std::vector<MappedFolder> aliases;
    std::vector<UnmappedRule> unmapped;
    std::vector<std::string> aliasNames;
    PlacedValue serverName;
    PlacedValue admin;
    bool secure = false;
    int port = 0;
    ConfigPlace place;
};

// One open section of the file being read.
struct OpenSection {
    std::string name;  // lower case
    ConfigPlace place;
    bool reading = false;  // its contents count for the map
    std::string location;  // the URL path of a <Location>
};

std::string Lower(const std::string& text) { return ascii::Lowercase(text); }

// The port of a <VirtualHost> address: "*:8080", "[::1]:80", "host"; 0 when
// the address names none.
int AddressPort(const std::string& address) {
    const std::string::size_type bracket = address.rfind(']');
    const std::string::size_type colon = address.rfind(':');
    if (colon == std::string::npos || (bracket != std::string::npos && colon < bracket)) return 0;
    const std::string digits = address.substr(colon + 1);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
    return std::stoi(digits.substr(0, 5));
}

class ApacheReader {
  public:
    ApacheReader(const std::string& file, const ServerConfigOptions& options)
        : m_mainFile(file), m_serverRoot(options.apacheRoot), m_chain(file) {
        ReadEnvvars(JoinConfigPath(FolderOfFile(file), "envvars"));
    }

    void ReadText(const std::string& file, const std::string& text) {
        std::vector<OpenSection> sections;
        for (const ApacheLine& line : ApacheLogicalLines(text)) {
            const ConfigPlace place{file, line.line};
            if (line.text[0] == '<') {
                Section(line.text, place, &sections);
            } else if (sections.empty() || sections.back().reading) {
                Directive(line.text, place, sections);
            }
        }
        if (!sections.empty()) {
            throw ConfigFailure(sections.back().place,
                                "<" + sections.back().name + "> is not closed in this file");
        }
    }

    ServerConfig Finish() const;

  private:
    static std::string FolderOfFile(const std::string& file) {
        const std::string::size_type slash = file.rfind('/');
        if (slash == std::string::npos) return ".";
        return slash == 0 ? "/" : file.substr(0, slash);
    }

    HostDraft& Current() { return m_inHost ? m_hosts.back() : m_main; }

    std::optional<std::string> Variable(const std::string& name) const {
        if (const auto found = m_defines.find(name); found != m_defines.end()) return found->second;
        if (const auto found = m_envvars.find(name); found != m_envvars.end()) return found->second;
        return EnvironmentValue(name);
    }

    // `text` with its variables expanded; a variable that is not defined is
    // a failure when `required` (the map would be wrong), and stays as
    // written otherwise, as the server leaves it.
    std::string Expanded(const std::string& text, const ConfigPlace& place, bool required) const {
        std::string undefined;
        std::string result = ExpandVariables(
            text, [this](const std::string& name) { return Variable(name); }, &undefined);
        if (required && !undefined.empty()) {
            throw ConfigFailure(place, "${" + undefined + "} is not defined");
        }
        return result;
    }

    void ReadEnvvars(const std::string& path);
    void Section(const std::string& text, const ConfigPlace& place,
                 std::vector<OpenSection>* sections);
    bool Holds(const std::string& name, const std::string& argument) const;
    void Directive(const std::string& text, const ConfigPlace& place,
                   const std::vector<OpenSection>& sections);
    void Include(const std::vector<std::string>& words, bool optional, const ConfigPlace& place);
    void IncludeFile(const std::string& path, const ConfigPlace& place);
    MappedFolder Mapping(const std::string& prefix, const std::string& written,
                         const std::string& directive, const ConfigPlace& place) const {
        return {prefix, written, JoinConfigPath(m_serverRoot, written), directive, place};
    }
    ServerHost Merged(const HostDraft& host) const;

    std::string m_mainFile;
    std::string m_serverRoot;
    std::map<std::string, std::string> m_defines;
    std::map<std::string, std::string> m_envvars;
    std::set<std::string> m_modules = kBuiltInModules;
    HostDraft m_main;
    std::vector<HostDraft> m_hosts;
    bool m_inHost = false;
    int m_listenPort = 0;
    bool m_sawApache = false;  // a section or a directive only Apache has was read
    IncludeChain m_chain;
};

void ApacheReader::ReadEnvvars(const std::string& path) {
    std::string text;
    std::string reason;
    if (!ReadConfigFile(path, &text, &reason)) return;
    for (const ApacheLine& line : ApacheLogicalLines(text)) {
        std::string assignment = line.text;
        if (assignment.rfind("export ", 0) == 0) assignment = assignment.substr(7);
        const std::string::size_type equals = assignment.find('=');
        if (equals == std::string::npos || equals == 0) continue;
        const std::string name = assignment.substr(0, equals);
        if (name.find_first_not_of(
                "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_") !=
            std::string::npos) {
            continue;
        }
        std::string value = assignment.substr(equals + 1);
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') &&
            value.back() == value[0]) {
            value = value.substr(1, value.size() - 2);
        }
        std::string undefined;
        m_envvars[name] = ExpandVariables(
            value,
            [this](const std::string& n) -> std::optional<std::string> {
                if (const auto found = m_envvars.find(n); found != m_envvars.end()) {
                    return found->second;
                }
                return EnvironmentValue(n);
            },
            &undefined);
    }
}

bool ApacheReader::Holds(const std::string& name, const std::string& argument) const {
    const bool negated = !argument.empty() && argument[0] == '!';
    const std::string subject = negated ? argument.substr(1) : argument;
    bool holds = true;
    if (name == "ifmodule") {
        holds = m_modules.count(subject) > 0;
    } else if (name == "ifdefine") {
        holds = m_defines.count(subject) > 0;
    } else if (name == "iffile") {
        holds = ConfigPathExists(JoinConfigPath(m_serverRoot, subject));
    } else {
        return true;
    }
    return holds != negated;
}

void ApacheReader::Section(const std::string& text, const ConfigPlace& place,
                           std::vector<OpenSection>* sections) {
    const bool reading = sections->empty() || sections->back().reading;
    std::string inside = text.substr(1);
    if (!inside.empty() && inside.back() == '>') inside.pop_back();
    if (!inside.empty() && inside[0] == '/') {
        const std::string name = Lower(inside.substr(1));
        if (sections->empty() || sections->back().name != name) {
            throw ConfigFailure(
                place, "</" + inside.substr(1) + "> closes no open <" + inside.substr(1) + ">");
        }
        if (name == "virtualhost" && reading) m_inHost = false;
        sections->pop_back();
        return;
    }
    std::vector<std::string> words = ApacheWords(Expanded(inside, place, false));
    if (words.empty()) throw ConfigFailure(place, "a section without a name");
    m_sawApache = true;
    OpenSection section{Lower(words[0]), place, false, ""};
    const std::string argument = words.size() > 1 ? words[1] : "";
    static const std::set<std::string> conditions = {"ifmodule",  "ifdefine",    "iffile",
                                                     "ifversion", "ifdirective", "ifsection"};
    if (conditions.count(section.name) > 0) {
        section.reading = reading && Holds(section.name, argument);
    } else if (section.name == "virtualhost") {
        if (m_inHost) throw ConfigFailure(place, "<VirtualHost> inside another <VirtualHost>");
        section.reading = reading;
        if (reading) {
            m_hosts.push_back({});
            m_hosts.back().place = place;
            m_hosts.back().port = words.size() > 1 ? AddressPort(words[1]) : 0;
            m_inHost = true;
        }
    } else if (section.name == "location" && argument != "~") {
        section.reading = reading;
        section.location = argument;
    }
    sections->push_back(section);
}

void ApacheReader::Directive(const std::string& text, const ConfigPlace& place,
                             const std::vector<OpenSection>& sections) {
    const std::vector<std::string> raw = ApacheWords(text);
    const std::string name = Lower(raw[0]);
    static const std::set<std::string> common = {
        "user",      "group",          "pidfile",        "errorlog",  "customlog",
        "logformat", "loglevel",       "timeout",        "keepalive", "hostnamelookups",
        "mutex",     "accessfilename", "directoryindex", "options",   "require"};
    static const std::set<std::string> used = {
        "serverroot",   "define",     "undefine",   "include",    "includeoptional",
        "documentroot", "alias",      "aliasmatch", "servername", "serveralias",
        "serveradmin",  "loadmodule", "sslengine",  "listen"};
    m_sawApache = m_sawApache || common.count(name) > 0 || used.count(name) > 0;
    if (used.count(name) == 0) return;
    const std::vector<std::string> words = ApacheWords(Expanded(text, place, name != "define"));
    const std::string first = words.size() > 1 ? words[1] : "";
    const bool inLocation = !sections.empty() && !sections.back().location.empty();
    if (inLocation) {
        if (name == "alias" && words.size() == 2) {
            Current().aliases.push_back(Mapping(sections.back().location, first, "Alias", place));
        }
        return;
    }
    if (words.size() < 2) throw ConfigFailure(place, raw[0] + " needs an argument");
    HostDraft& host = Current();
    if (name == "serverroot") {
        m_serverRoot = JoinConfigPath("/", first);
    } else if (name == "define") {
        m_defines[first] = words.size() > 2 ? words[2] : "";
    } else if (name == "undefine") {
        m_defines.erase(first);
    } else if (name == "include" || name == "includeoptional") {
        Include(words, name == "includeoptional", place);
    } else if (name == "loadmodule") {
        m_modules.insert(first);
        if (words.size() > 2) {
            const std::string module = words[2].substr(words[2].rfind('/') + 1);
            m_modules.insert(module.substr(0, module.rfind('.')) + ".c");
        }
    } else if (name == "documentroot") {
        host.documentRoot = Mapping("/", first, "DocumentRoot", place);
    } else if (name == "alias") {
        if (words.size() < 3) throw ConfigFailure(place, "Alias needs a URL path and a folder");
        host.aliases.push_back(Mapping(first, words[2], "Alias", place));
    } else if (name == "aliasmatch") {
        host.unmapped.push_back({first, "AliasMatch maps a pattern, not one URL path", place});
    } else if (name == "servername") {
        host.serverName = {first, place};
    } else if (name == "serveralias") {
        host.aliasNames.insert(host.aliasNames.end(), words.begin() + 1, words.end());
    } else if (name == "serveradmin") {
        host.admin = {first, place};
    } else if (name == "sslengine") {
        host.secure = Lower(first) == "on";
    } else if (name == "listen" && m_listenPort == 0) {
        m_listenPort = AddressPort(first.find(':') == std::string::npos ? ":" + first : first);
    }
}

void ApacheReader::Include(const std::vector<std::string>& words, bool optional,
                           const ConfigPlace& place) {
    const std::string pattern = JoinConfigPath(m_serverRoot, words[1]);
    std::vector<std::string> paths;
    if (HasWildcard(pattern)) {
        paths = MatchConfigFiles(pattern);
        if (paths.empty() && !optional) {
            throw ConfigFailure(place, "no file matches " + pattern);
        }
    } else if (ConfigPathExists(pattern) || !optional) {
        paths.push_back(pattern);
    }
    for (const std::string& path : paths) {
        if (IsConfigFolder(path)) {
            std::vector<std::string> files;
            if (!FilesBelow(path, IncludeChain::kMaxFiles, &files)) {
                throw ConfigFailure(place, path + " holds more than " +
                                               std::to_string(IncludeChain::kMaxFiles) + " names");
            }
            for (const std::string& file : files) IncludeFile(file, place);
        } else {
            IncludeFile(path, place);
        }
    }
}

void ApacheReader::IncludeFile(const std::string& path, const ConfigPlace& place) {
    std::string text;
    std::string reason;
    if (!ReadConfigFile(path, &text, &reason)) throw ConfigFailure(place, path + ": " + reason);
    m_chain.Enter(path, place);
    ReadText(path, text);
    m_chain.Leave();
}

ServerHost ApacheReader::Merged(const HostDraft& draft) const {
    ServerHost host;
    host.place = draft.place;
    const PlacedValue& serverName =
        draft.serverName.value.empty() ? m_main.serverName : draft.serverName;
    if (!serverName.value.empty()) host.names.push_back(serverName.value);
    host.names.insert(host.names.end(), draft.aliasNames.begin(), draft.aliasNames.end());
    host.admin = draft.admin.value.empty() ? m_main.admin : draft.admin;
    if (!serverName.value.empty()) {
        const int port = draft.port != 0 ? draft.port : m_listenPort;
        const bool secure = draft.secure || m_main.secure || port == 443;
        host.siteUrl = {ComposeSiteUrl(secure ? "https" : "http", serverName.value, port),
                        serverName.place};
    }
    if (draft.documentRoot) {
        host.folders.push_back(*draft.documentRoot);
    } else if (m_main.documentRoot) {
        host.folders.push_back(*m_main.documentRoot);
    } else {
        host.folders.push_back(Mapping("/", kBuiltInDocumentRoot, "built-in DocumentRoot",
                                       ConfigPlace{m_mainFile, 0}));
    }
    const bool isMain = &draft == &m_main;
    for (const HostDraft* source : {&draft, isMain ? nullptr : &m_main}) {
        if (source == nullptr) continue;
        host.folders.insert(host.folders.end(), source->aliases.begin(), source->aliases.end());
        host.unmapped.insert(host.unmapped.end(), source->unmapped.begin(), source->unmapped.end());
    }
    return host;
}

ServerConfig ApacheReader::Finish() const {
    if (!m_sawApache) {
        throw ConfigFailure({m_mainFile, 0},
                            "neither an Apache nor an nginx configuration: no directive of either");
    }
    ServerConfig config;
    config.kind = ServerKind::kApache;
    config.file = m_mainFile;
    if (m_hosts.empty()) {
        config.hosts.push_back(Merged(m_main));
        config.hosts.back().place = {m_mainFile, 0};
    }
    for (const HostDraft& draft : m_hosts) config.hosts.push_back(Merged(draft));
    return config;
}

}  // namespace

ServerConfig ReadApacheConfig(const std::string& file, const std::string& text,
                              const ServerConfigOptions& options) {
    ApacheReader reader(file, options);
    reader.ReadText(file, text);
    return reader.Finish();
}
