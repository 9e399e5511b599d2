// The one path from a text to its changed bytes.
#include "cli/changed_text.h"

namespace lodestar::cli {

ChangedText changeText(const DecodedText& input, bool binaryAsText,
                       const std::function<std::u16string(std::u16string_view)>& change) {
    ChangedText changed;
    changed.format = input.format;
    if (input.binary && !binaryAsText) {
        changed.result = ChangeResult::Binary;
        return changed;
    }
    changed.text = change(input.text);
    changed.unholdable = unholdableCharacter(changed.text, input.format.encoding);
    if (changed.unholdable) {
        changed.result = ChangeResult::CannotHold;
        return changed;
    }
    changed.result = changed.text == input.text ? ChangeResult::Unchanged : ChangeResult::Changed;
    changed.bytes = encodeText(changed.text, input.format);
    return changed;
}

}  // namespace lodestar::cli
