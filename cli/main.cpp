// tavrel: the wizard's jobs from the command line, for scripts and cron jobs.
// This is the one file that includes CLI11 (it is slow to compile).
#include <CLI/CLI.hpp>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/UsageHints.h"
#include "model/Messages.h"
#include "model/ServerSource.h"
#include "platform/page_lock.h"
#include "platform/process.h"
#include "platform/registry.h"

namespace {

void AddEntryOptions(CLI::App* command, EntryFields* fields, bool linkFirst) {
    if (linkFirst) command->add_option("--link", fields->hyperlink, "hyperlink of the entry");
    command->add_option("--title", fields->title, "title of the entry");
    if (!linkFirst) command->add_option("--link", fields->hyperlink, "hyperlink of the entry");
    command->add_option("--description", fields->description, "short description");
    command->add_option("--date", fields->date, "date text");
}

void AddPage(CLI::App* command, std::string* page) {
    command->add_option("PAGE", *page, "the Tavrel page (an .htm or .html file)")->required();
}

// An entry number is decimal digits only: "010" is ten, and "0x1" or "-1" is
// a usage error rather than some other entry.
const CLI::Validator kDecimalDigits(
    [](const std::string& text) -> std::string {
        if (!text.empty() && text.find_first_not_of("0123456789") == std::string::npos) return "";
        if (!text.empty() && text[0] == '-') {
            return "\"" + text + "\" is no entry: entries are numbered from 0, the top entry";
        }
        return "\"" + text + "\" is no entry number: give decimal digits, 0 for the top entry";
    },
    "DIGITS");

const CLI::Validator kMachineName(
    [](const std::string& name) -> std::string {
        if (RegIsMachineName(name.c_str())) return "";
        return "\"" + name +
               "\" is no machine name: it names MACHINE.reg in the registry folder, "
               "so it holds letters, digits, \".\", \"_\" and \"-\" only, never a path";
    },
    "MACHINE");

const CLI::Validator kSiteAddress(
    [](const std::string& url) -> std::string {
        if (IsSiteAddress(url)) return "";
        return "\"" + url +
               "\" is no site address: give an absolute http or https URL, "
               "such as https://www.example.org";
    },
    "URL");

// The names of the options `command` knows, with those of `app` it inherits.
std::vector<std::string> OptionNames(const CLI::App* command) {
    std::vector<std::string> names;
    for (const CLI::App* owner : {command, command->get_parent()}) {
        if (owner == nullptr) continue;
        for (const CLI::Option* option : owner->get_options()) {
            for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
        }
    }
    return names;
}

// The first argument that names an option neither `command` nor its parent
// knows ("--titel"), or "".
std::string UnknownOption(const CLI::App* command, int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (word == "--") break;
        if (word.size() < 3 || word.compare(0, 2, "--") != 0) continue;
        word = word.substr(0, word.find('='));
        const CLI::App* parent = command->get_parent();
        if (command->get_option_no_throw(word) == nullptr &&
            (parent == nullptr || parent->get_option_no_throw(word) == nullptr)) {
            return word;
        }
    }
    return {};
}

// The first argument that is neither an option nor the value of --wait: the
// command the user meant to give.
std::string FirstWord(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (word == "--wait") ++i;
        if (word.empty() || word[0] != '-') return word;
    }
    return {};
}

std::vector<std::string> CommandNames(const CLI::App& app) {
    std::vector<std::string> names;
    for (const CLI::App* command : app.get_subcommands({})) names.push_back(command->get_name());
    return names;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

std::string Suggestion(const std::string& word, const std::vector<std::string>& names) {
    const std::string nearest = NearestName(word, names);
    return nearest.empty() ? std::string(".") : "; did you mean " + nearest + "?";
}

// Says what is wrong with the command line, naming the option or command and
// the nearest known one; the exit code of every usage error, 2.
int ReportUsageError(const CLI::App& app, const CLI::ParseError& error, int argc, char** argv) {
    const std::vector<CLI::App*> chosen = app.get_subcommands();
    const CLI::App* command = chosen.empty() ? &app : chosen.front();
    const std::string name = chosen.empty() ? "tavrel" : "tavrel " + command->get_name();
    const std::string unknown = UnknownOption(command, argc, argv);
    if (!unknown.empty()) {
        std::cerr << name << ": there is no option " << unknown
                  << Suggestion(unknown, OptionNames(command)) << '\n';
    } else if (chosen.empty() && !FirstWord(argc, argv).empty()) {
        const std::string word = FirstWord(argc, argv);
        std::cerr << "tavrel: there is no command \"" << word << '"'
                  << Suggestion(word, CommandNames(app)) << '\n'
                  << "The commands: " << Joined(CommandNames(app)) << ".\n";
    } else if (chosen.empty()) {
        std::cerr << "tavrel: a command is required: " << Joined(CommandNames(app)) << ".\n";
    } else {
        std::cerr << name << ": " << error.what() << '\n';
    }
    std::cerr << "Run '" << name << " --help' for its usage.\n";
    return 2;
}

// A wait is a finite number of seconds from 0 to a day: "nan", "inf" and
// "1e10" are usage errors rather than no wait at all.
const CLI::Validator kWaitSeconds(
    [](const std::string& text) {
        char* end = nullptr;
        const double seconds = std::strtod(text.c_str(), &end);
        if (!text.empty() && *end == '\0' && std::isfinite(seconds) && seconds >= 0 &&
            seconds <= kLongestLockWait) {
            return "";
        }
        return "SECONDS must be a number from 0 to 86400";
    },
    "SECONDS");

void AddIndex(CLI::App* command, std::string* index) {
    command->add_option("INDEX", *index, "entry number, 0 for the top entry")
        ->required()
        ->check(kDecimalDigits);
}

// The entry number of decimal `digits`; numbers past any page's length are
// all the same to the commands.
long long IndexValue(const std::string& digits) {
    const std::string::size_type first = digits.find_first_not_of('0');
    if (first == std::string::npos) return 0;
    if (digits.size() - first > 18) return LLONG_MAX;
    return std::stoll(digits.substr(first));
}

void AddForce(CLI::App* command, PageOptions* options) {
    command->add_flag("--force", options->force,
                      "build the page even when its list holds content that this drops");
}

int Run(int argc, char** argv) {
    CLI::App app{"tavrel: keep a Tavrel page from the command line"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("tavrel ") + TAVREL_VERSION,
                         "print the version and exit");
    std::string page;
    std::string machine;
    std::string directory;
    bool json = false;
    std::string index;
    EntryFields fields;
    PageOptions options;
    app.add_option("--wait", options.waitSeconds,
                   "seconds to wait while another program changes the page (default 5; "
                   "0: do not wait)")
        ->check(kWaitSeconds)
        ->option_text("SECONDS");
    app.add_option("--server-config", g_serverChoice.configFile,
                   "read the web server's settings from this apache2.conf, httpd.conf or "
                   "nginx.conf")
        ->option_text("FILE");
    app.add_option("--site", g_serverChoice.site,
                   "the host of the server configuration to use (a ServerName or server_name)")
        ->option_text("NAME");
    app.fallthrough();

    CLI::App* list = app.add_subcommand("list", "print the entries of the page, in page order");
    AddPage(list, &page);
    list->add_flag("--json", json, "print JSON");

    CLI::App* add = app.add_subcommand("add", "add an entry on top and build the page");
    AddPage(add, &page);
    AddEntryOptions(add, &fields, true);
    AddForce(add, &options);
    add->footer("--date defaults to today's date; --link is required.");

    CLI::App* change = app.add_subcommand("change", "change entry INDEX and build the page");
    AddPage(change, &page);
    AddIndex(change, &index);
    AddEntryOptions(change, &fields, false);
    AddForce(change, &options);
    change->footer("Fields not given keep their value.");

    CLI::App* remove = app.add_subcommand("delete", "delete entry INDEX and build the page");
    AddPage(remove, &page);
    AddIndex(remove, &index);
    AddForce(remove, &options);

    CLI::App* rebuild = app.add_subcommand("rebuild", "build the page with its entries unchanged");
    AddPage(rebuild, &page);
    AddForce(rebuild, &options);

    FeedChange feedChange;
    std::string enableHref;
    CLI::App* feed = app.add_subcommand("feed", "print the page's entries as an Atom feed");
    AddPage(feed, &page);
    CLI::Option* enable =
        feed->add_option("--enable", enableHref,
                         "link the feed FILE from the page and write it (default: PAGE.atom)")
            ->expected(0, 1)
            ->option_text("[FILE]");
    feed->add_flag("--disable", feedChange.disable, "remove the page's feed link");
    feed->add_option("--base-url", options.baseUrl,
                     "the site's address for this run, e.g. https://www.example.org")
        ->check(kSiteAddress)
        ->option_text("URL");
    AddForce(feed, &options);
    feed->footer(
        "A page that links a feed gets it written again by every command that builds "
        "the page.");

    CLI::App* docmap = app.add_subcommand("docmap", "print the web server's document map");
    CLI::App* dirs = app.add_subcommand("dirs", "print the directories the link chooser lists");
    CLI::App* url =
        app.add_subcommand("url", "print the hyperlink the link chooser makes for FILE");
    url->add_option("FILE", directory, "a file of the document tree")->required();
    for (CLI::App* command : {docmap, dirs, url}) {
        command->add_option("-r", machine, "read the registry of MACHINE instead of this one")
            ->check(kMachineName)
            ->option_text("MACHINE");
        if (command != url) command->add_flag("--json", json, "print JSON");
    }

    CLI::App* files = app.add_subcommand("files", "print the files of one document directory");
    files->add_option("DIR", directory, "a directory of the document tree")->required();
    files->add_flag("--json", json, "print JSON");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) return app.exit(error);
        return ReportUsageError(app, error, argc, argv);
    }

    if (!machine.empty() && !g_serverChoice.configFile.empty()) {
        std::cerr << "tavrel: -r reads the registry of MACHINE; it does not go with "
                     "--server-config\n";
        return 2;
    }
    g_serverChoice.page = *url ? directory : page;
    if (*list) return RunList(page, json, options);
    if (*add) return RunAdd(page, fields, options);
    if (*change) return RunChange(page, IndexValue(index), fields, options);
    if (*remove) return RunDelete(page, IndexValue(index), options);
    if (*rebuild) return RunRebuild(page, options);
    if (*feed) {
        if (enable->count() > 0) feedChange.enable = enableHref;
        if (feedChange.enable && feedChange.disable) {
            std::cerr << "tavrel feed: --enable and --disable exclude each other\n";
            return 2;
        }
        return RunFeed(page, feedChange, options);
    }
    if (*docmap) return RunDocmap(machine, json);
    if (*dirs) return RunDirs(machine, json);
    if (*url) return RunUrl(machine, directory);
    return RunFiles(directory, json);
}

}  // namespace

int main(int argc, char** argv) {
    PrepareProcess(&argc, &argv);
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::cerr << "tavrel: " << kMsgOutOfMemory << '\n';
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "tavrel: " << error.what() << '\n';
        return 1;
    }
}
