// Turning the usage text into roff.
#include "cli/man_page.h"

#include <cctype>
#include <vector>

namespace lodestar::cli {

namespace {

constexpr std::string_view kSettingsHeading = "Where settings are read from:";

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t feed = text.find('\n', from);
        const std::size_t stop = feed == std::string_view::npos ? text.size() : feed;
        lines.emplace_back(text.substr(from, stop - from));
        from = stop + 1;
    }
    return lines;
}

// Text safe in roff: backslashes and minus signs escaped, no line starting as a request.
std::string roff(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    if (!out.empty() && (out.front() == '.' || out.front() == '\'')) out.insert(0, "\\&");
    return out;
}

std::string trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::size_t indentOf(const std::string& line) {
    const std::size_t first = line.find_first_not_of(' ');
    return first == std::string::npos ? line.size() : first;
}

// A section title from a heading: "Find output:" -> "FIND OUTPUT"; what stands in brackets
// after it is said in the section's first paragraph.
std::string sectionTitle(std::string heading, std::string* aside) {
    heading.pop_back();  // the colon
    if (const std::size_t bracket = heading.find(" ("); bracket != std::string::npos) {
        if (aside) *aside = heading.substr(bracket + 2, heading.size() - bracket - 3);
        heading.resize(bracket);
    }
    for (char& c : heading) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return heading;
}

struct Block {
    std::string title;  // empty: the description
    std::vector<std::string> lines;
};

// The usage text after its synopsis, in blocks between blank lines.
std::vector<Block> blocks(const std::vector<std::string>& lines, std::size_t from) {
    std::vector<Block> found;
    bool startOfBlock = true;
    for (std::size_t i = from; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (trimmed(line).empty()) {
            startOfBlock = true;
            continue;
        }
        if (startOfBlock && line.front() != ' ' && line.back() == ':') {
            found.push_back({line, {}});
        } else {
            if (found.empty()) found.push_back({});
            if (startOfBlock && !found.back().lines.empty()) found.back().lines.emplace_back();
            found.back().lines.push_back(line);
        }
        startOfBlock = false;
    }
    return found;
}

// A block's lines: paragraphs, examples (lines indented under a paragraph) and switches (an
// indented line starting with "-" or "(", its description after two spaces or on the lines
// below).
std::string blockBody(const std::vector<std::string>& lines) {
    std::string out;
    bool inExample = false;
    for (const std::string& line : lines) {
        const std::size_t indent = indentOf(line);
        const bool example = indent > 0 && indent < 4 && line[indent] != '-' && line[indent] != '(';
        if (inExample && !example) {
            out += ".fi\n";
            inExample = false;
        }
        if (line.empty()) {
            out += ".PP\n";
        } else if (example) {
            if (!inExample) out += ".PP\n.nf\n";
            inExample = true;
            out += roff(trimmed(line)) + "\n";
        } else if (indent > 0 && indent < 4) {
            const std::size_t gap = line.find("  ", indent);
            out += ".TP\n.B " + roff(trimmed(line.substr(indent, gap - indent))) + "\n";
            if (gap != std::string::npos) out += roff(trimmed(line.substr(gap))) + "\n";
        } else {
            out += roff(trimmed(line)) + "\n";
        }
    }
    if (inExample) out += ".fi\n";
    return out;
}

std::string header(std::string_view name, std::string_view version) {
    std::string title;
    for (char c : name) title += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ".TH " + roff(title) + " 1 \"\" \"Lodestar " + std::string(version) +
           "\" \"User Commands\"\n";
}

}  // namespace

std::string cliManPage(std::string_view usage, std::string_view version) {
    const std::vector<std::string> lines = splitLines(usage);
    std::string out = header("lodestar-cli", version);
    out +=
        ".SH NAME\nlodestar\\-cli \\- search and replace with regular expressions in files, "
        "folders and pipes\n.SH SYNOPSIS\n.nf\n";
    std::size_t i = 0;
    while (i < lines.size() && lines[i] != "Usage:") ++i;
    for (++i; i < lines.size() && !trimmed(lines[i]).empty(); ++i)
        out += roff(trimmed(lines[i])) + "\n";
    out += ".fi\n";
    for (const Block& block : blocks(lines, i)) {
        std::string aside;
        out += ".SH " + (block.title.empty() ? "DESCRIPTION" : sectionTitle(block.title, &aside)) +
               "\n";
        if (!aside.empty()) out += roff(aside) + ".\n.PP\n";
        out += blockBody(block.lines);
    }
    return out + ".SH SEE ALSO\n.BR lodestar (1)\n";
}

std::string windowManPage(std::string_view usage, std::string_view version) {
    std::string out = header("lodestar", version);
    out +=
        ".SH NAME\nlodestar \\- search and replace with regular expressions, in a window\n"
        ".SH SYNOPSIS\n.B lodestar\n[\\fIFILE\\fR|\\fIFOLDER\\fR]\n"
        ".SH DESCRIPTION\nThe desktop program: it opens FILE, or the files of FOLDER, searches "
        "them with a regular expression, shows the matches in the source and replaces them, "
        "keeping backups that Restore takes back. It needs a graphical session (DISPLAY or "
        "WAYLAND_DISPLAY); the same work without a window is done by\n.BR lodestar\\-cli (1).\n";
    for (const Block& block : blocks(splitLines(usage), 0))
        if (block.title == kSettingsHeading) out += ".SH FILES\n" + blockBody(block.lines);
    return out + ".SH SEE ALSO\n.BR lodestar\\-cli (1)\n";
}

}  // namespace lodestar::cli
