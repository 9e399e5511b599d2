// What the export dialog sees of the main window: the request the boxes make, the files to
// read, the log and status line it reports into, and the run state and progress bar it holds
// while the extraction goes on.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "files/text_encoding.h"
#include "forms/scope/folder_work.h"
#include "search/search_request.h"

namespace lodestar {

class ExportPort {
  public:
    virtual ~ExportPort() = default;
    // The request the pattern and replacement boxes make now; nothing when the command must
    // stop (the user has been told why).
    virtual std::optional<SearchRequest> readRequest() = 0;
    // The open file, or the listed files of the open folder with their ticks.
    virtual FolderFiles exportTargets() const = 0;
    virtual const TextReading& textReading() const = 0;

    virtual void logLine(const std::u16string& message) = 0;
    virtual void logError(const std::u16string& message) = 0;
    virtual void showStatus(const std::u16string& message) = 0;
    // One run at a time: while on, conflicting commands are off and Stop does `stop`.
    virtual bool running() const = 0;
    virtual void setRunning(bool on, std::function<void()> stop = {}) = 0;
    virtual void showProgress(double done, double total) = 0;
};

}  // namespace lodestar
