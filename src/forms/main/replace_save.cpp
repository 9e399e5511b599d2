// Replace in the current text, Save with the read-only question and the sibling backup,
// single-file Restore, and the Action command that runs a command file.
#include <exception>
#include <new>

#include "core/reason.h"
#include "core/text.h"
#include "files/file_ops.h"
#include "files/paths.h"
#include "forms/main/main_window.h"
#include "replace/backup.h"
#include "search/expression_ops.h"

namespace lodestar {

namespace {
constexpr char16_t kRegexError[] =
    u"Regular Expression Error \r\nPlease examine your regular expression.";
constexpr char16_t kRepFileError[] =
    u"Rep File Error.\r\nPlease check your rep file or rep commands inside.";
constexpr char16_t kCommandFilter[] = u"rep cmds(*.rep)|*.rep";

// The engine's switches as they were; put back when it goes out of scope, so that a command
// file's "cs" applies to its own commands only.
class SwitchesKept {
  public:
    explicit SwitchesKept(RegExp& e)
        : e_(e), ignoreCase_(e.ignoreCase()), global_(e.global()), multiline_(e.multiline()) {}
    ~SwitchesKept() {
        e_.setIgnoreCase(ignoreCase_);
        e_.setGlobal(global_);
        e_.setMultiline(multiline_);
    }
    SwitchesKept(const SwitchesKept&) = delete;
    SwitchesKept& operator=(const SwitchesKept&) = delete;

  private:
    RegExp& e_;
    bool ignoreCase_, global_, multiline_;
};
}  // namespace

void MainWindow::replaceCommand() {
    if (getRepParam() && !searchPattern.empty() && patternIsValid()) {
        if (MultiMode) {
            if (confirm(replaceText.empty()
                            ? u"All matches will be deleted from files, are you sure?"
                            : u"All matches in all thses files will be replaced, are you sure?")) {
                // Cleared before the run starts, so the run's own result stands after it.
                resetMatchState();
                if (folderWork_) folderWork_->ReplaceAllFiles(*this);
                return;
            }
        } else if (confirm(replaceText.empty() ? u"All matches will be deleted, are you sure?"
                                               : u"All matches will be replaced, are you sure?")) {
            SingleReplace();
        }
    }
    resetMatchState();
}

void MainWindow::SingleReplace() {
    if (txtDoc.empty()) return;
    try {
        expression.setPattern(searchPattern);
        lastMatches.reset();
        const long long c = static_cast<long long>(expression.count(txtDoc));
        if (c < 1) {
            renderSource(txtDoc);
            logError(u"Can't find item to replace.");  // after the render's "Done."
            return;
        }
        std::u16string replaced = replaceIn(expression, txtDoc, replaceText);
        if (!encodingHolds(replaced)) return;
        txtDoc = std::move(replaced);
        setSaveEnabled(txtDoc != LoadedText || curFormat != loadedFormat);
        setRestoreEnabled(true);
        logLine(decimal(c) + u" items replaced, click save to change the source file.");
        renderSource(txtDoc);
    } catch (const std::bad_alloc&) {
        // A replacement that outgrows memory leaves the text as it was.
        logError(u"Error in Replace.\r\nNot enough memory for the replaced text.");
    } catch (const RegExpError& e) {
        logError(std::u16string(kRegexError) + u"\r\n" + fromUtf8(e.what()));
    } catch (const std::exception& e) {
        logError(u"Error in Replace.\r\n" + reasonOf(e));
    }
}

void MainWindow::saveCommand() {
    SaveFile(curFileName);
}

void MainWindow::SaveFile(const std::u16string& path) {
    bool backup = false;
    try {
        if (isReadOnly(path)) {
            if (!confirm(u"Current file is read only, save it anyway?")) return;
            clearReadOnly(path);
        }
        backup = options.backupOnReplace && fileExists(path);
        saveWithBackup(path, txtDoc, options.backupOnReplace, curFormat);
        backupSaved_ = backupSaved_ || backup;
    } catch (const std::exception& e) {
        // The file on disk is as it was; the text stays unsaved, and the user is told at once.
        const std::u16string message = u"Can't save the file.\r\n" + reasonOf(e);
        logError(message);
        services_.prompts.message(message, u" Warning");
        return;
    }
    LoadedText = txtDoc;
    loadedFormat = curFormat;
    setSaveEnabled(false);
    logLine(u"Saved " + decimal(static_cast<long long>(txtDoc.size())) + u" characters to " + path +
            (backup ? u"; the old file is kept as " + siblingBackupPath(path) : u"; no backup"));
}

void MainWindow::restoreCommand() {
    if (MultiMode) {
        if (folderWork_) folderWork_->RestoreFolder(*this);
    } else {
        RestoreSingleFile();
    }
}

// Restore undoes the last change: unsaved replaces give the text back as the file holds it;
// otherwise the sibling backup of the last save goes back over the file, and the window then
// shows what the file holds. Window and disk agree afterwards either way.
void MainWindow::RestoreSingleFile() {
    resetMatchState();
    if (txtDoc != LoadedText) {
        txtDoc = LoadedText;
        curFormat = loadedFormat;
        showEncoding();
        renderSource(txtDoc);
        setSaveEnabled(false);
        // The backup of an earlier save can still go back with a second Restore.
        setRestoreEnabled(backupSaved_);
        logLine(u"Restored the text of " + curFileName +
                u" as the file holds it; the replaced text is discarded.");
        return;
    }
    setRestoreEnabled(false);
    if (!backupSaved_) {
        logError(u"Nothing to restore: no backup of this file was made.");
        return;
    }
    const std::u16string backup = siblingBackupPath(curFileName);
    try {
        SingleRestore result = restoreSingleFile(curFileName);
        if (!result.restored) {
            logError(result.message);
            return;
        }
    } catch (const std::exception& e) {
        logError(u"Can't restore the file.\r\n" + reasonOf(e));
        return;
    }
    backupSaved_ = false;
    logLine(u"Restored " + curFileName + u" from its backup " + backup);
    SharedText text;
    if (!reloadText(text)) return;
    LoadedText = text;
    txtDoc = text;
    renderSource(txtDoc);
}

void MainWindow::actionCommand() {
    const std::u16string path = services_.prompts.openFile(
        kCommandFilter, MultiMode ? std::u16string() : programFolder_ + u"rep/");
    if (path.empty()) return;
    if (!fileExists(path)) {
        logError(u"The command file does not exist.");
        return;
    }
    SwitchesKept userSwitches(expression);
    try {
        auto parsed = ParseCommandFile(path, expression, options.escapeSupport);
        if (!parsed) {
            logError(std::u16string(kCommandNotFoundMessage));
            return;
        }
        commands = std::move(*parsed);
    } catch (const std::exception& e) {
        logError(std::u16string(kRepFileError) + u"\r\n" + reasonOf(e));
        return;
    }
    if (MultiMode) {
        resetMatchState();
        if (folderWork_) folderWork_->BatchAllFiles(*this);
        return;
    }
    std::u16string result;
    try {
        if (commands.empty()) logLine(std::u16string(kNoCommandsLoadedMessage));
        result = ApplyCommands(commands, txtDoc, expression);
    } catch (const std::exception& e) {
        // The text in memory is unchanged.
        logError(std::u16string(kRepFileError) + u"\r\n" + reasonOf(e));
        return;
    }
    if (!encodingHolds(result)) return;
    logLine(u"Batch replace completed.");
    resetMatchState();
    txtDoc = std::move(result);
    setSaveEnabled(txtDoc != LoadedText || curFormat != loadedFormat);
    setRestoreEnabled(true);
    renderSource(txtDoc);
}

}  // namespace lodestar
