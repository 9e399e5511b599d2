// Identity of a path among a list of files, through stat.
#include "files/same_file.h"

#include <functional>

#include "files/file_identity.h"

namespace lodestar {
namespace {

bool anySameFile(const std::u16string& path, std::size_t count,
                 const std::function<const std::u16string&(std::size_t)>& fileAt) {
    const std::optional<FileStamp> target = stampOf(path);
    if (!target) return false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::optional<FileStamp> stamp = stampOf(fileAt(i));
        if (stamp && stamp->sameFile(*target)) return true;
    }
    return false;
}

}  // namespace

bool isOneOfFiles(const std::u16string& path, const std::vector<std::u16string>& files) {
    return anySameFile(path, files.size(),
                       [&](std::size_t i) -> const std::u16string& { return files[i]; });
}

bool isOneOfFiles(const std::u16string& path, const std::vector<FileItem>& files) {
    return anySameFile(path, files.size(),
                       [&](std::size_t i) -> const std::u16string& { return files[i].path; });
}

}  // namespace lodestar
