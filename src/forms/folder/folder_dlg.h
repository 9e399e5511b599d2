// The folder picker "Select Folder": a drive, a folder and a file type. OK turns the choice into
// the folder and its listed files and hands them on; the window is only hidden afterwards, so
// the choice stays as the user left it. The main window's path box drives it without showing
// it (`chooseFolder`).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "files/folder_tree.h"
#include "forms/model/form.h"

namespace lodestar {

class FolderDlg : public Form {
  public:
    // `startFolder` is where the folder tree starts (the working folder); `drives` fill Drive1.
    FolderDlg(Prompts& prompts, std::u16string startFolder, std::vector<std::u16string> drives);

    // Window load: the first file type is selected.
    void load();
    // Runs work on the targets of links that lead out of the folder (off: they are passed by).
    bool followLinks() const { return controls()["chkFollowLinks"].checked; }

    // The folder tree's path changed: File1 lists that folder, and the main window's path box
    // shows it (through `pathChanged`).
    void setFolder(const std::u16string& path);
    const std::u16string& folder() const { return controls()["Dir1"].text; }
    // File1's pattern list ("*.htm;*.html").
    void setPattern(const std::u16string& pattern);
    const std::u16string& pattern() const { return pattern_; }

    // The OK action: the normalized folder (ending in "/") and its listed files go to `chosen`,
    // and the window hides; with no file the message "No file Specified." and it stays. With
    // "Include subfolders" ticked the files of the whole tree are listed (File1 shows their
    // paths relative to the folder), less those the "Exclude" box names.
    void ok();
    // The log lines of the last listing: the subfolders it passed, and why.
    const std::vector<std::u16string>& notes() const { return notes_; }

    // The backup folder's name under the chosen folder (empty: "bak"), never listed.
    std::u16string backupFolderName;

    std::function<void(const std::u16string& path)> pathChanged;
    std::function<void(const std::u16string& folder, const std::vector<std::u16string>& files)>
        chosen;

  protected:
    void onClick(const std::string& control) override;
    void onTextChanged(const std::string& control) override;
    void onSelect(const std::string& control) override;
    void onEnter(const std::string& control) override;
    void onFocusLost(const std::string& control) override;

  private:
    // While the user chooses, File1 shows the first files of a tree only, so a large tree
    // never holds the window up; OK lists the whole tree (limit 0).
    static constexpr std::size_t kPreviewEntries = 20000;
    TreeRules treeRules() const;
    void listFiles(std::size_t limit = kPreviewEntries);
    void filterChosen();
    void ownType(bool moveFocus);

    std::u16string pattern_;
    std::vector<std::u16string> notes_;
};

}  // namespace lodestar
