// The loop of find with line output.
#include "cli/find_lines.h"

#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "cli/match_lines.h"
#include "cli/standard_input.h"
#include "core/ordered_work.h"
#include "core/text.h"
#include "files/open_for_reading.h"
#include "runs/multi_search.h"
#include "runs/worker_tools.h"

namespace lodestar::cli {

namespace {

constexpr int kFound = 0;
constexpr int kNothingFound = 1;
constexpr int kFailed = 2;
constexpr const char* kStandardInputName = "(standard input)";

struct FileResult {
    std::string printed;
    std::size_t matches = 0;
    bool binary = false;
    bool notAFile = false;
};

std::vector<FoundMatch> matchesOf(const RegExp& expr, std::u16string_view text, bool groups) {
    std::vector<FoundMatch> found;
    if (groups) {
        for (Match& match : expr.execute(text))
            found.push_back({match.index, match.value.size(), std::move(match.subMatches)});
    } else {
        expr.forEachMatch(text, [&](const MatchSpan& span) {
            found.push_back({span.index, span.length, {}});
        });
    }
    return found;
}

// What one text prints: its lines, its name alone (-l), or its count (--count on a stream).
FileResult printText(const FindLinesRun& run, const RegExp& expr, std::u16string_view text,
                     const LineLabel& label) {
    FileResult result;
    if (run.output.shape == FindShape::Count) {
        result.matches = expr.count(text);
        result.printed = std::to_string(result.matches) + '\n';
        return result;
    }
    const std::vector<FoundMatch> found =
        matchesOf(expr, text, run.output.shape == FindShape::Json);
    result.matches = found.size();
    if (found.empty()) return result;
    if (run.output.shape == FindShape::FilesWithMatches)
        result.printed = label.name + '\n';
    else
        result.printed = matchLines(text, found, label, run.output);
    return result;
}

void printStats(const FindLinesRun& run, std::size_t total, std::size_t files, std::size_t binary,
                std::size_t notAFile) {
    if (!run.output.stats) return;
    run.err << "Search " << toUtf8(run.pattern) << ", " << total << " items found in " << files
            << " files.\n";
    if (binary > 0) run.err << toUtf8(binarySkippedLine(binary)) << '\n';
    if (notAFile > 0) run.err << toUtf8(notAFileLine(notAFile)) << '\n';
}

bool withContext(const FindOutput& output) {
    return output.shape == FindShape::Lines && (output.before > 0 || output.after > 0);
}

}  // namespace

bool useColor(ColorChoice choice) {
    if (choice != ColorChoice::Auto) return choice == ColorChoice::Always;
    const char* noColor = std::getenv("NO_COLOR");
    return isatty(STDOUT_FILENO) == 1 && (noColor == nullptr || *noColor == '\0');
}

int findLines(const FindLinesRun& run, const std::vector<FileItem>& files,
              const std::function<std::string(const std::u16string&)>& shownName) {
    const unsigned threads = workerThreads();
    const std::optional<BytePrefilter> filter = prefilterFor(run.expr);
    const auto tools = makeWorkerTools(threads, run.expr, run.reading);
    const auto search = [&](unsigned worker, std::size_t i) -> FileResult {
        if (!files[i].ticked) return {};
        WorkerTools& own = *tools[worker];
        const LargeFileTurn turn(files[i].path, own.reader);
        std::string_view bytes;
        try {
            bytes = own.reader.readBytes(files[i].path);
        } catch (const NotAFileError&) {
            return {{}, 0, false, true};
        }
        if (own.reader.heldBinary() && !run.reading.binaryAsText) return {{}, 0, true};
        if (filter && own.reader.heldAsciiExact() && !filter->mayMatch(bytes)) return {};
        const LineLabel label{shownName(files[i].path), run.output.fileNames, run.color};
        return printText(run, own.expr, own.reader.decodeHeld(), label);
    };
    std::size_t total = 0;
    std::size_t binary = 0;
    std::size_t notAFile = 0;
    bool printed = false;
    const auto take = [&](std::size_t i, FileResult& result) {
        if (result.binary) {
            ++binary;
            run.err << displayText(files[i].path)
                    << ": binary file skipped (--binary reads it as text)\n";
        }
        if (result.notAFile) {
            ++notAFile;
            run.err << displayText(files[i].path)
                    << ": not a regular file (a FIFO or a device), passed by\n";
        }
        if (!result.printed.empty()) {
            if (printed && withContext(run.output)) run.out << "--\n";
            run.out << result.printed;
            printed = true;
        }
        total += result.matches;
        return true;
    };
    try {
        runInOrder<FileResult>(files.size(), threads, 16 * threads, search, take);
    } catch (const Error& error) {
        run.out.flush();
        run.err << toUtf8(replacedAll(kSearchErrorMessage, u"\r\n", u"\n")) << '\n'
                << error.what() << '\n';
        return kFailed;
    }
    printStats(run, total, files.size(), binary, notAFile);
    return total > 0 ? kFound : kNothingFound;
}

int findInStream(const FindLinesRun& run, std::istream& in) {
    const DecodedText input = decodeText(readStandardBytes(in), run.reading);
    if (input.binary && !run.reading.binaryAsText) {
        run.err << kBinaryInputMessage << '\n';
        return kFailed;
    }
    const LineLabel label{kStandardInputName, false, run.color};
    const FileResult result = printText(run, run.expr, input.text, label);
    run.out << result.printed;
    printStats(run, result.matches, 1, 0, 0);
    return result.matches > 0 ? kFound : kNothingFound;
}

}  // namespace lodestar::cli
