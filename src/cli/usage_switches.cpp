// Reading the switch names out of the usage text.
#include "cli/usage_switches.h"

#include <algorithm>

namespace lodestar::cli {

std::vector<std::string> usageSwitches(std::string_view usage) {
    std::vector<std::string> found;
    for (std::size_t at = 0; (at = usage.find("\n  -", at)) != std::string_view::npos;) {
        at += 3;
        // The switch part ends at two spaces or the end of the line.
        const std::size_t end = std::min(usage.find("  ", at), usage.find('\n', at));
        const std::string_view tag = usage.substr(at, end - at);
        for (std::size_t from = 0; from < tag.size();) {
            const std::size_t stop = std::min(tag.size(), tag.find_first_of(" ,=", from));
            const std::string word(tag.substr(from, stop - from));
            if (word.size() > 1 && word[0] == '-' && word != "--" &&
                std::find(found.begin(), found.end(), word) == found.end())
                found.push_back(word);
            from = stop + 1;
        }
    }
    return found;
}

std::string withSwitches(std::string script, std::string_view usage) {
    std::string list;
    for (const std::string& name : usageSwitches(usage)) list += (list.empty() ? "" : " ") + name;
    for (std::size_t at; (at = script.find("@SWITCHES@")) != std::string::npos;)
        script.replace(at, 10, list);
    return script;
}

}  // namespace lodestar::cli
