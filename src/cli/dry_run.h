// replace --dry-run and run --dry-run: what the run would write, shown as a unified diff or, with
// --count-only, as a count per file; nothing is written, backed up, journaled or locked.
#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "runs/run_driver.h"

namespace lodestar::cli {

// Prints the files a dry run finds changed, on standard output.
class DryRunReport {
  public:
    DryRunReport(std::ostream& out, bool countOnly) : out_(out), countOnly_(countOnly) {}

    // A file whose content would go from `before` to `after`: its diff under `name` (relative
    // to the folder patch -p0 runs in), or the line COUNT<TAB>`shown`. `count` is the number of
    // matches replaced when known, else the runs of changed lines are counted.
    void changed(std::string_view name, std::string_view shown, std::string_view before,
                 std::string_view after, std::optional<std::size_t> count);

    bool countOnly() const { return countOnly_; }
    std::size_t files() const { return files_; }
    std::size_t binary() const { return binary_; }

  private:
    std::ostream& out_;
    bool countOnly_;
    std::size_t files_ = 0;
    std::size_t binary_ = 0;  // files shown as binary in the diff
};

// The dry run over the files of `folder` (ending in "/"): the run's own preview, each file that
// would change to `report`, the notes and failures of the others on `err`.
RunSummary dryRunFolder(const std::vector<FileItem>& files, const std::u16string& folder,
                        const TextTransform& transform, const RunSettings& settings,
                        DryRunReport& report, std::ostream& err);

// The closing line on `err`: how many files would change (and how many of them the diff shows
// only as binary); nothing was written.
void dryRunSummary(const DryRunReport& report, std::ostream& err);

}  // namespace lodestar::cli
