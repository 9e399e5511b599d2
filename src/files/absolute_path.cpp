// Lexical absolute paths: the current folder in front of a relative path, "." and ".." folded.
#include "files/absolute_path.h"

#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "core/text.h"
#include "files/file_error.h"

namespace lodestar {
namespace {

std::u16string currentFolder() {
    std::string buffer(4096, '\0');
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
            buffer.resize(buffer.find('\0'));
            return fromUtf8(buffer);
        }
        if (errno != ERANGE) throw fileFailure("Cannot find the current folder", u".", errno);
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

std::u16string absolutePath(std::u16string_view path) {
    if (path.empty() || path.front() == u'/') return absolutePath(path, u"/");
    return absolutePath(path, currentFolder());
}

std::u16string absolutePath(std::u16string_view path, std::u16string_view base) {
    if (path.empty()) return {};
    std::u16string whole = path.front() == u'/'
                               ? std::u16string(path)
                               : std::u16string(base) + u"/" + std::u16string(path);
    const bool trailing = whole.back() == u'/' || whole.ends_with(u"/.") || whole.ends_with(u"/..");
    std::vector<std::u16string_view> parts;
    std::u16string_view rest = whole;
    while (!rest.empty()) {
        const std::size_t slash = rest.find(u'/');
        const std::u16string_view part = rest.substr(0, slash);
        rest = slash == std::u16string_view::npos ? std::u16string_view() : rest.substr(slash + 1);
        if (part.empty() || part == u".") continue;
        if (part == u"..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::u16string normal;
    for (const std::u16string_view part : parts) {
        normal += u'/';
        normal += part;
    }
    if (normal.empty() || trailing) normal += u'/';
    return normal;
}

}  // namespace lodestar
