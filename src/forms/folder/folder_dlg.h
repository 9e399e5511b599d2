// The folder picker "Select Folder": a drive, a folder and a file type. OK turns the choice into
// the folder and its listed files and hands them on; the window is only hidden afterwards, so
// the choice stays as the user left it. The main window's path box drives it without showing
// it (`chooseFolder`).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "files/folder_tree.h"
#include "forms/model/control_ids.h"
#include "forms/model/form.h"
#include "settings/picker_state.h"

namespace lodestar {

class FolderDlg : public Form {
  public:
    // `startFolder` is where the folder tree starts (the working folder); `drives` fill Drive1.
    FolderDlg(Prompts& prompts, std::u16string startFolder, std::vector<std::u16string> drives);

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

    // The OK action: the normalized folder (ending in "/") and its listed files go to `chosen`,
    // and the window hides; with no file the message "No file Specified." and it stays. With
    // "Include subfolders" ticked the files of the whole tree are listed (File1 shows their
    // paths relative to the folder), less those the "Exclude" box names.
    void ok();
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
    std::function<void(const std::u16string& folder, const std::vector<std::u16string>& files)>
        chosen;

  protected:
    void onClick(const std::string& control) override;
    void onTextChanged(const std::string& control) override;
    void onSelect(const std::string& control) override;
    void onEnter(const std::string& control) override;
    void onFocusLost(const std::string& control) override;
    void onResize(double width, double height) override;
    bool keepsEnter(const std::string& control) const override;

  private:
    // While the user chooses, File1 shows the first files of a tree only, so a large tree
    // never holds the window up; OK lists the whole tree (limit 0).
    static constexpr std::size_t kPreviewEntries = 20000;
    TreeRules treeRules() const;
    void listFiles(std::size_t limit = kPreviewEntries);
    void filterChosen();
    void ownType(bool moveFocus);
    void choosePlace();
    void goToTypedPath(bool tell);
    void arrange(double width, double height);
    void recall(const PickerState& s);
    void remember(const std::u16string& folder);

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
