// The names of every window's controls and menu entries as typed ids. The names are the
// window design's and stay the contract between a form, its skin and the tests; the code refers
// to a control by its id here, so a misspelt name does not compile. Where a name does not say
// what the user sees, its line says the caption (or the tooltip of a picture button).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lodestar {

// A control's name. It reads as the name wherever a name is asked for (the control model takes
// either), and compares equal to the same name as text.
class ControlId {
  public:
    constexpr explicit ControlId(std::string_view name) : name_(name) {}
    constexpr std::string_view name() const { return name_; }
    std::string str() const { return std::string(name_); }
    constexpr operator std::string_view() const { return name_; }

    friend constexpr bool operator==(ControlId a, ControlId b) { return a.name_ == b.name_; }
    friend constexpr bool operator==(ControlId a, std::string_view b) { return a.name_ == b; }

  private:
    std::string_view name_;
};

// A numbered run of menu entries made while the program runs: "mRegs(0)", "mRegs(1)", ...
class ControlSeries {
  public:
    constexpr explicit ControlSeries(std::string_view stem) : stem_(stem) {}
    // The name of entry `index`.
    std::string operator()(std::size_t index) const {
        return std::string(stem_) + '(' + std::to_string(index) + ')';
    }
    // The index of an entry of this run; nothing for any other name.
    std::optional<std::size_t> indexOf(std::string_view name) const {
        if (name.size() < stem_.size() + 3 || name.substr(0, stem_.size()) != stem_ ||
            name[stem_.size()] != '(' || name.back() != ')')
            return std::nullopt;
        const std::string_view digits =
            name.substr(stem_.size() + 1, name.size() - stem_.size() - 2);
        std::size_t index = 0;
        for (const char d : digits) {
            if (d < '0' || d > '9' || index > 100000) return std::nullopt;
            index = index * 10 + static_cast<std::size_t>(d - '0');
        }
        return index;
    }

  private:
    std::string_view stem_;
};

#define LODESTAR_CONTROL(id)        \
    inline constexpr ControlId id { \
#id                         \
    }

// ---- The main window ----------------------------------------------------------------------------
namespace main_ids {
LODESTAR_CONTROL(MainWindow);  // the window itself; its text is the title
LODESTAR_CONTROL(ToolBar);
LODESTAR_CONTROL(selFile);        // picture button "Select File": the Open File dialog
LODESTAR_CONTROL(btnOpenFolder);  // picture button "Select Folder"
LODESTAR_CONTROL(inputPath);      // the path box: the open file or folder
LODESTAR_CONTROL(Frame3);         // the group of tool-strip buttons right of the path box
LODESTAR_CONTROL(btnViewIn);      // picture button "Show/Hide Invisible Characters"
LODESTAR_CONTROL(btnWrap);        // picture button "Word wrap"
LODESTAR_CONTROL(View_FS);        // "fs": show or hide the source view (struck through: hidden)
LODESTAR_CONTROL(View_ML);        // picture button "Show/Hide Match List"
LODESTAR_CONTROL(btnFind);
LODESTAR_CONTROL(btnPrev);        // "<": previous match
LODESTAR_CONTROL(btnNext);        // ">": next match
LODESTAR_CONTROL(matchNo);        // the match counter "3/12"
LODESTAR_CONTROL(btnExp);         // "Ex": the export dialog
LODESTAR_CONTROL(btnReplace);     // "Replace": Replace All
LODESTAR_CONTROL(btnAction);      // "Action": runs a command file
LODESTAR_CONTROL(btnPreview);     // "Preview": Replace worked out, nothing written
LODESTAR_CONTROL(btnApply);       // "Apply": writes the ticked changes of the preview
LODESTAR_CONTROL(btnRestore);     // picture button "Restore"
LODESTAR_CONTROL(btnSave);        // picture button "Save"; on while the text is unsaved
LODESTAR_CONTROL(Frame1);         // the left panel
LODESTAR_CONTROL(lblReplace1);    // "Find What (Regular Expression):"
LODESTAR_CONTROL(chkIgnoreCase);  // "Ignore Case"
LODESTAR_CONTROL(chkMultiline);   // "Single Line": the dot matches line breaks
LODESTAR_CONTROL(chkLine);        // "Multi Line": ^ and $ match at each line
LODESTAR_CONTROL(chkGlobal);      // "Global": every match, or the first only
LODESTAR_CONTROL(btnRegaid);      // picture button "Regex Assist": the pattern assistant
LODESTAR_CONTROL(btnRegHis);      // picture button "Recent Regex": the "Used Regexps" menu
LODESTAR_CONTROL(inRepFrom);      // the pattern box
LODESTAR_CONTROL(Label2);         // "Replace With(Optional):"
LODESTAR_CONTROL(inRepWith);      // the replacement box
LODESTAR_CONTROL(logtitle);       // "History"
LODESTAR_CONTROL(logger);         // the log under "History"
LODESTAR_CONTROL(pgBarBack);      // the progress bar's track
LODESTAR_CONTROL(pgBarFore);      // the progress bar's filled part
LODESTAR_CONTROL(splitter);       // the bar between the left panel and the panes
LODESTAR_CONTROL(splitshad);      // its drag shadow
LODESTAR_CONTROL(Frame2);         // the right panel with the panes
LODESTAR_CONTROL(ListView);       // the pane with the folder's file table
LODESTAR_CONTROL(SuperMonitor);   // the source view pane
LODESTAR_CONTROL(MatchView);      // the match list pane
LODESTAR_CONTROL(splitter2);      // the bar under the file table
LODESTAR_CONTROL(splitter3);      // the bar above the match list
LODESTAR_CONTROL(splitshad2);     // drag shadow of splitter2
LODESTAR_CONTROL(splitShad3);     // drag shadow of splitter3
LODESTAR_CONTROL(statusbar);
LODESTAR_CONTROL(Label1);       // "Status:"
LODESTAR_CONTROL(lblStatus);    // the status line
LODESTAR_CONTROL(lblEncoding);  // the shown file's encoding
LODESTAR_CONTROL(lblLineEnds);  // the shown file's line ends: "CRLF", "LF", "CR" or "Mixed"
LODESTAR_CONTROL(btnStop);      // "Stop", over the encoding while work goes on
LODESTAR_CONTROL(Label4);       // "Total:"
LODESTAR_CONTROL(lblTotal);
LODESTAR_CONTROL(Label5);      // "Current File:"
LODESTAR_CONTROL(LblCurName);  // the current file's name

// The menus.
LODESTAR_CONTROL(mnuTask);  // "File"
LODESTAR_CONTROL(mOpenFile);
LODESTAR_CONTROL(mOpenFolder);
LODESTAR_CONTROL(mRecent);     // "Recent Files"; its entries are mRecentFile(1)..(10)
LODESTAR_CONTROL(mRecentDir);  // "Recent Folders"
LODESTAR_CONTROL(mClose);      // "Instant Test": closes the file for a pattern typed on the spot
LODESTAR_CONTROL(mSave);
LODESTAR_CONTROL(mSaveAs);
LODESTAR_CONTROL(mnuSplit2);  // a separator
LODESTAR_CONTROL(mExit);
LODESTAR_CONTROL(mnuProcess);  // "Process"
LODESTAR_CONTROL(mFind);
LODESTAR_CONTROL(mExp);  // "Extract": the export dialog
LODESTAR_CONTROL(mReplace);
LODESTAR_CONTROL(mRestore);
LODESTAR_CONTROL(mNext);  // "Next Match"
LODESTAR_CONTROL(mPrev);  // "Previous Match"
LODESTAR_CONTROL(mAction);
LODESTAR_CONTROL(mPreview);        // "Preview Replace"
LODESTAR_CONTROL(mPreviewAction);  // "Preview Action": the command file's result
LODESTAR_CONTROL(mApply);          // "Apply Ticked Changes"
LODESTAR_CONTROL(mStop);
LODESTAR_CONTROL(mView);
LODESTAR_CONTROL(mWindow);
LODESTAR_CONTROL(mFsrc);      // "File Source Code": the source view shown
LODESTAR_CONTROL(mMlist);     // "Matches List": the match list shown
LODESTAR_CONTROL(msrcView);   // "Source View"
LODESTAR_CONTROL(mViewIn);    // "Invisible Characters"
LODESTAR_CONTROL(mWrap);      // "Word wrap"
LODESTAR_CONTROL(mEncoding);  // "Reopen with Encoding"
LODESTAR_CONTROL(mEncAuto);   // "Detected"
LODESTAR_CONTROL(mEncUtf8);
LODESTAR_CONTROL(mEncUtf16le);
LODESTAR_CONTROL(mEncUtf16be);
LODESTAR_CONTROL(mEnc1252);  // "Windows-1252"
LODESTAR_CONTROL(mTools);
LODESTAR_CONTROL(mRegEx);   // "RegEx Setting": the four switches
LODESTAR_CONTROL(mIgnore);  // "Ignore Case"
LODESTAR_CONTROL(mGlobal);
LODESTAR_CONTROL(mDot);       // "Single Line (Dot match all)", twin of chkMultiline
LODESTAR_CONTROL(mLine);      // "Multi Line (^$ match each line)", twin of chkLine
LODESTAR_CONTROL(mUsedRegs);  // "Used Regexps": the pop-up of used patterns, from the keyboard
LODESTAR_CONTROL(mOptions);
LODESTAR_CONTROL(mHelp);
LODESTAR_CONTROL(mContents);
LODESTAR_CONTROL(mExample);  // "Examples"
LODESTAR_CONTROL(mAbout);
LODESTAR_CONTROL(mPopups);    // the hidden holder of the pop-up menus
LODESTAR_CONTROL(mRegHis);    // "Used Regexps", the pop-up under btnRegHis
LODESTAR_CONTROL(mClearHis);  // "Clear History"
// "mRegs(1)" onwards: the used patterns, newest first.
inline constexpr ControlSeries mRegs{"mRegs"};
// "mRecent(1)" .. "mRecent(10)": the Recent Files, newest first.
inline constexpr ControlSeries mRecentFile{"mRecent"};
// "mRecentDir(1)" .. "mRecentDir(10)": the Recent Folders, newest first.
inline constexpr ControlSeries mRecentFolder{"mRecentDir"};
}  // namespace main_ids

// ---- The folder picker "Select Folder"
// ------------------------------------------------------------
namespace folder_ids {
LODESTAR_CONTROL(FolderDlg);
LODESTAR_CONTROL(lblPath);  // "Folder"
LODESTAR_CONTROL(txtPath);  // the chosen folder as typed; Enter goes there
LODESTAR_CONTROL(Drive1);   // the drives (mount points)
LODESTAR_CONTROL(Dir1);     // the folder tree; its text is the chosen folder
LODESTAR_CONTROL(chkSubfolders);
LODESTAR_CONTROL(Label4);   // "Exclude"
LODESTAR_CONTROL(exclude);  // paths left out, separated by ";"
LODESTAR_CONTROL(chkFollowLinks);
LODESTAR_CONTROL(Label1);     // "File type"
LODESTAR_CONTROL(filter);     // the file types, the last one "Other"
LODESTAR_CONTROL(Label3);     // "Other type *."
LODESTAR_CONTROL(newfilter);  // the other type's extensions
LODESTAR_CONTROL(File1);      // the files the type picks in the chosen folder
LODESTAR_CONTROL(btnOK);
LODESTAR_CONTROL(btnCancel);
}  // namespace folder_ids

// ---- The export dialog "Export" -----------------------------------------------------------------
namespace export_ids {
LODESTAR_CONTROL(frmExport);
LODESTAR_CONTROL(lblType);    // "Type"
LODESTAR_CONTROL(selExType);  // TXT, HTML or XML
LODESTAR_CONTROL(framDelimiter);
LODESTAR_CONTROL(lblSelect);     // "Select"
LODESTAR_CONTROL(selDelimiter);  // the type's delimiters
LODESTAR_CONTROL(lblInput);      // "or Input"
LODESTAR_CONTROL(inDelimiter);   // the delimiter as typed, escapes allowed
LODESTAR_CONTROL(lblSaveTo);     // "Save to"
LODESTAR_CONTROL(inExFileName);
LODESTAR_CONTROL(setExFile);  // "Set": the Save As dialog
LODESTAR_CONTROL(chkPlaces);  // "With file, line and column"
LODESTAR_CONTROL(btnOK);      // "Export"
LODESTAR_CONTROL(btnCancel);
}  // namespace export_ids

// ---- The options dialog "Options" ---------------------------------------------------------------
namespace options_ids {
LODESTAR_CONTROL(OptionSetting);
LODESTAR_CONTROL(Others);    // the frame of the settings
LODESTAR_CONTROL(Check2);    // "Back up file(s) when replace"
LODESTAR_CONTROL(Label4);    // "Backup Folder:"
LODESTAR_CONTROL(txtBak);    // the backup folder's name
LODESTAR_CONTROL(Label5);    // "Steps:"
LODESTAR_CONTROL(txtSteps);  // how many steps Restore can take back
LODESTAR_CONTROL(CRLFSet);   // "Support \r,\n,\t in Repwith"
LODESTAR_CONTROL(countChk);  // "Count Matches When Replace"
LODESTAR_CONTROL(Label8);    // "Source Code Font:"
LODESTAR_CONTROL(selFont);
LODESTAR_CONTROL(syntaxChk);  // "Show Syntax in Source View"
LODESTAR_CONTROL(Label1);     // "RegExp Font"
LODESTAR_CONTROL(selRegFontName);
LODESTAR_CONTROL(selRegFontSize);
LODESTAR_CONTROL(Command1);  // "OK"
LODESTAR_CONTROL(Command2);  // "Cancel"
}  // namespace options_ids

// ---- The pattern assistant "RegEx Assistant" ----------------------------------------------------
namespace assist_ids {
LODESTAR_CONTROL(RegAssist);
LODESTAR_CONTROL(txtTmpReg);    // the pattern being composed
LODESTAR_CONTROL(txtExp);       // the description of the last pick
LODESTAR_CONTROL(Label1);       // "Meta Char"
LODESTAR_CONTROL(selMetaChar);  // "Common Char"
LODESTAR_CONTROL(selSymbol);    // "Reserved Symbols"
LODESTAR_CONTROL(selLimit);     // "Limitation"
LODESTAR_CONTROL(selRepeat);    // "Repeat"
LODESTAR_CONTROL(selRegExp);    // "Expression Preset"
LODESTAR_CONTROL(chkAdd);       // "Insert": a preset goes in as a step, else replaces all
LODESTAR_CONTROL(btnUndo);
LODESTAR_CONTROL(btnRedo);
LODESTAR_CONTROL(btnClear);
LODESTAR_CONTROL(btnOk);     // "OK": the pattern goes into the main window's pattern box
LODESTAR_CONTROL(Command1);  // "Close"
}  // namespace assist_ids

#undef LODESTAR_CONTROL

}  // namespace lodestar
