// A pane host that records the navigations it was asked for (the form's own pane model holds
// everything else, so tests read that instead).
#pragma once

#include <string>
#include <vector>

#include "platform/pane_host.h"

namespace lodestar::fakes {

class RecordingPaneHost : public PaneHost {
  public:
    void navigate(const std::u16string& address) override { navigations.push_back(address); }
    void setBodyHtml(const std::u16string&) override { ++bodyWrites; }
    void setElementHtml(const std::u16string&, const std::u16string&) override {}
    void setBackground(const std::u16string&, const std::u16string&, std::size_t,
                       const std::u16string&) override {}
    void scrollToElement(const std::u16string&, const std::u16string&, std::size_t, int) override {}
    void setStyle(const std::u16string&, const std::u16string&, const std::u16string&) override {}
    void setCell(const std::u16string&, std::size_t, const std::u16string&, bool) override {
        ++cellWrites;
    }
    void clearSelection() override { ++selectionClears; }
    void setVisible(bool) override {}

    std::vector<std::u16string> navigations;
    int bodyWrites = 0;
    int selectionClears = 0;
    int cellWrites = 0;
};

}  // namespace lodestar::fakes
