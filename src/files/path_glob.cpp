// Path globs by dynamic programming over (glob position, path position): quadratic at worst,
// never exponential, whatever the glob.
#include "files/path_glob.h"

#include <vector>

#include "core/text.h"
#include "files/wildcard.h"

namespace lodestar {

bool matchesPathGlob(std::u16string_view path, std::u16string_view glob) {
    const std::size_t n = path.size(), m = glob.size();
    // can(i, j): glob from i matches path from j. Filled from the ends backwards.
    std::vector<char> table((m + 1) * (n + 1), 0);
    auto can = [&](std::size_t i, std::size_t j) -> char& { return table[i * (n + 1) + j]; };
    can(m, n) = 1;
    for (std::size_t i = m; i-- > 0;) {
        const char16_t g = glob[i];
        const bool doubleStar = g == u'*' && i + 1 < m && glob[i + 1] == u'*';
        for (std::size_t j = n + 1; j-- > 0;) {
            bool ok = false;
            if (doubleStar) {
                const std::size_t rest = i + 2;
                // Any run, "/" included; "**/" may also stand for no folder.
                ok = can(rest, j) || (j < n && can(i, j + 1)) ||
                     (rest < m && glob[rest] == u'/' && can(rest + 1, j));
            } else if (g == u'*') {
                ok = can(i + 1, j) || (j < n && path[j] != u'/' && can(i, j + 1));
            } else if (j < n) {
                const bool one =
                    g == u'?' ? path[j] != u'/' : foldFileNameCase(g) == foldFileNameCase(path[j]);
                ok = one && can(i + 1, j + 1);
            }
            can(i, j) = ok;
        }
    }
    return can(0, 0) != 0;
}

bool excludedByGlobs(const std::vector<std::u16string>& globs, std::u16string_view relativePath,
                     bool isFolder) {
    const auto slash = relativePath.rfind(u'/');
    const std::u16string_view name =
        slash == std::u16string_view::npos ? relativePath : relativePath.substr(slash + 1);
    const std::u16string asFolder = std::u16string(relativePath) + u'/';
    for (std::u16string_view glob : globs) {
        if (glob.starts_with(u'/')) glob.remove_prefix(1);
        if (glob.empty()) continue;
        const bool foldersOnly = glob.ends_with(u'/');
        if (foldersOnly && !isFolder) continue;
        const std::u16string_view bare = foldersOnly ? glob.substr(0, glob.size() - 1) : glob;
        if (bare.find(u'/') == std::u16string_view::npos) {
            if (!bare.empty() && matchesPathGlob(name, bare)) return true;
        } else if (matchesPathGlob(relativePath, bare) ||
                   (isFolder && matchesPathGlob(asFolder, glob))) {
            return true;
        }
    }
    return false;
}

std::vector<std::u16string> splitGlobList(std::u16string_view list) {
    std::vector<std::u16string> globs;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = list.find(u';', start);
        std::u16string glob = trimSpaces(list.substr(start, end - start));
        if (!glob.empty()) globs.push_back(std::move(glob));
        if (end == std::u16string_view::npos) break;
        start = end + 1;
    }
    return globs;
}

}  // namespace lodestar
