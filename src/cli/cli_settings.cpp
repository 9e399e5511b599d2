// Options file values (the user's file, else the program folder's) with the command line's
// overrides on top.
#include "cli/cli_settings.h"

#include "core/text.h"
#include "files/user_folders.h"
#include "settings/options.h"
#include "settings/options_location.h"
#include "settings/user_settings.h"

namespace lodestar::cli {

CliSettings effectiveSettings(const Arguments& args, const std::u16string& programFolder) {
    const Options options = startupOptions(userOptionsFile(), programOptionsFile(programFolder));
    CliSettings settings{options.backupOnReplace, options.backupFolder, !options.noCountOnReplace,
                         options.escapeSupport};
    if (args.backup) settings.backup = *args.backup;
    if (args.backupFolder) settings.backupFolder = backupFolderName(fromUtf8(*args.backupFolder));
    if (args.countMatches) settings.countMatches = *args.countMatches;
    if (args.escapeSupport) settings.escapeSupport = *args.escapeSupport;
    settings.reading.fixed = loadUserSettings(userSettingsPath(userConfigFolder())).encoding;
    if (args.encoding) parseEncodingName(*args.encoding, settings.reading.fixed);
    settings.reading.binaryAsText = args.binaryAsText;
    return settings;
}

}  // namespace lodestar::cli
