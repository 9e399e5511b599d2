// The options dialog "OptionSetting": the settings of the options file and the font of the
// pattern box. OK takes the values into the main window's settings, shows the visible ones at
// once and writes the user's options file; Cancel only hides, and the controls keep what the
// user left in them.
#pragma once

#include <string>

#include "forms/model/control_ids.h"
#include "forms/model/form.h"
#include "forms/ports/options_port.h"

namespace lodestar {

class OptionSetting : public Form {
  public:
    OptionSetting(OptionsPort& window, Prompts& prompts);

    // Shows the dialog with its controls filled from the window's settings.
    void open();
    // Takes the controls into the settings and applies them.
    void setOption();
    // Writes the user's options file; false (after saying why) when it cannot be written.
    bool saveOption();

  protected:
    void onClick(const std::string& control) override;

  private:
    void load();

    OptionsPort& window_;
};

}  // namespace lodestar
