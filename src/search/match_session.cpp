// The dialect's match loop on PCRE2, with the limits that turn a runaway search into an error.
#define PCRE2_CODE_UNIT_WIDTH 16
#include "search/match_session.h"

#include <pcre2.h>

#include <algorithm>
#include <limits>
#include <string>
#include <utility>

#include "core/stop_token.h"
#include "search/compiled_pattern.h"
#include "search/regexp.h"

namespace lodestar {
namespace {

// The budget counts backtracking steps over all the searches of one text. 10 million stops
// ^(a+)+$ on 28 a's in a fraction of a second; a long text raises it (about one step per code
// unit is what a lazy or greedy run such as [\s\S]*? takes), so that a match spanning tens of
// megabytes is not refused while runaway patterns still end.
constexpr uint64_t kMinMatchBudget = 10'000'000;
constexpr uint64_t kMatchStepsPerCodeUnit = 8;
// The limit of a search's first attempt. Searches that fit in it are not charged, so ordinary
// patterns never retry; at most this many steps per match go uncounted.
constexpr uint32_t kFirstAttemptLimit = 1'000'000;
constexpr uint32_t kAttemptGrowth = 4;
constexpr uint32_t kHeapLimitKiB = 1024 * 1024;  // 1 GiB for the interpreter's backtracking
constexpr std::size_t kJitStackStart = 32 * 1024;
constexpr std::size_t kJitStackMax = 64 * 1024 * 1024;

// What each thread keeps for matching: a JIT stack, a match context carrying the limits, and
// one spare match-data block that sessions borrow so that a loop over many files does not
// allocate one per file. Compiled code is shared between threads; none of these can be.
class ThreadResources {
  public:
    ThreadResources() {
        context_ = pcre2_match_context_create(nullptr);
        jitStack_ = pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr);
        if (!context_) return;
        pcre2_set_heap_limit(context_, kHeapLimitKiB);
        if (jitStack_) pcre2_jit_stack_assign(context_, nullptr, jitStack_);
    }
    ~ThreadResources() {
        pcre2_match_data_free(spare_);
        pcre2_jit_stack_free(jitStack_);
        pcre2_match_context_free(context_);
    }
    ThreadResources(const ThreadResources&) = delete;
    ThreadResources& operator=(const ThreadResources&) = delete;

    pcre2_match_context* context() {
        if (!context_) throw RegExpError("out of memory preparing the search");
        return context_;
    }

    pcre2_match_data* borrowMatchData(std::size_t pairs) {
        if (spare_ && pcre2_get_ovector_count(spare_) >= pairs)
            return std::exchange(spare_, nullptr);
        pcre2_match_data* data = pcre2_match_data_create(static_cast<uint32_t>(pairs), nullptr);
        if (!data) throw RegExpError("out of memory preparing the search");
        return data;
    }

    // A block the interpreter used keeps its backtracking memory, which can be large: such a
    // block is freed rather than kept.
    void giveBack(pcre2_match_data* data, bool keep) {
        if (keep && !spare_) {
            spare_ = data;
        } else {
            pcre2_match_data_free(data);
        }
    }

  private:
    pcre2_match_context* context_ = nullptr;
    pcre2_jit_stack* jitStack_ = nullptr;
    pcre2_match_data* spare_ = nullptr;
};

ThreadResources& threadResources() {
    thread_local ThreadResources resources;
    return resources;
}

[[noreturn]] void throwMatchError(int rc) {
    switch (rc) {
        case PCRE2_ERROR_MATCHLIMIT:
        case PCRE2_ERROR_DEPTHLIMIT:
            throw RegExpError("the pattern is too complex for this text (match limit reached)");
        case PCRE2_ERROR_HEAPLIMIT:
        case PCRE2_ERROR_NOMEMORY:
        case PCRE2_ERROR_JIT_STACKLIMIT:
            throw RegExpError("the pattern is too complex for this text (memory limit reached)");
        default: {
            PCRE2_UCHAR buffer[256];
            const int length = pcre2_get_error_message(rc, buffer, 256);
            std::string message = "the search failed: ";
            message += length < 0 ? std::to_string(rc) : std::string(buffer, buffer + length);
            throw RegExpError(message);
        }
    }
}

uint64_t matchBudgetFor(std::size_t textLength) {
    return std::max<uint64_t>(kMatchStepsPerCodeUnit * textLength, kMinMatchBudget);
}

bool ranOutOfSteps(int rc) {
    return rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT;
}

}  // namespace

MatchSession::MatchSession(const CompiledPattern& pattern, std::u16string_view text,
                           const StopToken* stop)
    // An empty view may carry no address at all, and PCRE2's JIT code reads from the subject's
    // address even when it is empty: such a view becomes an empty text of its own.
    : pattern_(pattern),
      text_(text.data() ? text : std::u16string_view(u"")),
      stop_(stop),
      budgetLeft_(matchBudgetFor(text.size())) {
    matchData_ = threadResources().borrowMatchData(pattern.groupCount() + 1);
    offsets_ = pcre2_get_ovector_pointer(matchData_);
}

MatchSession::~MatchSession() {
    threadResources().giveBack(matchData_, !usedInterpreter_);
}

int MatchSession::search(uint32_t options, uint32_t matchLimit) {
    const auto* subject = reinterpret_cast<PCRE2_SPTR>(text_.data());
    pcre2_match_context* context = threadResources().context();
    pcre2_set_match_limit(context, matchLimit);  // the context is the thread's, shared by sessions
    if (pattern_.jitCompiled() && options == 0)
        return pcre2_jit_match(pattern_.code(), subject, text_.size(), from_, 0, matchData_,
                               context);
    usedInterpreter_ = true;
    return pcre2_match(pattern_.code(), subject, text_.size(), from_, options, matchData_, context);
}

int MatchSession::searchWithinBudget() {
    uint64_t limit = kFirstAttemptLimit;
    uint64_t spent = 0;  // the attempts that ran out took their whole limit
    uint32_t options = 0;
    for (;;) {
        const bool lastAttempt = limit >= budgetLeft_ - spent;
        limit = std::min(limit, budgetLeft_ - spent);
        const auto attemptLimit =
            static_cast<uint32_t>(std::min<uint64_t>(limit, std::numeric_limits<uint32_t>::max()));
        int rc = search(options, attemptLimit);
        if (rc == PCRE2_ERROR_JIT_STACKLIMIT) {
            // A longer attempt would run out of the JIT stack again: the interpreter goes on.
            options = PCRE2_NO_JIT;
            rc = search(options, attemptLimit);
        }
        if (!ranOutOfSteps(rc) || lastAttempt) {
            // A search that ran out once takes more than that limit when it is repeated.
            const uint64_t repeated = spent == 0 ? 0 : limit / kAttemptGrowth;
            budgetLeft_ -= std::min(spent + repeated, budgetLeft_);
            return rc;
        }
        spent += limit;
        limit *= kAttemptGrowth;
        // A longer attempt may take seconds on a long text: a stop is looked at before each.
        if (stop_ && stop_->requested()) throw SearchStopped("the search was stopped");
    }
}

bool MatchSession::next() {
    if (finished_ || from_ > text_.size()) return false;
    if (stop_ && stop_->requested()) throw SearchStopped("the search was stopped");
    const int rc = searchWithinBudget();
    if (rc == PCRE2_ERROR_NOMATCH) {
        finished_ = true;
        return false;
    }
    if (rc < 0) throwMatchError(rc);
    from_ = end() == start() ? end() + 1 : end();
    return true;
}

}  // namespace lodestar
