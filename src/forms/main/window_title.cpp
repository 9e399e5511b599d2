// The title follows the window's state: it is worked out again after every change of a
// control, since every open, close, mode change and save changes some control.
#include "forms/main/window_title.h"

#include "core/text.h"

namespace lodestar {

std::u16string windowTitle(std::u16string_view openPath, bool unsaved) {
    if (openPath.empty()) return u"Lodestar 1.4";
    std::u16string_view name = openPath;
    while (name.size() > 1 && name.back() == u'/') name.remove_suffix(1);
    if (const auto slash = name.rfind(u'/'); slash != std::u16string_view::npos && name.size() > 1)
        name.remove_prefix(slash + 1);
    return fromUtf8(displayText(name)) + (unsaved ? u"*" : u"") + u" \u2014 Lodestar";
}

}  // namespace lodestar
