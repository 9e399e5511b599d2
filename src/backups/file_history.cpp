// A file's history of saves: an index file and one copy per step in the user's state folder.
#include "backups/file_history.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <sstream>

#include "backups/backup.h"
#include "backups/file_details.h"
#include "core/text.h"
#include "files/file_bytes.h"
#include "files/file_identity.h"
#include "files/file_ops.h"
#include "files/paths.h"
#include "files/safe_write.h"
#include "files/user_folders.h"

namespace lodestar {
namespace {

constexpr std::string_view kHeader = "lodestar file history 1\n";
constexpr int kMostSiblingNames = 100;

// The folder name of a file's history: FNV-1a of its absolute path, in hexadecimal.
std::string keyOf(const std::string& path) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : path) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    static const char* digits = "0123456789abcdef";
    std::string key(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4) key[static_cast<std::size_t>(i)] = digits[hash & 15];
    return key;
}

std::u16string absolutePath(const std::u16string& path) {
    if (!path.empty() && path.front() == u'/') return path;
    return fromUtf8(std::filesystem::absolute(toUtf8(path)).lexically_normal().string());
}

long long changeTimeOf(const struct stat& info) {
    return static_cast<long long>(info.st_ctim.tv_sec) * 1000000000LL + info.st_ctim.tv_nsec;
}

bool taken(const std::u16string& path) {
    struct stat info {};
    return ::lstat(toUtf8(path).c_str(), &info) == 0;
}

}  // namespace

FileHistory::FileHistory(const std::u16string& path, std::u16string stateFolder)
    : path_(absolutePath(path)) {
    if (stateFolder.empty()) stateFolder = userStateFolder();
    if (stateFolder.empty() || stateFolder.front() != u'/')
        throw BackupError("No state folder to keep the history of " + toUtf8(path_) + " in.");
    folder_ = stateFolder + u"history/" + fromUtf8(keyOf(toUtf8(path_))) + u"/";
    const std::u16string index = folder_ + u"steps";
    if (!fileExists(index)) return;
    std::istringstream lines(readFileBytes(index));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (word == "file") {
            std::string rest;
            std::getline(words >> std::ws, rest);
            // Another file of the same key: its history is not this one's.
            if (unescapeLine(rest) != path_) {
                steps_.clear();
                sibling_.clear();
                return;
            }
        } else if (word == "sibling") {
            std::string rest;
            words >> siblingDevice_ >> siblingInode_ >> siblingChanged_;
            std::getline(words >> std::ws, rest);
            sibling_ = unescapeLine(rest);
        } else if (word == "step") {
            HistoryStep step;
            long long made = 0;
            std::string kind;
            int link = 0;
            if (words >> step.number >> made >> kind >> link) {
                step.made = static_cast<std::time_t>(made);
                step.kind = fromUtf8(kind);
                step.wasLink = link != 0;
                steps_.push_back(step);
            }
        }
    }
}

std::u16string FileHistory::stepPath(int number) const {
    return folder_ + decimal(number);
}

void FileHistory::save() const {
    std::string bytes(kHeader);
    bytes += "file " + escapeLine(path_) + "\n";
    if (!sibling_.empty())
        bytes += "sibling " + std::to_string(siblingDevice_) + " " + std::to_string(siblingInode_) +
                 " " + std::to_string(siblingChanged_) + " " + escapeLine(sibling_) + "\n";
    for (const HistoryStep& step : steps_)
        bytes += "step " + std::to_string(step.number) + " " +
                 std::to_string(static_cast<long long>(step.made)) + " " + toUtf8(step.kind) + " " +
                 (step.wasLink ? "1" : "0") + "\n";
    ReplaceRules rules;
    rules.followLinks = false;
    replaceFileBytes(folder_ + u"steps", bytes, rules);
}

void FileHistory::add(std::u16string_view kind, bool wasReadOnly, std::size_t keep) {
    std::error_code ec;
    std::filesystem::create_directories(toUtf8(folder_), ec);
    if (ec)
        throw BackupError("Cannot create the history folder " + toUtf8(folder_) + ": " +
                          ec.message());
    HistoryStep step;
    step.number = steps_.empty() ? 1 : steps_.back().number + 1;
    step.made = std::time(nullptr);
    step.kind = std::u16string(kind);
    step.wasLink = isSymbolicLink(path_);
    const std::u16string copy = stepPath(step.number);
    copyFileOver(path_, copy, LinkAtTarget::Replace);
    copyDetails(path_, copy);
    if (wasReadOnly) setReadOnly(copy);
    steps_.push_back(step);
    while (steps_.size() > (keep == 0 ? 1 : keep)) {
        ::unlink(toUtf8(stepPath(steps_.front().number)).c_str());
        steps_.erase(steps_.begin());
    }
    save();
    refreshSibling();
}

void FileHistory::dropNewest() {
    if (steps_.empty()) return;
    ::unlink(toUtf8(stepPath(steps_.back().number)).c_str());
    steps_.pop_back();
    save();
    refreshSibling();
}

void FileHistory::restoreNewest() {
    if (steps_.empty()) throw BackupError("No step of " + toUtf8(path_) + " is kept.");
    const HistoryStep step = steps_.back();
    const std::u16string copy = stepPath(step.number);
    if (isSymbolicLink(path_) != step.wasLink)
        throw BackupError(
            "The file " + toUtf8(path_) +
            (step.wasLink ? " is no longer the symbolic link it was" : " is now a symbolic link") +
            "; nothing is restored through it.");
    if (step.wasLink) {
        // Saved through the link: its target gets the text back, as the save wrote it there.
        copyFileOver(copy, path_, LinkAtTarget::Follow);
        copyPermissions(copy, path_);
    } else {
        copyFileOver(copy, path_, LinkAtTarget::Replace);
        copyDetails(copy, path_);
    }
    ::unlink(toUtf8(copy).c_str());
    steps_.pop_back();
    save();
    refreshSibling();
}

bool FileHistory::ownsSibling(const std::u16string& candidate) const {
    struct stat info {};
    return candidate == sibling_ && ::lstat(toUtf8(candidate).c_str(), &info) == 0 &&
           S_ISREG(info.st_mode) && info.st_dev == siblingDevice_ && info.st_ino == siblingInode_ &&
           changeTimeOf(info) == siblingChanged_;
}

void FileHistory::refreshSibling() {
    if (steps_.empty()) {
        if (!sibling_.empty() && ownsSibling(sibling_)) ::unlink(toUtf8(sibling_).c_str());
        sibling_.clear();
        save();
        return;
    }
    std::u16string chosen;
    if (!sibling_.empty() && ownsSibling(sibling_)) chosen = sibling_;
    for (int k = 0; chosen.empty() && k < kMostSiblingNames; ++k) {
        const std::u16string candidate = k == 0   ? siblingBackupPath(path_)
                                         : k == 1 ? path_ + u".bak"
                                                  : path_ + u".bak." + decimal(k);
        if (!taken(candidate)) chosen = candidate;
    }
    if (chosen.empty()) throw BackupError("No free name for the backup of " + toUtf8(path_) + ".");
    const std::u16string copy = stepPath(steps_.back().number);
    copyFileOver(copy, chosen, LinkAtTarget::Replace);
    copyDetails(copy, chosen);
    struct stat info {};
    if (::lstat(toUtf8(chosen).c_str(), &info) != 0)
        throw fileFailure("Cannot keep the backup", chosen, errno);
    sibling_ = chosen;
    siblingDevice_ = info.st_dev;
    siblingInode_ = info.st_ino;
    siblingChanged_ = changeTimeOf(info);
    save();
}

}  // namespace lodestar
