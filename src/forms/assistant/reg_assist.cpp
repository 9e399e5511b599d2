// The assistant's controls and behaviour; the composing itself is the Composer's.
#include "forms/assistant/reg_assist.h"

namespace lodestar {

namespace {

Control make(ControlId name, ControlKind kind, const char16_t* text, Rect geometry,
             const char16_t* tooltip = u"") {
    Control c = makeControl(name.str(), kind, text, geometry,
                            name == assist_ids::RegAssist ? "" : assist_ids::RegAssist.str());
    c.tooltip = tooltip;
    return c;
}

std::vector<std::u16string> namesOf(const std::vector<LibraryEntry>& entries) {
    std::vector<std::u16string> names;
    for (const LibraryEntry& e : entries) names.push_back(e.name);
    return names;
}

}  // namespace

RegAssist::RegAssist(PatternBox& patternBox, Prompts& prompts, std::u16string libFolder)
    : Form(assist_ids::RegAssist.str(), prompts),
      patternBox_(patternBox),
      libFolder_(std::move(libFolder)) {
    ControlModel& c = controls();
    c.add(make(assist_ids::RegAssist, ControlKind::Frame, u"RegEx Assistant", {0, 0, 6600, 4380}));
    Control pattern = make(assist_ids::txtTmpReg, ControlKind::TextBox, u"", {120, 120, 6360, 345});
    pattern.fontName = u"Monospace";  // fixed pitch, so a caret position reads as a column
    pattern.fontSize = 11;
    c.add(std::move(pattern));
    // The picked entry's explanation, wrapped over three lines.
    c.add(make(assist_ids::txtExp, ControlKind::Label, u"", {120, 570, 6360, 720}));
    c.add(make(assist_ids::Label1, ControlKind::Label, u"Meta Char", {120, 1470, 1200, 255}));
    c.add(
        make(assist_ids::selMetaChar, ControlKind::Combo, u"Common Char", {1380, 1440, 2460, 315}));
    c.add(make(assist_ids::selSymbol, ControlKind::Combo, u"Reserved Symbols",
               {3960, 1440, 2520, 315}));
    c.add(make(assist_ids::selLimit, ControlKind::Combo, u"Limitation", {1380, 1920, 2460, 315}));
    c.add(make(assist_ids::selRepeat, ControlKind::Combo, u"Repeat", {3960, 1920, 2520, 315}));
    c.add(make(assist_ids::selRegExp, ControlKind::Combo, u"Expression Preset",
               {1380, 2400, 3720, 315}));
    c.add(make(assist_ids::chkAdd, ControlKind::CheckBox, u"Insert", {5220, 2420, 1260, 285}))
        .accessKey = u'I';
    c.add(make(assist_ids::btnUndo, ControlKind::Button, u"Undo", {120, 3060, 900, 375}, u"Undo"))
        .accessKey = u'U';
    c.add(make(assist_ids::btnRedo, ControlKind::Button, u"Redo", {1080, 3060, 900, 375}, u"Redo"))
        .accessKey = u'R';
    c.add(make(assist_ids::btnClear, ControlKind::Button, u"Clear", {2040, 3060, 1080, 375}))
        .accessKey = u'l';
    c.add(make(assist_ids::btnOk, ControlKind::Button, u"OK", {3900, 3780, 1200, 375})).accessKey =
        u'O';
    c.add(make(assist_ids::Command1, ControlKind::Button, u"Close", {5280, 3780, 1200, 375}))
        .accessKey = u'C';
    setKeyButtons(assist_ids::btnOk, assist_ids::Command1);
    showComposer();
}

void RegAssist::open() {
    if (!loaded_) load();
    composer_.init();
    explanation_.clear();
    showComposer();
    setFocus(assist_ids::txtTmpReg);
    show();
}

void RegAssist::load() {
    loaded_ = true;
    libraries_ = loadAssistantLibraries(libFolder_);
    ControlModel& c = controls();
    c.setItems(assist_ids::selMetaChar, namesOf(libraries_.metaChars));
    c.setItems(assist_ids::selLimit, namesOf(libraries_.limits));
    c.setItems(assist_ids::selRepeat, namesOf(libraries_.repeats));
    c.setItems(assist_ids::selRegExp, namesOf(libraries_.presets));
    std::vector<std::u16string> symbols;
    for (char16_t s : libraries_.symbols) symbols.emplace_back(1, s);
    c.setItems(assist_ids::selSymbol, symbols);
}

void RegAssist::onClick(const std::string& control) {
    if (control == assist_ids::btnUndo) {
        composer_.undo();
    } else if (control == assist_ids::btnRedo) {
        composer_.redo();
    } else if (control == assist_ids::btnClear) {
        composer_.clear();
    } else if (control == assist_ids::btnOk) {
        patternBox_.typePattern(composer_.appendTo(patternBox_.patternText()));
        hide();
        return;
    } else if (control == assist_ids::Command1) {
        hide();
        return;
    } else {
        return;
    }
    // Undo, Redo and Clear leave no picked entry to explain.
    explanation_.clear();
    setFocus(assist_ids::txtTmpReg);
    showComposer();
}

void RegAssist::onSelect(const std::string& control) {
    const int index = controls()[control].selected;
    if (index < 0) return;
    // A heading of the presets ("- Numbers -") only groups them: it is not kept as chosen.
    if (control == assist_ids::selRegExp && controls()[control].items[index].starts_with(u"-")) {
        controls().setSelected(control, -1);
        return;
    }
    pick(control, static_cast<std::size_t>(index));
    explanation_ = composer_.description();
    setFocus(assist_ids::txtTmpReg);
    showComposer();
}

void RegAssist::pick(const std::string& list, std::size_t index) {
    auto from = [index](const std::vector<LibraryEntry>& entries) -> const LibraryEntry* {
        return index < entries.size() ? &entries[index] : nullptr;
    };
    if (list == assist_ids::selMetaChar) {
        if (const LibraryEntry* e = from(libraries_.metaChars)) composer_.pickMetaChar(*e);
    } else if (list == assist_ids::selLimit) {
        if (const LibraryEntry* e = from(libraries_.limits)) composer_.pickLimit(*e);
    } else if (list == assist_ids::selRepeat) {
        if (const LibraryEntry* e = from(libraries_.repeats)) composer_.pickRepeat(*e);
    } else if (list == assist_ids::selRegExp) {
        if (const LibraryEntry* e = from(libraries_.presets))
            composer_.pickPreset(*e, controls()[assist_ids::chkAdd].checked);
    } else if (list == assist_ids::selSymbol) {
        if (index < libraries_.symbols.size()) composer_.pickSymbol(libraries_.symbols[index]);
    }
}

void RegAssist::onTextChanged(const std::string& control) {
    if (control == assist_ids::txtTmpReg)
        composer_.setPattern(controls()[assist_ids::txtTmpReg].text);
}

void RegAssist::onTextSelected(const std::string& control) {
    if (control != assist_ids::txtTmpReg) return;
    const Control& box = controls()[assist_ids::txtTmpReg];
    composer_.select(box.selStart, box.selLength);
}

void RegAssist::showComposer() {
    ControlModel& c = controls();
    c.setText(assist_ids::txtTmpReg, composer_.pattern());
    c.setTextSelection(assist_ids::txtTmpReg, composer_.caret(), composer_.selectionLength());
    c.setText(assist_ids::txtExp, explanation_);
    c.setEnabled(assist_ids::btnUndo, composer_.canUndo());
    c.setEnabled(assist_ids::btnRedo, composer_.canRedo());
}

}  // namespace lodestar
