// The folder picker's controls and behaviour.
#include "forms/folder/folder_dlg.h"

#include <algorithm>
#include <atomic>
#include <filesystem>

#include "backups/backup_folder.h"
#include "core/error.h"
#include "core/stop_token.h"
#include "core/text.h"
#include "files/file_ops.h"
#include "files/folder_tree.h"
#include "files/path_glob.h"
#include "files/paths.h"
#include "forms/model/app_title.h"

namespace lodestar {

namespace {

constexpr int kOtherType = 5;
constexpr int kAllFiles = 4;
constexpr std::size_t kRecentFolders = 8;
// The picker's designed size (twips), which is also its smallest.
constexpr double kWidth = 6180;
constexpr double kHeight = 4740;

// Every control of the picker lies in the picker's own window.
Control make(ControlId name, ControlKind kind, const char16_t* text, char16_t accessKey = 0) {
    Control c = makeControl(name.str(), kind, text, {},
                            name == folder_ids::FolderDlg ? "" : folder_ids::FolderDlg.str());
    c.accessKey = accessKey;
    return c;
}

std::u16string withSlash(std::u16string folder) {
    if (folder.empty() || folder.back() != u'/') folder += u'/';
    return folder;
}

}  // namespace

// What OK's walk shares between the worker and the window's thread.
struct FolderDlg::Walk {
    std::u16string folder;   // as chosen in the tree
    std::u16string current;  // absolute and normalized: what the files are handed on under
    std::u16string pattern;
    PickerState choice;  // remembered once the walk hands its files on
    bool shown = false;  // the picker was shown at OK: it comes back when nothing is found
    StopToken stop;
    std::atomic<std::size_t> found{0};
    std::atomic<bool> reporting{false};  // a count is on its way to the window's thread
    // What the walk found: File1's names (relative to the folder), the files to hand on and
    // their sizes.
    std::vector<std::u16string> names, files, notes;
    std::vector<std::uint64_t> sizes;
};

FolderDlg::FolderDlg(Prompts& prompts, WorkRunner& runner, std::u16string startFolder,
                     std::vector<std::u16string> drives)
    : Form(folder_ids::FolderDlg.str(), prompts), runner_(runner), driveCount_(drives.size()) {
    ControlModel& c = controls();
    c.add(make(folder_ids::FolderDlg, ControlKind::Frame, u"Select Folder")).geometry = {
        0, 0, kWidth, kHeight};
    c.add(make(folder_ids::lblPath, ControlKind::Label, u"Folder"));
    c.add(make(folder_ids::txtPath, ControlKind::TextBox, u""));
    c.setTooltip(folder_ids::txtPath, u"Type a folder and press Enter");
    c.add(make(folder_ids::Drive1, ControlKind::Combo, u""));
    c.setTooltip(folder_ids::Drive1, u"Drives and the folders chosen last");
    c.add(make(folder_ids::Dir1, ControlKind::Tree, u""));
    c.add(make(folder_ids::chkSubfolders, ControlKind::CheckBox, u"Include subfolders", u'I'));
    c.add(make(folder_ids::Label4, ControlKind::Label, u"Exclude"));
    c.add(make(folder_ids::exclude, ControlKind::TextBox, u""));
    c.setTooltip(folder_ids::exclude,
                 u"Paths to leave out, separated by \";\": node_modules; *.min.js; build/**");
    c.add(make(folder_ids::chkFollowLinks, ControlKind::CheckBox, u"Follow links out of the folder",
               u'F'));
    c.setTooltip(folder_ids::chkFollowLinks,
                 u"Replace and Action also change the files that links in the folder lead to");
    c.add(make(folder_ids::Label1, ControlKind::Label, u"File type"));
    c.add(make(folder_ids::filter, ControlKind::Combo, u""));
    c.add(make(folder_ids::Label3, ControlKind::Label, u"Other type     *."));
    c.add(make(folder_ids::newfilter, ControlKind::TextBox, u""));
    c.add(make(folder_ids::File1, ControlKind::List, u""));
    c.add(make(folder_ids::btnOK, ControlKind::Button, u"OK", u'O'));
    c.add(make(folder_ids::btnCancel, ControlKind::Button, u"Cancel", u'C'));
    setKeyButtons(folder_ids::btnOK, folder_ids::btnCancel);
    setResizable(true);
    c.setItems(folder_ids::Drive1, drives);
    c.setItems(folder_ids::filter,
               {u"*.htm;*.html", u"*.txt;*.csv", u"*.xml", u"*.rtf", u"All files", u"Other"});
    c.setVisible(folder_ids::Label3, false);
    c.setVisible(folder_ids::newfilter, false);
    // The drive shown is the one that holds the starting folder.
    int holding = -1;
    std::size_t longest = 0;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        const std::u16string root = withSlash(drives[i]);
        if (withSlash(startFolder).compare(0, root.size(), root) == 0 && root.size() >= longest) {
            longest = root.size();
            holding = static_cast<int>(i);
        }
    }
    c.setSelected(folder_ids::Drive1, holding);
    c.setText(folder_ids::txtPath, startFolder);
    c.setText(folder_ids::Dir1, std::move(startFolder));
    pattern_ = u"*.htm;*.html";
    arrange(kWidth, kHeight);
}

FolderDlg::~FolderDlg() {
    stopWalk();
}

void FolderDlg::setStateFile(std::u16string path) {
    stateFile_ = std::move(path);
    if (!stateFile_.empty()) remembered_ = loadPickerState(stateFile_);
}

PickerState FolderDlg::state() const {
    const ControlModel& c = controls();
    PickerState s = remembered_;
    s.type = std::max(0, c[folder_ids::filter].selected);
    s.otherType = c[folder_ids::newfilter].text;
    s.subfolders = c[folder_ids::chkSubfolders].checked;
    s.exclude = c[folder_ids::exclude].text;
    return s;
}

void FolderDlg::recall(const PickerState& s) {
    ControlModel& c = controls();
    c.setText(folder_ids::newfilter, s.otherType);
    c.setChecked(folder_ids::chkSubfolders, s.subfolders);
    c.setText(folder_ids::exclude, s.exclude);
    const int types = static_cast<int>(c[folder_ids::filter].items.size());
    c.setSelected(folder_ids::filter, s.type < types ? s.type : 0);
    // The drives, then the recent folders that still exist.
    std::vector<std::u16string> places(c[folder_ids::Drive1].items.begin(),
                                       c[folder_ids::Drive1].items.begin() + driveCount_);
    for (const std::u16string& f : s.recentFolders)
        if (folderExists(f)) places.push_back(f);
    const int chosen = c[folder_ids::Drive1].selected;
    c.setItems(folder_ids::Drive1, places);
    c.setSelected(folder_ids::Drive1, chosen < static_cast<int>(places.size()) ? chosen : -1);
    filterChosen();
}

void FolderDlg::load() {
    recall(remembered_);
}

void FolderDlg::open() {
    openedWith_ = state();
    openedFolder_ = folder();
    opened_ = true;
    show();
}

void FolderDlg::cancel() {
    stopWalk();
    if (!opened_) {  // shown without `open`: nothing to go back to
        hide();
        return;
    }
    recall(openedWith_);
    if (folder() != openedFolder_) {
        controls().setText(folder_ids::Dir1, openedFolder_);
        controls().setText(folder_ids::txtPath, openedFolder_);
        listFiles();
    }
    hide();
    if (cancelled) cancelled();
}

void FolderDlg::remember(const std::u16string& folder, const PickerState& choice) {
    remembered_ = choice;
    std::vector<std::u16string>& recent = remembered_.recentFolders;
    std::erase(recent, folder);
    recent.insert(recent.begin(), folder);
    if (recent.size() > kRecentFolders) recent.resize(kRecentFolders);
    if (stateFile_.empty()) return;
    try {
        savePickerState(stateFile_, remembered_);
    } catch (const Error&) {
        // The picker's choices are a convenience: a state file that cannot be written leaves
        // the next start with the designed choice, and the folder is opened all the same.
    }
}

// The controls follow the window's size: the tree and the list share the width and take the
// height; the boxes below them keep their height.
void FolderDlg::onResize(double width, double height) {
    arrange(width, height);
}

void FolderDlg::arrange(double width, double height) {
    ControlModel& c = controls();
    width_ = width;
    height_ = height;
    const double W = std::max(width, kWidth), H = std::max(height, kHeight);
    constexpr double m = 120, gap = 180, label = 900;
    const double column = (W - 2 * m - gap) / 2;
    const double right = m + column + gap;
    c.setGeometry(folder_ids::lblPath, {m, 150, label, 255});
    c.setGeometry(folder_ids::txtPath, {m + label, 120, W - 2 * m - label, 285});
    c.setGeometry(folder_ids::Drive1, {m, 540, column, 315});
    c.setGeometry(folder_ids::Label1, {right, 570, label, 255});
    c.setGeometry(folder_ids::filter, {right + label, 540, column - label, 315});
    c.setGeometry(folder_ids::Label3, {right, 990, 1560, 255});
    c.setGeometry(folder_ids::newfilter, {right + 1560, 960, column - 1560, 285});
    const double bottomRow = H - 840;  // Exclude, OK and Cancel
    const double treeTop = 960;
    c.setGeometry(folder_ids::Dir1, {m, treeTop, column, bottomRow - 390 - treeTop - 90});
    c.setGeometry(folder_ids::chkSubfolders, {m, bottomRow - 390, column, 255});
    c.setGeometry(folder_ids::Label4, {m, bottomRow + 30, label, 255});
    c.setGeometry(folder_ids::exclude, {m + label, bottomRow, column - label, 285});
    c.setGeometry(folder_ids::chkFollowLinks, {m, bottomRow + 420, W - 2 * m, 255});
    const bool other = c[folder_ids::filter].selected == kOtherType;
    const double listTop = other ? 1380 : 960;
    c.setGeometry(folder_ids::File1, {right, listTop, column, bottomRow - 120 - listTop});
    c.setGeometry(folder_ids::btnCancel, {W - m - 1380, bottomRow - 45, 1380, 375});
    c.setGeometry(folder_ids::btnOK, {W - m - 2 * 1380 - gap, bottomRow - 45, 1380, 375});
}

void FolderDlg::setFolder(const std::u16string& path) {
    controls().setText(folder_ids::Dir1, path);
    controls().setText(folder_ids::txtPath, path);
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
    return {controls()[folder_ids::chkSubfolders].checked,
            splitGlobList(controls()[folder_ids::exclude].text),
            dir.empty() ? backupFolderName
                        : walkedPastBackupName(NormalizeFolder(dir), backupFolderName)};
}

namespace {

// The names File1 shows for a listing of `dir` (relative to it) and the walk's notes; nothing
// for a folder that is gone or cannot be read (OK then says so).
struct Names {
    std::vector<std::u16string> names, notes;
};
Names listNames(const std::u16string& dir, std::u16string_view pattern, const TreeRules& rules) {
    Names listed;
    if (dir.empty() || !folderExists(dir)) return listed;
    try {
        TreeListing listing = listTree(dir, pattern, rules);
        for (const std::u16string& path : listing.files)
            listed.names.push_back(relativeToFolder(dir, path));
        listed.notes = std::move(listing.notes);
    } catch (const Error&) {
        // Listed nothing: the folder itself cannot be read.
    }
    return listed;
}

}  // namespace

void FolderDlg::listFiles() {
    TreeRules rules = treeRules();
    rules.limit = kPreviewEntries;
    Names listed = listNames(folder(), pattern_, rules);
    notes_ = std::move(listed.notes);
    controls().setItems(folder_ids::File1, std::move(listed.names));
}

void FolderDlg::filterChosen() {
    ControlModel& c = controls();
    const int index = c[folder_ids::filter].selected;
    const bool other = index == kOtherType;
    c.setVisible(folder_ids::newfilter, other);
    c.setVisible(folder_ids::Label3, other);
    arrange(width_, height_);
    if (!other) {
        setPattern(index == kAllFiles ? std::u16string(u"*.*")
                                      : c[folder_ids::filter].items.at(index));
        return;
    }
    setFocus(folder_ids::newfilter);
    // "Other" lists the own type in the box; before one is given, no ordinary file.
    if (trimSpaces(c[folder_ids::newfilter].text).empty())
        setPattern(c[folder_ids::filter].items.at(index));
    else
        ownType(false);
}

void FolderDlg::ownType(bool moveFocus) {
    setPattern(u"*." + trimSpaces(controls()[folder_ids::newfilter].text));
    if (moveFocus) setFocus(folder_ids::btnOK);
}

void FolderDlg::ok() {
    if (folder().empty() || walking() || (busy && busy())) return;

    // A folder typed relative to the working folder is kept as the absolute folder it names,
    // where backups and restores can work.
    std::u16string absolute = folder();
    if (absolute.front() != u'/')
        absolute = fromUtf8((std::filesystem::current_path() / toUtf8(absolute)).string());
    auto walk = std::make_shared<Walk>();
    walk->folder = folder();
    walk->current = NormalizeFolder(absolute);
    walk->pattern = pattern_;
    walk->choice = state();
    walk->shown = shown();
    walk_ = walk;
    controls().setEnabled(folder_ids::btnOK, false);
    hide();  // the window's status line follows the walk, and its Stop ends it
    if (walkStarted) walkStarted();
    // The count goes to the window only when the one before has arrived, so a fast walk does
    // not queue a report per folder.
    auto found = [walk, dlg = this, runner = &runner_](std::size_t files) {
        walk->found = files;
        if (!walk->reporting.exchange(true))
            runner->post([walk, dlg] {
                walk->reporting = false;
                if (dlg->walk_ == walk && dlg->walkFound) dlg->walkFound(walk->found);
            });
        return !walk->stop.requested();
    };
    runner_.start(
        [walk, rules = treeRules(), found]() mutable {
            rules.progress = found;
            Names listed = listNames(walk->folder, walk->pattern, rules);
            walk->names = std::move(listed.names);
            walk->notes = std::move(listed.notes);
            walk->files.reserve(walk->names.size());
            for (const std::u16string& name : walk->names)
                walk->files.push_back(walk->current + name);
            // The file table shows every size: asked here, away from the window's thread.
            walk->sizes.reserve(walk->files.size());
            for (const std::u16string& file : walk->files) {
                if (walk->stop.requested()) return;
                walk->sizes.push_back(fileSizeOrZero(file));
            }
        },
        [this, walk] { walked(*walk); });
}

void FolderDlg::stopWalk() {
    if (walk_) walk_->stop.request();
}

void FolderDlg::walked(Walk& walk) {
    walk_.reset();
    controls().setEnabled(folder_ids::btnOK, true);
    if (walkEnded) walkEnded();
    if (walk.stop.requested()) return;
    notes_ = std::move(walk.notes);
    // The list shows what OK listed, unless the user chose another folder or type meanwhile.
    if (folder() == walk.folder && pattern_ == walk.pattern)
        controls().setItems(folder_ids::File1, std::move(walk.names));
    if (walk.current.empty() || walk.files.empty()) {
        if (walk.shown) show();
        prompts().message(u"No file Specified.", kAppTitle);
        return;
    }
    remember(walk.current, walk.choice);
    if (chosen) chosen(walk.current, walk.files, walk.sizes);
}

void FolderDlg::onClick(const std::string& control) {
    if (control == folder_ids::chkSubfolders)
        listFiles();
    else if (control == folder_ids::btnOK)
        ok();
    else if (control == folder_ids::btnCancel)
        cancel();
}

void FolderDlg::onTextChanged(const std::string& control) {
    if (control == folder_ids::Dir1) setFolder(controls()[folder_ids::Dir1].text);
    // The list follows the own type as it is typed.
    if (control == folder_ids::newfilter &&
        !trimSpaces(controls()[folder_ids::newfilter].text).empty())
        ownType(false);
}

void FolderDlg::onSelect(const std::string& control) {
    if (control == folder_ids::filter) {
        filterChosen();
    } else if (control == folder_ids::Drive1) {
        choosePlace();
    }
}

void FolderDlg::choosePlace() {
    const int index = controls()[folder_ids::Drive1].selected;
    if (index >= 0) setFolder(controls()[folder_ids::Drive1].items.at(index));
}

// A typed folder is gone to when it exists; otherwise the box shows the folder chosen again,
// after a message when the user pressed Enter.
void FolderDlg::goToTypedPath(bool tell) {
    const std::u16string typed = trimSpaces(controls()[folder_ids::txtPath].text);
    if (typed == folder()) return;
    if (!typed.empty() && folderExists(typed)) {
        setFolder(typed);
        return;
    }
    if (tell) prompts().message(u"Can't find the folder " + typed, kAppTitle);
    controls().setText(folder_ids::txtPath, folder());
}

// The boxes that act on Enter themselves; Enter elsewhere is OK.
bool FolderDlg::keepsEnter(const std::string& control) const {
    return control == folder_ids::newfilter || control == folder_ids::exclude ||
           control == folder_ids::txtPath;
}

void FolderDlg::onEnter(const std::string& control) {
    if (control == folder_ids::newfilter) ownType(true);
    if (control == folder_ids::exclude) listFiles();
    if (control == folder_ids::txtPath) goToTypedPath(true);
}

void FolderDlg::onFocusLost(const std::string& control) {
    if (control == folder_ids::newfilter &&
        !trimSpaces(controls()[folder_ids::newfilter].text).empty())
        ownType(false);
    if (control == folder_ids::exclude) listFiles();
    if (control == folder_ids::txtPath) goToTypedPath(false);
}

}  // namespace lodestar
