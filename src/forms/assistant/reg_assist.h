// The pattern assistant "RegAssist": a working pattern composed from the library lists with
// Undo and Redo, and OK, which appends it to the main window's pattern box. The libraries are
// read at the first opening; every opening starts a new undo history and keeps the pattern.
#pragma once

#include <string>

#include "assistant/composer.h"
#include "assistant/library.h"
#include "forms/model/control_ids.h"
#include "forms/model/form.h"
#include "forms/ports/pattern_box.h"

namespace lodestar {

class RegAssist : public Form {
  public:
    // `libFolder` holds metachar.lib, limit.lib, repeat.lib, regExp.lib and symbol.lib.
    RegAssist(PatternBox& patternBox, Prompts& prompts, std::u16string libFolder);

    // Shows the assistant; the first opening reads the libraries and fills the lists.
    void open();
    const Composer& composer() const { return composer_; }

  protected:
    void onClick(const std::string& control) override;
    void onSelect(const std::string& control) override;
    void onTextChanged(const std::string& control) override;
    void onTextSelected(const std::string& control) override;

  private:
    void load();
    void pick(const std::string& list, std::size_t index);
    // The pattern box, its caret, the description and Undo/Redo follow the composer.
    void showComposer();

    PatternBox& patternBox_;
    std::u16string libFolder_;
    bool loaded_ = false;
    AssistantLibraries libraries_;
    Composer composer_;
    std::u16string explanation_;  // of the entry picked last; empty after Undo, Redo, Clear
};

}  // namespace lodestar
