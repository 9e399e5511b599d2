// The randomized user in CI: a bounded number of seeded sessions. A longer run is one command:
//   LODESTAR_RANDOM_STEPS=200000 build/tests/random_user_tests
// and one seed replays with LODESTAR_RANDOM_SEED=<seed>. A failing session is shrunk to a short
// list of steps, printed as code for an ordinary test below.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>

#include "forms/main/random_user.h"

namespace lodestar::testing {
namespace {

constexpr std::size_t kStepsPerSession = 150;

std::size_t fromEnvironment(const char* name, std::size_t fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::stoull(value) : fallback;
}

TEST(RandomUserTest, KeepsItsPromisesOverSeededSessions) {
    const std::size_t steps = fromEnvironment("LODESTAR_RANDOM_STEPS", 6000);
    const std::size_t firstSeed = fromEnvironment("LODESTAR_RANDOM_SEED", 1);
    const std::size_t sessions =
        std::getenv("LODESTAR_RANDOM_SEED") ? 1 : (steps + kStepsPerSession - 1) / kStepsPerSession;
    const auto start = std::chrono::steady_clock::now();
    std::size_t played = 0, faults = 0;
    for (std::size_t k = 0; k < sessions; ++k) {
        const auto seed = static_cast<std::uint32_t>(firstSeed + k);
        RandomUser user(seed);
        const std::vector<Step> list = RandomUser::randomSteps(seed, kStepsPerSession);
        const std::optional<Fault> fault = user.run(list);
        played += fault ? fault->step + 1 : list.size();
        if (!fault) continue;
        ++faults;
        const std::vector<Step> shortest = user.shrink(list);
        const std::optional<Fault> again = user.run(shortest);
        ADD_FAILURE() << "seed " << seed << ", step " << fault->step << ": " << fault->what
                      << "\nshrunk to " << shortest.size() << " steps ("
                      << (again ? again->what : std::string("passes?")) << "):\n"
                      << RandomUser::asCode(seed, shortest);
        if (faults >= 3) break;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "random user: " << played << " steps in " << sessions << " sessions, " << faults
              << " faults, " << seconds << " s\n";
}

}  // namespace
}  // namespace lodestar::testing
