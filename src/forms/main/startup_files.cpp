#include "forms/main/startup_files.h"

#include "files/paths.h"
#include "files/text_file.h"
#include "files/user_folders.h"
#include "settings/options_location.h"
#include "settings/user_settings.h"

namespace lodestar {

StartupSettings readStartupSettings(const std::u16string& programFolder,
                                    const std::u16string& userOptions) {
    StartupSettings start;
    try {
        start.options =
            startupOptions(userOptions, programOptionsFile(programFolder), &start.notes);
    } catch (const Error&) {
        start.options = Options();
        defaultOptions(start.options);
    }
    const std::u16string settingsFile = userSettingsPath(userConfigFolder());
    start.reading.fixed = loadUserSettings(settingsFile).encoding;
    // A FIFO or a device in place of a settings file is never read: the defaults hold.
    for (const std::u16string& file : {settingsFile, userOptions})
        if (isSpecialFile(file))
            start.notes.push_back(file +
                                  u" is not a regular file (a FIFO or a device); it is not read.");
    return start;
}

std::vector<std::u16string> missingDataFiles(const std::u16string& programFolder) {
    struct Need {
        const char16_t* file;
        const char16_t* consequence;
    };
    static const Need needs[] = {
        {u"lib/ml.tmp", u"the match list uses a built-in page."},
        {u"lib/src.tmp", u"the source view uses a built-in page."},
        {u"lib/syntax.tbl", u"the source view uses the default highlighting."},
        {u"lib/tbl.tmp", u"the file table of a folder cannot be shown."},
        {u"lib/list.tmp", u"the file table of a folder cannot be shown."},
        {u"help/index.htm", u"Help > Contents cannot open the help."},
    };
    std::vector<std::u16string> missing;
    for (const Need& n : needs)
        if (!fileExists(programFolder + n.file))
            missing.push_back(u"Missing " + std::u16string(n.file) + u": " + n.consequence);
    return missing;
}

}  // namespace lodestar
