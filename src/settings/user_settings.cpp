// Reading the user's settings file.
#include "settings/user_settings.h"

#include "core/error.h"
#include "core/text.h"
#include "files/open_for_reading.h"
#include "files/text_file.h"

namespace lodestar {

std::u16string userSettingsPath(const std::u16string& folder) {
    return folder + u"settings";
}

UserSettings loadUserSettings(const std::u16string& path) {
    UserSettings settings;
    std::u16string text;
    try {
        text = LoadFileText(path);
    } catch (const NotAFileError&) {
        settings.notAFile = true;
        return settings;
    } catch (const Error&) {
        return settings;  // no settings file yet: the defaults
    }
    for (std::u16string line : splitText(text, u"\n")) {
        if (!line.empty() && line.back() == u'\r') line.pop_back();
        const auto equals = line.find(u'=');
        if (line.empty() || line.front() == u'#' || equals == std::u16string::npos) continue;
        const std::u16string name = trimSpaces(line.substr(0, equals));
        const std::string value = toUtf8(trimSpaces(line.substr(equals + 1)));
        if (name == u"encoding") {
            std::optional<TextEncoding> encoding;
            if (parseEncodingName(value, encoding)) settings.encoding = encoding;
        }
    }
    return settings;
}

}  // namespace lodestar
