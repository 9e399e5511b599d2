// Every call from the skin into a form goes through `guarded`: an exception thrown inside the
// form becomes an error entry in the form's log with its reason (memory exhaustion included),
// and the event loop, and with it the window, goes on. Nothing escapes into Qt.
#pragma once

#include <exception>
#include <string>
#include <utility>

#include "core/reason.h"
#include "forms/main/main_window.h"

namespace lodestar::ui {

namespace detail {
inline void reportToForm(MainWindow& form, const std::u16string& reason) noexcept {
    try {
        form.reportFailure(reason);
    } catch (...) {
        // Not even the log could take the entry (memory is gone): the window still goes on.
    }
}
}  // namespace detail

// Runs `call`; when it throws, the form logs why and `fallback` is the answer.
template <typename Result, typename Call>
Result guarded(MainWindow& form, Result fallback, Call&& call) noexcept {
    try {
        return std::forward<Call>(call)();
    } catch (const std::exception& e) {
        std::u16string reason;
        try {
            reason = reasonOf(e);
        } catch (...) {
        }
        detail::reportToForm(form, reason);
    } catch (...) {
        detail::reportToForm(form, u"An unknown failure.");
    }
    return fallback;
}

template <typename Call>
void guarded(MainWindow& form, Call&& call) noexcept {
    guarded(form, true, [&] {
        std::forward<Call>(call)();
        return true;
    });
}

}  // namespace lodestar::ui
