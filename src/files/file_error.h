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

// `what` + " \"path\": " + reason + "." — e.g. Cannot read the file "/a/b.txt": Permission denied.
FileError fileFailure(std::string_view what, const std::u16string& path, std::string_view reason);
// The same with the operating system's description of an errno value as the reason.
FileError fileFailure(std::string_view what, const std::u16string& path, int errorNumber);

}  // namespace lodestar
