// The run journal: a small text file of lines appended and flushed one at a time, so a run
// killed at any moment leaves whole lines and at most one cut-off last line, which is ignored.
#include "backups/run_journal.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <set>

#include "core/text.h"
#include "files/descriptor.h"
#include "files/file_bytes.h"
#include "files/file_error.h"
#include "files/paths.h"
#include "files/safe_write.h"

namespace lodestar {
namespace {

constexpr std::string_view kHeader = "lodestar run journal 1\n";
constexpr std::string_view kBackupWord = "backup ";
constexpr std::string_view kUnchangedWord = "unchanged ";
constexpr std::string_view kFinishedLine = "finished";
constexpr std::string_view kRestoringLine = "restoring";
constexpr std::string_view kRestoredWord = "restored ";
constexpr std::string_view kPuttingBackWord = "putting back ";
constexpr std::string_view kStartedWord = "started ";
constexpr std::string_view kRestoreCompleteLine = "restore complete";

std::u16string journalPath(const std::u16string& backupFolder) {
    return backupFolder + std::u16string(kJournalName);
}

// One line a name, each starting with `word`.
std::string linesOf(std::string_view word, const std::vector<std::u16string>& names) {
    std::string lines;
    for (const std::u16string& name : names) {
        lines += word;
        lines += escapeLine(name);
        lines += '\n';
    }
    return lines;
}

}  // namespace

RunJournal RunJournal::read(const std::u16string& backupFolder) {
    RunJournal journal;
    journal.path_ = journalPath(backupFolder);
    if (!fileExists(journal.path_)) return journal;
    const std::string bytes = readFileBytes(journal.path_);
    std::size_t start = 0;
    // Only whole lines count: a line cut off by a kill has no line feed yet.
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string_view line(bytes.data() + start, end - start);
        if (line.starts_with(kStartedWord)) {
            // "started <seconds> <kind>"
            const std::string_view rest = line.substr(kStartedWord.size());
            const std::size_t space = rest.find(' ');
            journal.started_ =
                static_cast<std::time_t>(std::atoll(std::string(rest.substr(0, space)).c_str()));
            if (space != std::string_view::npos)
                journal.kind_ = unescapeLine(rest.substr(space + 1));
        } else if (line.starts_with(kBackupWord)) {
            journal.changed_.push_back(unescapeLine(line.substr(kBackupWord.size())));
        } else if (line.starts_with(kUnchangedWord)) {
            std::erase(journal.changed_, unescapeLine(line.substr(kUnchangedWord.size())));
        } else if (line.starts_with(kPuttingBackWord)) {
            journal.puttingBack_.push_back(unescapeLine(line.substr(kPuttingBackWord.size())));
        } else if (line.starts_with(kRestoredWord)) {
            std::erase(journal.changed_, unescapeLine(line.substr(kRestoredWord.size())));
        } else if (line == kFinishedLine || line == kRestoreCompleteLine) {
            journal.finished_ = true;
            journal.restoredAll_ = line == kRestoreCompleteLine;
        } else if (line == kRestoringLine) {
            journal.finished_ = false;
        }
    }
    return journal;
}

RunJournal::State RunJournal::stateOf(const std::u16string& backupFolder) {
    if (!fileExists(journalPath(backupFolder))) return State::None;
    return read(backupFolder).finished_ ? State::Finished : State::Unfinished;
}

RunJournal RunJournal::begin(const std::u16string& backupFolder, bool goOn,
                             std::u16string_view kind) {
    RunJournal journal = read(backupFolder);
    if (goOn && !journal.finished_ && fileExists(journal.path_)) return journal;
    journal = RunJournal();
    journal.path_ = journalPath(backupFolder);
    journal.started_ = std::time(nullptr);
    journal.kind_ = std::u16string(kind);
    std::string bytes(kHeader);
    // A name of this run alone: two runs of one second still have journals of their own.
    bytes += "run " + temporaryFileName() + "\n";
    bytes += std::string(kStartedWord) + std::to_string(static_cast<long long>(journal.started_)) +
             " " + escapeLine(kind) + "\n";
    ReplaceRules rules;
    rules.followLinks = false;
    replaceFileBytes(journal.path_, bytes, rules);
    return journal;
}

bool RunJournal::holds(std::u16string_view name) const {
    return std::find(changed_.begin(), changed_.end(), name) != changed_.end();
}

void RunJournal::append(std::string_view word, std::u16string_view name) {
    std::string line(word);
    line += escapeLine(name);
    line += '\n';
    appendLines(line);
}

void RunJournal::appendLines(const std::string& line) {
    const int fd = ::open(toUtf8(path_).c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) throw fileFailure("Cannot write the run journal", path_, errno);
    Descriptor file(fd);
    if (::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size()) ||
        ::fsync(fd) != 0)
        throw fileFailure("Cannot write the run journal", path_, errno);
}

void RunJournal::recordBackup(std::u16string_view name) {
    recordBackups({std::u16string(name)});
}

void RunJournal::recordBackups(const std::vector<std::u16string>& names) {
    if (names.empty()) return;
    appendLines(linesOf(kBackupWord, names));
    changed_.insert(changed_.end(), names.begin(), names.end());
}

void RunJournal::recordUnchanged(std::u16string_view name) {
    append(kUnchangedWord, name);
    std::erase(changed_, std::u16string(name));
}

void RunJournal::finish() {
    if (finished_) return;
    append(kFinishedLine, u"");
    finished_ = true;
}

void RunJournal::beginRestore() {
    append(kRestoringLine, u"");
    finished_ = false;
}

void RunJournal::recordPuttingBack(std::u16string_view name) {
    recordPuttingBack(std::vector<std::u16string>{std::u16string(name)});
}

void RunJournal::recordPuttingBack(const std::vector<std::u16string>& names) {
    if (names.empty()) return;
    appendLines(linesOf(kPuttingBackWord, names));
    puttingBack_.insert(puttingBack_.end(), names.begin(), names.end());
}

bool RunJournal::puttingBack(std::u16string_view name) const {
    return std::find(puttingBack_.begin(), puttingBack_.end(), name) != puttingBack_.end();
}

void RunJournal::recordRestored(std::u16string_view name) {
    recordRestored(std::vector<std::u16string>{std::u16string(name)});
}

void RunJournal::recordRestored(const std::vector<std::u16string>& names) {
    if (names.empty()) return;
    appendLines(linesOf(kRestoredWord, names));
    const std::set<std::u16string> gone(names.begin(), names.end());
    std::erase_if(changed_, [&](const std::u16string& name) { return gone.count(name) > 0; });
}

void RunJournal::completeRestore() {
    append(kRestoreCompleteLine, u"");
    finished_ = true;
    restoredAll_ = true;
}

bool RunJournal::isJournalFolder(const std::u16string& backupFolder) {
    const std::u16string path = journalPath(backupFolder);
    if (!fileExists(path) || isSymbolicLink(path)) return false;
    try {
        return readFileBytes(path).starts_with(kHeader);
    } catch (const Error&) {
        return false;
    }
}

void RunJournal::remove(const std::u16string& backupFolder) {
    ::unlink(toUtf8(journalPath(backupFolder)).c_str());
}

}  // namespace lodestar
