// Opening a file or folder from outside the dialogs: the Open File dialog, the path box, the
// command line, a drop, Recent Files and Recent Folders; and what the window keeps of what was
// opened (Recent Files, Recent Folders, the folder the Open File dialog starts in).
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "forms/file/file_scope.h"
#include "forms/main/recent_files.h"
#include "forms/main/run_state.h"
#include "forms/scope/folder_work.h"
#include "forms/scope/scope_host.h"
#include "platform/prompts.h"
#include "settings/window_state.h"

namespace lodestar {

class OpenRequests {
  public:
    // `folder` is the window's link to the folder scope, which may be set later.
    OpenRequests(ScopeHost& host, FileScope& file, FolderWork* const& folder, Prompts& prompts,
                 const RunState& run)
        : host_(host), file_(file), folder_(folder), prompts_(prompts), run_(run) {}

    // Opens what the path box names: a file, a folder, or a folder and "/*.ext". The open
    // file's own path reads it again.
    void openPath(const std::u16string& text);
    // The Open File dialog, starting in the folder of the file opened last.
    void openFileDialog();
    void pickRecentFile(std::size_t index);    // "mRecent(i)", 1 = newest
    void pickRecentFolder(std::size_t index);  // "mRecentDir(i)", 1 = newest
    // The folder mode has opened a folder: it heads Recent Folders.
    void folderEntered();
    // After a file has opened: it heads Recent Files, and the user can type a pattern at once.
    void fileOpened();
    const RecentFiles& recentFiles() const { return recentFiles_; }
    const RecentFiles& recentFolders() const { return recentFolders_; }
    // Moves the keyboard focus to a control (set by the skin).
    void setMoveFocus(std::function<void(ControlId)> f) { moveFocus_ = std::move(f); }
    // What the last run left, and what is kept for the next one.
    void recall(const WindowState& state);
    void remember(WindowState& state) const;

  private:
    ScopeHost& host_;
    FileScope& file_;
    FolderWork* const& folder_;
    Prompts& prompts_;
    const RunState& run_;
    RecentFiles recentFiles_;
    RecentFiles recentFolders_{main_ids::mRecentDir, main_ids::mRecentFolder};
    std::u16string lastOpenFolder_;  // where the open dialog starts
    std::function<void(ControlId control)> moveFocus_;
};

}  // namespace lodestar
