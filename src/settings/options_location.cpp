// The user's options file in the user's configuration folder, and the order the files are read.
#include "settings/options_location.h"

#include <filesystem>
#include <system_error>

#include "core/error.h"
#include "core/text.h"
#include "files/paths.h"

namespace lodestar {

std::u16string userOptionsFile(const Environment& environment) {
    return userConfigFolder(environment) + u"lodestar.opt";
}

std::u16string programOptionsFile(const std::u16string& programFolder) {
    if (!programFolder.empty() && programFolder.back() == u'/')
        return programFolder + u"lodestar.opt";
    return programFolder + u"/lodestar.opt";
}

Options startupOptions(const std::u16string& userFile, const std::u16string& programFile) {
    return startupOptions(!userFile.empty() && fileExists(userFile) ? userFile : programFile);
}

void saveUserOptions(const std::u16string& userFile, const Options& options, bool syntaxChecked,
                     bool countChecked) {
    const std::filesystem::path folder = std::filesystem::path(toUtf8(userFile)).parent_path();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw Error("Can't create the folder " + folder.string() + ": " + error.message() + ".");
    saveOptions(userFile, options, syntaxChecked, countChecked);
}

}  // namespace lodestar
