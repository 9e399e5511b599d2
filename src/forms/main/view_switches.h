// The panes the user shows and hides: the source view and the match list (their toolbar
// buttons and menu entries), and a pane shown or hidden together with its control.
#pragma once

#include "forms/file/file_scope.h"
#include "forms/main/layout.h"
#include "forms/scope/scope_host.h"

namespace lodestar {

class PaneSwitches {
  public:
    PaneSwitches(ScopeHost& host, FileScope& file, WindowLayout& layout)
        : host_(host), file_(file), layout_(layout) {}

    // The pane and its control shown or hidden together.
    void show(Pane which, bool on);
    void toggleSource();
    // The match list is built when it is shown after a search that did not build it.
    void toggleMatchList();
    // The source view shown again, with its tools.
    void openMonitor();

  private:
    ScopeHost& host_;
    FileScope& file_;
    WindowLayout& layout_;
};

}  // namespace lodestar
