// The installed font families as the font database of Qt lists them.
#pragma once

#include "platform/font_families.h"

namespace lodestar::ui {

class QtFontFamilies : public FontFamilies {
  public:
    std::vector<std::u16string> families() const override;
};

}  // namespace lodestar::ui
