// The source view's context menu: Copy, Select All and "Use selection as pattern", in place of
// the browser's own menu (whose Back and Reload would leave the page the program wrote).
#pragma once

#include <functional>
#include <string>

class QWebEngineView;

namespace lodestar::ui {

// From now on a right click in `view` opens the menu; `useAsPattern` receives the selection,
// and `copied` the text Copy put on the clipboard.
void attachSourceContextMenu(QWebEngineView* view,
                             std::function<void(const std::u16string& selection)> useAsPattern,
                             std::function<void(const std::u16string& text)> copied);

}  // namespace lodestar::ui
