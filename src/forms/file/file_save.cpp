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
#include "forms/file/file_scope.h"
#include "forms/model/control_ids.h"
#include "forms/preview/run_questions.h"
#include "search/expression_ops.h"

namespace lodestar {

namespace {
constexpr char16_t kRegexError[] =
    u"Regular Expression Error \r\nPlease examine your regular expression.";
constexpr char16_t kRepFileError[] =
    u"Rep File Error.\r\nPlease check your rep file or rep commands inside.";
constexpr char16_t kCommandFilter[] = u"rep cmds(*.rep)|*.rep";

}  // namespace

// The question counts the matches in the text; a pattern the count fails on is asked about
// without a count, and the replace itself reports the failure.
void FileScope::replace(const SearchRequest& request) {
    std::optional<std::size_t> matches;
    try {
        matches = request.expression().count(doc_.text);
    } catch (const std::exception&) {
    }
    if (matches == 0u) return singleReplace(request);  // which says there is nothing to replace
    const std::u16string name = doc_.path.empty() ? u"the text" : FileNameOf(doc_.path);
    if (host_.confirm(fileReplaceQuestion(request.replacement().empty(), matches, name)))
        singleReplace(request);
}

void FileScope::singleReplace(const SearchRequest& request) {
    if (doc_.text.empty()) return;
    try {
        const RegExp& expression = request.expression();
        lastMatches_.reset();
        const long long c = static_cast<long long>(expression.count(doc_.text));
        if (c < 1) {
            renderSource(doc_.text);
            host_.logError(u"Can't find item to replace.");  // after the render's "Done."
            return;
        }
        std::u16string replaced = replaceIn(expression, doc_.text, request.replacement());
        if (!encodingHolds(replaced)) return;
        doc_.text = std::move(replaced);
        host_.setSaveEnabled(doc_.changed());
        host_.setRestoreEnabled(true);
        host_.logLine(decimal(c) + u" items replaced, click save to change the source file.");
        renderSource(doc_.text);
    } catch (const std::bad_alloc&) {
        // A replacement that outgrows memory leaves the text as it was.
        host_.logError(u"Error in Replace.\r\nNot enough memory for the replaced text.");
    } catch (const RegExpError& e) {
        host_.logError(std::u16string(kRegexError) + u"\r\n" + fromUtf8(e.what()));
    } catch (const std::exception& e) {
        host_.logError(u"Error in Replace.\r\n" + reasonOf(e));
    }
}

void FileScope::saveAs() {
    if (doc_.path.empty() || host_.inFolderMode()) return;
    const std::u16string path =
        trimSpaces(prompts_.saveAs(u"Any file|*.*", ParentFolderOf(doc_.path) + u"/"));
    if (path.empty()) return;
    if (path != doc_.path && fileExists(path) &&
        !host_.confirm(path + u" already exists. Replace it with the text shown here?"))
        return;
    saveFile(path);
}

void FileScope::saveFile(const std::u16string& path) {
    const bool sameFile = path == doc_.path;
    if (!writeDocument(path, sameFile ? doc_.stamp : std::nullopt)) return;
    if (!sameFile) {
        // The text now belongs to the file it was saved as.
        doc_.path = path;
        controls().setText(main_ids::LblCurName, doc_.path);
        controls().setText(main_ids::inputPath, doc_.path);
        host_.fileOpened();
    }
}

bool FileScope::writeDocument(const std::u16string& path, std::optional<FileStamp> expected) {
    bool backup = false;
    try {
        const bool exists = fileExists(path);
        backup = options().backupOnReplace && exists;
        // Save As may make a new file; the file the text was read from must still be there.
        if (!exists && path != doc_.path)
            replaceFileBytes(path, encodeText(doc_.text, doc_.format), ReplaceRules{});
        else if (!saveFileText(path, doc_.text,
                               {options().backupOnReplace, doc_.format, expected, u"save",
                                options().keptSteps},
                               [this] {
                                   return host_.confirm(
                                       u"Current file is read only, save it anyway?");
                               }))
            return false;
    } catch (const FileChangedError&) {
        saveOverChangedFile(path);
        return false;
    } catch (const std::exception& e) {
        // The file on disk is as it was; the text stays unsaved, and the user is told at once.
        const std::u16string message = u"Can't save the file.\r\n" + reasonOf(e);
        host_.logError(message);
        prompts_.message(message, u" Warning");
        return false;
    }
    doc_.loaded = doc_.text;
    doc_.loadedFormat = doc_.format;
    doc_.stamp = stampOf(path);
    host_.setSaveEnabled(false);
    host_.logLine(
        u"Saved " + decimal(static_cast<long long>(doc_.text.size())) + u" characters to " + path +
        (backup ? u"; the old file is kept as " + siblingBackupOf(path) : u"; no backup"));
    host_.setRestoreEnabled(!savedSteps(path).empty());
    return true;
}

// Nothing was written: the file holds what the other program wrote, and the text shown stays.
void FileScope::saveOverChangedFile(const std::u16string& path) {
    const std::size_t choice =
        prompts_.choose(path +
                            u" was changed by another program since Lodestar read it.\r\n"
                            u"Overwrite: the other program's change is lost.\r\n"
                            u"Reload: the file is read again and the text shown here is lost.\r\n"
                            u"Save As: the text shown here goes to another file.",
                        u" Warning", {u"&Overwrite", u"&Reload", u"Save &As...", u"Cancel"});
    switch (choice) {
        case 0:
            if (writeDocument(path, std::nullopt))
                host_.logLine(u"Overwrote the change another program made to " + path);
            break;
        case 1:
            host_.setSaveEnabled(false);  // the user chose to give the text up
            open(path);
            break;
        case 2:
            saveAs();
            break;
        default:
            host_.logError(u"Not saved: " + path + u" was changed by another program.");
    }
}

// Restore undoes the last change: unsaved replaces give the text back as the file holds it;
// otherwise the sibling backup of the last save goes back over the file, and the window then
// shows what the file holds. Window and disk agree afterwards either way.
void FileScope::restore() {
    const std::u16string name = FileNameOf(doc_.path);
    if (doc_.text != doc_.loaded) {
        if (!host_.confirm(u"Restore " + name +
                           u" to the text the file holds? The replaced text is "
                           u"discarded."))
            return;
        resetMatchState();
        doc_.text = doc_.loaded;
        doc_.format = doc_.loadedFormat;
        showEncoding();
        renderSource(doc_.text);
        host_.setSaveEnabled(false);
        // The steps of earlier saves can still go back with a second Restore.
        host_.setRestoreEnabled(!savedSteps(doc_.path).empty());
        host_.logLine(u"Restored the text of " + doc_.path +
                      u" as the file holds it; the replaced text is discarded.");
        return;
    }
    const std::u16string question = restoreQuestion(doc_.path);
    if (question.empty()) {
        host_.setRestoreEnabled(false);
        host_.logError(u"Nothing to restore: no backup of this file was made.");
        return;
    }
    const bool changedElsewhere = stampOf(doc_.path) != doc_.stamp;
    if (!host_.confirm(question + (changedElsewhere
                                       ? u"\r\nAnother program changed the file since "
                                         u"Lodestar read it; that change is replaced too."
                                       : u"")))
        return;
    resetMatchState();
    SingleRestore result;
    try {
        result = restoreSingleFile(doc_.path);
    } catch (const std::exception& e) {
        host_.logError(u"Can't restore the file.\r\n" + reasonOf(e));
        return;
    }
    if (!result.restored) {
        host_.logError(result.message);
        host_.setRestoreEnabled(!savedSteps(doc_.path).empty());
        return;
    }
    host_.logLine(result.message + (result.stepsLeft > 0
                                        ? u" " + decimal(static_cast<long long>(result.stepsLeft)) +
                                              u" earlier steps remain."
                                        : u""));
    host_.setRestoreEnabled(result.stepsLeft > 0);
    SharedText text;
    if (!reloadText(text)) return;
    doc_.loaded = text;
    doc_.text = text;
    renderSource(doc_.text);
}

std::optional<CommandFileRun> FileScope::readCommandFile(bool inFolder) {
    const std::u16string path = prompts_.openFile(
        kCommandFilter, inFolder ? std::u16string() : host_.programFolder() + u"rep/");
    if (path.empty()) return std::nullopt;
    if (!fileExists(path)) {
        host_.logError(u"The command file does not exist.");
        return std::nullopt;
    }
    // The commands start from the last pattern under the ticked switches; what they leave on
    // their expression goes with it.
    CommandFileRun run{path, {}, host_.request().expression()};
    try {
        auto parsed = ParseCommandFile(path, run.expression, options().escapeSupport);
        if (!parsed) {
            host_.logError(std::u16string(kCommandNotFoundMessage));
            return std::nullopt;
        }
        run.commands = std::move(*parsed);
    } catch (const std::exception& e) {
        host_.logError(std::u16string(kRepFileError) + u"\r\n" + reasonOf(e));
        return std::nullopt;
    }
    return run;
}

void FileScope::runCommands(CommandFileRun run) {
    if (!host_.confirm(u"Run " + FileNameOf(run.path) + u" on " + FileNameOf(doc_.path) + u"?"))
        return;
    std::u16string result;
    try {
        if (run.commands.empty()) host_.logLine(std::u16string(kNoCommandsLoadedMessage));
        result = ApplyCommands(run.commands, doc_.text, run.expression);
    } catch (const std::exception& e) {
        // The text in memory is unchanged.
        host_.logError(std::u16string(kRepFileError) + u"\r\n" + reasonOf(e));
        return;
    }
    if (!encodingHolds(result)) return;
    host_.logLine(u"Batch replace completed.");
    resetMatchState();
    doc_.text = std::move(result);
    host_.setSaveEnabled(doc_.changed());
    host_.setRestoreEnabled(true);
    renderSource(doc_.text);
}

}  // namespace lodestar
