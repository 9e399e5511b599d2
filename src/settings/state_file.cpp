// Reading and writing the program's own files in the user's state folder.
#include "settings/state_file.h"

#include <filesystem>
#include <system_error>

#include "core/error.h"
#include "core/text.h"
#include "files/file_bytes.h"
#include "files/safe_write.h"

namespace lodestar {

std::optional<std::string> readStateFile(const std::u16string& path, std::uintmax_t largest) {
    std::error_code error;
    const std::filesystem::path file = toUtf8(path);
    if (!std::filesystem::is_regular_file(file, error) || error) return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size > largest) return std::nullopt;
    try {
        return readFileBytes(path);
    } catch (const Error&) {
        return std::nullopt;
    }
}

void writeStateFile(const std::u16string& path, std::string_view bytes) {
    const std::filesystem::path folder = std::filesystem::path(toUtf8(path)).parent_path();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw Error("Can't create the folder " + folder.string() + ": " + error.message() + ".");
    ReplaceRules rules;
    rules.followLinks = false;  // the program's own file: a link there is replaced, not followed
    rules.newFileMode = 0600;
    replaceFileBytes(path, bytes, rules);
}

void forEachStateLine(
    std::string_view bytes,
    const std::function<void(std::string_view name, std::string_view value)>& take) {
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::size_t equals = line.find('=');
        if (line.empty() || line.front() == '#' || equals == std::string_view::npos) continue;
        take(line.substr(0, equals), line.substr(equals + 1));
    }
}

}  // namespace lodestar
