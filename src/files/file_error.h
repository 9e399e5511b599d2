// The error every file operation throws, and the wording its messages share: what failed, the
// path in quotes, and the operating system's reason.
#pragma once

#include <string>
#include <string_view>

#include "core/error.h"

namespace lodestar {

class FileError : public Error {
  public:
    using Error::Error;
};

// The file is no longer what was read: another program changed or replaced it meanwhile.
class FileChangedError : public FileError {
  public:
    using FileError::FileError;
};

inline constexpr std::string_view kChangedByAnotherProgram = "changed by another program";

// `what` + " \"path\": " + reason + "." — e.g. Cannot read the file "/a/b.txt": Permission denied.
FileError fileFailure(std::string_view what, const std::u16string& path, std::string_view reason);
// The same with the operating system's description of an errno value as the reason.
FileError fileFailure(std::string_view what, const std::u16string& path, int errorNumber);

}  // namespace lodestar
