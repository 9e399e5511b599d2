// Prompts answered from a script: every question and message is recorded in order, each
// okCancel takes the next scripted answer (OK when the script has run out, so a forgotten
// answer shows up as an unexpected entry in `asked`), and each file dialog the next path.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/prompts.h"

namespace lodestar::fakes {

struct Prompt {
    std::string kind;        // "message", "okCancel", "openFile" or "saveAs"
    std::u16string text;     // message text, or the dialog's filter
    std::u16string caption;  // caption, or the dialog's initial folder
};

class ScriptedPrompts : public Prompts {
  public:
    void answerOk() { answers_.push_back(true); }
    void answerCancel() { answers_.push_back(false); }
    void choosePath(std::u16string path) { paths_.push_back(std::move(path)); }

    void message(const std::u16string& text, const std::u16string& caption) override {
        asked.push_back({"message", text, caption});
    }
    bool okCancel(const std::u16string& text, const std::u16string& caption) override {
        asked.push_back({"okCancel", text, caption});
        if (answers_.empty()) return true;
        bool answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    std::u16string openFile(const std::u16string& filter,
                            const std::u16string& initialFolder) override {
        return nextPath("openFile", filter, initialFolder);
    }
    std::u16string saveAs(const std::u16string& filter,
                          const std::u16string& initialFolder) override {
        return nextPath("saveAs", filter, initialFolder);
    }

    std::vector<Prompt> asked;

  private:
    // Both file dialogs take the next scripted path; an empty one when the script has run out.
    std::u16string nextPath(const char* kind, const std::u16string& filter,
                            const std::u16string& initialFolder) {
        asked.push_back({kind, filter, initialFolder});
        if (paths_.empty()) return {};
        std::u16string path = paths_.front();
        paths_.pop_front();
        return path;
    }

    std::deque<bool> answers_;
    std::deque<std::u16string> paths_;
};

}  // namespace lodestar::fakes
