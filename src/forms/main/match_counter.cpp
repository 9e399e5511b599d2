// The counter box as the user types into it.
#include "forms/main/match_counter.h"

#include "core/text.h"
#include "forms/main/main_window.h"
#include "forms/model/control_ids.h"

namespace lodestar {

std::optional<long long> typedMatchNumber(const std::u16string& text, long long count) {
    const std::u16string typed = trimSpaces(text);
    const std::size_t slash = typed.find(u'/');
    const std::u16string number = trimSpaces(typed.substr(0, slash));
    if (number.empty() || number.size() > 18) return std::nullopt;
    long long k = 0;
    for (char16_t c : number) {
        if (c < u'0' || c > u'9') return std::nullopt;
        k = k * 10 + (c - u'0');
    }
    if (k < 1 || k > count) return std::nullopt;
    return k;
}

// Enter in the counter: the match it names is shown; anything else puts the counter back.
void MainWindow::counterEntered() {
    const long long count = file_.matchCount();
    if (const auto k = typedMatchNumber(controls_[main_ids::matchNo].text, count)) {
        file_.goToMatch(*k);
        return;
    }
    controls_.setText(main_ids::matchNo, decimal(file_.curMatch()) + u"/" + decimal(count));
}

}  // namespace lodestar
