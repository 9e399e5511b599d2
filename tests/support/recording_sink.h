// A FileSink that keeps everything a folder operation reports, for tests.
#pragma once

#include <string>
#include <vector>

#include "files/file_sink.h"

namespace lodestar::testing {

class RecordingSink : public FileSink {
  public:
    std::vector<FileOutcome> outcomes;
    std::vector<std::u16string> lines;
    std::vector<std::u16string> errors;
    std::vector<std::u16string> causes;

    void fileDone(const FileOutcome& outcome) override { outcomes.push_back(outcome); }
    void logLine(std::u16string_view message) override { lines.emplace_back(message); }
    void logError(std::u16string_view message, std::u16string_view cause) override {
        errors.emplace_back(message);
        causes.emplace_back(cause);
    }
    // The table cells of every reported file as "matches|status", separated by ";".
    std::u16string cells() const {
        std::u16string text;
        for (const FileOutcome& o : outcomes)
            text += (text.empty() ? u"" : u";") + o.matchesCell + u"|" + o.statusCell;
        return text;
    }
};

}  // namespace lodestar::testing
