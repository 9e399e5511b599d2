// What the main window asks of folder mode. Without one, the folder commands do nothing. Runs
// over the files may go on after a call returns (away from the user-interface thread); the
// window hears of them through its ScopeHost.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "files/file_sink.h"
#include "replace/command_file.h"
#include "search/search_request.h"

namespace lodestar {

// What an extraction reads of a folder search: every listed file with its tick, and the total
// of the last folder search (the sum of the counts of the files ticked at that time).
struct FolderFiles {
    std::vector<FileItem> files;
    std::optional<std::size_t> lastSearchTotal;
};

struct MatchTally {
    std::size_t matches = 0;
    std::size_t files = 0;  // the files with a match
};

class FolderWork {
  public:
    virtual ~FolderWork() = default;
    virtual void find(SearchRequest request) = 0;
    virtual void replace(SearchRequest request) = 0;
    virtual void runCommands(std::vector<Command> commands, SearchRequest request) = 0;
    virtual void restore() = 0;
    // Replace and Action computed without writing, shown as ticked changes in the source view's
    // pane; Apply writes the ticked ones. A click on a tick of that pane: true when it was one.
    virtual void preview(SearchRequest request) = 0;
    virtual void previewCommands(std::vector<Command> commands, SearchRequest request) = 0;
    virtual void applyPreview() = 0;
    virtual bool previewClicked(const std::u16string& address) = 0;
    // The matches the last Find counted in the files ticked now, and the files holding them;
    // nothing when no Find counted them all.
    virtual std::optional<MatchTally> tickedMatches() const = 0;
    // A click on a file row's link; true cancels the navigation.
    virtual bool selectFileRow(const std::u16string& address) = 0;
    // Shows the folder picker.
    virtual void showPicker() = 0;
    // Opens the folder as the picker's OK does, without showing it; a non-empty pattern list
    // becomes the picker's file pattern first. False when the folder does not exist.
    virtual bool openFolder(const std::u16string& folder, const std::u16string& pattern) = 0;
    // The file table's page has loaded in the ListView pane.
    virtual void tableLoaded() = 0;
    // The user ticked or unticked file row `row` (1-based) in the table.
    virtual void setTicked(long long row, bool on) = 0;
    // Stop: the run ends after the file it is working on.
    virtual void stop() = 0;
    // How many listed files are ticked.
    virtual std::size_t tickedFiles() const = 0;
    // The folder open in folder mode; empty when none.
    virtual const std::u16string& folder() const = 0;
    // The folder is closed: the window leaves folder mode.
    virtual void close() = 0;
    // The listed files with their ticks, and the total of the last folder search.
    virtual FolderFiles listed() const = 0;
};

}  // namespace lodestar
