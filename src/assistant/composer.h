// The assistant's working pattern: a text with a caret and a selection, composed step by step
// from library entries, with Undo and Redo over the recorded steps. A change the history does
// not hold yet (typing, a preset that replaced the pattern, the pattern kept from the last
// opening) is recorded just before the next step, so Undo never skips over it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "assistant/library.h"

namespace lodestar {

class Composer {
  public:
    const std::u16string& pattern() const { return pattern_; }
    // Start of the selection; the caret when nothing is selected.
    std::size_t caret() const { return selStart_; }
    std::size_t selectionLength() const { return selLength_; }
    std::u16string selectedText() const { return pattern_.substr(selStart_, selLength_); }
    // Description of the last picked entry (empty after an entry without one).
    const std::u16string& description() const { return description_; }

    // What the user types or selects in the box. Not recorded as a step. The selection is kept
    // within the text.
    void setPattern(std::u16string text);
    void select(std::size_t start, std::size_t length);

    // Inserts the fragment at the start of the selection (the selected text follows it) and
    // puts the caret after it. Recorded.
    void insertAtCaret(std::u16string_view fragment);
    // With a selection: puts the part of the pair before its first space in front of the
    // selected text and the part after it behind, caret after the closing part. A pair without
    // a space goes in front as a whole. Without a selection: inserts the pair with its spaces
    // removed and leaves the caret before the closing part (before the last character for a
    // pair without a space). Recorded.
    void wrapSelection(std::u16string_view pair);

    void pickMetaChar(const LibraryEntry& entry);
    void pickLimit(const LibraryEntry& entry);
    // A selection longer than one character (backslashes not counted) is made a group first,
    // so the quantifier applies to all of it; the quantifier goes after the selection.
    void pickRepeat(const LibraryEntry& entry);
    // Inserts the symbol escaped with a backslash.
    void pickSymbol(char16_t symbol);
    // Headings (names beginning with "-") do nothing. Ticked: inserted as a step; unticked:
    // the expression replaces the whole pattern without being recorded.
    void pickPreset(const LibraryEntry& entry, bool insertTicked);

    bool canUndo() const { return histPos_ > 0; }
    bool canRedo() const { return histPos_ + 1 < history_.size(); }
    void undo();
    void redo();
    // Forgets the recorded steps; the pattern stays. Run at every opening of the assistant.
    void init();
    // Empties the pattern and forgets the steps.
    void clear();

    // The pattern box text after OK: its old text followed by the working pattern.
    std::u16string appendTo(std::u16string_view patternBoxText) const;

  private:
    void recordUnrecordedChange();
    void pushHistory();
    void showStep(std::size_t position);
    void placeCaret(std::size_t position);

    std::u16string pattern_;
    std::size_t selStart_ = 0;
    std::size_t selLength_ = 0;
    std::u16string description_;
    // Position 0 is the empty pattern; the newest step is the last element.
    std::vector<std::u16string> history_{std::u16string()};
    std::size_t histPos_ = 0;
};

}  // namespace lodestar
