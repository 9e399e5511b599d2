// Parsing lodestar-cli's switches and operands, and its usage text.
#include "cli/cli_args.h"

#include <cstddef>
#include <functional>
#include <map>

#include "cli/usage_text.h"
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

// "-A3": a context switch with its count written straight after it.
bool isInlineContext(const std::string& name) {
    return name.size() > 2 && name[0] == '-' &&
           (name[1] == 'A' || name[1] == 'B' || name[1] == 'C');
}

std::size_t contextLines(const std::string& text) {
    if (text.empty() || text.size() > 6 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        throw UsageError("-A, -B and -C take a number of lines, not \"" + text + "\".");
    return std::stoul(text);
}

void setContext(FindOutput& output, char which, std::size_t lines) {
    if (which != 'A') output.before = lines;
    if (which != 'B') output.after = lines;
}

ColorChoice colorChoice(const std::string& text) {
    if (text == "auto") return ColorChoice::Auto;
    if (text == "always") return ColorChoice::Always;
    if (text == "never") return ColorChoice::Never;
    throw UsageError("--color takes auto, always or never, not \"" + text + "\".");
}

Arguments parse(const std::vector<std::string>& args, bool outputTakesValue) {
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
            {"--dry-run", [&] { parsed.dryRun = true; }},
            {"--count-only", [&] { parsed.countOnly = true; }},
            {"--binary", [&] { parsed.binaryAsText = true; }},
            {"-r", [&] { parsed.recursive = true; }},
            {"--recursive", [&] { parsed.recursive = true; }},
            {"-h", [&] { help = true; }},
            {"--help", [&] { help = true; }},
            {"--version", [&] { version = true; }},
            {"--count", [&] { parsed.findOutput.shape = FindShape::Count; }},
            {"-l", [&] { parsed.findOutput.shape = FindShape::FilesWithMatches; }},
            {"--files-with-matches",
             [&] { parsed.findOutput.shape = FindShape::FilesWithMatches; }},
            {"--only-matching", [&] { parsed.findOutput.shape = FindShape::OnlyMatching; }},
            {"--json", [&] { parsed.findOutput.shape = FindShape::Json; }},
            {"-n", [&] { parsed.findOutput.lineNumbers = true; }},
            {"--line-number", [&] { parsed.findOutput.lineNumbers = true; }},
            {"-N", [&] { parsed.findOutput.lineNumbers = false; }},
            {"--no-line-number", [&] { parsed.findOutput.lineNumbers = false; }},
            {"--no-filename", [&] { parsed.findOutput.fileNames = false; }},
            {"--stats", [&] { parsed.findOutput.stats = true; }},
        };
        const std::map<std::string, char> contexts{{"-A", 'A'}, {"--after-context", 'A'},
                                                   {"-B", 'B'}, {"--before-context", 'B'},
                                                   {"-C", 'C'}, {"--context", 'C'}};
        if (const auto flag = flags.find(name); flag != flags.end()) {
            if (inlineValue) throw UsageError("The switch " + name + " takes no value.");
            flag->second();
        } else if (name == "-o" && !outputTakesValue) {
            parsed.findOutput.shape = FindShape::OnlyMatching;
        } else if (const auto context = contexts.find(name); context != contexts.end()) {
            setContext(parsed.findOutput, context->second, contextLines(value()));
        } else if (isInlineContext(name)) {
            setContext(parsed.findOutput, name[1], contextLines(name.substr(2)));
        } else if (name == "--color" || name == "--colour") {
            parsed.findOutput.color = colorChoice(value());
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
    if (parsed.dryRun && parsed.command != CliCommand::Replace && parsed.command != CliCommand::Run)
        throw UsageError("--dry-run goes with replace and run.");
    if (parsed.countOnly && !parsed.dryRun) throw UsageError("--count-only goes with --dry-run.");
    if (parsed.command == CliCommand::Extract && !parsed.output)
        throw UsageError("The command extract needs -o OUT (\"-\" for standard output).");
    return parsed;
}

}  // namespace

Arguments parseArguments(const std::vector<std::string>& args) {
    // "-o" is a switch of its own for find and takes the export file for extract: read as the
    // former first, and again as the latter when the command turns out to be extract.
    try {
        Arguments parsed = parse(args, false);
        if (parsed.command != CliCommand::Extract) return parsed;
    } catch (const UsageError&) {
    }
    return parse(args, true);
}

std::string usageText() {
    return kUsageText;
}

}  // namespace lodestar::cli
