// XDG folder lookup. A variable that is empty or holds a relative path is ignored, as the XDG
// rules ask.
#include "files/user_folders.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "core/text.h"

namespace lodestar {

namespace {

std::optional<std::string> absolute(const Environment& environment, const char* name) {
    std::optional<std::string> value = environment(name);
    if (!value || value->empty() || value->front() != '/') return std::nullopt;
    return value;
}

std::u16string inside(std::string base) {
    if (base.back() != '/') base += '/';
    return fromUtf8(base) + u"lodestar/";
}

std::u16string underHomeOr(const Environment& environment, const char* name,
                           const char* homeRelative) {
    if (auto value = absolute(environment, name)) return inside(*value);
    std::string home = absolute(environment, "HOME").value_or("/tmp");
    if (home.back() != '/') home += '/';
    return inside(home + homeRelative);
}

}  // namespace

std::optional<std::string> processEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
}

std::u16string userConfigFolder(const Environment& environment) {
    return underHomeOr(environment, "XDG_CONFIG_HOME", ".config");
}

std::u16string userStateFolder(const Environment& environment) {
    return underHomeOr(environment, "XDG_STATE_HOME", ".local/state");
}

std::u16string userRuntimeFolder(const Environment& environment) {
    if (auto value = absolute(environment, "XDG_RUNTIME_DIR")) return inside(*value);
    // The shared temporary folder: a name of this user's own, so users do not meet there.
    std::string temp = absolute(environment, "TMPDIR").value_or("/tmp");
    if (temp.back() != '/') temp += '/';
    return fromUtf8(temp + "lodestar-" + std::to_string(::getuid()) + "/");
}

}  // namespace lodestar
