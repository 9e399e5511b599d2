// Reading standard input whole and writing the changed text back out.
#include "cli/standard_input.h"

#include <iterator>

namespace lodestar::cli {

DecodedText readStandardInput(std::istream& in, const TextReading& reading) {
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return decodeText(bytes, reading);
}

int changeStandardInput(std::istream& in, std::ostream& out, std::ostream& err,
                        const TextReading& reading,
                        const std::function<std::u16string(std::u16string_view)>& change) {
    const DecodedText input = readStandardInput(in, reading);
    if (input.binary && !reading.binaryAsText) {
        err << kBinaryInputMessage << '\n';
        return 2;
    }
    const std::u16string changed = change(input.text);
    if (const auto character = unholdableCharacter(changed, input.format.encoding)) {
        err << "Standard input: " << cannotHoldMessage(*character, input.format.encoding)
            << " Nothing was written.\n";
        return 2;
    }
    out << encodeText(changed, input.format);
    return changed == input.text ? 1 : 0;
}

}  // namespace lodestar::cli
