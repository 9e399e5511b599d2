// Path helpers: names and folders cut from "/"-separated paths, sizes, existence queries.
#include "files/paths.h"

#include <sys/stat.h>

#include "core/text.h"

namespace lodestar {
namespace {

bool statMode(const std::u16string& path, mode_t& mode) {
    struct stat info {};
    if (path.empty() || ::stat(toUtf8(path).c_str(), &info) != 0) return false;
    mode = info.st_mode;
    return true;
}

}  // namespace

std::u16string FileNameOf(std::u16string_view path) {
    std::size_t slash = path.rfind(u'/');
    return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

std::u16string ParentFolderOf(std::u16string_view path) {
    std::size_t slash = path.rfind(u'/');
    if (slash == std::u16string_view::npos) return {};
    return std::u16string(path.substr(0, slash));
}

std::u16string NormalizeFolder(std::u16string_view path) {
    std::u16string folder(path);
    if (!folderExists(folder)) return {};
    if (!folder.ends_with(u'/')) folder += u'/';
    return folder;
}

std::u16string SizeInKB(std::uint64_t bytes) {
    return decimal(static_cast<long long>(bytes / 1024 + 1)) + u" KB";
}

bool fileExists(const std::u16string& path) {
    mode_t mode = 0;
    return statMode(path, mode) && S_ISREG(mode);
}

bool folderExists(const std::u16string& path) {
    mode_t mode = 0;
    return statMode(path, mode) && S_ISDIR(mode);
}

bool isSpecialFile(const std::u16string& path) {
    mode_t mode = 0;
    return statMode(path, mode) && !S_ISREG(mode) && !S_ISDIR(mode);
}

}  // namespace lodestar
