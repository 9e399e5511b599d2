// The randomized user in CI: a bounded number of seeded sessions. A longer run is one command:
//   LODESTAR_RANDOM_STEPS=200000 build/tests/random_user_tests
// and one seed replays with LODESTAR_RANDOM_SEED=<seed>. A failing session is shrunk to a short
// list of steps, printed as code for an ordinary test below.
#include <chrono>
#include <iostream>

#include "forms/main/random_user.h"
#include "support/random_sessions.h"

namespace lodestar::testing {
namespace {

TEST(RandomUserTest, KeepsItsPromisesOverSeededSessions) {
    const auto start = std::chrono::steady_clock::now();
    std::size_t played = 0;
    const SessionsPlayed sessions =
        playSeededSessions<RandomUser>(2250, 150, [&](RandomUser& user) { played += user.played(); });
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "random user: " << played << " steps in " << sessions.sessions << " sessions, "
              << sessions.faults << " faults, " << seconds << " s\n";
}

// Sessions the random user once failed, shrunk to their steps; each now passes.
TEST(RandomUserTest, SessionsThatOnceFailedNowPass) {
    struct Found {
        const char* what;
        std::uint32_t seed;
        std::vector<Step> steps;
    };
    const Found found[] = {
        {"the counter and the current match out of step after a second Find",
         1,
         {{Act::Open, 2, 0, 42},
          {Act::Pattern, 19, 0, 13},
          {Act::Find, 0, 0, 21},
          {Act::Next, 1, 0, 54},
          {Act::Find, 0, 0, 211}}},
        {"\"Done.\" after a replace that found nothing",
         3,
         {{Act::Open, 2, 0, 98}, {Act::Pattern, 19, 0, 128}, {Act::Replace, 0, 1, 115}}},
        {"the old total after a re-search with another switch",
         5,
         {{Act::Open, 2, 1, 211},
          {Act::Pattern, 21, 0, 186},
          {Act::Find, 0, 0, 177},
          {Act::Switch, 3, 0, 12},
          {Act::View, 2, 0, 176}}},
    };
    for (const Found& f : found) {
        RandomUser user(f.seed);
        const std::optional<Fault> fault = user.run(f.steps);
        EXPECT_FALSE(fault) << f.what << ": " << (fault ? fault->what : "");
    }
}

}  // namespace
}  // namespace lodestar::testing
