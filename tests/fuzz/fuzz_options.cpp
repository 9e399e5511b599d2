// The options file: any text gives options within their ranges, or is not taken at all.
#include <cstdlib>

#include "fuzz_input.h"
#include "settings/options.h"

using namespace lodestar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Options options;
    defaultOptions(options);
    std::vector<std::u16string> ignored;
    if (parseOptionText(fuzz::narrowFrom(fuzz::bytesOf(data, size)), options, &ignored)) {
        if (options.sourceFont.find_first_of(u"\r\n") != std::u16string::npos) std::abort();
        if (!(options.patternFontSize > 0) || options.patternFontName.empty()) std::abort();
    }
    return 0;
}
