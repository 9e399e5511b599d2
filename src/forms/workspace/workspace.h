// Everything the main window works with, assembled in one place: the window, its folder scope,
// the export, options and assistant dialogs on their ports, and the runners they work on. The
// desktop skin and the tests build the same objects through it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/assistant/reg_assist.h"
#include "forms/export/export_form.h"
#include "forms/folder/folder_scope.h"
#include "forms/main/main_window.h"
#include "forms/options/option_setting.h"

namespace lodestar {

struct WorkspaceServices {
    Prompts& prompts;
    Clipboard& clipboard;
    OneShotTimer& timer;  // Timer1
    Shell& shell;
    // Where the open and search of one file run, and where the folder runs and extractions
    // run; without one, at once on the caller's thread.
    WorkRunner* jobs = nullptr;
    WorkRunner* runs = nullptr;
};

class Workspace {
  public:
    // `pickerStart` is where the folder picker's tree starts; `drives` fill its drive list.
    Workspace(std::u16string programFolder, WorkspaceServices services, std::u16string pickerStart,
              std::vector<std::u16string> drives);
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    MainWindow& window() { return *window_; }
    FolderScope& folder() { return *folder_; }
    ExportForm& exportForm() { return *export_; }
    OptionSetting& optionSetting() { return *options_; }
    RegAssist& assistant() { return *assistant_; }

    // The about box and the "Used Regexps" pop-up have no headless form: whoever can show
    // them sets these.
    std::function<void()> showAbout;
    std::function<void()> showUsedRegexps;

  private:
    void showForm(const std::string& name);

    ImmediateWorkRunner immediate_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<FolderScope> folder_;
    std::unique_ptr<ExportForm> export_;
    std::unique_ptr<OptionSetting> options_;
    std::unique_ptr<RegAssist> assistant_;
};

}  // namespace lodestar
