// The desktop's small services as tests script them: an in-memory clipboard, a timer that fires
// only when the test says so, a shell and a help viewer that record what they were asked to
// open, and the fonts of a machine as a test lists them.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/clipboard.h"
#include "platform/font_families.h"
#include "platform/help_viewer.h"
#include "platform/one_shot_timer.h"
#include "platform/shell.h"

namespace lodestar::fakes {

class FakeClipboard : public Clipboard {
  public:
    bool hasText() const override { return content.has_value(); }
    std::u16string text() const override { return content.value_or(u""); }
    void setText(const std::u16string& text) override {
        content = text;
        ++writes;
    }

    std::optional<std::u16string> content;
    int writes = 0;
};

class FakeTimer : public OneShotTimer {
  public:
    void start(int milliseconds) override {
        armed = true;
        interval = milliseconds;
    }
    void stop() override { armed = false; }
    bool active() const override { return armed; }

    bool armed = false;
    int interval = 0;
};

// Answers as a desktop with or without a program to open the addresses would.
class FakeShell : public Shell {
  public:
    bool open(const std::u16string& address) override {
        opened.push_back(address);
        return opens;
    }
    std::vector<std::u16string> opened;
    bool opens = true;
};

class FakeHelpViewer : public HelpViewer {
  public:
    void show(const std::u16string& page) override { shown.push_back(page); }
    std::vector<std::u16string> shown;
};

class FakeFontFamilies : public FontFamilies {
  public:
    explicit FakeFontFamilies(std::vector<std::u16string> installed)
        : installed_(std::move(installed)) {}
    std::vector<std::u16string> families() const override { return installed_; }

  private:
    std::vector<std::u16string> installed_;
};

}  // namespace lodestar::fakes
