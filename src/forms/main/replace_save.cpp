// Replace in the current text, Save with the read-only question and the sibling backup,
// single-file Restore, and the Action command that runs a command file.
#include <exception>
#include <new>

#include "backups/backup.h"
#include "backups/single_save.h"
#include "core/reason.h"
#include "core/text.h"
#include "files/file_ops.h"
#include "files/paths.h"
#include "files/safe_write.h"
#include "files/text_encoding.h"
#include "files/text_file.h"
#include "forms/main/main_window.h"
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
    const std::optional<SearchRequest> request = readRequest();
    if (request && !request->empty() && patternIsValid(*request)) {
        if (MultiMode) {
            if (confirm(request->replacement().empty()
                            ? u"All matches will be deleted from files, are you sure?"
                            : u"All matches in all thses files will be replaced, are you sure?")) {
                // Cleared before the run starts, so the run's own result stands after it.
                resetMatchState();
                if (folderWork_) folderWork_->replace(*request);
                return;
            }
        } else if (confirm(request->replacement().empty()
                               ? u"All matches will be deleted, are you sure?"
                               : u"All matches will be replaced, are you sure?")) {
            SingleReplace();
        }
    }
    resetMatchState();
}

void MainWindow::SingleReplace() {
    if (doc_.text.empty()) return;
    try {
        const RegExp& expression = request_.expression();
        lastMatches.reset();
        const long long c = static_cast<long long>(expression.count(doc_.text));
        if (c < 1) {
            renderSource(doc_.text);
            logError(u"Can't find item to replace.");  // after the render's "Done."
            return;
        }
        std::u16string replaced = replaceIn(expression, doc_.text, request_.replacement());
        if (!encodingHolds(replaced)) return;
        doc_.text = std::move(replaced);
        setSaveEnabled(doc_.changed());
        setRestoreEnabled(true);
        logLine(decimal(c) + u" items replaced, click save to change the source file.");
        renderSource(doc_.text);
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
    SaveFile(doc_.path);
}

void MainWindow::saveAsCommand() {
    if (doc_.path.empty() || MultiMode) return;
    const std::u16string path =
        trimSpaces(services_.prompts.saveAs(u"Any file|*.*", ParentFolderOf(doc_.path) + u"/"));
    if (path.empty()) return;
    if (path != doc_.path && fileExists(path) &&
        !confirm(path + u" already exists. Replace it with the text shown here?"))
        return;
    SaveFile(path);
}

void MainWindow::SaveFile(const std::u16string& path) {
    const bool sameFile = path == doc_.path;
    if (!writeDocument(path, sameFile ? doc_.stamp : std::nullopt)) return;
    if (!sameFile) {
        // The text now belongs to the file it was saved as.
        doc_.path = path;
        controls_.setText("LblCurName", doc_.path);
        controls_.setText("inputPath", doc_.path);
        fileOpened();
    }
}

bool MainWindow::writeDocument(const std::u16string& path, std::optional<FileStamp> expected) {
    bool backup = false;
    try {
        const bool exists = fileExists(path);
        backup = options.backupOnReplace && exists;
        // Save As may make a new file; the file the text was read from must still be there.
        if (!exists && path != doc_.path)
            replaceFileBytes(path, encodeText(doc_.text, doc_.format), ReplaceRules{});
        else if (!saveFileText(
                     path, doc_.text,
                     {options.backupOnReplace, doc_.format, expected, u"save", options.keptSteps},
                     [this] { return confirm(u"Current file is read only, save it anyway?"); }))
            return false;
    } catch (const FileChangedError&) {
        saveOverChangedFile(path);
        return false;
    } catch (const std::exception& e) {
        // The file on disk is as it was; the text stays unsaved, and the user is told at once.
        const std::u16string message = u"Can't save the file.\r\n" + reasonOf(e);
        logError(message);
        services_.prompts.message(message, u" Warning");
        return false;
    }
    doc_.loaded = doc_.text;
    doc_.loadedFormat = doc_.format;
    doc_.stamp = stampOf(path);
    setSaveEnabled(false);
    logLine(u"Saved " + decimal(static_cast<long long>(doc_.text.size())) + u" characters to " +
            path +
            (backup ? u"; the old file is kept as " + siblingBackupOf(path) : u"; no backup"));
    setRestoreEnabled(!savedSteps(path).empty());
    return true;
}

// Nothing was written: the file holds what the other program wrote, and the text shown stays.
void MainWindow::saveOverChangedFile(const std::u16string& path) {
    const std::size_t choice = services_.prompts.choose(
        path +
            u" was changed by another program since Lodestar read it.\r\n"
            u"Overwrite: the other program's change is lost.\r\n"
            u"Reload: the file is read again and the text shown here is lost.\r\n"
            u"Save As: the text shown here goes to another file.",
        u" Warning", {u"&Overwrite", u"&Reload", u"Save &As...", u"Cancel"});
    switch (choice) {
        case 0:
            if (writeDocument(path, std::nullopt))
                logLine(u"Overwrote the change another program made to " + path);
            break;
        case 1:
            setSaveEnabled(false);  // the user chose to give the text up
            OpenFile(path);
            break;
        case 2:
            saveAsCommand();
            break;
        default:
            logError(u"Not saved: " + path + u" was changed by another program.");
    }
}

void MainWindow::restoreCommand() {
    if (MultiMode) {
        if (folderWork_) folderWork_->restore();
    } else {
        RestoreSingleFile();
    }
}

// Restore undoes the last change: unsaved replaces give the text back as the file holds it;
// otherwise the sibling backup of the last save goes back over the file, and the window then
// shows what the file holds. Window and disk agree afterwards either way.
void MainWindow::RestoreSingleFile() {
    const std::u16string name = FileNameOf(doc_.path);
    if (doc_.text != doc_.loaded) {
        if (!confirm(u"Restore " + name +
                     u" to the text the file holds? The replaced text is "
                     u"discarded."))
            return;
        resetMatchState();
        doc_.text = doc_.loaded;
        doc_.format = doc_.loadedFormat;
        showEncoding();
        renderSource(doc_.text);
        setSaveEnabled(false);
        // The steps of earlier saves can still go back with a second Restore.
        setRestoreEnabled(!savedSteps(doc_.path).empty());
        logLine(u"Restored the text of " + doc_.path +
                u" as the file holds it; the replaced text is discarded.");
        return;
    }
    const std::u16string question = restoreQuestion(doc_.path);
    if (question.empty()) {
        setRestoreEnabled(false);
        logError(u"Nothing to restore: no backup of this file was made.");
        return;
    }
    const bool changedElsewhere = stampOf(doc_.path) != doc_.stamp;
    if (!confirm(question + (changedElsewhere ? u"\r\nAnother program changed the file since "
                                                u"Lodestar read it; that change is replaced too."
                                              : u"")))
        return;
    resetMatchState();
    SingleRestore result;
    try {
        result = restoreSingleFile(doc_.path);
    } catch (const std::exception& e) {
        logError(u"Can't restore the file.\r\n" + reasonOf(e));
        return;
    }
    if (!result.restored) {
        logError(result.message);
        setRestoreEnabled(!savedSteps(doc_.path).empty());
        return;
    }
    logLine(result.message + (result.stepsLeft > 0
                                  ? u" " + decimal(static_cast<long long>(result.stepsLeft)) +
                                        u" earlier steps remain."
                                  : u""));
    setRestoreEnabled(result.stepsLeft > 0);
    SharedText text;
    if (!reloadText(text)) return;
    doc_.loaded = text;
    doc_.text = text;
    renderSource(doc_.text);
}

void MainWindow::actionCommand() {
    const std::u16string path = services_.prompts.openFile(
        kCommandFilter, MultiMode ? std::u16string() : programFolder_ + u"rep/");
    if (path.empty()) return;
    if (!fileExists(path)) {
        logError(u"The command file does not exist.");
        return;
    }
    // The commands start from the last pattern under the ticked switches; what they leave on
    // their expression goes with it.
    RegExp expression = request_.expression();
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
    const std::u16string commandFile = FileNameOf(path);
    if (MultiMode) {
        const std::size_t ticked = folderWork_ ? folderWork_->tickedFiles() : 0;
        if (ticked == 0) {
            logError(u"No file is ticked: the commands of " + commandFile + u" ran nowhere.");
            return;
        }
        if (!confirm(u"Run " + commandFile + u" on " + decimal(static_cast<long long>(ticked)) +
                     (ticked == 1 ? u" ticked file?" : u" ticked files?")))
            return;
    } else if (!confirm(u"Run " + commandFile + u" on " + FileNameOf(doc_.path) + u"?")) {
        return;
    }
    if (MultiMode) {
        resetMatchState();
        if (folderWork_) folderWork_->runCommands(commands, request_);
        return;
    }
    std::u16string result;
    try {
        if (commands.empty()) logLine(std::u16string(kNoCommandsLoadedMessage));
        result = ApplyCommands(commands, doc_.text, expression);
    } catch (const std::exception& e) {
        // The text in memory is unchanged.
        logError(std::u16string(kRepFileError) + u"\r\n" + reasonOf(e));
        return;
    }
    if (!encodingHolds(result)) return;
    logLine(u"Batch replace completed.");
    resetMatchState();
    doc_.text = std::move(result);
    setSaveEnabled(doc_.changed());
    setRestoreEnabled(true);
    renderSource(doc_.text);
}

}  // namespace lodestar
