// Parsing lodestar-cli's switches and operands, and its usage text.
#include "cli/cli_args.h"

#include <cstddef>
#include <functional>
#include <map>

#include "files/text_encoding.h"

namespace lodestar::cli {

namespace {

struct CommandShape {
    CliCommand command;
    std::size_t operands;
};

const std::map<std::string, CommandShape>& commands() {
    static const std::map<std::string, CommandShape> table{
        {"find", {CliCommand::Find, 2}},       {"replace", {CliCommand::Replace, 3}},
        {"run", {CliCommand::Run, 2}},         {"restore", {CliCommand::Restore, 1}},
        {"extract", {CliCommand::Extract, 2}}, {"render", {CliCommand::Render, 1}},
    };
    return table;
}

// Splits "--name=value" into name and value; a switch without "=" has no inline value.
std::pair<std::string, std::optional<std::string>> splitInline(const std::string& arg) {
    const auto eq = arg.find('=');
    if (arg.rfind("--", 0) != 0 || eq == std::string::npos) return {arg, std::nullopt};
    return {arg.substr(0, eq), arg.substr(eq + 1)};
}

// "-j4": the thread count written straight after the switch.
bool isInlineJobs(const std::string& name) {
    return name.size() > 2 && name[0] == '-' && name[1] == 'j' && name[2] >= '0' && name[2] <= '9';
}

unsigned jobCount(const std::string& text) {
    constexpr unsigned kMost = 256;
    unsigned count = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || count > kMost) {
            count = 0;
            break;
        }
        count = count * 10 + static_cast<unsigned>(c - '0');
    }
    if (count < 1 || count > kMost)
        throw UsageError("-j takes a number of threads from 1 to 256, not \"" + text + "\".");
    return count;
}

}  // namespace

Arguments parseArguments(const std::vector<std::string>& args) {
    Arguments parsed;
    std::vector<std::string> positional;
    bool switchesEnded = false;
    bool help = false;
    bool version = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (switchesEnded || arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            switchesEnded = true;
            continue;
        }
        // Plain variables, not structured bindings: the lambdas below capture them.
        const auto split = splitInline(arg);
        const std::string& name = split.first;
        const std::optional<std::string>& inlineValue = split.second;
        auto value = [&]() -> std::string {
            if (inlineValue) return *inlineValue;
            if (i + 1 >= args.size()) throw UsageError("The switch " + name + " needs a value.");
            return args[++i];
        };
        // Switches without a value.
        const std::map<std::string, std::function<void()>> flags{
            {"-c", [&] { parsed.ignoreCase = false; }},
            {"--case-sensitive", [&] { parsed.ignoreCase = false; }},
            {"--first", [&] { parsed.global = false; }},
            {"-m", [&] { parsed.multiline = true; }},
            {"--multiline", [&] { parsed.multiline = true; }},
            {"--no-dotall", [&] { parsed.dotAll = false; }},
            {"--no-backup", [&] { parsed.backup = false; }},
            {"--no-count", [&] { parsed.countMatches = false; }},
            {"--no-escapes", [&] { parsed.escapeSupport = false; }},
            {"--invisible", [&] { parsed.invisible = true; }},
            {"--force", [&] { parsed.force = true; }},
            {"--follow-links", [&] { parsed.followLinks = true; }},
            {"--list", [&] { parsed.listSteps = true; }},
            {"--binary", [&] { parsed.binaryAsText = true; }},
            {"-r", [&] { parsed.recursive = true; }},
            {"--recursive", [&] { parsed.recursive = true; }},
            {"-h", [&] { help = true; }},
            {"--help", [&] { help = true; }},
            {"--version", [&] { version = true; }},
        };
        if (const auto flag = flags.find(name); flag != flags.end()) {
            if (inlineValue) throw UsageError("The switch " + name + " takes no value.");
            flag->second();
        } else if (name == "--backup-folder") {
            parsed.backupFolder = value();
        } else if (name == "--readonly") {
            const std::string mode = value();
            if (mode != "skip" && mode != "write")
                throw UsageError("--readonly takes skip or write, not \"" + mode + "\".");
            parsed.readOnlyWrite = mode == "write";
        } else if (name == "-j" || name == "--jobs" || isInlineJobs(name)) {
            parsed.jobs = jobCount(isInlineJobs(name) ? name.substr(2) : value());
        } else if (name == "--steps") {
            const std::string count = value();
            if (count.empty() || count.size() > 4 ||
                count.find_first_not_of("0123456789") != std::string::npos ||
                std::stoul(count) == 0)
                throw UsageError("--steps takes a number of steps from 1 to 9999, not \"" + count +
                                 "\".");
            parsed.restoreSteps = static_cast<unsigned>(std::stoul(count));
        } else if (name == "--filter") {
            parsed.filter = value();
        } else if (name == "--exclude") {
            parsed.exclude.push_back(value());
        } else if (name == "-o" || name == "--output") {
            parsed.output = value();
        } else if (name == "--format") {
            parsed.format = value();
            if (parsed.format != "txt" && parsed.format != "html" && parsed.format != "xml")
                throw UsageError("--format takes txt, html or xml, not \"" + parsed.format + "\".");
        } else if (name == "--delimiter") {
            parsed.delimiter = value();
        } else if (name == "--encoding") {
            parsed.encoding = value();
            std::optional<TextEncoding> ignored;
            if (!parseEncodingName(*parsed.encoding, ignored))
                throw UsageError(
                    "--encoding takes auto, utf-8, utf-16le, utf-16be or "
                    "windows-1252, not \"" +
                    *parsed.encoding + "\".");
        } else if (name == "--pattern") {
            parsed.renderPattern = value();
        } else {
            throw UsageError("Unknown switch " + arg + ".");
        }
    }
    if (help || version) {
        parsed.command = help ? CliCommand::Help : CliCommand::Version;
        return parsed;
    }
    if (positional.empty()) throw UsageError("No command given.");
    const auto shape = commands().find(positional.front());
    if (shape == commands().end()) throw UsageError("Unknown command " + positional.front() + ".");
    parsed.command = shape->second.command;
    parsed.operands.assign(positional.begin() + 1, positional.end());
    if (parsed.operands.size() != shape->second.operands)
        throw UsageError("The command " + positional.front() + " takes " +
                         std::to_string(shape->second.operands) + " operand(s), " +
                         std::to_string(parsed.operands.size()) + " given.");
    if (parsed.command == CliCommand::Extract && !parsed.output)
        throw UsageError("The command extract needs -o OUT (\"-\" for standard output).");
    return parsed;
}

std::string usageText() {
    return R"(Usage:
  lodestar-cli [switches] find    PATTERN PATH
  lodestar-cli [switches] replace PATTERN REPLACEMENT PATH
  lodestar-cli [switches] run     COMMANDFILE PATH
  lodestar-cli [switches] restore PATH
  lodestar-cli [switches] extract PATTERN PATH -o OUT [--format txt|html|xml] [--delimiter TEXT]
  lodestar-cli [switches] render  FILE [--pattern PATTERN] [--invisible]

PATH is a file, a folder (its files in name order, not its subfolders unless -r) or a folder
followed by "/*.ext". A file is worked on alone: each replace keeps the old text as a step of
the file's history in $XDG_STATE_HOME/lodestar/history/ (else ~/.local/state/lodestar/history/)
and a copy beside it (page.htm -> page.bak, or page.htm.bak when a file of yours has that name).
A folder's files keep their backups in a backup folder under it, which mirrors the subfolders
(bak/sub/page.htm); older runs stay in bak/.lodestar-steps/. Each restore takes back the newest
step; 10 steps per file or folder are kept.

Search switches (as the desktop program starts: ignore case, global and dot-matches-all on):
  -c, --case-sensitive   match letter case
  --first                only the first match (global off)
  -m, --multiline        ^ and $ match at every line
  --no-dotall            the dot does not match a line feed
Settings (from lodestar.opt in $XDG_CONFIG_HOME/lodestar/ -- ~/.config/lodestar/ when it is
unset -- else the shipped defaults; the encoding setting from "settings" in the same folder):
  --no-backup            no backups before replacing
  --backup-folder NAME   the backup folder's name (default "bak")
  --no-count             replace in folders without counting matches first
  --no-escapes           \r, \n, \t in replacements stay as typed
Other:
  --readonly=skip|write  read-only files: leave them (default) or make them writable
  --force                replace, run: go on with a run in the folder that was cut short
                         (the files it changed keep their first backups)
  --follow-links         replace, run: also change the files that links in the folder lead to
                         outside it (passed by with a note otherwise)
  --list                 restore: list the steps Restore can take back, newest first
  --steps N              restore: take back the newest N steps (default 1)
  -j, --jobs N           threads for the files of a folder (default: one per core)
  --filter LIST          file patterns for folders, e.g. "*.htm;*.html" (default "*.*")
  -r, --recursive        folders: their subfolders too (hidden ones, links to folders and the
                         backup folder are passed by)
  --exclude GLOB         leave out paths relative to the folder: "node_modules", "*.min.js",
                         "build/**" (repeatable)
  -o OUT                 extract: the export file, "-" for standard output
  --format, --delimiter  extract: the export format and its delimiter or HTML wrapper
  --pattern, --invisible render: the pattern to mark, and invisible characters shown
  --encoding NAME        read files as auto (the default: each file's own encoding), utf-8,
                         utf-16le, utf-16be or windows-1252; files are written back as read
  --binary               work on binary files (NUL bytes) as Windows-1252 text, not skip them
  --                     ends the switches (for a PATTERN that begins with "-")
  -h, --help, --version

Exit status: 0 done, 1 find found nothing, 2 error (also when a file's encoding cannot hold its
replaced text: that file is left unchanged).
)";
}

}  // namespace lodestar::cli
