// Reading standard input whole and writing the changed text back out.
#include "cli/standard_input.h"

#include <iterator>

namespace lodestar::cli {

std::string readStandardBytes(std::istream& in) {
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int changeStandardInput(std::istream& in, std::ostream& out, std::ostream& err,
                        const TextReading& reading,
                        const std::function<std::u16string(std::u16string_view)>& change) {
    const ChangedText changed =
        changeText(decodeText(readStandardBytes(in), reading), reading.binaryAsText, change);
    if (!reportStandardInputFailure(changed, err)) return 2;
    out << changed.bytes;
    return changed.result == ChangeResult::Unchanged ? 1 : 0;
}

bool reportStandardInputFailure(const ChangedText& changed, std::ostream& err) {
    if (changed.result == ChangeResult::Binary) {
        err << kBinaryInputMessage << '\n';
        return false;
    }
    if (changed.result == ChangeResult::CannotHold) {
        err << "Standard input: " << cannotHoldMessage(*changed.unholdable, changed.format.encoding)
            << " Nothing was written.\n";
        return false;
    }
    return true;
}

}  // namespace lodestar::cli
