// The text the window shows of one file: the text as it is now (replaces and all), what the
// file holds as last read or written, the format its bytes carry the text in, and the file's
// stamp at that read, which a save checks.
#pragma once

#include <optional>
#include <string>

#include "files/file_identity.h"
#include "files/text_encoding.h"
#include "forms/scope/shared_text.h"

namespace lodestar {

struct Document {
    std::u16string path;
    SharedText text;
    SharedText loaded;
    TextFormat format;        // Save writes the text so
    TextFormat loadedFormat;  // the format `loaded` was read in
    std::optional<FileStamp> stamp;

    // The text or its format differ from what the file holds: there is something to save.
    bool changed() const { return text != loaded || format != loadedFormat; }
};

}  // namespace lodestar
