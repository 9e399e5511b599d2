// The Help menu's pages and the about box's banner: the program's own help pages, shown in its
// help window, web addresses in the desktop's web browser, and the banner text.
#pragma once

#include <string>

#include "platform/help_viewer.h"
#include "platform/prompts.h"
#include "platform/shell.h"

namespace lodestar {

// The examples page among the help pages in the program folder's help/.
inline constexpr char16_t kExamplesPage[] = u"examples.htm";

class HelpPages {
  public:
    HelpPages(std::u16string programFolder, Shell& shell, Prompts& prompts);

    // Where help pages are shown; without a viewer they go to the desktop's default program.
    void setViewer(HelpViewer* viewer) { viewer_ = viewer; }

    // Shows program folder + "/help/" + page when the file exists; otherwise says it is
    // missing. The argument becomes the full path, as callers may read it back.
    void showHelpPage(std::u16string& page);
    void openExamplesPage();
    // A web address for the desktop's browser; when none can be started, a message gives the
    // address so the user can open it by hand.
    void openWebPage(const std::u16string& address);

  private:
    std::u16string programFolder_;
    Shell& shell_;
    Prompts& prompts_;
    HelpViewer* viewer_ = nullptr;
};

// The about box's banner: six lines joined by CR LF, the first one empty, no final line break.
std::u16string aboutBanner();

}  // namespace lodestar
