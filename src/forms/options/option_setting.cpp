// The options dialog's controls and behaviour.
#include "forms/options/option_setting.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/error.h"
#include "core/text.h"
#include "forms/model/app_title.h"
#include "settings/option_values.h"
#include "settings/options_location.h"

namespace lodestar {

namespace {

constexpr int kSmallestSize = 8;
constexpr int kLargestSize = 32;

Control make(ControlId name, ControlKind kind, const char16_t* text, Rect geometry,
             std::string_view container = options_ids::Others) {
    return makeControl(name.str(), kind, text, geometry, std::string(container));
}

std::vector<std::u16string> fontEntries(const std::vector<std::u16string>& families) {
    std::vector<std::u16string> entries;
    for (const std::u16string& name : families) entries.push_back(u" " + name);
    return entries;
}

// The list entry of a font name, or -1.
int fontEntry(const std::vector<std::u16string>& families, const std::u16string& family) {
    for (std::size_t i = 0; i < families.size(); ++i)
        if (families[i] == family) return static_cast<int>(i);
    return -1;
}

}  // namespace

OptionSetting::OptionSetting(OptionsPort& window, Prompts& prompts)
    : Form(options_ids::OptionSetting.str(), prompts), window_(window) {
    ControlModel& c = controls();
    c.add(make(options_ids::OptionSetting, ControlKind::Frame, u"Options", {0, 0, 5040, 3840}, ""));
    c.add(make(options_ids::Others, ControlKind::Frame, u"", {120, 60, 4800, 3000},
               options_ids::OptionSetting));
    c.add(make(options_ids::Check2, ControlKind::CheckBox, u" Back up file(s) when replace",
               {120, 180, 4500, 285}))
        .accessKey = u'B';
    c.add(make(options_ids::Label4, ControlKind::Label, u" Backup Folder:", {120, 570, 1680, 255}));
    c.add(make(options_ids::txtBak, ControlKind::TextBox, u"", {1860, 540, 1260, 315}));
    c.add(make(options_ids::Label5, ControlKind::Label, u"Steps:", {3300, 570, 720, 255}));
    c.add(make(options_ids::txtSteps, ControlKind::TextBox, u"", {4080, 540, 540, 315}));
    c.setTooltip(options_ids::txtSteps,
                 u"How many saves or runs of each file and folder Restore can take "
                 u"back (1 to 99)");
    c.add(make(options_ids::CRLFSet, ControlKind::CheckBox, u"Support \\r,\\n,\\t in Repwith",
               {120, 960, 4500, 285}))
        .accessKey = u'S';
    c.add(make(options_ids::countChk, ControlKind::CheckBox, u"Count Matches When Replace",
               {120, 1320, 4500, 285}))
        .accessKey = u'M';
    c.add(make(options_ids::Label8, ControlKind::Label, u"Source Code Font:",
               {120, 1740, 1680, 255}));
    c.add(make(options_ids::selFont, ControlKind::Combo, u"", {1860, 1710, 2760, 315}));
    c.add(make(options_ids::syntaxChk, ControlKind::CheckBox, u"Show Syntax in Source View",
               {120, 2160, 4500, 285}))
        .accessKey = u'y';
    c.add(make(options_ids::Label1, ControlKind::Label, u"RegExp Font", {120, 2580, 1680, 255}));
    c.add(make(options_ids::selRegFontName, ControlKind::Combo, u"", {1860, 2550, 1860, 315}));
    c.add(make(options_ids::selRegFontSize, ControlKind::Combo, u"", {3840, 2550, 780, 315}));
    c.add(make(options_ids::Command1, ControlKind::Button, u"OK", {2160, 3240, 1320, 375},
               options_ids::OptionSetting))
        .accessKey = u'O';
    c.add(make(options_ids::Command2, ControlKind::Button, u"Cancel", {3600, 3240, 1320, 375},
               options_ids::OptionSetting))
        .accessKey = u'C';
    setKeyButtons(options_ids::Command1, options_ids::Command2);
}

void OptionSetting::open() {
    load();  // every opening shows the settings in force: what Cancel left is gone
    show();
}

void OptionSetting::load() {
    const Options& o = window_.currentOptions();
    ControlModel& c = controls();
    c.setChecked(options_ids::Check2, o.backupOnReplace);
    c.setText(options_ids::txtBak, u" " + o.backupFolder);
    c.setText(options_ids::txtSteps, decimal(o.keptSteps));
    c.setChecked(options_ids::CRLFSet, o.escapeSupport);
    // The installed fonts; one chosen before that is not installed here stays on offer.
    std::vector<std::u16string> families = window_.fontFamilies();
    if (!o.sourceFont.empty() && fontEntry(families, o.sourceFont) < 0)
        families.insert(families.begin(), o.sourceFont);
    c.setItems(options_ids::selFont, fontEntries(families));
    c.setSelected(options_ids::selFont, std::max(0, fontEntry(families, sourceFontFamily(o))));
    // The same for the pattern box, whose own font stays on offer too.
    const PatternFont box = window_.patternFont();
    std::vector<std::u16string> boxFamilies = window_.fontFamilies();
    if (!box.name.empty() && fontEntry(boxFamilies, box.name) < 0)
        boxFamilies.insert(boxFamilies.begin(), box.name);
    c.setItems(options_ids::selRegFontName, fontEntries(boxFamilies));
    std::vector<std::u16string> sizes;
    for (int size = kSmallestSize; size <= kLargestSize; ++size) sizes.push_back(decimal(size));
    c.setItems(options_ids::selRegFontSize, sizes);
    // The pattern box's own font, so that confirming other options keeps it; a font the lists
    // do not hold shows as the first, a size as the nearest whole size.
    c.setSelected(options_ids::selRegFontName, std::max(0, fontEntry(boxFamilies, box.name)));
    const long size = std::lround(box.size > 0 ? box.size : 11);
    c.setSelected(
        options_ids::selRegFontSize,
        static_cast<int>(std::clamp<long>(size, kSmallestSize, kLargestSize)) - kSmallestSize);
    c.setChecked(options_ids::syntaxChk, o.showSyntax);
    c.setChecked(options_ids::countChk, !o.noCountOnReplace);
}

void OptionSetting::onClick(const std::string& control) {
    if (control == options_ids::Command1) {
        setOption();
        if (saveOption()) hide();
    } else if (control == options_ids::Command2) {
        hide();
    }
}

void OptionSetting::setOption() {
    const ControlModel& c = controls();
    Options o = window_.currentOptions();
    o.backupOnReplace = c[options_ids::Check2].checked;
    o.backupFolder = backupFolderName(c[options_ids::txtBak].text);
    // A number of steps that cannot be read keeps the one before.
    if (const std::optional<std::uint8_t> steps =
            parseByte(trimSpaces(c[options_ids::txtSteps].text));
        steps && *steps >= 1 && *steps <= 99)
        o.keptSteps = *steps;
    o.escapeSupport = c[options_ids::CRLFSet].checked;

    const int font = c[options_ids::selFont].selected;
    if (font >= 0 && font < static_cast<int>(c[options_ids::selFont].items.size()))
        o.sourceFont = trimSpaces(c[options_ids::selFont].items[font]);
    const int name = c[options_ids::selRegFontName].selected;
    const int size = c[options_ids::selRegFontSize].selected;
    if (name >= 0 && size >= 0) {
        o.patternFontName = trimSpaces(c[options_ids::selRegFontName].items[name]);
        o.patternFontSize = static_cast<float>(kSmallestSize + size);
    }
    o.showSyntax = c[options_ids::syntaxChk].checked;
    o.noCountOnReplace = !c[options_ids::countChk].checked;
    window_.applyOptions(o);
}

bool OptionSetting::saveOption() {
    try {
        saveUserOptions(window_.optionsFile(), window_.currentOptions(),
                        controls()[options_ids::syntaxChk].checked,
                        controls()[options_ids::countChk].checked);
        return true;
    } catch (const Error& error) {
        prompts().message(u"The options could not be saved to " + window_.optionsFile() + u".\r\n" +
                              fromUtf8(error.what()),
                          kAppTitle);
        return false;
    }
}

}  // namespace lodestar
