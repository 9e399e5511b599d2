// Whole-file replacement through a temporary file, fsync and rename.
#include "files/safe_write.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>
#include <utility>

#include "core/text.h"
#include "files/file_error.h"

namespace lodestar {
namespace {

constexpr const char* kCannotWrite = "Cannot write the file";
constexpr int kMostLinksFollowed = 40;

class SystemFileOutput : public FileOutput {
  public:
    ssize_t writeSome(int fd, const char* data, std::size_t size) override {
        return ::write(fd, data, size);
    }
    bool flushToDisk(int fd) override { return ::fsync(fd) == 0; }
};

// The folder part of a native path including its last "/", or "" when it has none.
std::string folderPart(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Follows the chain of symbolic links that `path` may name to the path the content lives at
// (which may not exist yet, for a dangling link).
std::string resolveLinks(const std::u16string& path) {
    std::string current = toUtf8(path);
    for (int hop = 0; hop < kMostLinksFollowed; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        char target[PATH_MAX];
        ssize_t length = ::readlink(current.c_str(), target, sizeof target);
        if (length < 0) throw fileFailure(kCannotWrite, path, errno);
        std::string next(target, static_cast<std::size_t>(length));
        current = next.starts_with('/') ? next : folderPart(current) + next;
    }
    throw fileFailure(kCannotWrite, path, ELOOP);
}

}  // namespace

std::string temporaryFileName() {
    // Seeded once per thread: opening the system's random device for every file costs more than
    // the names need.
    thread_local std::mt19937 random{std::random_device{}()};
    char name[40];
    std::snprintf(name, sizeof name, ".lodestar-%08x%08x.tmp", static_cast<unsigned>(random()),
                  static_cast<unsigned>(random()));
    return name;
}

namespace {

// A new, empty, hidden file in the target's folder that is removed again unless `keep` is
// called once it has been renamed over the target.
class TemporaryFile {
  public:
    TemporaryFile(const std::string& folder, const std::u16string& pathForMessages) {
        // O_EXCL below settles any clash of the random names.
        for (int attempt = 0; attempt < 64 && fd_ < 0; ++attempt) {
            path_ = folder + temporaryFileName();
            // Created with 0666 so that the kernel applies the umask: the resulting bits are the
            // ones a new file should get.
            fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ < 0 && errno != EEXIST) break;
        }
        if (fd_ < 0) throw fileFailure(kCannotWrite, pathForMessages, errno);
    }
    ~TemporaryFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!kept_) ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_; }
    const std::string& path() const { return path_; }
    // Closes the file; false with errno set when the system reports a late write error.
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    void keep() { kept_ = true; }

  private:
    std::string path_;
    int fd_ = -1;
    bool kept_ = false;
};

void writeAll(FileOutput& output, int fd, std::string_view bytes, const std::u16string& path) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        ssize_t count = output.writeSome(fd, bytes.data() + written, bytes.size() - written);
        if (count < 0) {
            if (errno == EINTR) continue;
            throw fileFailure(kCannotWrite, path, errno);
        }
        written += static_cast<std::size_t>(count);
    }
}

// Makes the rename itself durable; a failure here cannot undo the write and is not reported.
void flushFolder(const std::string& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// True when the file at `target` is still the one described by `expected`.
bool unchangedSince(const std::string& target, const FileStamp& expected) {
    struct stat now {};
    if (::stat(target.c_str(), &now) != 0) return false;
    return FileStamp{now.st_dev, now.st_ino, now.st_size, now.st_mtim} == expected;
}

bool isTemporaryName(std::string_view name) {
    constexpr std::string_view prefix = ".lodestar-";
    constexpr std::string_view suffix = ".tmp";
    constexpr std::size_t digits = 16;
    if (name.size() != prefix.size() + digits + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix))
        return false;
    for (char c : name.substr(prefix.size(), digits))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

// Whether the new content replaces an existing file, and that file's status. Without following
// links the path names one of the program's own files: whatever is there (a link, an older
// read-only copy) gives way to a new file.
bool statTarget(const std::string& target, bool followLinks, struct stat& old) {
    if (followLinks) return ::stat(target.c_str(), &old) == 0;
    errno = ENOENT;
    return false;
}

}  // namespace

FileOutput& systemFileOutput() {
    static SystemFileOutput output;
    return output;
}

std::size_t removeStaleTemporaries(const std::u16string& folder) {
    const std::string native = toUtf8(folder);
    DIR* handle = ::opendir(native.c_str());
    if (handle == nullptr) return 0;
    std::size_t removed = 0;
    while (const dirent* entry = ::readdir(handle)) {
        if (isTemporaryName(entry->d_name) && ::unlinkat(::dirfd(handle), entry->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(handle);
    return removed;
}

namespace {

// The file the content goes to, checked: links followed (unless the rules say not to), a folder,
// a read-only file and a file this process may not write refused.
struct CheckedTarget {
    std::string path;
    bool exists = false;
    struct stat old {};
};

CheckedTarget checkTarget(const std::u16string& path, const ReplaceRules& rules) {
    CheckedTarget target;
    target.path = rules.followLinks ? resolveLinks(path) : toUtf8(path);
    target.exists = statTarget(target.path, rules.followLinks, target.old);
    if (!target.exists && errno != ENOENT) throw fileFailure(kCannotWrite, path, errno);
    if (!target.exists && rules.mustExist)
        throw fileFailure(kCannotWrite, path, "it does not exist");
    if (target.exists) {
        if (!S_ISREG(target.old.st_mode))
            throw fileFailure(kCannotWrite, path, "it is not a regular file");
        // The rename below only needs the folder to be writable, so the file's own protection
        // is checked here: a read-only file stays unchanged.
        if ((target.old.st_mode & S_IWUSR) == 0)
            throw fileFailure(kCannotWrite, path, "it is read-only");
        if (::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0)
            throw fileFailure(kCannotWrite, path, errno);
    }
    return target;
}

// Writes the bytes into the fresh temporary file; `flush` also flushes them to the disk. Then
// gives the temporary the bits (and, when allowed, the owner) the file is to have, and closes it.
void fillTemporary(TemporaryFile& temporary, const CheckedTarget& target, std::string_view bytes,
                   const std::u16string& path, const ReplaceRules& rules, FileOutput& output,
                   bool flush) {
    struct stat fresh {};
    if (::fstat(temporary.fd(), &fresh) != 0) throw fileFailure(kCannotWrite, path, errno);
    // Nobody else may read the half-written content; the final bits are set once it is whole.
    if (::fchmod(temporary.fd(), S_IRUSR | S_IWUSR) != 0)
        throw fileFailure(kCannotWrite, path, errno);

    writeAll(output, temporary.fd(), bytes, path);
    if (flush && !output.flushToDisk(temporary.fd())) throw fileFailure(kCannotWrite, path, errno);

    mode_t mode = fresh.st_mode & 0777;
    if (target.exists) {
        mode = target.old.st_mode & 07777;
        if (target.old.st_uid != fresh.st_uid || target.old.st_gid != fresh.st_gid) {
            // Only a privileged process may give the file back to its owner; otherwise the new
            // content belongs to this process's user, as after any save-by-rename.
            (void)::fchown(temporary.fd(), target.old.st_uid, target.old.st_gid);
        }
    } else if (rules.newFileMode) {
        mode = *rules.newFileMode & 07777;
    }
    if (::fchmod(temporary.fd(), mode) != 0) throw fileFailure(kCannotWrite, path, errno);
    if (!temporary.close()) throw fileFailure(kCannotWrite, path, errno);
}

// The rename that puts the new content in place, after the last look at the target.
void renameOver(const std::string& temporary, const std::string& target,
                const std::optional<FileStamp>& expected, const std::u16string& path) {
    // Last moment before the rename: content another program wrote since the read stays.
    if (expected && !unchangedSince(target, *expected))
        throw FileChangedError(fileFailure(kCannotWrite, path, kChangedByAnotherProgram).what());
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        throw fileFailure(kCannotWrite, path, errno);
}

}  // namespace

bool FileOutput::flushFileSystem(int fd) {
    return ::syncfs(fd) == 0;
}

void replaceFileBytes(const std::u16string& path, std::string_view bytes, const ReplaceRules& rules,
                      FileOutput& output) {
    const CheckedTarget target = checkTarget(path, rules);
    const std::string folder = folderPart(target.path);
    TemporaryFile temporary(folder, path);
    fillTemporary(temporary, target, bytes, path, rules, output, true);
    renameOver(temporary.path(), target.path, rules.expected, path);
    temporary.keep();
    flushFolder(folder);
}

PendingReplace::PendingReplace(PendingReplace&& other) noexcept {
    *this = std::move(other);
}

PendingReplace& PendingReplace::operator=(PendingReplace&& other) noexcept {
    if (this != &other) {
        if (!temporary_.empty()) ::unlink(temporary_.c_str());
        path_ = std::move(other.path_);
        target_ = std::move(other.target_);
        temporary_ = std::exchange(other.temporary_, std::string());
        expected_ = other.expected_;
        size_ = other.size_;
    }
    return *this;
}

std::string PendingReplace::folder() const {
    return folderPart(target_);
}

PendingReplace::~PendingReplace() {
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

PendingReplace writePending(const std::u16string& path, std::string_view bytes,
                            const ReplaceRules& rules, FileOutput& output) {
    const CheckedTarget target = checkTarget(path, rules);
    TemporaryFile temporary(folderPart(target.path), path);
    fillTemporary(temporary, target, bytes, path, rules, output, false);
    PendingReplace pending;
    pending.path_ = path;
    pending.target_ = target.path;
    pending.temporary_ = temporary.path();
    pending.expected_ = rules.expected;
    pending.size_ = bytes.size();
    temporary.keep();
    return pending;
}

void makeDurable(const std::vector<const PendingReplace*>& pending, FileOutput& output) {
    std::vector<dev_t> flushed;
    for (const PendingReplace* file : pending) {
        struct stat info {};
        if (::stat(file->temporary().c_str(), &info) != 0)
            throw fileFailure(kCannotWrite, file->path(), errno);
        if (std::find(flushed.begin(), flushed.end(), info.st_dev) != flushed.end()) continue;
        const int fd = ::open(file->temporary().c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) throw fileFailure(kCannotWrite, file->path(), errno);
        const bool done = output.flushFileSystem(fd);
        const int error = errno;
        ::close(fd);
        if (!done) throw fileFailure(kCannotWrite, file->path(), error);
        flushed.push_back(info.st_dev);
    }
}

void putInPlace(PendingReplace& pending) {
    const std::string temporary = std::exchange(pending.temporary_, std::string());
    try {
        renameOver(temporary, pending.target_, pending.expected_, pending.path_);
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
}

void flushFolders(const std::vector<std::string>& folders) {
    std::vector<std::string> done;
    for (const std::string& folder : folders) {
        if (std::find(done.begin(), done.end(), folder) != done.end()) continue;
        flushFolder(folder);
        done.push_back(folder);
    }
}

}  // namespace lodestar
