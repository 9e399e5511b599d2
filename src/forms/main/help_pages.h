// The Help menu's pages and the about box's banner: local help pages opened with the desktop's
// default program, the project's two web pages, and the banner text.
#pragma once

#include <string>

#include "platform/prompts.h"
#include "platform/shell.h"

namespace lodestar {

inline constexpr char16_t kHomePage[] = u"https://lodestar.example.org/";
inline constexpr char16_t kExamplesPage[] = u"https://lodestar.example.org/examples.html";

class HelpPages {
  public:
    HelpPages(std::u16string programFolder, Shell& shell, Prompts& prompts);

    // Opens program folder + "/help/" + page when the file exists; otherwise says it is missing.
    // The argument becomes the full path, as callers may read it back.
    void showHelpPage(std::u16string& page);
    void openHomePage();
    void openExamplesPage();

  private:
    std::u16string programFolder_;
    Shell& shell_;
    Prompts& prompts_;
};

// The about box's banner: six lines joined by CR LF, the first one empty, no final line break.
std::u16string aboutBanner();

}  // namespace lodestar
