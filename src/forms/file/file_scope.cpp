// The single-file scope's state between commands: the file it shows or closes, the result
// state and the view switches of the source view.
#include "forms/file/file_scope.h"

#include "core/text.h"
#include "files/text_file.h"
#include "forms/model/app_title.h"
#include "forms/model/control_ids.h"

namespace lodestar {

FileScope::FileScope(ScopeHost& host, Prompts& prompts, OneShotTimer& timer, WindowJobs& jobs)
    : host_(host), prompts_(prompts), timer_(timer), jobs_(jobs) {}

void FileScope::loadSyntaxTable(const std::u16string& programFolder) {
    try {
        syntaxTable_ = parseSyntaxTable(LoadFileText(programFolder + u"lib/syntax.tbl"));
    } catch (const Error&) {
        syntaxTable_ = {};  // a missing or unreadable table: start-up goes on without one
    }
}

void FileScope::setCurrentFile(const std::u16string& path) {
    doc_.path = path;
    controls().setText(main_ids::LblCurName, doc_.path);
}

void FileScope::close() {
    leaveScratch();
    renderedSource_.clear();
    doc_.text.clear();
    doc_.loaded.clear();
    doc_.path.clear();
    // Folder mode shows the folder in the path box.
    if (!host_.inFolderMode()) controls().setText(main_ids::inputPath, u"");
    controls().setText(main_ids::LblCurName, u"");
    controls().setText(main_ids::lblTotal, u"");
    controls().setEnabled(main_ids::mClose, false);
    controls().setEnabled(main_ids::mSaveAs, false);
    controls().setEnabled(main_ids::mEncoding, false);
    controls().setText(main_ids::lblEncoding, u"");
    controls().setText(main_ids::lblLineEnds, u"");
    host_.setRestoreEnabled(false);
    host_.setSaveEnabled(false);
    host_.setScopeCommands(false);
    resetMatchState();  // the closed file's result goes with it
    reShow();
    host_.setSourceTools(false);
}

void FileScope::instantTest() {
    close();
    openScratch();
}

void FileScope::clearForFolder() {
    leaveScratch();
    source().setBodyHtml(
        u"<font style='font:normal 13px verdana'>"
        u"Please click on a file name above to show source code here.</font>");
    writeMatchList(u"");
    setCurrentFile(u"");
    controls().setText(main_ids::lblTotal, u"");
    resetMatchState();
}

void FileScope::showStartHints() {
    const std::u16string hint =
        u"<div class=\"hint\" style=\"margin:12px; color:#555; font:13px sans-serif\">"
        u"Open a file with Ctrl+O or a folder with Ctrl+F</div>";
    source().setBodyHtml(hint);
    writeMatchList(hint);
}

void FileScope::resetMatchState() {
    searchDone_ = false;
    for (const ControlId name : {main_ids::btnNext, main_ids::btnPrev, main_ids::btnExp,
                                 main_ids::mExp, main_ids::matchNo})
        controls().setEnabled(name, false);
    controls().setText(main_ids::matchNo, u"0/0");
    writeMatchList(u"");
    // Marks that can no longer be stepped through are not left in the source view.
    if (marksShown_) renderSource(doc_.text);
}

void FileScope::reShow() {
    if (searchDone_)
        searchText(false);
    else
        renderSource(doc_.text);
}

// A search over the folder's files has ended: its total stands, Export may take it, and the
// picked file shows its marks.
void FileScope::folderSearchDone(std::size_t total) {
    controls().setText(main_ids::lblTotal, decimal(static_cast<long long>(total)));
    searchDone_ = true;
    controls().setEnabled(main_ids::btnExp, true);
    controls().setEnabled(main_ids::mExp, true);
    readPicked(true);
}

void FileScope::writeMatchList(const std::u16string& html) {
    matchList().setElementHtml(u"mlist", html);
}

void FileScope::sourcePageLoaded() {
    applyCodeFont();
    applyWordWrap();
    if (controls()[main_ids::btnNext].enabled && searchDone_) next();
}

void FileScope::viewInvisible() {
    showInvisible_ = !showInvisible_;
    showViewTicks();
    reShow();
}

// The choice is kept by the scope and given to every page the source view renders, so a new
// search or file keeps it and the tick always tells what the view does.
void FileScope::wordWrap() {
    if (!source().hasCode()) {
        prompts_.message(u"Auto wrap need Internet Explorer 5.5 + installed. ", kAppTitle);
        return;
    }
    wrapLines_ = !wrapLines_;
    applyWordWrap();
    showViewTicks();
}

void FileScope::applyWordWrap() {
    source().setCodeWordWrap(wrapLines_ ? u"break-word" : u"normal");
}

void FileScope::showViewTicks() {
    controls().setChecked(main_ids::mFsrc, controls()[main_ids::SuperMonitor].visible);
    controls().setChecked(main_ids::mMlist, controls()[main_ids::MatchView].visible);
    for (const ControlId name : {main_ids::mViewIn, main_ids::btnViewIn})
        controls().setChecked(name, showInvisible_);
    for (const ControlId name : {main_ids::mWrap, main_ids::btnWrap})
        controls().setChecked(name, wrapLines_);
}

}  // namespace lodestar
