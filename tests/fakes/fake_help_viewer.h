// A help viewer that records the pages it was asked to show.
#pragma once

#include <string>
#include <vector>

#include "platform/help_viewer.h"

namespace lodestar::fakes {

class FakeHelpViewer : public HelpViewer {
  public:
    void show(const std::u16string& page) override { shown.push_back(page); }
    std::vector<std::u16string> shown;
};

}  // namespace lodestar::fakes
