#include "forms/preview/run_questions.h"

#include "core/text.h"

namespace lodestar {

namespace {

std::u16string counted(std::size_t n, std::u16string_view one, std::u16string_view many) {
    return digitGroups(n) + u" " + std::u16string(n == 1 ? one : many);
}

std::u16string question(bool deleting, std::optional<std::size_t> matches,
                        std::u16string_view where) {
    std::u16string text = deleting ? u"Delete " : u"Replace ";
    text += matches ? counted(*matches, u"match", u"matches") : u"every match";
    return text + u" in " + std::u16string(where) + u"?";
}

}  // namespace

std::u16string digitGroups(std::size_t n) {
    const std::u16string digits = decimal(static_cast<long long>(n));
    std::u16string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += u',';
        grouped += digits[i];
    }
    return grouped;
}

std::u16string folderReplaceQuestion(bool deleting, std::optional<std::size_t> matches,
                                     std::size_t files) {
    return question(deleting, matches,
                    matches ? counted(files, u"file", u"files")
                            : counted(files, u"ticked file", u"ticked files"));
}

std::u16string fileReplaceQuestion(bool deleting, std::optional<std::size_t> matches,
                                   std::u16string_view name) {
    return question(deleting, matches, name);
}

}  // namespace lodestar
