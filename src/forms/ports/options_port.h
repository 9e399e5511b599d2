// What the options dialog sees of the main window: the options in force, the font the pattern
// box shows, where the user's options file is, and the apply that takes new options in.
#pragma once

#include <string>
#include <vector>

#include "settings/options.h"

namespace lodestar {

struct PatternFont {
    std::u16string name;
    double size = 0;  // 0: none set
};

class OptionsPort {
  public:
    virtual ~OptionsPort() = default;
    virtual const Options& currentOptions() const = 0;
    virtual PatternFont patternFont() const = 0;
    virtual const std::u16string& optionsFile() const = 0;
    // The font families the dialog offers: those installed, fixed-pitch ones first.
    virtual std::vector<std::u16string> fontFamilies() const = 0;
    // The new options take effect: the pattern boxes' font, and the source view's font and
    // highlighting while it shows a text.
    virtual void applyOptions(const Options& options) = 0;
};

}  // namespace lodestar
