// Composing steps of the assistant and their history.
#include "assistant/composer.h"

#include <algorithm>

namespace lodestar {

namespace {

std::u16string withoutSpaces(std::u16string_view text) {
    std::u16string result;
    for (char16_t c : text) {
        if (c != u' ') result += c;
    }
    return result;
}

}  // namespace

void Composer::setPattern(std::u16string text) {
    pattern_ = std::move(text);
    select(selStart_, selLength_);
}

void Composer::select(std::size_t start, std::size_t length) {
    selStart_ = std::min(start, pattern_.size());
    selLength_ = std::min(length, pattern_.size() - selStart_);
}

void Composer::placeCaret(std::size_t position) {
    select(position, 0);
}

void Composer::recordUnrecordedChange() {
    // Typing, a preset that replaced the pattern, or a pattern kept from the last opening would
    // otherwise be skipped by Undo; record it as a step of its own before the new one.
    if (pattern_ != history_[histPos_]) pushHistory();
}

void Composer::pushHistory() {
    // A new step after some undos drops the steps that could have been redone.
    history_.resize(histPos_ + 1);
    history_.push_back(pattern_);
    histPos_ = history_.size() - 1;
}

void Composer::insertAtCaret(std::u16string_view fragment) {
    recordUnrecordedChange();
    const std::size_t at = selStart_;
    pattern_.insert(at, fragment);
    placeCaret(at + fragment.size());
    pushHistory();
}

void Composer::wrapSelection(std::u16string_view pair) {
    const std::size_t space = pair.find(u' ');
    if (selLength_ == 0) {
        // The pair goes in without its spaces and the caret stands before its closing part, so
        // typing lands inside it: "( )" gives "(|)", "\b \b" gives "\b|\b". A pair without a
        // space counts its last character as the closing part.
        const std::u16string joined = withoutSpaces(pair);
        const std::size_t back = space == std::u16string_view::npos
                                     ? std::min<std::size_t>(1, joined.size())
                                     : withoutSpaces(pair.substr(space + 1)).size();
        insertAtCaret(joined);
        placeCaret(selStart_ - back);
        return;
    }
    const std::u16string_view open = pair.substr(0, space);
    const std::u16string_view close =
        space == std::u16string_view::npos ? std::u16string_view() : pair.substr(space + 1);
    recordUnrecordedChange();
    const std::size_t end = selStart_ + selLength_;
    pattern_.insert(end, close);
    pattern_.insert(selStart_, open);
    placeCaret(end + open.size() + close.size());
    pushHistory();
}

void Composer::pickMetaChar(const LibraryEntry& entry) {
    description_ = entry.description;
    insertAtCaret(entry.fragment);
}

void Composer::pickLimit(const LibraryEntry& entry) {
    description_ = entry.description;
    wrapSelection(entry.fragment);
}

void Composer::pickRepeat(const LibraryEntry& entry) {
    if (selLength_ > 0) {
        const std::u16string selected = selectedText();
        const auto counted =
            std::count_if(selected.begin(), selected.end(), [](char16_t c) { return c != u'\\'; });
        if (counted > 1) {
            wrapSelection(u"( )");
        } else {
            placeCaret(selStart_ + selLength_);
        }
    }
    description_ = entry.description;
    insertAtCaret(entry.fragment);
}

void Composer::pickSymbol(char16_t symbol) {
    const char16_t escaped[] = {u'\\', symbol};
    insertAtCaret(std::u16string_view(escaped, 2));
}

void Composer::pickPreset(const LibraryEntry& entry, bool insertTicked) {
    if (entry.name.starts_with(u'-')) return;
    description_ = entry.description;
    if (insertTicked) {
        insertAtCaret(entry.fragment);
    } else {
        pattern_ = entry.fragment;
        placeCaret(pattern_.size());
    }
}

void Composer::showStep(std::size_t position) {
    histPos_ = position;
    pattern_ = history_[position];
    placeCaret(pattern_.size());
}

void Composer::undo() {
    if (canUndo()) showStep(histPos_ - 1);
}

void Composer::redo() {
    if (canRedo()) showStep(histPos_ + 1);
}

void Composer::init() {
    history_.assign(1, std::u16string());
    histPos_ = 0;
}

void Composer::clear() {
    pattern_.clear();
    placeCaret(0);
    init();
}

std::u16string Composer::appendTo(std::u16string_view patternBoxText) const {
    std::u16string result(patternBoxText);
    result += pattern_;
    return result;
}

}  // namespace lodestar
