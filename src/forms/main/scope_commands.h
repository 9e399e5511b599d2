// Find, Replace, Restore and Action: each reads the request the boxes make and hands it to the
// current scope, the single file or the folder. In folder mode Replace and Action ask first.
#pragma once

#include "forms/file/file_scope.h"
#include "forms/main/search_bar.h"
#include "forms/scope/folder_work.h"
#include "forms/scope/scope_host.h"

namespace lodestar {

class ScopeCommands {
  public:
    // `folder` is the window's link to the folder scope, which may be set later.
    ScopeCommands(ScopeHost& host, FileScope& file, SearchBar& bar, FolderWork* const& folder)
        : host_(host), file_(file), bar_(bar), folder_(folder) {}

    void find();
    void replace();
    void restore();
    // In folder mode the commands run over the ticked files only, named and counted first.
    void action();
    // Replace and Action worked out without writing, shown with ticks; Apply writes the ticked
    // changes (scope_previews.cpp).
    void preview();
    void previewAction();
    void apply();
    // A click on a tick of the preview in the source view; true when it was one.
    bool previewClicked(const std::u16string& address);

  private:
    std::optional<SearchRequest> readRequest();
    // Asks before a folder's Replace, with the counts of the last Find when it has them.
    bool confirmFolderReplace(const SearchRequest& request);

    ScopeHost& host_;
    FileScope& file_;
    SearchBar& bar_;
    FolderWork* const& folder_;
};

}  // namespace lodestar
