// Prompts answered from a script: every question and message is recorded in order, each
// question takes the next scripted answer (OK or Discard when the script has run out, so a
// forgotten answer shows up as an unexpected entry in `asked`), and each file dialog the next
// path. An answer scripted for the other kind of question throws, so a test that expects an
// OK/Cancel box where a Save/Discard/Cancel box comes (or the other way round) fails.
#pragma once

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/prompts.h"

namespace lodestar::fakes {

struct Prompt {
    // "message", "okCancel", "saveDiscardCancel", "openFile", "saveAs" or "choose"
    std::string kind;
    std::u16string text;     // message text, or the dialog's filter
    std::u16string caption;  // caption, or the dialog's initial folder
};

class ScriptedPrompts : public Prompts {
  public:
    void answerOk() { answers_.push_back(Answer::Ok); }
    void answerCancel() { answers_.push_back(Answer::Cancel); }
    void answerSave() { answers_.push_back(Answer::Save); }
    void answerDiscard() { answers_.push_back(Answer::Discard); }
    void choosePath(std::u16string path) { paths_.push_back(std::move(path)); }
    // The button the next `choose` question takes; the last (Cancel) when none is scripted.
    void answerButton(std::size_t index) { buttons_.push_back(index); }

    void message(const std::u16string& text, const std::u16string& caption) override {
        asked.push_back({"message", text, caption});
    }
    bool okCancel(const std::u16string& text, const std::u16string& caption) override {
        asked.push_back({"okCancel", text, caption});
        const Answer answer = nextAnswer(Answer::Ok);
        if (answer != Answer::Ok && answer != Answer::Cancel)
            throw std::logic_error("Save or Discard scripted for an OK/Cancel question");
        return answer == Answer::Ok;
    }
    SaveChoice saveDiscardCancel(const std::u16string& text,
                                 const std::u16string& caption) override {
        asked.push_back({"saveDiscardCancel", text, caption});
        switch (nextAnswer(Answer::Discard)) {
            case Answer::Save:
                return SaveChoice::Save;
            case Answer::Discard:
                return SaveChoice::Discard;
            case Answer::Cancel:
                return SaveChoice::Cancel;
            case Answer::Ok:
                break;
        }
        throw std::logic_error("OK scripted for a Save/Discard/Cancel question");
    }
    std::size_t choose(const std::u16string& text, const std::u16string& caption,
                       const std::vector<std::u16string>& buttons) override {
        asked.push_back({"choose", text, caption});
        if (buttons_.empty()) return buttons.size() - 1;
        const std::size_t index = buttons_.front();
        buttons_.pop_front();
        if (index >= buttons.size()) throw std::logic_error("no such button scripted");
        return index;
    }
    std::u16string openFile(const std::u16string& filter,
                            const std::u16string& initialFolder) override {
        return nextPath("openFile", filter, initialFolder);
    }
    std::u16string saveAs(const std::u16string& filter,
                          const std::u16string& initialFolder) override {
        return nextPath("saveAs", filter, initialFolder);
    }

    // Drops what is still scripted and what was asked.
    void forget() {
        answers_.clear();
        paths_.clear();
        buttons_.clear();
        asked.clear();
    }

    std::vector<Prompt> asked;

  private:
    enum class Answer { Ok, Cancel, Save, Discard };

    Answer nextAnswer(Answer whenRunOut) {
        if (answers_.empty()) return whenRunOut;
        const Answer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    // Both file dialogs take the next scripted path; an empty one when the script has run out.
    std::u16string nextPath(const char* kind, const std::u16string& filter,
                            const std::u16string& initialFolder) {
        asked.push_back({kind, filter, initialFolder});
        if (paths_.empty()) return {};
        std::u16string path = paths_.front();
        paths_.pop_front();
        return path;
    }

    std::deque<Answer> answers_;
    std::deque<std::u16string> paths_;
    std::deque<std::size_t> buttons_;
};

}  // namespace lodestar::fakes
