// Reading and writing the scratch pad's text.
#include "settings/scratch_text.h"

#include <cstdint>

#include "core/text.h"
#include "files/user_folders.h"
#include "settings/state_file.h"

namespace lodestar {

namespace {
// A pasted text larger than this is not taken back at the next start.
constexpr std::uintmax_t kLargestText = 256u << 20;
}  // namespace

std::u16string userScratchFile() {
    return userStateFolder() + u"scratch.txt";
}

std::optional<std::u16string> loadScratchText(const std::u16string& path) {
    const std::optional<std::string> bytes = readStateFile(path, kLargestText);
    if (!bytes) return std::nullopt;
    return fromUtf8(*bytes);
}

void saveScratchText(const std::u16string& path, const std::u16string& text) {
    writeStateFile(path, toUtf8(text));
}

}  // namespace lodestar
