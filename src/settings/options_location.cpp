// The user's options file after the XDG base directory rules, and the order the files are read.
#include "settings/options_location.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/error.h"
#include "core/text.h"
#include "files/paths.h"

namespace lodestar {

std::optional<std::string> processEnvironmentValue(const char* name) {
    if (const char* value = std::getenv(name)) return std::string(value);
    return std::nullopt;
}

std::u16string userOptionsFile(const EnvironmentLookup& environment) {
    std::string folder;
    const std::optional<std::string> config = environment("XDG_CONFIG_HOME");
    // The rules say a relative value is to be ignored.
    if (config && !config->empty() && config->front() == '/') {
        folder = *config;
    } else {
        const std::optional<std::string> home = environment("HOME");
        if (!home || home->empty()) return {};
        folder = *home + (home->back() == '/' ? "" : "/") + ".config";
    }
    if (folder.back() != '/') folder += '/';
    return fromUtf8(folder + "lodestar/lodestar.opt");
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
    if (userFile.empty()) throw Error("No folder for the options file: HOME is not set.");
    const std::filesystem::path folder = std::filesystem::path(toUtf8(userFile)).parent_path();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw Error("Can't create the folder " + folder.string() + ": " + error.message() + ".");
    saveOptions(userFile, options, syntaxChecked, countChecked);
}

}  // namespace lodestar
