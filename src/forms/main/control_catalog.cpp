// The main window's controls as designed, before the window load applies its own changes.
#include "forms/main/control_catalog.h"

#include <map>
#include <string>

#include "forms/model/control_ids.h"

namespace lodestar {

namespace {

using namespace main_ids;

struct ControlSpec {
    ControlId name;
    std::string_view container;
    const char16_t* text;
    const char16_t* tooltip;
    bool enabled;
    bool checked;
    Rect geometry;
};

Control make(const ControlSpec& s) {
    Control c;
    c.name = s.name.str();
    c.container = s.container;
    c.text = s.text;
    c.tooltip = s.tooltip;
    c.enabled = s.enabled;
    c.checked = s.checked;
    c.geometry = s.geometry;
    return c;
}

struct MenuSpec {
    ControlId name;
    std::string_view parent;
    const char16_t* caption;
    const char16_t* shortcut;
    bool enabled;
    bool checked;
};

constexpr bool on = true;
constexpr bool off = false;

const MenuSpec kMenus[] = {
    {mnuTask, "", u"&File", u"", on, off},
    {mOpenFile, mnuTask, u"&Open File", u"Ctrl+O", on, off},
    {mOpenFolder, mnuTask, u"Open &Folder", u"Ctrl+F", on, off},
    {mRecent, mnuTask, u"&Recent Files", u"", off, off},
    {mRecentDir, mnuTask, u"Recent Fol&ders", u"", off, off},
    {mClose, mnuTask, u"Instant &Test", u"", on, off},
    {mSave, mnuTask, u"&Save", u"Ctrl+S", off, off},
    {mSaveAs, mnuTask, u"Save &As...", u"Ctrl+Shift+S", off, off},
    {mnuSplit2, mnuTask, u"-", u"", on, off},
    {mExit, mnuTask, u"E&xit", u"", on, off},
    {mnuProcess, "", u"&Process", u"", on, off},
    {mFind, mnuProcess, u"&Find", u"F3", off, off},
    {mExp, mnuProcess, u"&Extract", u"F4", off, off},
    {mReplace, mnuProcess, u"&Replace", u"F5", off, off},
    {mRestore, mnuProcess, u"&Restore", u"F8", off, off},
    {mNext, mnuProcess, u"&Next Match", u"Ctrl+G", off, off},
    {mPrev, mnuProcess, u"&Previous Match", u"Ctrl+Shift+G", off, off},
    {mAction, mnuProcess, u"&Action", u"", off, off},
    {mPreview, mnuProcess, u"Pre&view Replace", u"F6", off, off},
    {mPreviewAction, mnuProcess, u"Preview A&ction", u"Shift+F6", off, off},
    {mApply, mnuProcess, u"Appl&y Ticked Changes", u"F7", off, off},
    {mStop, mnuProcess, u"S&top", u"Esc", off, off},
    {mView, "", u"&View", u"", on, off},
    {mWindow, mView, u"&Window", u"", on, off},
    {mFsrc, mWindow, u"File Source Code", u"", off, on},
    {mMlist, mWindow, u"Matches List", u"", on, on},
    {msrcView, mView, u"&Source View", u"", on, off},
    {mViewIn, msrcView, u"Invisible Characters", u"", off, off},
    {mWrap, msrcView, u"Word wrap", u"", off, on},
    {mEncoding, mView, u"Reopen with &Encoding", u"", off, off},
    {mEncAuto, mEncoding, u"&Detected", u"", on, off},
    {mEncUtf8, mEncoding, u"UTF-&8", u"", on, off},
    {mEncUtf16le, mEncoding, u"UTF-16 &LE", u"", on, off},
    {mEncUtf16be, mEncoding, u"UTF-16 &BE", u"", on, off},
    {mEnc1252, mEncoding, u"&Windows-1252", u"", on, off},
    {mTools, "", u"&Tools", u"", on, off},
    {mRegEx, mTools, u"RegEx Setting", u"", on, off},
    {mIgnore, mRegEx, u"Ignore Case", u"", on, on},
    {mGlobal, mRegEx, u"Global", u"", on, on},
    {mDot, mRegEx, u"Single Line (Dot match all)", u"", on, on},
    {mLine, mRegEx, u"Multi Line (^$ match each line)", u"", on, on},
    {mUsedRegs, mTools, u"&Used Regexps", u"Ctrl+H", on, off},
    {mOptions, mTools, u"Op&tions...", u"Ctrl+T", on, off},
    {mHelp, "", u"&Help", u"", on, off},
    {mContents, mHelp, u"&Contents", u"F1", on, off},
    {mExample, mHelp, u"&Examples", u"", on, off},
    {mAbout, mHelp, u"&About ", u"", on, off},
    {mPopups, "", u"PopupMenus", u"", on, off},
    {mRegHis, mPopups, u"Used Regexps", u"", on, off},
    {mClearHis, mRegHis, u"Clear History", u"", on, off},
};

// Controls of the window, the tool strip, the left panel, the right panel and the status bar.
// Tool-strip controls to the right of the path box sit in the group Frame3 from left to
// right; their widths are the skin's choice within the group's 6450 twips.
const ControlSpec kControls[] = {
    {MainWindow, "", u"Lodestar 1.4", u"", on, off, {0, 0, 9600, 7200}},
    {ToolBar, MainWindow, u"", u"", on, off, {0, -80, 9495, 460}},
    {selFile, ToolBar, u"", u"Select File", on, off, {0, 120, 315, 300}},
    {btnOpenFolder, ToolBar, u"", u"Select Folder", on, off, {360, 120, 315, 300}},
    {inputPath, ToolBar, u"", u"", on, off, {720, 120, 2055, 285}},
    {Frame3, ToolBar, u"", u"", on, off, {2925, 120, 6450, 300}},
    {btnViewIn, Frame3, u"", u" Show/Hide Invisible Characters ", off, off, {0, 0, 330, 300}},
    {btnWrap, Frame3, u"", u" Word wrap ", off, off, {360, 0, 330, 300}},
    {View_FS, Frame3, u"fs", u" Show/Hide File Source ", off, off, {720, 0, 330, 300}},
    {View_ML, Frame3, u"", u" Show/Hide Match List ", on, off, {1080, 0, 330, 300}},
    {btnFind, Frame3, u"Find", u"", off, off, {1500, 0, 735, 300}},
    {btnPrev, Frame3, u"<", u" Previous Match (Ctrl+Shift+G) ", off, off, {2280, 0, 330, 300}},
    {btnNext, Frame3, u">", u" Next Match (Ctrl+G) ", off, off, {2640, 0, 330, 300}},
    {matchNo, Frame3, u"0", u"", off, off, {3000, 0, 900, 300}},
    {btnExp, Frame3, u"Ex", u" Export matches ", off, off, {3960, 0, 420, 300}},
    {btnReplace, Frame3, u"Replace", u" Replace All ", off, off, {4440, 0, 855, 300}},
    {btnAction,
     Frame3,
     u"Action",
     u" Perform a series of replacement ",
     off,
     off,
     {5340, 0, 735, 300}},
    {btnPreview,
     Frame3,
     u"Preview",
     u" Preview the replacement; nothing is written (F6) ",
     off,
     off,
     {6090, 0, 735, 300}},
    {btnApply, Frame3, u"Apply", u" Write the ticked changes (F7) ", off, off, {6840, 0, 600, 300}},
    {btnRestore, Frame3, u"", u" Restore ", off, off, {6090, 0, 165, 300}},
    {btnSave, Frame3, u"", u" Save ", off, off, {6270, 0, 165, 300}},
    {Frame1, MainWindow, u"", u"", on, off, {0, 360, 3030, 5790}},
    {lblReplace1, Frame1, u"Find What (Regular Expression):", u"", on, off, {135, 135, 2745, 210}},
    {chkIgnoreCase, Frame1, u"Ignore Case", u"", on, on, {135, 450, 1260, 255}},
    {chkMultiline,
     Frame1,
     u"Single Line",
     u" Dot can match linebreaks ",
     on,
     on,
     {1440, 450, 1140, 240}},
    {chkLine, Frame1, u"Multi Line", u" ^$ can match each line ", on, off, {135, 765, 1050, 240}},
    {chkGlobal, Frame1, u"Global", u" match all or match first ", on, on, {1440, 765, 840, 255}},
    {btnRegaid, Frame1, u"", u" Regex Assist", on, off, {2430, 720, 285, 285}},
    {btnRegHis, Frame1, u"", u" Recent Regex ", on, off, {2700, 720, 285, 285}},
    {inRepFrom, Frame1, u"", u"", on, off, {60, 1080, 2970, 2040}},
    {Label2, Frame1, u"Replace With(Optional):", u"", on, off, {105, 3195, 2280, 255}},
    {inRepWith, Frame1, u"", u"", on, off, {60, 3480, 2970, 1290}},
    {logtitle, Frame1, u"History", u"", on, off, {120, 4800, 615, 255}},
    {logger, Frame1, u"", u"", on, off, {60, 5040, 2970, 855}},
    {pgBarBack, Frame1, u"", u"", on, off, {110, 5995, 2870, 0}},
    {pgBarFore, Frame1, u"", u"", on, off, {110, 5995, 0, 0}},
    {splitter, MainWindow, u"", u"", on, off, {3000, 450, 150, 5055}},
    {splitshad, MainWindow, u"", u"", on, off, {3000, 450, 72, 5035}},
    {Frame2, MainWindow, u"", u"", on, off, {3105, 360, 5370, 5940}},
    {ListView, Frame2, u"", u"", on, off, {0, 90, 5370, 2475}},
    {SuperMonitor, Frame2, u"", u"", on, off, {0, 90, 5370, 3750}},
    {MatchView, Frame2, u"", u"", on, off, {0, 3990, 5370, 1950}},
    {splitter2, Frame2, u"", u"", on, off, {0, 2565, 4560, 150}},
    {splitter3, Frame2, u"", u"", on, off, {0, 3840, 4560, 150}},
    {splitshad2, Frame2, u"", u"", on, off, {0, 2565, 4560, 75}},
    {splitShad3, Frame2, u"", u"", on, off, {0, 3840, 4560, 75}},
    {statusbar, MainWindow, u"", u"", on, off, {135, 6390, 8655, 300}},
    {Label1, statusbar, u"Status:", u"", on, off, {45, 30, 720, 240}},
    {lblStatus, statusbar, u"", u"", on, off, {810, 30, 2400, 240}},
    {lblEncoding, statusbar, u"", u"", on, off, {3255, 30, 930, 240}},
    {lblLineEnds, statusbar, u"", u"", on, off, {4230, 30, 720, 240}},
    // Stop stands over the encoding while a run goes on.
    {btnStop,
     statusbar,
     u"Stop",
     u" Stop the run after the current file ",
     off,
     off,
     {3255, 0, 930, 270}},
    {Label4, statusbar, u"Total:", u"", on, off, {4230, 30, 450, 240}},
    {lblTotal, statusbar, u"", u"", on, off, {4725, 30, 945, 240}},
    {Label5, statusbar, u"Current File:", u"", on, off, {5715, 30, 945, 240}},
    {LblCurName, statusbar, u"", u"", on, off, {6705, 30, 1950, 240}},
};

// Every control that is not a button, by kind.
ControlKind kindOf(ControlId name) {
    static const std::map<std::string_view, ControlKind> kinds = {
        {MainWindow, ControlKind::Frame},       {ToolBar, ControlKind::Frame},
        {Frame1, ControlKind::Frame},           {Frame2, ControlKind::Frame},
        {Frame3, ControlKind::Frame},           {statusbar, ControlKind::Frame},
        {lblReplace1, ControlKind::Label},      {Label2, ControlKind::Label},
        {logtitle, ControlKind::Label},         {Label1, ControlKind::Label},
        {lblStatus, ControlKind::Label},        {Label4, ControlKind::Label},
        {lblTotal, ControlKind::Label},         {Label5, ControlKind::Label},
        {LblCurName, ControlKind::Label},       {inputPath, ControlKind::TextBox},
        {inRepFrom, ControlKind::TextBox},      {inRepWith, ControlKind::TextBox},
        {logger, ControlKind::TextBox},         {matchNo, ControlKind::TextBox},
        {chkIgnoreCase, ControlKind::CheckBox}, {chkMultiline, ControlKind::CheckBox},
        {chkLine, ControlKind::CheckBox},       {chkGlobal, ControlKind::CheckBox},
        {ListView, ControlKind::Pane},          {SuperMonitor, ControlKind::Pane},
        {MatchView, ControlKind::Pane},         {pgBarBack, ControlKind::Label},
        {pgBarFore, ControlKind::Label},        {splitter, ControlKind::Splitter},
        {splitshad, ControlKind::Splitter},     {splitter2, ControlKind::Splitter},
        {splitter3, ControlKind::Splitter},     {splitshad2, ControlKind::Splitter},
        {splitShad3, ControlKind::Splitter},    {lblEncoding, ControlKind::Label},
        {lblLineEnds, ControlKind::Label},
    };
    auto it = kinds.find(name);
    return it == kinds.end() ? ControlKind::Button : it->second;
}

}  // namespace

void addMainWindowControls(ControlModel& controls) {
    for (const ControlSpec& s : kControls) {
        Control c = make(s);
        c.kind = kindOf(s.name);
        controls.add(std::move(c));
    }
    for (ControlId shadow : {splitshad, splitshad2, splitShad3}) controls.setVisible(shadow, false);
    for (const MenuSpec& m : kMenus) {
        Control c;
        c.name = m.name.str();
        c.kind = ControlKind::Menu;
        c.container = m.parent;
        c.text = m.caption;
        c.shortcut = m.shortcut;
        c.enabled = m.enabled;
        c.checked = m.checked;
        controls.add(std::move(c));
    }
    controls.setVisible(mPopups, false);
    controls.setVisible(btnStop, false);  // shown while a run over a folder goes on
}

}  // namespace lodestar
