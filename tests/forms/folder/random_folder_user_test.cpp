// The randomized folder user in CI: a bounded number of seeded sessions in a folder where
// another program changes files between the steps and during the runs. A longer run is one
// command:
//   LODESTAR_RANDOM_STEPS=20000 build/tests/random_folder_user_tests
// and one seed replays with LODESTAR_RANDOM_SEED=<seed>. A failing session is shrunk to a short
// list of steps, printed as code for an ordinary test below.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>

#include "forms/folder/random_folder_user.h"

namespace lodestar::testing {
namespace {

constexpr std::size_t kStepsPerSession = 60;

std::size_t fromEnvironment(const char* name, std::size_t fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::stoull(value) : fallback;
}

TEST(RandomFolderUserTest, KeepsEveryByteOverSeededSessions) {
    const std::size_t steps = fromEnvironment("LODESTAR_RANDOM_STEPS", 600);
    const std::size_t firstSeed = fromEnvironment("LODESTAR_RANDOM_SEED", 1);
    const std::size_t sessions =
        std::getenv("LODESTAR_RANDOM_SEED") ? 1 : (steps + kStepsPerSession - 1) / kStepsPerSession;
    const auto start = std::chrono::steady_clock::now();
    std::size_t faults = 0;
    FolderTally tally;
    for (std::size_t k = 0; k < sessions; ++k) {
        const auto seed = static_cast<std::uint32_t>(firstSeed + k);
        RandomFolderUser user(seed);
        const std::vector<FolderStep> list = RandomFolderUser::randomSteps(seed, kStepsPerSession);
        const std::optional<FolderFault> fault = user.run(list);
        const FolderTally& t = user.tally();
        tally.steps += t.steps;
        tally.runs += t.runs;
        tally.restores += t.restores;
        tally.busyRefusals += t.busyRefusals;
        tally.changedByOther += t.changedByOther;
        tally.worldUndone += t.worldUndone;
        tally.filesChanged += t.filesChanged;
        tally.cliRestores += t.cliRestores;
        tally.successWithError += t.successWithError;
        if (!fault) continue;
        ++faults;
        const std::vector<FolderStep> shortest = user.shrink(list);
        const std::optional<FolderFault> again = user.run(shortest);
        ADD_FAILURE() << "seed " << seed << ", step " << fault->step << ": " << fault->what
                      << "\nshrunk to " << shortest.size() << " steps ("
                      << (again ? again->what : std::string("passes?")) << "):\n"
                      << RandomFolderUser::asCode(seed, shortest);
        if (faults >= 3) break;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "random folder user: " << tally.steps << " steps in " << sessions << " sessions, "
              << tally.runs << " runs, " << tally.restores << " restores, " << tally.filesChanged
              << " files changed, " << tally.cliRestores
              << " final restores not offered by the window, " << tally.busyRefusals
              << " refused as busy, " << tally.changedByOther
              << " files left as changed by another program, " << tally.worldUndone
              << " later texts of the other program taken back by Restore, "
              << tally.successWithError << " runs that logged success and then an error, " << faults
              << " faults, " << seconds << " s\n";
}

}  // namespace
}  // namespace lodestar::testing
