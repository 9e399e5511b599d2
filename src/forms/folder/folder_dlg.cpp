// The folder picker's controls and behaviour.
#include "forms/folder/folder_dlg.h"

#include <filesystem>

#include "backups/backup_folder.h"
#include "core/error.h"
#include "core/text.h"
#include "files/folder_tree.h"
#include "files/path_glob.h"
#include "files/paths.h"
#include "forms/model/app_title.h"

namespace lodestar {

namespace {

constexpr int kOtherType = 5;
constexpr int kAllFiles = 4;

// Every control of the picker lies in the picker's own window.
Control make(const char* name, ControlKind kind, const char16_t* text, Rect geometry) {
    return makeControl(name, kind, text, geometry,
                       name == std::string("FolderDlg") ? "" : "FolderDlg");
}

}  // namespace

FolderDlg::FolderDlg(Prompts& prompts, std::u16string startFolder,
                     std::vector<std::u16string> drives)
    : Form("FolderDlg", prompts) {
    ControlModel& c = controls();
    c.add(make("FolderDlg", ControlKind::Frame, u"Select Folder", {0, 0, 6180, 4320}));
    c.add(make("Drive1", ControlKind::Combo, u"", {120, 120, 2760, 315}));
    c.add(make("Dir1", ControlKind::Tree, u"", {120, 540, 2760, 2640}));
    c.add(make("chkSubfolders", ControlKind::CheckBox, u"Include subfolders",
               {120, 3270, 2760, 255}));
    c.add(make("Label4", ControlKind::Label, u"Exclude", {120, 3600, 780, 255}));
    c.add(make("exclude", ControlKind::TextBox, u"", {900, 3570, 1980, 285}));
    c.setTooltip("exclude",
                 u"Paths to leave out, separated by \";\": node_modules; *.min.js; build/**");
    c.add(make("chkFollowLinks", ControlKind::CheckBox, u"Follow links out of the folder",
               {120, 3960, 5940, 255}));
    c.setTooltip("chkFollowLinks",
                 u"Replace and Action also change the files that links in the folder lead to");
    c.add(make("Label1", ControlKind::Label, u"File type", {3060, 150, 900, 255}));
    c.add(make("filter", ControlKind::Combo, u"", {3960, 120, 2100, 315}));
    c.add(make("Label3", ControlKind::Label, u"Other type     *.", {3060, 570, 1560, 255}));
    c.add(make("newfilter", ControlKind::TextBox, u"", {4620, 540, 1440, 285}));
    c.add(make("File1", ControlKind::List, u"", {3060, 540, 3000, 2700}));
    c.add(make("btnOK", ControlKind::Button, u"OK", {3060, 3420, 1380, 375}));
    c.add(make("btnCancel", ControlKind::Button, u"Cancel", {4680, 3420, 1380, 375}));
    c.setItems("Drive1", drives);
    c.setItems("filter",
               {u"*.htm;*.html", u"*.txt;*.csv", u"*.xml", u"*.rtf", u"All files", u"Other"});
    // The drive shown is the one that holds the starting folder.
    int holding = -1;
    std::size_t longest = 0;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        std::u16string root = drives[i];
        if (root.empty() || root.back() != u'/') root += u'/';
        std::u16string folder = startFolder;
        if (folder.empty() || folder.back() != u'/') folder += u'/';
        if (folder.compare(0, root.size(), root) == 0 && root.size() >= longest) {
            longest = root.size();
            holding = static_cast<int>(i);
        }
    }
    c.setSelected("Drive1", holding);
    c.setText("Dir1", std::move(startFolder));
    pattern_ = u"*.htm;*.html";
}

void FolderDlg::load() {
    select("filter", 0);
    listFiles();
}

void FolderDlg::setFolder(const std::u16string& path) {
    controls().setText("Dir1", path);
    listFiles();
    if (pathChanged) pathChanged(path);
}

void FolderDlg::setPattern(const std::u16string& pattern) {
    pattern_ = pattern;
    listFiles();
}

// The walk passes the backup folder the runs here use; a user's folder that only shares its
// name is walked like any other.
TreeRules FolderDlg::treeRules() const {
    const std::u16string& dir = folder();
    return {controls()["chkSubfolders"].checked, splitGlobList(controls()["exclude"].text),
            dir.empty() ? backupFolderName
                        : walkedPastBackupName(NormalizeFolder(dir), backupFolderName)};
}

void FolderDlg::listFiles(std::size_t limit) {
    std::vector<std::u16string> names;
    notes_.clear();
    const std::u16string& dir = folder();
    if (!dir.empty() && folderExists(dir)) {
        try {
            TreeRules rules = treeRules();
            rules.limit = limit;
            TreeListing listing = listTree(dir, pattern_, rules);
            for (const std::u16string& path : listing.files)
                names.push_back(relativeToFolder(dir, path));
            notes_ = std::move(listing.notes);
        } catch (const Error&) {
            // An unreadable folder lists nothing; OK then says so.
        }
    }
    controls().setItems("File1", names);
}

void FolderDlg::filterChosen() {
    ControlModel& c = controls();
    const int index = c["filter"].selected;
    const bool other = index == kOtherType;
    c.setVisible("newfilter", other);
    c.setVisible("Label3", other);
    Rect r = c["File1"].geometry;
    r.top = other ? 900 : 540;
    r.height = other ? 2235 : 2700;
    c.setGeometry("File1", r);
    if (other) setFocus("newfilter");
    setPattern(index == kAllFiles ? std::u16string(u"*.*") : c["filter"].items.at(index));
}

void FolderDlg::ownType(bool moveFocus) {
    setPattern(u"*." + trimSpaces(controls()["newfilter"].text));
    if (moveFocus) setFocus("btnOK");
}

void FolderDlg::ok() {
    if (folder().empty()) return;
    // A folder typed relative to the working folder is kept as the absolute folder it names,
    // where backups and restores can work.
    std::u16string absolute = folder();
    if (absolute.front() != u'/')
        absolute = fromUtf8((std::filesystem::current_path() / toUtf8(absolute)).string());
    const std::u16string current = NormalizeFolder(absolute);
    listFiles(0);
    std::vector<std::u16string> files;
    for (const std::u16string& name : controls()["File1"].items) files.push_back(current + name);
    if (current.empty() || files.empty()) {
        prompts().message(u"No file Specified.", kAppTitle);
        return;
    }
    hide();
    if (chosen) chosen(current, files);
}

void FolderDlg::onClick(const std::string& control) {
    if (control == "chkSubfolders")
        listFiles();
    else if (control == "btnOK")
        ok();
    else if (control == "btnCancel")
        hide();
}

void FolderDlg::onTextChanged(const std::string& control) {
    if (control == "Dir1") setFolder(controls()["Dir1"].text);
}

void FolderDlg::onSelect(const std::string& control) {
    if (control == "filter") {
        filterChosen();
    } else if (control == "Drive1") {
        const int index = controls()["Drive1"].selected;
        if (index >= 0) setFolder(controls()["Drive1"].items.at(index));
    }
}

void FolderDlg::onEnter(const std::string& control) {
    if (control == "newfilter") ownType(true);
    if (control == "exclude") listFiles();
}

void FolderDlg::onFocusLost(const std::string& control) {
    if (control == "newfilter" && !trimSpaces(controls()["newfilter"].text).empty()) ownType(false);
    if (control == "exclude") listFiles();
}

}  // namespace lodestar
