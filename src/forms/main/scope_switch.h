// The choice of scope: the single file shown in the source view, or the folder with its file
// table. Entering either sets the commands, panes and view switches that belong to it.
#pragma once

#include "forms/file/file_scope.h"
#include "forms/main/layout.h"
#include "forms/main/view_switches.h"
#include "forms/scope/folder_work.h"
#include "forms/scope/scope_host.h"

namespace lodestar {

class ScopeSwitch {
  public:
    // `folder` is the window's link to the folder scope, which may be set later.
    ScopeSwitch(ScopeHost& host, FileScope& file, FolderWork* const& folder, PaneSwitches& panes,
                WindowLayout& layout)
        : host_(host), file_(file), folder_(folder), panes_(panes), layout_(layout) {}

    bool folderMode() const { return folderMode_; }
    // The window's start: single-file mode, before any file is shown.
    void reset() { folderMode_ = false; }
    // The folder scope closes; the file named in the path box is the one shown.
    void enterSingleFile();
    // The single file closes; the folder's table is shown.
    void enterFolder();

  private:
    ScopeHost& host_;
    FileScope& file_;
    FolderWork* const& folder_;
    PaneSwitches& panes_;
    WindowLayout& layout_;
    bool folderMode_ = false;
};

}  // namespace lodestar
