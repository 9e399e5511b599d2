// Prompts for the randomized users: each question of a step is answered by the step's bits (bit
// i: the i-th question goes on), Save/Discard/Cancel never saves (the disk checks count only the
// saves a step asks for), a question with buttons of its own takes the first or the last, and
// both file dialogs take the step's path. Messages and questions are counted.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/prompts.h"

namespace lodestar::fakes {

class StepPrompts : public Prompts {
  public:
    void message(const std::u16string& text, const std::u16string&) override {
        ++messages;
        lastMessage = text;
    }
    bool okCancel(const std::u16string& text, const std::u16string&) override {
        const bool ok = (answers >> (questions % 32)) & 1u;
        ++questions;
        if (!ok) ++cancelled;
        asked += text + u"\n";
        return ok;
    }
    SaveChoice saveDiscardCancel(const std::u16string& text,
                                 const std::u16string& caption) override {
        return okCancel(text, caption) ? SaveChoice::Discard : SaveChoice::Cancel;
    }
    std::size_t choose(const std::u16string& text, const std::u16string& caption,
                       const std::vector<std::u16string>& buttons) override {
        return okCancel(text, caption) ? 0 : buttons.size() - 1;
    }
    std::u16string openFile(const std::u16string&, const std::u16string&) override { return path; }
    std::u16string saveAs(const std::u16string&, const std::u16string&) override { return path; }
    void nextStep(unsigned bits, std::u16string chosen) {
        answers = bits;
        path = std::move(chosen);
        questions = cancelled = messages = 0;
        asked.clear();
    }

    unsigned answers = 0;
    std::u16string path;
    int questions = 0, cancelled = 0, messages = 0;
    std::u16string lastMessage;
    std::u16string asked;  // every question of the step, one a line
};

}  // namespace lodestar::fakes
