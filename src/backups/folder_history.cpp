// Older steps of a folder's runs, each in a numbered folder of the backup folder's history.
#include "backups/folder_history.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "backups/backup.h"
#include "backups/backup_paths.h"
#include "backups/run_journal.h"
#include "core/text.h"
#include "files/file_bytes.h"
#include "files/paths.h"
#include "files/safe_write.h"

namespace lodestar {
namespace {

constexpr std::u16string_view kStepsFolder = u".lodestar-steps/";

std::u16string historyOf(const std::u16string& backupFolder) {
    return backupFolder + std::u16string(kStepsFolder);
}

// The numbers of the kept steps, oldest first. A step folder without its journal was cut short
// before any backup moved into it (the journal is written first): it is no step.
std::vector<int> stepNumbers(const std::u16string& backupFolder) {
    std::vector<int> numbers;
    DIR* handle = ::opendir(toUtf8(historyOf(backupFolder)).c_str());
    if (!handle) return numbers;
    while (const dirent* entry = ::readdir(handle)) {
        const std::string name = entry->d_name;
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::u16string journal =
            historyOf(backupFolder) + fromUtf8(name) + u"/" + std::u16string(kJournalName);
        if (fileExists(journal)) numbers.push_back(std::atoi(name.c_str()));
    }
    ::closedir(handle);
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

std::u16string stepFolder(const std::u16string& backupFolder, int number) {
    return historyOf(backupFolder) + decimal(number) + u"/";
}

std::string journalBytes(const std::u16string& folder) {
    const std::u16string path = folder + std::u16string(kJournalName);
    return fileExists(path) ? readFileBytes(path) : std::string();
}

// Moves the waiting backups named by `journal` from `from` to `to` (both ending in "/"); a
// backup already moved, or one that is not a plain file, is passed by.
void moveBackups(const RunJournal& journal, const std::u16string& from, const std::u16string& to) {
    for (const std::u16string& name : journal.changedFiles()) {
        if (!isPlainRelativeName(name) || linkOnTheWay(from, name) || !fileExists(from + name))
            continue;
        const std::u16string target = pathWithFolders(to, name);
        if (std::rename(toUtf8(from + name).c_str(), toUtf8(target).c_str()) != 0)
            throw BackupError("Cannot keep the backup " + toUtf8(from + name) +
                              " in the history of the backup folder.");
        removeEmptyFolders(from, name);
    }
}

}  // namespace

void archiveNewestStep(const std::u16string& backupFolder, std::size_t keep) {
    // The backups of a step half brought to the top are never taken for the top's own.
    finishCutShortPromotion(backupFolder);
    if (RunJournal::stateOf(backupFolder) != RunJournal::State::Finished) return;
    const RunJournal top = RunJournal::read(backupFolder);
    if (top.changedFiles().empty()) return;
    std::vector<int> numbers = stepNumbers(backupFolder);
    const std::string bytes = journalBytes(backupFolder);
    int number = numbers.empty() ? 1 : numbers.back() + 1;
    // A move cut short before the next run's journal replaced this one goes on where it was.
    if (!numbers.empty() && journalBytes(stepFolder(backupFolder, numbers.back())) == bytes)
        number = numbers.back();
    const std::u16string step = stepFolder(backupFolder, number);
    if (number != (numbers.empty() ? 0 : numbers.back())) {
        std::error_code ec;
        std::filesystem::create_directories(toUtf8(step), ec);
        if (ec) throw BackupError("Cannot create " + toUtf8(step) + ": " + ec.message());
        ReplaceRules rules;
        rules.followLinks = false;
        replaceFileBytes(step + std::u16string(kJournalName), bytes, rules);
        numbers.push_back(number);
    }
    moveBackups(top, backupFolder, step);
    // The newest step stays at the top; the history keeps keep - 1 more.
    while (numbers.size() + 1 > std::max<std::size_t>(keep, 1)) {
        std::error_code ignored;
        std::filesystem::remove_all(toUtf8(stepFolder(backupFolder, numbers.front())), ignored);
        numbers.erase(numbers.begin());
    }
}

bool promoteNewestStep(const std::u16string& backupFolder) {
    const std::vector<int> numbers = stepNumbers(backupFolder);
    if (numbers.empty()) return false;
    const std::u16string step = stepFolder(backupFolder, numbers.back());
    const RunJournal kept = RunJournal::read(step);
    moveBackups(kept, step, backupFolder);
    // The step's journal becomes the top one in one rename: the folder is never without one.
    if (std::rename(toUtf8(step + std::u16string(kJournalName)).c_str(),
                    toUtf8(backupFolder + std::u16string(kJournalName)).c_str()) != 0)
        throw BackupError("Cannot bring back the step " + toUtf8(step) + ".");
    std::error_code ignored;
    std::filesystem::remove_all(toUtf8(step), ignored);
    // An emptied history goes, so an emptied backup folder can go too.
    std::filesystem::remove(toUtf8(historyOf(backupFolder)), ignored);
    return true;
}

bool recoverArchivedStep(const std::u16string& backupFolder) {
    const std::vector<int> numbers = stepNumbers(backupFolder);
    if (numbers.empty() || RunJournal::stateOf(backupFolder) == RunJournal::State::None)
        return false;
    if (journalBytes(stepFolder(backupFolder, numbers.back())) != journalBytes(backupFolder))
        return false;
    return promoteNewestStep(backupFolder);
}

bool finishCutShortPromotion(const std::u16string& backupFolder) {
    if (stepNumbers(backupFolder).empty() || !RunJournal::read(backupFolder).restoredAll())
        return false;
    return promoteNewestStep(backupFolder);
}

std::vector<FolderStep> folderSteps(const std::u16string& backupFolder) {
    std::vector<FolderStep> steps;
    const auto add = [&](const std::u16string& folder) {
        const RunJournal journal = RunJournal::read(folder);
        if (journal.changedFiles().empty()) return;
        steps.push_back({journal.started(), journal.kind(), journal.changedFiles().size()});
    };
    if (RunJournal::stateOf(backupFolder) != RunJournal::State::None) add(backupFolder);
    const std::vector<int> numbers = stepNumbers(backupFolder);
    for (auto it = numbers.rbegin(); it != numbers.rend(); ++it) add(stepFolder(backupFolder, *it));
    return steps;
}

}  // namespace lodestar
