// Counting the matches of each ticked file of a folder.
#include "runs/multi_search.h"

#include <algorithm>

#include "core/ordered_work.h"
#include "core/text.h"
#include "files/open_for_reading.h"
#include "runs/block_count.h"
#include "runs/worker_tools.h"

namespace lodestar {

std::u16string binarySkippedLine(std::size_t count) {
    return u"Binary files skipped: " + decimal(static_cast<long long>(count)) + u".";
}

std::u16string notAFileLine(std::size_t count) {
    return u"Not regular files passed by: " + decimal(static_cast<long long>(count)) + u".";
}

SearchSummary SearchAllFiles(const RegExp& expr, std::u16string_view searchPattern,
                             const std::vector<FileItem>& files, FileSink& sink,
                             const TextReading& reading, const StopToken* stop) {
    SearchSummary summary;
    const unsigned threads = workerThreads();
    const std::optional<BytePrefilter> filter = prefilterFor(expr);
    const auto tools = makeWorkerTools(threads, expr, reading);
    struct Found {
        std::optional<std::size_t> count;
        bool binary = false;
        bool notAFile = false;
    };
    const std::shared_ptr<const ByteMatcher> matcher =
        ByteMatcher::forPattern(expr.pattern(), expr.ignoreCase(), expr.multiline());
    const auto search = [&](unsigned worker, std::size_t i) -> Found {
        if (!files[i].ticked) return {};
        WorkerTools& own = *tools[worker];
        // A large file whose matches are plain literals is counted a block at a time; holding no
        // buffer of its size, it needs no turn among the threads' large files.
        if (const auto size = own.reader.openAhead(files[i].path);
            matcher && size && *size >= kBlockCountFrom) {
            try {
                if (const auto counted =
                        countInBlocks(files[i].path, *matcher, expr.global(), reading))
                    return counted->binary ? Found{std::nullopt, true} : Found{counted->count};
            } catch (const NotAFileError&) {
                return {std::nullopt, false, true};
            }
        }
        const LargeFileTurn turn(files[i].path, own.reader);
        // The bytes first: a file without the pattern's literal, or whose bytes can be searched
        // as they are, is counted without being decoded.
        std::string_view bytes;
        try {
            bytes = own.reader.readBytes(files[i].path);
        } catch (const NotAFileError&) {
            return {std::nullopt, false, true};
        }
        if (own.reader.heldBinary() && !reading.binaryAsText) return {std::nullopt, true};
        const ByteText kind = own.reader.heldKind();
        const bool scansLiterals = matcher && matcher->scansLiterals(kind);
        if (filter && !scansLiterals && own.reader.heldAsciiExact() && !filter->mayMatch(bytes))
            return {0};
        if (matcher && matcher->fits(kind))
            if (const auto count = matcher->count(bytes, expr.global(), kind)) return {*count};
        return {own.expr.count(own.reader.decodeHeld())};
    };
    const auto report = [&](std::size_t i, Found& found) {
        const FileItem& file = files[i];
        FileOutcome outcome{i + 1, file.path, FileResult::Counted, std::nullopt, FileRun::Search};
        if (file.ticked) sink.showStatus(u"Searching " + file.path + u" ...");
        if (found.notAFile) {
            outcome.result = FileResult::NotAFile;
            ++summary.notAFile;
        } else if (found.binary) {
            outcome.result = FileResult::Binary;
            ++summary.binarySkipped;
        } else if (found.count) {
            summary.total += *found.count;
            outcome.count = found.count;
        }
        sink.fileDone(outcome);
        return true;
    };
    try {
        const std::size_t done =
            runInOrder<Found>(files.size(), threads, 16 * threads, search, report, stop);
        if (done < files.size()) {
            summary.stopped = true;
            return summary;
        }
    } catch (const Error& error) {
        sink.logError(kSearchErrorMessage, fromUtf8(error.what()));
        return summary;
    }
    sink.logLine(u"Search " + std::u16string(searchPattern) + u", " +
                 decimal(static_cast<long long>(summary.total)) + u" items found in " +
                 decimal(static_cast<long long>(std::count_if(
                     files.begin(), files.end(), [](const FileItem& f) { return f.ticked; }))) +
                 u" files.");
    if (summary.binarySkipped > 0) sink.logLine(binarySkippedLine(summary.binarySkipped));
    if (summary.notAFile > 0) sink.logLine(notAFileLine(summary.notAFile));
    sink.showStatus(u"Done.");
    summary.ok = true;
    return summary;
}

}  // namespace lodestar
