// Folder listing through opendir/readdir, filtered and sorted by name.
#include "files/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "core/text.h"
#include "files/file_error.h"

namespace lodestar {
namespace {

constexpr const char* kCannotList = "Cannot list the folder";

class Directory {
  public:
    explicit Directory(DIR* handle) : handle_(handle) {}
    ~Directory() { ::closedir(handle_); }
    Directory(const Directory&) = delete;
    Directory& operator=(const Directory&) = delete;
    DIR* get() const { return handle_; }

  private:
    DIR* handle_;
};

bool isRegularFile(DIR* folder, const dirent& entry) {
    if (entry.d_type == DT_REG) return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
    struct stat info {};
    return ::fstatat(::dirfd(folder), entry.d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
}

// A folder entry itself, never a symbolic link to one (walking through links could loop or
// leave the tree).
bool isRealFolder(DIR* folder, const dirent& entry) {
    if (entry.d_type != DT_UNKNOWN) return entry.d_type == DT_DIR;
    struct stat info {};
    return ::fstatat(::dirfd(folder), entry.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISDIR(info.st_mode);
}

}  // namespace

bool fileNameLess(std::u16string_view a, std::u16string_view b) {
    // ASCII folded here, the rest by foldFileNameCase: sorting a folder of thousands of names
    // folds every letter of them many times.
    const auto fold = [](char16_t c) -> char16_t {
        if (c >= 0x80) return foldFileNameCase(c);
        return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    };
    std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        char16_t x = fold(a[i]), y = fold(b[i]);
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

FolderEntries readFolderEntries(const std::u16string& folder) {
    DIR* handle = ::opendir(toUtf8(folder).c_str());
    if (handle == nullptr) throw fileFailure(kCannotList, folder, errno);
    Directory directory(handle);

    FolderEntries entries;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(handle);
        if (entry == nullptr) {
            if (errno != 0) throw fileFailure(kCannotList, folder, errno);
            break;
        }
        std::string_view raw = entry->d_name;
        if (raw.starts_with('.')) continue;
        // A name that is not UTF-8 keeps its bytes (see fromUtf8) and is listed like any other.
        if (isRegularFile(handle, *entry))
            entries.files.push_back(fromUtf8(raw));
        else if (isRealFolder(handle, *entry))
            entries.folders.push_back(fromUtf8(raw));
    }
    return entries;
}

std::vector<std::u16string> listFolder(const std::u16string& folder,
                                       std::u16string_view patternList) {
    std::vector<std::u16string> names;
    for (std::u16string& name : readFolderEntries(folder).files)
        if (matchesPatternList(name, patternList)) names.push_back(std::move(name));
    std::sort(names.begin(), names.end(), fileNameLess);

    std::u16string prefix = folder.ends_with(u'/') ? folder : folder + u'/';
    std::vector<std::u16string> paths;
    paths.reserve(names.size());
    for (const std::u16string& name : names) paths.push_back(prefix + name);
    return paths;
}

}  // namespace lodestar
