// Printing matches as lines: the file, line and column in front, the match marked in colour.
#include "cli/match_lines.h"

#include <algorithm>
#include <cstdio>

#include "core/text.h"
#include "search/line_index.h"

namespace lodestar::cli {

namespace {

constexpr std::string_view kNameColor = "\x1b[35m";
constexpr std::string_view kNumberColor = "\x1b[32m";
constexpr std::string_view kMatchColor = "\x1b[1;31m";
constexpr std::string_view kReset = "\x1b[0m";

class Printer {
  public:
    Printer(std::u16string_view text, const LineLabel& label, const FindOutput& output)
        : text_(text), lines_(text), label_(label), output_(output) {}

    std::string print(const std::vector<FoundMatch>& matches) {
        for (const FoundMatch& match : matches) {
            const std::size_t first = lines_.lineOf(match.index);
            const std::size_t last =
                match.length == 0 ? first : lines_.lineOf(match.index + match.length - 1);
            if (output_.shape == FindShape::Json) {
                json(match, first, last);
                continue;
            }
            if (output_.shape == FindShape::Lines) context(first);
            for (std::size_t line = first; line <= last; ++line) matchLine(match, line, first);
            done_ = std::max(done_, last + 1);
            after_ = last + 1 + output_.after;
            printedAny_ = true;
        }
        if (output_.shape == FindShape::Lines) contextLines(done_, after_);
        return std::move(out_);
    }

  private:
    // The context lines before a match's first line: the rest of the lines after the matches
    // before, then "--" when lines are left out, then the lines before this one.
    void context(std::size_t first) {
        contextLines(done_, std::min(after_, first));
        const std::size_t from = std::max(done_, first - std::min(first, output_.before));
        if ((output_.before > 0 || output_.after > 0) && printedAny_ && from > done_ &&
            from <= first)
            out_ += "--\n";
        contextLines(from, first);
    }

    // The line in UTF-8, kept for the next match on the same line.
    const std::string& printed(std::size_t line) {
        if (line == printedLine_) return printedText_;
        printedLine_ = line;
        // Most lines are ASCII: narrowed into the kept buffer, without a conversion.
        const std::u16string_view text = lines_.text(line);
        printedText_.resize(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] >= 0x80) {
                printedText_ = toUtf8(text);
                break;
            }
            printedText_[i] = static_cast<char>(text[i]);
        }
        return printedText_;
    }

    void contextLines(std::size_t from, std::size_t to) {
        for (std::size_t line = from; line < to && lines_.exists(line); ++line) {
            prefix(line, std::nullopt, '-');
            out_ += printed(line);
            out_ += '\n';
            done_ = line + 1;
        }
    }

    void colored(std::string_view color, std::string_view text) {
        if (label_.color) out_ += color;
        out_ += text;
        if (label_.color) out_ += kReset;
    }

    void prefix(std::size_t line, std::optional<std::size_t> column, char separator) {
        if (label_.showName) {
            colored(kNameColor, label_.name);
            out_ += separator;
        }
        if (!output_.lineNumbers) return;
        colored(kNumberColor, std::to_string(line + 1));
        out_ += separator;
        if (!column) return;
        colored(kNumberColor, std::to_string(*column));
        out_ += separator;
    }

    // One line a match covers: the whole line with the match's part marked, or that part alone.
    void matchLine(const FoundMatch& match, std::size_t line, std::size_t first) {
        const std::size_t start = lines_.start(line);
        const std::size_t end = lines_.end(line);
        const std::size_t from = std::clamp(match.index, start, end);
        const std::size_t to = std::clamp(match.index + match.length, from, end);
        if (output_.shape == FindShape::OnlyMatching && from == to) return;
        const std::string_view whole = printed(line);
        const std::size_t before = utf8Length(text_.substr(start, from - start));
        const std::string_view marked =
            whole.substr(before, utf8Length(text_.substr(from, to - from)));
        prefix(line, line == first ? before + 1 : 1, ':');
        if (output_.shape != FindShape::OnlyMatching) out_ += whole.substr(0, before);
        if (!marked.empty()) colored(kMatchColor, marked);
        if (output_.shape != FindShape::OnlyMatching) out_ += whole.substr(before + marked.size());
        out_ += '\n';
    }

    void json(const FoundMatch& match, std::size_t first, std::size_t last) {
        // A match at a line break is at the end of its line's text, as the lines show it.
        const std::size_t start = lines_.start(first);
        const std::size_t from = std::min(match.index, lines_.end(first));
        const std::size_t column = utf8Length(text_.substr(start, from - start));
        out_ += "{\"file\":" + jsonString(fromUtf8(label_.name));
        out_ += ",\"line\":" + std::to_string(first + 1);
        out_ += ",\"column\":" + std::to_string(column + 1);
        out_ += ",\"offset\":" + std::to_string(lines_.bytesBefore(first) + column);
        out_ += ",\"text\":" + jsonString(text_.substr(start, lines_.end(last) - start));
        out_ += ",\"match\":" + jsonString(text_.substr(match.index, match.length));
        out_ += ",\"submatches\":[";
        for (std::size_t i = 0; i < match.groups.size(); ++i) {
            if (i > 0) out_ += ',';
            out_ += match.groups[i] ? jsonString(*match.groups[i]) : "null";
        }
        out_ += "]}\n";
    }

    std::u16string_view text_;
    LineIndex lines_;
    const LineLabel& label_;
    const FindOutput& output_;
    std::string out_;
    std::size_t done_ = 0;   // lines before this one are printed or passed
    std::size_t after_ = 0;  // context after the last match reaches to this line
    bool printedAny_ = false;
    std::size_t printedLine_ = static_cast<std::size_t>(-1);
    std::string printedText_;
};

}  // namespace

std::string matchLines(std::u16string_view text, const std::vector<FoundMatch>& matches,
                       const LineLabel& label, const FindOutput& output) {
    return Printer(text, label, output).print(matches);
}

std::string jsonString(std::u16string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        const bool pair = unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pair) {
            out += toUtf8(text.substr(i++, 2));
        } else if (unit == u'"' || unit == u'\\') {
            out += '\\';
            out += static_cast<char>(unit);
        } else if (unit == u'\n') {
            out += "\\n";
        } else if (unit == u'\r') {
            out += "\\r";
        } else if (unit == u'\t') {
            out += "\\t";
        } else if (unit < 0x20 || (unit >= 0xD800 && unit <= 0xDFFF)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(unit));
            out += escape;
        } else {
            out += toUtf8(text.substr(i, 1));
        }
    }
    return out + "\"";
}

}  // namespace lodestar::cli
