// The command-file grammar, run through the shared expression with the grammar's own patterns.
#include "core/text.h"
#include "files/text_file.h"
#include "replace/command_file.h"
#include "search/escapes.h"

namespace lodestar {

namespace {

constexpr std::u16string_view kLineComment = u"///.+?\\r\\n";
constexpr std::u16string_view kBlockComment = u"={3,}(.|\\n)+?={3,}";
constexpr std::u16string_view kDirective = u"!delimiter=\"(.*)\"";
constexpr std::u16string_view kDefaultDelimiter = u"---";

// Groups of a command match: the word, the cs flag, the search text, the to text and the
// replacement text. The delimiter goes in as pattern text, so one with groups of its own
// shifts these numbers, as it always has.
constexpr std::size_t kWordGroup = 1;
constexpr std::size_t kCsGroup = 2;
constexpr std::size_t kSearchGroup = 3;
constexpr std::size_t kToGroup = 6;
constexpr std::size_t kReplacementGroup = 9;

std::u16string commandPattern(std::u16string_view d) {
    std::u16string p = u"\\b(rep|regrep|replace|regreplace)\\s+(cs\\s+)?";
    p.append(d).append(u"((.|\\n)+?)").append(d);
    p.append(u"(\\s+to ").append(d).append(u"((.|\\n)+?)").append(d).append(u")?");
    p.append(u"(\\s+with ").append(d).append(u"((.|\\n)+?)").append(d).append(u")?;");
    return p;
}

// Text of group n (1-based); empty when the group took no part or does not exist.
std::u16string group(const Match& m, std::size_t n) {
    if (n == 0 || n > m.subMatches.size() || !m.subMatches[n - 1]) return {};
    return *m.subMatches[n - 1];
}

bool isRegWord(std::u16string_view word) {
    if (word.size() < 3) return false;
    for (std::size_t i = 0; i < 3; ++i) {
        char16_t c = word[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != u"reg"[i]) return false;
    }
    return true;
}

Command commandOf(const Match& m, bool escapeSupport) {
    Command c;
    c.search = group(m, kSearchGroup);
    c.caseSensitive = !group(m, kCsGroup).empty();
    const std::u16string replacement = group(m, kReplacementGroup);
    if (isRegWord(group(m, kWordGroup))) {
        c.kind = CommandKind::Reg;
        c.replacement = decodeEscapes(replacement, escapeSupport);
    } else {
        c.kind = group(m, kToGroup).empty() ? CommandKind::Plain : CommandKind::To;
        c.replacement = replacement;
    }
    return c;
}

// Whether the delimiter, as pattern text, matches exactly its own characters and nothing
// else: no pattern syntax, and no letters (nor anything beyond ASCII) when case is ignored.
bool matchesOnlyItself(std::u16string_view d, bool ignoreCase) {
    static constexpr std::u16string_view syntax = u"\\^$.|?*+()[]{}";
    for (char16_t c : d) {
        if (syntax.find(c) != std::u16string_view::npos) return false;
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
        if (ignoreCase && (letter || c > 0x7F)) return false;
    }
    return true;
}

// Every command ends with the delimiter directly followed by ";", so with a delimiter that
// matches only itself nothing after the last such pair can belong to a command, and cutting
// it off changes no match. Without the cut, each unfinished command after the last complete
// one runs its lazy scan to the end of the text, which is quadratic in a large file.
std::u16string_view commandRegion(std::u16string_view body, std::u16string_view d,
                                  bool ignoreCase) {
    if (!matchesOnlyItself(d, ignoreCase)) return body;
    const std::u16string end = std::u16string(d) + u";";
    const std::size_t at = body.rfind(end);
    return at == std::u16string_view::npos ? std::u16string_view()
                                           : body.substr(0, at + end.size());
}

std::u16string removeMatches(RegExp& expr, std::u16string_view pattern, std::u16string_view text) {
    expr.setPattern(pattern);
    return expr.replace(text, u"");
}

}  // namespace

std::optional<std::vector<Command>> parseCommandText(std::u16string_view text, RegExp& expr,
                                                     bool escapeSupport) {
    std::u16string body = removeMatches(expr, kLineComment, text);
    body = trimSpaces(removeMatches(expr, kBlockComment, body));

    std::u16string delimiter(kDefaultDelimiter);
    expr.setPattern(kDirective);
    if (const std::vector<Match> directives = expr.execute(body); !directives.empty()) {
        delimiter = group(directives.front(), 1);
    }

    expr.setPattern(commandPattern(delimiter));
    const std::vector<Match> matches =
        expr.execute(commandRegion(body, delimiter, expr.ignoreCase()));
    if (matches.empty()) return std::nullopt;
    std::vector<Command> commands;
    commands.reserve(matches.size());
    for (const Match& m : matches) commands.push_back(commandOf(m, escapeSupport));
    return commands;
}

std::optional<std::vector<Command>> ParseCommandFile(const std::u16string& path, RegExp& expr,
                                                     bool escapeSupport) {
    return parseCommandText(LoadFileText(path), expr, escapeSupport);
}

}  // namespace lodestar
