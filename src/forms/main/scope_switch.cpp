// Entering single-file mode or folder mode.
#include "forms/main/scope_switch.h"

#include "backups/backup.h"
#include "forms/model/control_ids.h"

namespace lodestar {

void ScopeSwitch::enterSingleFile() {
    folderMode_ = false;
    ControlModel& controls = host_.controls();
    if (folder_) folder_->close();
    host_.setRestoreEnabled(false);
    host_.setScopeCommands(false);
    panes_.show(Pane::SuperMonitor, true);
    panes_.show(Pane::ListView, false);
    file_.writeMatchList(u"");
    controls.setTooltip(main_ids::selFile, u"Select File");
    controls.setText(main_ids::inputPath, host_.currentFile());
    host_.setScopeCommands(true);
    // The file's history of saves outlives the window: Restore takes back its newest step.
    host_.setRestoreEnabled(!savedSteps(host_.currentFile()).empty());
    host_.setSaveEnabled(false);
    controls.setEnabled(main_ids::mClose, true);
    controls.setEnabled(main_ids::mSaveAs, true);
    host_.setSourceTools(true);
    controls.setTop(main_ids::SuperMonitor, 90);
    layout_.arrangePanes();
    controls.setEnabled(main_ids::View_FS, false);
    controls.setEnabled(main_ids::mFsrc, false);
    controls.setStruckThrough(main_ids::View_FS, false);
    controls.setChecked(main_ids::mFsrc, true);
    file_.resetMatchState();
    host_.fileOpened();
}

void ScopeSwitch::enterFolder() {
    folderMode_ = true;
    ControlModel& controls = host_.controls();
    file_.close();
    host_.setScopeCommands(true);
    host_.setRestoreEnabled(false);
    host_.setSaveEnabled(false);
    controls.setEnabled(main_ids::btnFind, true);
    controls.setEnabled(main_ids::mFind, true);
    host_.setSourceTools(false);
    file_.clearForFolder();
    controls.setEnabled(main_ids::View_FS, true);
    controls.setEnabled(main_ids::mFsrc, true);
    controls.setText(main_ids::matchNo, u"0/0");
    panes_.show(Pane::ListView, true);
    layout_.arrangePanes();
}

}  // namespace lodestar
