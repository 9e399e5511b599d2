// The folder picker "Select Folder": a drive, a folder and a file type. OK turns the choice into
// the folder and its listed files and hands them on; the window is only hidden afterwards, so
// the choice stays as the user left it. The main window's path box drives it without showing
// it. OK's walk over a tree goes on away from the window's thread, on the work runner.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "files/folder_tree.h"
#include "forms/model/control_ids.h"
#include "forms/model/form.h"
#include "platform/work_runner.h"
#include "settings/picker_state.h"

namespace lodestar {

class FolderDlg : public Form {
  public:
    // `startFolder` is where the folder tree starts (the working folder); `drives` fill Drive1.
    // OK walks the tree on `runner`.
    FolderDlg(Prompts& prompts, WorkRunner& runner, std::u16string startFolder,
              std::vector<std::u16string> drives);
    ~FolderDlg() override;

    // Window load: the remembered file type is selected (the first when none).
    void load();
    // The picker's remembered choices: read from `path` now (before `load`), written there at
    // every OK. Empty: nothing is remembered.
    void setStateFile(std::u16string path);
    PickerState state() const;
    // Runs work on the targets of links that lead out of the folder (off: they are passed by).
    bool followLinks() const { return controls()[folder_ids::chkFollowLinks].checked; }

    // Shows the picker with the choice it had at its last OK (or as designed).
    void open();
    // The folder tree's path changed: File1 lists that folder, the path box shows it, and so
    // does the main window's path box (through `pathChanged`).
    void setFolder(const std::u16string& path);
    const std::u16string& folder() const { return controls()[folder_ids::Dir1].text; }
    // File1's pattern list ("*.htm;*.html").
    void setPattern(const std::u16string& pattern);
    const std::u16string& pattern() const { return pattern_; }

    // The OK action: the window hides and the normalized folder (ending in "/") and its listed
    // files go to `chosen`; with no file the window comes back with the message "No file
    // Specified.". With "Include subfolders" ticked the files of the whole tree are listed (File1
    // shows their paths relative to the folder), less those the "Exclude" box names. The listing
    // is a walk on the work runner: nothing is handed on before it ends, and OK is off meanwhile.
    // Refused while a walk goes on or `busy` says so.
    void ok();
    bool walking() const { return walk_ != nullptr; }
    // The walk ends at its next folder; its files are dropped and the choice stays shown.
    void stopWalk();
    // Cancel: the picker goes back to the choice it showed when it was opened, and `cancelled`
    // tells the window, whose path box followed the browsing.
    void cancel();
    // The file type in force, as the user reads it ("*.htm;*.html", "*.*" for every file).
    const std::u16string& typeShown() const { return pattern_; }
    // The log lines of the last listing: the subfolders it passed, and why.
    const std::vector<std::u16string>& notes() const { return notes_; }

    // The backup folder's name under the chosen folder (empty: "bak"), never listed.
    std::u16string backupFolderName;

    std::function<void(const std::u16string& path)> pathChanged;
    std::function<void()> cancelled;
    // True while other work holds the window (a folder run): OK is refused, one run at a time.
    std::function<bool()> busy;
    // The walk's files, each with its size then.
    std::function<void(const std::u16string& folder, const std::vector<std::u16string>& files,
                       const std::vector<std::uint64_t>& sizes)>
        chosen;
    // On the window's thread: the walk starts, has found `files` files so far (as often as the
    // window keeps up), and ends, before its files are handed on.
    std::function<void()> walkStarted;
    std::function<void(std::size_t files)> walkFound;
    std::function<void()> walkEnded;

  protected:
    void onClick(const std::string& control) override;
    void onTextChanged(const std::string& control) override;
    void onSelect(const std::string& control) override;
    void onEnter(const std::string& control) override;
    void onFocusLost(const std::string& control) override;
    void onResize(double width, double height) override;
    bool keepsEnter(const std::string& control) const override;

  private:
    struct Walk;
    // The walk of OK has ended (on the window's thread).
    void walked(Walk& walk);
    // While the user chooses, File1 shows the first files of a tree only, so a large tree
    // never holds the window up; OK's walk lists the whole tree.
    static constexpr std::size_t kPreviewEntries = 20000;
    TreeRules treeRules() const;
    void listFiles();
    void filterChosen();
    void ownType(bool moveFocus);
    void choosePlace();
    void goToTypedPath(bool tell);
    void arrange(double width, double height);
    void recall(const PickerState& s);
    void remember(const std::u16string& folder, const PickerState& choice);

    WorkRunner& runner_;
    std::shared_ptr<Walk> walk_;  // OK's walk while it goes on
    std::u16string pattern_;
    std::vector<std::u16string> notes_;
    std::size_t driveCount_ = 0;  // Drive1 lists the drives, then the recent folders
    std::u16string stateFile_;
    PickerState remembered_;
    // The choice as it was shown at opening, for Cancel.
    PickerState openedWith_;
    std::u16string openedFolder_;
    bool opened_ = false;
    double width_ = 0, height_ = 0;  // the window's inner size the controls were arranged for
};

}  // namespace lodestar
