// Entering single-file mode or folder mode.
#include "forms/main/scope_switch.h"

#include "backups/backup.h"

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
    controls.setTooltip("selFile", u"Select File");
    controls.setText("inputPath", host_.currentFile());
    host_.setScopeCommands(true);
    // The file's history of saves outlives the window: Restore takes back its newest step.
    host_.setRestoreEnabled(!savedSteps(host_.currentFile()).empty());
    host_.setSaveEnabled(false);
    controls.setEnabled("mClose", true);
    controls.setEnabled("mSaveAs", true);
    host_.setSourceTools(true);
    controls.setTop("SuperMonitor", 90);
    layout_.arrangePanes();
    controls.setEnabled("View_FS", false);
    controls.setEnabled("mFsrc", false);
    controls.setStruckThrough("View_FS", false);
    controls.setChecked("mFsrc", true);
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
    controls.setEnabled("btnFind", true);
    controls.setEnabled("mFind", true);
    host_.setSourceTools(false);
    file_.clearForFolder();
    controls.setEnabled("View_FS", true);
    controls.setEnabled("mFsrc", true);
    controls.setText("matchNo", u"0/0");
    panes_.show(Pane::ListView, true);
    layout_.arrangePanes();
}

}  // namespace lodestar
