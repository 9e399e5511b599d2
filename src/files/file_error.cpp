// Messages of the file operations.
#include "files/file_error.h"

#include <system_error>

#include "core/text.h"

namespace lodestar {

FileError fileFailure(std::string_view what, const std::u16string& path, std::string_view reason) {
    std::string message(what);
    message += " \"" + displayText(path) + "\": ";
    message += reason;
    if (!message.ends_with('.')) message += '.';
    return FileError(message);
}

FileError fileFailure(std::string_view what, const std::u16string& path, int errorNumber) {
    return fileFailure(what, path, std::system_category().message(errorNumber));
}

}  // namespace lodestar
