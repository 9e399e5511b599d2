// A pane host that records what it was asked to show, one line per call (the form's own pane
// model holds the document, so most tests read that instead).
#pragma once

#include <string>
#include <vector>

#include "core/text.h"
#include "platform/pane_host.h"

namespace lodestar::fakes {

class RecordingPaneHost : public PaneHost {
  public:
    void navigate(const std::u16string& address) override {
        navigations.push_back(address);
        record("navigate " + toUtf8(address));
    }
    void setBodyHtml(const std::u16string& html) override {
        ++bodyWrites;
        record("body " + toUtf8(html));
    }
    void setElementHtml(const std::u16string& id, const std::u16string& html) override {
        record("element " + toUtf8(id) + " " + toUtf8(html));
    }
    void setBackground(const std::u16string& withinId, const std::u16string& tagName,
                       std::size_t index, const std::u16string& colour) override {
        record("background " + toUtf8(withinId) + "/" + toUtf8(tagName) + " " +
               std::to_string(index) + " " + toUtf8(colour));
    }
    void scrollToElement(const std::u16string& withinId, const std::u16string& tagName,
                         std::size_t index, int) override {
        record("scroll " + toUtf8(withinId) + "/" + toUtf8(tagName) + " " + std::to_string(index));
    }
    void setStyle(const std::u16string& id, const std::u16string& property,
                  const std::u16string& value) override {
        record("style " + toUtf8(id) + " " + toUtf8(property) + " " + toUtf8(value));
    }
    void setCell(const std::u16string&, std::size_t, const std::u16string&, bool) override {
        ++cellWrites;
    }
    void clearSelection() override { ++selectionClears; }
    void setVisible(bool) override {}
    void setPieces(const std::u16string& withinId, long long generation,
                   const std::vector<PieceOutline>& outline) override {
        record("pieces " + toUtf8(withinId) + " " + std::to_string(generation) + " " +
               std::to_string(outline.size()));
    }
    void putPiece(const std::u16string& withinId, long long generation, std::size_t index,
                  const std::u16string& html) override {
        record("piece " + toUtf8(withinId) + " " + std::to_string(generation) + " " +
               std::to_string(index) + " " + toUtf8(html));
    }

    std::vector<std::u16string> navigations;
    std::vector<std::string> calls;
    int bodyWrites = 0;
    int selectionClears = 0;
    int cellWrites = 0;

  private:
    void record(std::string line) { calls.push_back(std::move(line)); }
};

}  // namespace lodestar::fakes
