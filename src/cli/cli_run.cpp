// The six commands of lodestar-cli, each a thin layer over the engine the window uses.
#include "cli/cli_run.h"

#include <ctime>
#include <functional>
#include <new>
#include <optional>
#include <stdexcept>

#include "backups/backup.h"
#include "backups/backup_folder.h"
#include "backups/folder_history.h"
#include "backups/single_save.h"
#include "cli/changed_text.h"
#include "cli/cli_settings.h"
#include "cli/dry_run.h"
#include "cli/export_choice.h"
#include "cli/find_lines.h"
#include "cli/folder_count.h"
#include "cli/shown_path.h"
#include "cli/standard_input.h"
#include "cli/target_path.h"
#include "cli/terminal_sink.h"
#include "core/ordered_work.h"
#include "core/text.h"
#include "export/formats.h"
#include "files/absolute_path.h"
#include "files/file_bytes.h"
#include "files/file_identity.h"
#include "files/file_ops.h"
#include "files/folder_listing.h"
#include "files/paths.h"
#include "files/same_file.h"
#include "files/text_encoding.h"
#include "files/text_file.h"
#include "render/source_body.h"
#include "replace/command_file.h"
#include "runs/batch_files.h"
#include "runs/extraction.h"
#include "runs/multi_replace.h"
#include "runs/multi_search.h"
#include "search/pattern.h"
#include "search/regexp.h"

namespace lodestar::cli {

namespace {

constexpr int kDone = 0;
constexpr int kNothingFound = 1;
constexpr int kFailed = 2;

// The PATH that stands for standard input and output.
constexpr std::string_view kStandardStream = "-";

constexpr std::u16string_view kForceHint =
    u"Run \"lodestar-cli restore\" on the folder first, or add --force to go on with that run.";

constexpr std::u16string_view kRegExpErrorMessage =
    u"Regular Expression Error \r\nPlease examine your regular expression.";

// A failure that ends a command with its message on standard error.
struct Failure {
    std::u16string message;
    std::string cause;
};

using TextChange = std::function<std::u16string(std::u16string_view)>;

class FixedAnswer : public ReadOnlyQuestion {
  public:
    explicit FixedAnswer(bool write) : write_(write) {}
    bool makeWritable() override { return write_; }

  private:
    bool write_;
};

class Session {
  public:
    Session(const Arguments& args, const std::u16string& programFolder, std::ostream& out,
            std::ostream& err, std::istream& in)
        : args_(args),
          settings_(effectiveSettings(args, programFolder)),
          out_(out),
          err_(err),
          in_(in) {
        expr_.setIgnoreCase(args.ignoreCase);
        expr_.setGlobal(args.global);
        expr_.setMultiline(args.multiline);
        setWorkerThreads(args.jobs);
    }

    int run() {
        for (const std::u16string& line : settings_.ignoredOptionLines) printMessage(err_, line);
        for (const std::u16string& file : settings_.notAFile)
            err_ << displayText(file)
                 << ": not a regular file (a FIFO or a device); it is not read.\n";
        try {
            switch (args_.command) {
                case CliCommand::Find:
                    return find();
                case CliCommand::Replace:
                    return replace();
                case CliCommand::Run:
                    return batch();
                case CliCommand::Restore:
                    return restore();
                case CliCommand::Extract:
                    return extract();
                case CliCommand::Render:
                    return render();
                default:
                    return kFailed;
            }
        } catch (const Failure& failure) {
            printMessage(err_, failure.message);
            if (!failure.cause.empty()) err_ << failure.cause << '\n';
        } catch (const Error& error) {
            err_ << error.what() << '\n';
        }
        return kFailed;
    }

  private:
    // The pattern as the engine sees it; a broken one fails here, before any file is read.
    std::u16string usePattern(const std::string& patternText, std::u16string_view errorMessage,
                              const std::string& replacementText = {}) {
        const BuiltPattern built = buildPattern(fromUtf8(patternText), fromUtf8(replacementText),
                                                args_.dotAll, settings_.escapeSupport);
        if (built.searchPattern.empty()) throw Failure{u"Please input what you want to find", {}};
        expr_.setPattern(built.searchPattern);
        try {
            expr_.count(u"");
        } catch (const RegExpError& error) {
            throw Failure{std::u16string(errorMessage), error.what()};
        }
        replacement_ = built.replaceText;
        return built.searchPattern;
    }

    // The walk passes the backup folder the runs here use, and says so; a user's folder that
    // only shares its name is walked like any other.
    TreeRules walkRules(const std::u16string& folder) {
        TreeRules rules{args_.recursive, {}, settings_.backupFolder};
        for (const std::string& glob : args_.exclude) rules.exclude.push_back(fromUtf8(glob));
        if (!args_.recursive) return rules;
        try {
            const std::optional<BackupFolderChoice> backups =
                backupFolderOfRuns(folder, rules.backupFolderName);
            rules.backupFolderName = walkedPastBackupName(folder, rules.backupFolderName);
            if (backups)
                printMessage(err_, u"Passed " + backups->path + u": it is the backup folder.");
        } catch (const Error&) {
            // A refused backup folder: the run itself reports it.
        }
        return rules;
    }

    Target target(const std::string& path, bool needFiles = true) {
        const TargetPlace place = placeOf(path, args_.filter);
        const Target found = resolveTarget(
            path, args_.filter, place.singleFile ? TreeRules{} : walkRules(place.folder));
        for (const std::u16string& note : found.notes) printMessage(err_, note);
        if (needFiles && found.files.empty())
            throw Failure{u"There's no specified files in this folder.", {}};
        return found;
    }

    int find() {
        const std::u16string pattern = usePattern(args_.operands[0], kSearchErrorMessage);
        const std::string& path = args_.operands[1];
        const FindOutput& output = args_.findOutput;
        if (output.shape != FindShape::Count || path == kStandardStream) {
            const FindLinesRun run{
                expr_, pattern, output, useColor(output.color), settings_.reading, out_, err_};
            if (path == kStandardStream) return findInStream(run, in_);
            const Target files = target(path);
            return findLines(run, files.files, shownPaths(path, files));
        }
        const TargetPlace place = placeOf(path, args_.filter);
        if (place.singleFile) {
            TerminalSink sink(out_, out_, err_, FileLineShape::CountAndPath);
            return counted(
                SearchAllFiles(expr_, pattern, {{place.path, true}}, sink, settings_.reading));
        }
        TreeWalk walk(place.folder, place.patterns, walkRules(place.folder));
        const std::optional<SearchSummary> summary =
            countInFolder(expr_, pattern, walk, settings_.reading, out_, err_);
        if (!summary) throw Failure{u"There's no specified files in this folder.", {}};
        return counted(*summary);
    }

    static int counted(const SearchSummary& summary) {
        if (!summary.ok) return kFailed;
        return summary.total == 0 ? kNothingFound : kDone;
    }

    // replace and run on standard input: the changed text on standard output, or in a dry run
    // what would change.
    int changeStream(const TextChange& change) {
        if (!args_.dryRun) return changeStandardInput(in_, out_, err_, settings_.reading, change);
        const std::string bytes = readStandardBytes(in_);
        const ChangedText changed = changeText(decodeText(bytes, settings_.reading),
                                               settings_.reading.binaryAsText, change);
        if (!reportStandardInputFailure(changed, err_)) return kFailed;
        DryRunReport report(out_, args_.countOnly);
        if (changed.result == ChangeResult::Changed)
            report.changed("-", "(standard input)", bytes, changed.bytes, count_);
        dryRunSummary(report, err_);
        return report.files() > 0 ? kDone : kNothingFound;
    }

    // The replace of one text; `count_` holds its matches when they are counted first (a
    // text without any is left as it was).
    TextChange replaceChange(bool countFirst) {
        return [this, countFirst](std::u16string_view text) {
            try {
                count_.reset();
                if (!countFirst) return expr_.replace(text, replacement_);
                count_ = expr_.count(text);
                return *count_ > 0 ? expr_.replace(text, replacement_) : std::u16string(text);
            } catch (const ReplaceTooLarge& error) {
                throw Failure{u"Error in Replace.", error.what()};
            } catch (const RegExpError& error) {
                throw Failure{std::u16string(kRegExpErrorMessage), error.what()};
            }
        };
    }

    int replace() {
        if (args_.operands[2] == kStandardStream) {
            usePattern(args_.operands[0], kRegExpErrorMessage, args_.operands[1]);
            return changeStream(replaceChange(args_.countOnly));
        }
        const Target files = target(args_.operands[2]);
        if (files.singleFile) {
            usePattern(args_.operands[0], kRegExpErrorMessage, args_.operands[1]);
            return changeSingle(files.files.front().path, FileRun::Replace, replaceChange(true));
        }
        usePattern(args_.operands[0], kSearchErrorMessage, args_.operands[1]);
        return runOverFolder(files, ReplaceTransform(expr_, replacement_, settings_.countMatches));
    }

    // The replace and the batch run over a folder: its backups, the run and its journal.
    int runOverFolder(const Target& files, const TextTransform& transform) {
        const RunSettings settings{settings_.backup,   files.folder, settings_.backupFolder,
                                   settings_.reading,  args_.force,  args_.followLinks,
                                   settings_.keptSteps};
        if (args_.dryRun) return dryRunOverFolder(files, transform, settings);
        FixedAnswer answer(args_.readOnlyWrite);
        TerminalSink sink(out_, out_, err_, FileLineShape::MatchesStatusAndPath);
        const RunSummary summary = runFolder(files.files, transform, settings, sink, &answer);
        if (summary.unfinishedRun) printMessage(err_, kForceHint);
        if (!summary.ok || summary.cannotHold > 0) return kFailed;
        return summary.written > 0 ? kDone : kNothingFound;
    }

    // The dry run of a folder: the run's preview, nothing written.
    int dryRunOverFolder(const Target& files, const TextTransform& transform,
                         RunSettings settings) {
        settings.previewReadOnly = args_.readOnlyWrite;
        DryRunReport report(out_, args_.countOnly);
        const RunSummary summary =
            dryRunFolder(files.files, files.folder, transform, settings, report, err_);
        dryRunSummary(report, err_);
        if (!summary.ok || summary.cannotHold > 0) return kFailed;
        return summary.previewed > 0 ? kDone : kNothingFound;
    }

    // A new text the file's encoding cannot hold leaves the file unchanged, with exit status 2.
    void cannotHold(const ChangedText& changed, const std::u16string& path,
                    const std::string& matches) {
        if (!args_.dryRun)
            out_ << matches << '\t'
                 << statusWord(
                        {1, path, FileResult::CannotHoldText, std::nullopt, FileRun::Replace})
                 << '\t' << displayText(path) << '\n';
        printMessage(err_, kCannotHoldMessage);
        err_ << displayText(path) << ": "
             << cannotHoldMessage(*changed.unholdable, changed.format.encoding) << '\n';
    }

    // Single-file mode: the text through `change`, then saved with its sibling backup, or in a
    // dry run shown. A binary file is left alone (unless --binary), as a folder run leaves it;
    // a text the change leaves as it was is not written.
    int changeSingle(const std::u16string& path, FileRun kind, const TextChange& change) {
        const bool batch = kind == FileRun::Batch;
        const std::optional<FileStamp> stamp = stampOf(path);
        const DecodedText file = loadOrFail(path, batch ? kBatchErrorMessage : kSearchErrorMessage);
        const ChangedText changed = changeText(file, settings_.reading.binaryAsText, change);
        const std::string matches = batch ? "-" : std::to_string(count_.value_or(0));
        if (changed.result == ChangeResult::Binary) {
            TerminalSink(out_, out_, err_,
                         args_.dryRun ? FileLineShape::None : FileLineShape::MatchesStatusAndPath)
                .fileDone({1, path, FileResult::Binary, std::nullopt, kind});
            return args_.dryRun ? kNothingFound : kDone;
        }
        if (changed.result == ChangeResult::CannotHold) {
            cannotHold(changed, path, matches);
            return kFailed;
        }
        if (args_.dryRun) return dryRunSingle(path, changed);
        if (changed.result == ChangeResult::Unchanged) {
            out_ << matches << "\tPassed\t" << displayText(path) << '\n';
            if (!batch && count_ == 0u) printMessage(out_, u"Can't find item to replace.");
            return kNothingFound;
        }
        if (!saveSingle(path, changed.text, file.format, stamp, batch ? u"batch" : u"replace"))
            return kDone;
        if (batch) {
            out_ << "-\tBatch Replaced.\t" << displayText(path) << '\n';
            out_ << "Batch replace completed.\n";
        } else {
            out_ << matches << "\tReplaced\t" << displayText(path) << '\n';
            out_ << "1 files replaced in 1 files.\n";
        }
        return kDone;
    }

    // The dry run of one file: its diff, named as in its own folder, or its count.
    int dryRunSingle(const std::u16string& path, const ChangedText& changed) {
        if (changed.result == ChangeResult::Changed && isReadOnly(path) && !args_.readOnlyWrite) {
            err_ << displayText(path)
                 << ": read-only, it would be left alone (--readonly=write changes it).\n";
            return kNothingFound;
        }
        DryRunReport report(out_, args_.countOnly);
        if (changed.result == ChangeResult::Changed) {
            std::string before;
            try {
                before = readFileBytes(path);
            } catch (const Error& error) {
                throw Failure{std::u16string(kFileErrorMessage), error.what()};
            }
            report.changed(toUtf8(std::u16string_view(path).substr(path.rfind(u'/') + 1)),
                           displayText(path), before, changed.bytes, count_);
        }
        dryRunSummary(report, err_);
        return report.files() > 0 ? kDone : kNothingFound;
    }

    // Save of single-file mode; false when a read-only file is left alone (--readonly=skip).
    bool saveSingle(const std::u16string& path, std::u16string_view text, const TextFormat& format,
                    std::optional<FileStamp> stamp, std::u16string_view kind) {
        bool saved = false;
        try {
            saved = saveFileText(path, text,
                                 {settings_.backup, format, stamp, kind, settings_.keptSteps},
                                 [this] { return args_.readOnlyWrite; });
        } catch (const Error& error) {
            throw Failure{u"Save failed; the file is unchanged.", error.what()};
        }
        if (!saved) out_ << "-1\tRead only\t" << displayText(path) << '\n';
        return saved;
    }

    DecodedText loadOrFail(const std::u16string& path, std::u16string_view message) {
        try {
            return loadTextFile(path, settings_.reading);
        } catch (const Error& error) {
            throw Failure{std::u16string(message), error.what()};
        }
    }

    int batch() {
        const std::u16string commandFile = absolutePath(fromUtf8(args_.operands[0]));
        if (!fileExists(commandFile)) throw Failure{u"The command file does not exist.", {}};
        const bool fromStream = args_.operands[1] == kStandardStream;
        const Target files = fromStream ? Target{} : target(args_.operands[1]);
        std::optional<std::vector<Command>> commands;
        try {
            commands = ParseCommandFile(commandFile, expr_, settings_.escapeSupport);
        } catch (const Error& error) {
            throw Failure{std::u16string(kBatchErrorMessage), error.what()};
        }
        if (!commands) throw Failure{std::u16string(kCommandNotFoundMessage), {}};
        const TextChange commandChange = [&](std::u16string_view text) {
            try {
                return ApplyCommands(*commands, text, expr_);
            } catch (const Error& error) {
                throw Failure{std::u16string(kBatchErrorMessage), error.what()};
            }
        };
        if (fromStream) return changeStream(commandChange);
        if (files.singleFile)
            return changeSingle(files.files.front().path, FileRun::Batch, commandChange);
        return runOverFolder(files, CommandTransform(*commands, expr_));
    }

    int restore() {
        const Target files = target(args_.operands[0], false);
        if (args_.listSteps) return listSteps(files);
        for (unsigned step = 0; step < args_.restoreSteps; ++step) {
            if (files.singleFile) {
                const SingleRestore restored = restoreSingleFile(files.files.front().path);
                if (!restored.restored) throw Failure{restored.message, {}};
                out_ << "Files restored successfully.\n";
                continue;
            }
            TerminalSink sink(out_, out_, err_, FileLineShape::None);
            if (!RestoreFolder(files.folder, settings_.backupFolder, sink)) return kFailed;
        }
        return kDone;
    }

    // restore --list: one line per step Restore can take back, newest first.
    int listSteps(const Target& files) {
        if (files.singleFile) {
            const std::vector<HistoryStep> steps = savedSteps(files.files.front().path);
            for (auto it = steps.rbegin(); it != steps.rend(); ++it)
                out_ << (it - steps.rbegin()) + 1 << '\t' << stepTime(it->made) << '\t'
                     << toUtf8(it->kind) << '\n';
            return steps.empty() ? kNothingFound : kDone;
        }
        const auto backups = backupFolderOfRuns(files.folder, settings_.backupFolder);
        const std::vector<FolderStep> steps =
            backups ? folderSteps(backups->path) : std::vector<FolderStep>{};
        for (std::size_t i = 0; i < steps.size(); ++i)
            out_ << i + 1 << '\t' << stepTime(steps[i].started) << '\t' << toUtf8(steps[i].kind)
                 << '\t' << steps[i].files << " file(s)\n";
        return steps.empty() ? kNothingFound : kDone;
    }

    static std::string stepTime(std::time_t made) {
        if (made == 0) return "-";
        std::tm local{};
        ::localtime_r(&made, &local);
        char text[32];
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
        return text;
    }

    int extract() {
        const std::u16string pattern = usePattern(args_.operands[0], kExtractErrorMessage);
        const Target files = target(args_.operands[1]);
        const bool toStdout = *args_.output == "-";
        ExtractTarget exportTarget;
        exportTarget.path = toStdout ? u"-" : absolutePath(fromUtf8(*args_.output));
        if (!toStdout) {
            const std::u16string parent = ParentFolderOf(exportTarget.path);
            if (!parent.empty() && exportTarget.path.find(u'/') != std::u16string::npos &&
                !folderExists(parent))
                throw Failure{u"The folder does not exist.", {}};
        }
        // Writing the export over a file it reads would lose that file: refused, nothing asked.
        if (!toStdout && isOneOfFiles(exportTarget.path, files.files))
            throw Failure{u"The export file is one of the searched files; choose another output.",
                          toUtf8(exportTarget.path)};
        exportTarget.format = exportFormatter(args_.format, args_.delimiter);
        if (toStdout)
            exportTarget.write = [this](const std::u16string&, std::u16string_view content) {
                // The same bytes the export file would hold.
                out_ << encodeText(std::u16string(content) + u"\r\n", exportFileFormat());
            };
        // With the export on standard output the log line goes to standard error.
        TerminalSink sink(out_, toStdout ? err_ : out_, err_, FileLineShape::None);
        const ExtractSummary summary = ExtractAll(expr_, pattern, files.files, std::nullopt,
                                                  exportTarget, sink, settings_.reading);
        if (summary.result == ExtractResult::Nothing)
            return extractedNothing(exportTarget, pattern);
        // A folder whose ticked files hold no match gets the frame from the run itself.
        if (summary.result == ExtractResult::Saved && summary.items == 0)
            return saidNothingFound(exportTarget, pattern);
        return summary.result == ExtractResult::Failed ? kFailed : kDone;
    }

    // Nothing matched: the export still gets the format's frame, so a script finds the file it
    // asked for, and the exit status says so as find's does.
    int extractedNothing(const ExtractTarget& exportTarget, const std::u16string& pattern) {
        try {
            const std::u16string frame = exportTarget.format({});
            if (exportTarget.write)
                exportTarget.write(exportTarget.path, frame);
            else
                PrintTextFile(exportTarget.path, frame, exportFileFormat());
        } catch (const Error& error) {
            throw Failure{std::u16string(kExtractErrorMessage), error.what()};
        }
        return saidNothingFound(exportTarget, pattern);
    }

    int saidNothingFound(const ExtractTarget& exportTarget, const std::u16string& pattern) {
        printMessage(*args_.output == "-" ? err_ : out_,
                     u"Extract " + pattern + u", nothing found; " +
                         (*args_.output == "-"
                              ? std::u16string(u"the empty frame was written.")
                              : u"the empty frame was saved in " + exportTarget.path + u"."));
        return kNothingFound;
    }

    int render() {
        const std::u16string path = absolutePath(fromUtf8(args_.operands[0]));
        if (!fileExists(path)) throw Failure{u"Can't find the path", args_.operands[0]};
        const std::u16string text = loadOrFail(path, kSearchErrorMessage).text;
        std::vector<MatchSpan> spans;
        if (args_.renderPattern) {
            usePattern(*args_.renderPattern, kRegExpErrorMessage);
            expr_.forEachMatch(text, [&](const MatchSpan& span) { spans.push_back(span); });
        }
        out_ << toUtf8(wrapShortBody(renderSourceBody(text, spans, args_.invisible))) << '\n';
        return kDone;
    }

    const Arguments& args_;
    CliSettings settings_;
    std::ostream& out_;
    std::ostream& err_;
    std::istream& in_;
    RegExp expr_;
    std::u16string replacement_;
    std::optional<std::size_t> count_;  // the matches of the text replace last changed
};

}  // namespace

int runCommand(const Arguments& args, const std::u16string& programFolder, std::ostream& out,
               std::ostream& err, std::istream& in) {
    try {
        return Session(args, programFolder, out, err, in).run();
    } catch (const Error& error) {  // an options file that exists but cannot be read
        err << error.what() << '\n';
    } catch (const std::bad_alloc&) {
        // Whatever ran out of memory stopped there; the files finished before it stay done.
        out.flush();
        err << kOutOfMemoryMessage << '\n';
    } catch (const std::length_error&) {  // a text longer than any string can hold
        out.flush();
        err << kOutOfMemoryMessage << '\n';
    }
    return kFailed;
}

}  // namespace lodestar::cli
