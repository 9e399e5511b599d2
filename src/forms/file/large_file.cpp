// The size check before a file opens in the source view.
#include "forms/file/large_file.h"

#include <fstream>
#include <sstream>

#include "core/text.h"

namespace lodestar {

namespace {
constexpr std::uint64_t kMemoryPerByte = 3;

std::u16string megabytes(std::uint64_t bytes) {
    return decimal(static_cast<long long>((bytes + (1u << 20) - 1) >> 20)) + u" MB";
}
}  // namespace

bool windowCanCarry(std::uint64_t fileBytes, std::optional<std::uint64_t> freeMemory) {
    if (fileBytes > kLargestCarriedFile) return false;
    return !freeMemory || fileBytes <= *freeMemory / kMemoryPerByte;
}

std::optional<std::uint64_t> freeMemoryBytes() {
    std::ifstream info("/proc/meminfo");
    std::string line;
    while (std::getline(info, line)) {
        std::istringstream fields(line);
        std::string name;
        std::uint64_t kilobytes = 0;
        if (fields >> name >> kilobytes && name == "MemAvailable:") return kilobytes * 1024;
    }
    return std::nullopt;
}

std::u16string largeFileQuestion(std::uint64_t fileBytes, std::optional<std::uint64_t> freeMemory) {
    std::u16string question = u"This file is " + megabytes(fileBytes) + u"; ";
    question += freeMemory ? u"with " + megabytes(*freeMemory) +
                                 u" of memory free the window may not be able to hold it."
                           : u"the window may not be able to hold it.";
    return question +
           u"\r\nFolder mode searches and replaces it without showing it. Open it "
           u"here anyway?";
}

}  // namespace lodestar
