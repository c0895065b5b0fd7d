// tavrel: the wizard's jobs from the command line, for scripts and cron jobs.
// This is the one file that includes CLI11 (it is slow to compile).
#include <CLI/CLI.hpp>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <new>
#include <string>

#include "cli/Commands.h"
#include "model/Messages.h"
#include "platform/page_lock.h"

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
    [](const std::string& text) {
        if (!text.empty() && text.find_first_not_of("0123456789") == std::string::npos) return "";
        return "INDEX must be decimal digits";
    },
    "DIGITS");

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
        ->option_text("URL");
    AddForce(feed, &options);
    feed->footer(
        "A page that links a feed gets it written again by every command that builds "
        "the page.");

    CLI::App* docmap = app.add_subcommand("docmap", "print the web server's document map");
    CLI::App* dirs = app.add_subcommand("dirs", "print the directories the link chooser lists");
    for (CLI::App* command : {docmap, dirs}) {
        command->add_option("-r", machine, "read the registry of MACHINE instead of this one")
            ->option_text("MACHINE");
        command->add_flag("--json", json, "print JSON");
    }

    CLI::App* files = app.add_subcommand("files", "print the files of one document directory");
    files->add_option("DIR", directory, "a directory of the document tree")->required();
    files->add_flag("--json", json, "print JSON");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? 0 : 2;
    }

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
    return RunFiles(directory, json);
}

}  // namespace

int main(int argc, char** argv) {
    // A write past a file-size limit must fail with EFBIG and be reported,
    // not end the process.
    std::signal(SIGXFSZ, SIG_IGN);
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
