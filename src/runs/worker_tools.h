// What each thread of a folder loop works with: its own copy of the expression (one RegExp
// object matches on one thread at a time; the copies share the compiled pattern) and its own
// reader with its kept buffers.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "files/text_encoding.h"
#include "runs/reusable_reader.h"
#include "search/byte_prefilter.h"
#include "search/regexp.h"

namespace lodestar {

struct WorkerTools {
    WorkerTools(const RegExp& pattern, const TextReading& reading)
        : expr(pattern), reader(reading) {}
    RegExp expr;
    ReusableTextReader reader;
};

// One set of tools per thread; with `filter` each reader looks at the bytes first.
inline std::vector<std::unique_ptr<WorkerTools>> makeWorkerTools(
    unsigned threads, const RegExp& expr, const TextReading& reading,
    const std::optional<BytePrefilter>& filter = std::nullopt) {
    std::vector<std::unique_ptr<WorkerTools>> tools;
    for (unsigned t = 0; t < threads; ++t) {
        tools.push_back(std::make_unique<WorkerTools>(expr, reading));
        if (filter) tools.back()->reader.setPrefilter(&*filter);
    }
    return tools;
}

// The prefilter for counting the expression's matches: only when a match always holds a literal.
inline std::optional<BytePrefilter> prefilterFor(const RegExp& expr) {
    return BytePrefilter::forPattern(expr.pattern(), expr.ignoreCase());
}

}  // namespace lodestar
