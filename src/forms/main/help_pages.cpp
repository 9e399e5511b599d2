// Help pages, web pages and the banner.
#include "forms/main/help_pages.h"

#include "files/paths.h"
#include "forms/main/control_catalog.h"

namespace lodestar {

HelpPages::HelpPages(std::u16string programFolder, Shell& shell, Prompts& prompts)
    : programFolder_(std::move(programFolder)), shell_(shell), prompts_(prompts) {
    // The folder is used as given, so "/help/" follows it without a doubled slash.
    while (!programFolder_.empty() && programFolder_.back() == u'/') programFolder_.pop_back();
}

void HelpPages::showHelpPage(std::u16string& page) {
    page = programFolder_ + u"/help/" + page;
    if (!fileExists(page)) {
        prompts_.message(u"Can't find help file.", kAppTitle);
    } else if (viewer_) {
        viewer_->show(page);
    } else if (!shell_.open(page)) {
        prompts_.message(u"Can't open the help page " + page + u".", kAppTitle);
    }
}

void HelpPages::openExamplesPage() {
    std::u16string page = kExamplesPage;
    showHelpPage(page);
}

void HelpPages::openWebPage(const std::u16string& address) {
    if (!shell_.open(address))
        prompts_.message(u"Can't open the web page " + address +
                             u"\r\nNo web browser could be started; open the address in one.",
                         kAppTitle);
}

std::u16string aboutBanner() {
    const std::u16string indent(14, u' ');
    const std::u16string rule(20, u'#');
    return u"\r\n" + indent + rule + u"\r\n" + indent + u"  Lodestar 1.4\r\n" + indent +
           u"  regular-expression\r\n" + indent + u"  search and replace\r\n" + indent + rule;
}

}  // namespace lodestar
