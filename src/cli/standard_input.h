// PATH "-": the text comes from standard input and the result goes to standard output, in the
// encoding the text came in. Nothing is backed up and no file is written.
#pragma once

#include <functional>
#include <istream>
#include <ostream>
#include <string>

#include "cli/changed_text.h"
#include "files/text_encoding.h"

namespace lodestar::cli {

inline constexpr const char* kBinaryInputMessage =
    "Standard input holds binary data (NUL bytes); --binary reads it as Windows-1252 text.";

// All bytes of `in`.
std::string readStandardBytes(std::istream& in);

// replace and run on standard input: writes change(text) to `out`, the unchanged text when
// nothing changed. Exit status 0 changed, 1 unchanged, 2 binary input or a new text its
// encoding cannot hold (then nothing is written).
int changeStandardInput(std::istream& in, std::ostream& out, std::ostream& err,
                        const TextReading& reading,
                        const std::function<std::u16string(std::u16string_view)>& change);

// Says on `err` why standard input's text is not changed (binary, or its encoding cannot hold
// the new text) and answers false; true when it can be.
bool reportStandardInputFailure(const ChangedText& changed, std::ostream& err);

}  // namespace lodestar::cli
