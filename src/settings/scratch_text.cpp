// Reading and writing the scratch pad's text.
#include "settings/scratch_text.h"

#include <filesystem>
#include <system_error>

#include "core/error.h"
#include "core/text.h"
#include "files/file_bytes.h"
#include "files/safe_write.h"
#include "files/user_folders.h"

namespace lodestar {

std::u16string userScratchFile() {
    return userStateFolder() + u"scratch.txt";
}

std::optional<std::u16string> loadScratchText(const std::u16string& path) {
    try {
        return fromUtf8(readFileBytes(path));
    } catch (const Error&) {
        return std::nullopt;
    }
}

void saveScratchText(const std::u16string& path, const std::u16string& text) {
    const std::filesystem::path folder = std::filesystem::path(toUtf8(path)).parent_path();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw Error("Can't create the folder " + folder.string() + ": " + error.message() + ".");
    ReplaceRules rules;
    rules.followLinks = false;
    rules.newFileMode = 0600;
    replaceFileBytes(path, toUtf8(text), rules);
}

}  // namespace lodestar
