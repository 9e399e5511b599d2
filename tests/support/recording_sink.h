// A FileSink that keeps everything a folder operation reports, for tests.
#pragma once

#include <string>
#include <vector>

#include "core/text.h"
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
    // Every reported file as "count|result" ("-" for no count), separated by ";".
    std::u16string cells() const {
        static constexpr const char16_t* kNames[] = {
            u"Counted",   u"Unticked", u"SameFile",         u"OutsideLink",
            u"ReadOnly",  u"Binary",   u"NotAFile",         u"CannotHold",
            u"Unchanged", u"Written",  u"ChangedElsewhere", u"Previewed"};
        std::u16string text;
        for (const FileOutcome& o : outcomes)
            text += (text.empty() ? u"" : u";") +
                    (o.count ? fromUtf8(std::to_string(*o.count)) : u"-") + u"|" +
                    kNames[static_cast<int>(o.result)];
        return text;
    }
};

}  // namespace lodestar::testing
