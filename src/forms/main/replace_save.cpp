// Replace in the current text, Save with the read-only question and the sibling backup,
// single-file Restore, and the Action command that runs a command file.
#include <exception>

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
}  // namespace

void MainWindow::replaceCommand() {
    if (getRepParam() && !searchPattern.empty()) {
        if (MultiMode) {
            if (confirm(replaceText.empty()
                            ? u"All matches will be deleted from files, are you sure?"
                            : u"All matches in all thses files will be replaced, are you sure?")) {
                if (folderWork_) folderWork_->ReplaceAllFiles(*this);
                if (!curFileName.empty()) reloadCurrentFile();
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
        lastMatches = expression.execute(txtDoc);
        const long long c = static_cast<long long>(lastMatches.size());
        if (c < 1) {
            logError(u"Can't find item to replace.");
        } else {
            std::u16string replaced = replaceIn(expression, txtDoc, replaceText);
            if (!encodingHolds(replaced)) return;
            txtDoc = std::move(replaced);
            setSaveEnabled(true);
            setRestoreEnabled(true);
            logLine(decimal(c) + u" items replaced, click save to change the source file.");
        }
        renderSource(txtDoc);
    } catch (const std::exception&) {
        logError(kRegexError);
    }
}

void MainWindow::saveCommand() {
    SaveFile(curFileName);
}

void MainWindow::SaveFile(const std::u16string& path) {
    try {
        if (isReadOnly(path)) {
            if (!confirm(u"Current file is read only, save it anyway?")) return;
            clearReadOnly(path);
        }
        saveWithBackup(path, txtDoc, options.backupOnReplace, curFormat);
    } catch (const Error& e) {
        // The file on disk is as it was; the text stays unsaved.
        logError(u"Can't save the file.\r\n" + fromUtf8(e.what()));
        return;
    }
    setSaveEnabled(false);
}

void MainWindow::restoreCommand() {
    if (MultiMode) {
        if (folderWork_) folderWork_->RestoreFolder(*this);
    } else {
        RestoreSingleFile();
    }
}

void MainWindow::RestoreSingleFile() {
    renderSource(LoadedText);
    txtDoc = LoadedText;
    curFormat = loadedFormat;
    if (!curFileName.empty()) showEncoding();
    if (!controls_["btnSave"].enabled) {
        // The replaced text was saved: the sibling backup goes back in one atomic step.
        try {
            SingleRestore result = restoreSingleFile(curFileName);
            if (!result.restored) logError(result.message);
        } catch (const Error& e) {
            logError(fromUtf8(e.what()));
        }
    }
    setRestoreEnabled(false);
    setSaveEnabled(false);
}

void MainWindow::actionCommand() {
    const std::u16string path = services_.prompts.openFile(
        kCommandFilter, MultiMode ? std::u16string() : programFolder_ + u"rep/");
    if (path.empty()) return;
    if (!fileExists(path)) {
        logError(u"The command file does not exist.");
        return;
    }
    try {
        auto parsed = ParseCommandFile(path, expression, options.escapeSupport);
        if (!parsed) {
            logError(std::u16string(kCommandNotFoundMessage));
            return;
        }
        commands = std::move(*parsed);
    } catch (const std::exception&) {
        logError(kRepFileError);
        return;
    }
    if (MultiMode) {
        if (folderWork_) folderWork_->BatchAllFiles(*this, path);
        if (!curFileName.empty()) reloadCurrentFile();
        resetMatchState();
        return;
    }
    std::u16string result;
    try {
        if (commands.empty()) logLine(std::u16string(kNoCommandsLoadedMessage));
        result = ApplyCommands(commands, txtDoc, expression);
    } catch (const std::exception&) {
        logError(kRepFileError);  // the text in memory is unchanged
        return;
    }
    if (!encodingHolds(result)) return;
    logLine(u"Batch replace completed.");
    setSaveEnabled(true);
    setRestoreEnabled(true);
    resetMatchState();
    txtDoc = std::move(result);
    renderSource(txtDoc);
}

}  // namespace lodestar
