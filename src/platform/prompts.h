// Modal questions and dialogs a form asks the user. The desktop skin answers them with real
// message boxes and file dialogs; tests answer them from a script.
#pragma once

#include <string>
#include <vector>

namespace lodestar {

// The answer to a question about unsaved text.
enum class SaveChoice { Save, Discard, Cancel };

class Prompts {
  public:
    virtual ~Prompts() = default;

    // A message box with an OK button only.
    virtual void message(const std::u16string& text, const std::u16string& caption) = 0;
    // A message box with OK and Cancel; true only when OK is chosen.
    virtual bool okCancel(const std::u16string& text, const std::u16string& caption) = 0;
    // A question about unsaved text with the buttons Save, Discard and Cancel; Cancel when the
    // box is closed without a choice.
    virtual SaveChoice saveDiscardCancel(const std::u16string& text,
                                         const std::u16string& caption) = 0;
    // A question with buttons of its own ("&Overwrite", "&Reload", ...; "&" marks the access
    // key); the last button is the one Esc and closing the box choose. The chosen button's index.
    virtual std::size_t choose(const std::u16string& text, const std::u16string& caption,
                               const std::vector<std::u16string>& buttons) = 0;
    // An open-file dialog for one file. The filter is "label|patterns|label|patterns...";
    // an empty initial folder lets the dialog choose. Empty when the user cancels.
    virtual std::u16string openFile(const std::u16string& filter,
                                    const std::u16string& initialFolder) = 0;
    // The same dialog titled "Save As", for a file that may not exist yet; the first filter
    // pair is preselected. It asks nothing about overwriting: the caller asks itself.
    virtual std::u16string saveAs(const std::u16string& filter,
                                  const std::u16string& initialFolder) = 0;
};

}  // namespace lodestar
