// What a scope asks of the window around it: the log and the status line, questions, the run
// state and the progress bar, the controls and panes it fills, and the few window states its
// work changes. The main window answers it; a scope never sees the window itself.
#pragma once

#include <functional>
#include <string>

#include "files/text_encoding.h"
#include "forms/model/controls.h"
#include "forms/model/pane_model.h"
#include "search/search_request.h"
#include "settings/options.h"

namespace lodestar {

enum class Pane { ListView, SuperMonitor, MatchView };

class ScopeHost {
  public:
    virtual ~ScopeHost() = default;

    virtual void logLine(const std::u16string& message) = 0;
    virtual void logError(const std::u16string& message) = 0;
    virtual void showStatus(const std::u16string& message) = 0;
    virtual bool confirm(const std::u16string& question) = 0;
    // Unsaved text is asked about first; true when the caller may replace it.
    virtual bool settleUnsaved(const std::u16string& question) = 0;
    // While on, commands that would conflict are off and Stop is offered; `stop` is what Stop
    // does meanwhile (without one, Stop tells the folder run).
    virtual void setRunning(bool on, std::function<void()> stop = {}) = 0;
    virtual bool running() const = 0;
    // `done` of `total` on the progress bar; empty when there is nothing to do.
    virtual void showProgress(double done, double total) = 0;

    virtual ControlModel& controls() = 0;
    virtual PaneModel& pane(Pane which) = 0;
    virtual const Options& currentOptions() const = 0;
    virtual const TextReading& textReading() const = 0;
    virtual const std::u16string& programFolder() const = 0;

    // Folder mode is the current scope.
    virtual bool inFolderMode() const = 0;
    // The last request read, under the switches ticked now.
    virtual const SearchRequest& request() const = 0;
    virtual void setSaveEnabled(bool on) = 0;
    // Find, Replace and Action on or off.
    virtual void setScopeCommands(bool on) = 0;
    // The source view's tools (invisible characters, word wrap) on or off.
    virtual void setSourceTools(bool on) = 0;
    // A file has been read: the window enters single-file mode on it.
    virtual void enterSingleFileMode() = 0;
    // The file shown has opened or taken a new name: it heads Recent Files.
    virtual void fileOpened() = 0;

    // The path box shows the open folder or file again.
    virtual void restorePathBox() = 0;
    // The window enters folder mode on the folder just listed.
    virtual void enterFolderMode() = 0;
    virtual void setRestoreEnabled(bool on) = 0;
    // The source view is shown, opened again should the user have closed it.
    virtual void showSourcePane() = 0;
    // The file shown in the source view: its name follows at once, its text once read.
    virtual const std::u16string& currentFile() const = 0;
    virtual void setCurrentFile(const std::u16string& path) = 0;
    // Reads the current file again and shows it: searched for the last request when `search`.
    // Should Esc drop the read, `undo` puts back the pick of the file still shown.
    virtual void readPickedFile(bool search, std::function<void()> undo = {}) = 0;
    // A search over the files stands (its total, Export) or not.
    virtual bool searchDone() const = 0;
    virtual void folderSearchDone(std::size_t total) = 0;
};

}  // namespace lodestar
