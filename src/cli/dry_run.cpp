// The dry run prints what the preview of the run finds, in the bytes the run would write.
#include "cli/dry_run.h"

#include <memory>

#include "cli/terminal_sink.h"
#include "cli/unified_diff.h"
#include "core/text.h"
#include "files/file_bytes.h"

namespace lodestar::cli {

void DryRunReport::changed(std::string_view name, std::string_view shown, std::string_view before,
                           std::string_view after, std::optional<std::size_t> count) {
    const std::size_t made = count ? *count : lineChanges(before, after).size();
    ++files_;
    if (countOnly_)
        out_ << made << '\t' << shown << '\n';
    else
        out_ << unifiedDiff(name, before, after);
    if (!countOnly_ && (diffsAsBinary(before) || diffsAsBinary(after))) ++binary_;
}

RunSummary dryRunFolder(const std::vector<FileItem>& files, const std::u16string& folder,
                        const TextTransform& transform, const RunSettings& settings,
                        DryRunReport& report, std::ostream& err) {
    // The previews come one at a time, in listing order, on this thread.
    const std::unique_ptr<TextTransform> counter = transform.copy();
    const bool countMatches = transform.run() == FileRun::Replace;
    TerminalSink sink(err, err, err, FileLineShape::None);
    return previewFolder(files, transform, settings, sink, [&](FilePreview file) {
        const std::string before = readFileBytes(file.path);
        const std::u16string_view relative =
            file.path.starts_with(folder) ? std::u16string_view(file.path).substr(folder.size())
                                          : std::u16string_view(file.path);
        std::optional<std::size_t> count;
        if (countMatches && report.countOnly())
            count = counter->count(decodeText(before, settings.reading).text);
        report.changed(toUtf8(relative), displayText(file.path), before, file.bytes, count);
    });
}

void dryRunSummary(const DryRunReport& report, std::ostream& err) {
    err << "Dry run: " << report.files() << " file(s) would change; nothing was written.\n";
    if (report.binary() > 0)
        err << report.binary()
            << " of them shown as \"Binary files ... differ\": patch does not change those.\n";
}

}  // namespace lodestar::cli
