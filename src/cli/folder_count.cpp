// The walk handed to the search a folder at a time, its notes put back in walking order.
#include "cli/folder_count.h"

#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

#include "cli/terminal_sink.h"

namespace lodestar::cli {
namespace {

// The notes of the walk with the number of files found before each. The walk runs on whichever
// thread finds files; the notes are printed on the caller's, before the file lines after them.
class WalkNotes {
  public:
    void add(std::size_t filesBefore, std::vector<std::u16string>& notes) {
        const std::lock_guard lock(mutex_);
        for (std::u16string& note : notes) notes_.emplace_back(filesBefore, std::move(note));
        notes.clear();
    }
    // Prints the notes found before file `row` (1-based), or all of them.
    void printUpTo(std::ostream& err, std::size_t row = SIZE_MAX) {
        const std::lock_guard lock(mutex_);
        for (; printed_ < notes_.size() && notes_[printed_].first < row; ++printed_)
            printMessage(err, notes_[printed_].second);
    }

  private:
    std::mutex mutex_;
    std::vector<std::pair<std::size_t, std::u16string>> notes_;
    std::size_t printed_ = 0;
};

class NotedSink : public TerminalSink {
  public:
    NotedSink(std::ostream& out, std::ostream& err, WalkNotes& notes)
        : TerminalSink(out, out, err, FileLineShape::CountAndPath), err_(err), notes_(notes) {}
    void fileDone(const FileOutcome& outcome) override {
        notes_.printUpTo(err_, outcome.row);
        TerminalSink::fileDone(outcome);
    }
    void logLine(std::u16string_view message) override {
        notes_.printUpTo(err_);
        TerminalSink::logLine(message);
    }
    void logError(std::u16string_view message, std::u16string_view cause) override {
        notes_.printUpTo(err_);
        TerminalSink::logError(message, cause);
    }

  private:
    std::ostream& err_;
    WalkNotes& notes_;
};

}  // namespace

std::optional<SearchSummary> countInFolder(const RegExp& expr, std::u16string_view pattern,
                                           TreeWalk& walk, const TextReading& reading,
                                           std::ostream& out, std::ostream& err) {
    // Walked up to the first file before anything is searched: a folder without any fails
    // before a line is printed.
    std::vector<std::u16string> paths;
    std::vector<std::u16string> notes;
    bool more = true;
    while (paths.empty() && more) more = walk.next(paths, notes);
    for (const std::u16string& note : notes) printMessage(err, note);
    notes.clear();
    if (paths.empty()) return std::nullopt;

    WalkNotes laterNotes;
    std::size_t found = 0;
    const FindFiles find = [&](std::vector<FileItem>& files) {
        if (paths.empty() && more) {
            more = walk.next(paths, notes);
            laterNotes.add(found, notes);
        }
        for (std::u16string& path : paths) files.push_back({std::move(path), true});
        found += paths.size();
        paths.clear();
        return more;
    };
    NotedSink sink(out, err, laterNotes);
    return SearchFoundFiles(expr, pattern, find, sink, reading);
}

}  // namespace lodestar::cli
