// Single-file operations on top of stat/chmod/unlink and the safe whole-file replacement.
#include "files/file_ops.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/text.h"
#include "files/file_bytes.h"
#include "files/safe_write.h"

namespace lodestar {
namespace {

struct stat statOf(const std::u16string& path) {
    struct stat info {};
    if (::stat(toUtf8(path).c_str(), &info) != 0) {
        throw fileFailure("Cannot read the attributes of", path, errno);
    }
    return info;
}

}  // namespace

bool isReadOnly(const std::u16string& path) {
    return (statOf(path).st_mode & S_IWUSR) == 0;
}

namespace {

void changeMode(const std::u16string& path, mode_t mode) {
    if (::chmod(toUtf8(path).c_str(), mode) != 0)
        throw fileFailure("Cannot change the attributes of", path, errno);
}

}  // namespace

void clearReadOnly(const std::u16string& path) {
    changeMode(path, (statOf(path).st_mode & 07777) | S_IWUSR);
}

void setReadOnly(const std::u16string& path) {
    changeMode(path, statOf(path).st_mode & 07777 & ~S_IWUSR);
}

std::uint64_t fileSize(const std::u16string& path) {
    return static_cast<std::uint64_t>(statOf(path).st_size);
}

std::uint64_t fileSizeOrZero(const std::u16string& path) {
    try {
        return fileSize(path);
    } catch (const Error&) {
        return 0;
    }
}

void copyFileOver(const std::u16string& from, const std::u16string& to, LinkAtTarget linkAtTarget) {
    std::u16string target = to;
    if (target.ends_with(u'/')) {
        std::size_t slash = from.rfind(u'/');
        target += slash == std::u16string::npos ? from : from.substr(slash + 1);
    }
    std::string bytes = readFileBytes(from);
    ReplaceRules rules;
    rules.newFileMode = statOf(from).st_mode & 07777;
    rules.followLinks = linkAtTarget == LinkAtTarget::Follow;
    replaceFileBytes(target, bytes, rules);
}

void copyPermissions(const std::u16string& from, const std::u16string& to) {
    changeMode(to, statOf(from).st_mode & 07777);
}

void removeFile(const std::u16string& path) {
    if (::unlink(toUtf8(path).c_str()) != 0)
        throw fileFailure("Cannot delete the file", path, errno);
}

}  // namespace lodestar
