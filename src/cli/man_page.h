// The manual pages lodestar-cli(1) and lodestar(1), written in roff from the usage text, so the
// pages say what --help says.
#pragma once

#include <string>
#include <string_view>

namespace lodestar::cli {

// The usage text's "Usage:" lines become the synopsis, its first paragraphs the description,
// each heading ("Find output:") a section and each switch line a tagged paragraph.
std::string cliManPage(std::string_view usage, std::string_view version);

// The desktop program's page, with the usage text's section on where settings are read from.
std::string windowManPage(std::string_view usage, std::string_view version);

}  // namespace lodestar::cli
