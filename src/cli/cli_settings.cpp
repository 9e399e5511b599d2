// Options file values (the user's file, else the program folder's) with the command line's
// overrides on top.
#include "cli/cli_settings.h"

#include "core/text.h"
#include "files/paths.h"
#include "files/user_folders.h"
#include "settings/options.h"
#include "settings/options_location.h"
#include "settings/user_settings.h"

namespace lodestar::cli {

CliSettings effectiveSettings(const Arguments& args, const std::u16string& programFolder) {
    std::vector<std::u16string> ignored;
    const std::u16string userFile = userOptionsFile();
    const std::u16string programFile = programOptionsFile(programFolder);
    const Options options = startupOptions(userFile, programFile, &ignored);
    CliSettings settings{options.backupOnReplace,
                         options.backupFolder,
                         !options.noCountOnReplace,
                         options.escapeSupport,
                         {},
                         std::move(ignored),
                         {}};
    settings.keptSteps = options.keptSteps;
    if (args.backup) settings.backup = *args.backup;
    if (args.backupFolder) settings.backupFolder = backupFolderName(fromUtf8(*args.backupFolder));
    if (args.countMatches) settings.countMatches = *args.countMatches;
    if (args.escapeSupport) settings.escapeSupport = *args.escapeSupport;
    for (const std::u16string& file : {userFile, programFile})
        if (isSpecialFile(file)) settings.notAFile.push_back(file);
    const std::u16string settingsFile = userSettingsPath(userConfigFolder());
    const UserSettings user = loadUserSettings(settingsFile);
    if (user.notAFile) settings.notAFile.push_back(settingsFile);
    settings.reading.fixed = user.encoding;
    if (args.encoding) parseEncodingName(*args.encoding, settings.reading.fixed);
    settings.reading.binaryAsText = args.binaryAsText;
    return settings;
}

}  // namespace lodestar::cli
