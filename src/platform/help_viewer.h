// Shows the program's own help pages inside the program, so help works on a desktop without a
// web browser or a program that opens files.
#pragma once

#include <string>

namespace lodestar {

class HelpViewer {
  public:
    virtual ~HelpViewer() = default;

    // Shows the page (a local file path, optionally followed by "#" and an anchor) and brings
    // the help window to the front.
    virtual void show(const std::u16string& page) = 0;
};

}  // namespace lodestar
