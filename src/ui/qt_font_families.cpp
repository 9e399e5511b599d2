// Installed font families, fixed-pitch first.
#include "ui/qt_font_families.h"

#include <QFontDatabase>
#include <QStringList>

#include "ui/qt_text.h"

namespace lodestar::ui {

std::vector<std::u16string> QtFontFamilies::families() const {
    std::vector<std::u16string> fixed, others;
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family)) continue;
        (QFontDatabase::isFixedPitch(family) ? fixed : others).push_back(fromQ(family));
    }
    fixed.insert(fixed.end(), others.begin(), others.end());
    return fixed;
}

}  // namespace lodestar::ui
