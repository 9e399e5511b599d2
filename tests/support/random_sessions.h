// What the randomized users share: seeded sessions (LODESTAR_RANDOM_STEPS, LODESTAR_RANDOM_SEED),
// and a failing session shrunk to a short list of steps, printed as code for an ordinary test.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace lodestar::testing {

template <typename T, std::size_t N>
constexpr int countOf(T (&)[N]) {
    return static_cast<int>(N);
}

// The shortest failing sub-list found by removing runs of steps while `run` still fails with a
// fault of the same kind. A fault may name the step after the last (a check at the end).
template <class Step, class Run>
std::vector<Step> shrinkSteps(std::vector<Step> steps, Run run) {
    const auto fault = run(steps);
    if (!fault) return steps;
    if (fault->step < steps.size()) steps.resize(fault->step + 1);
    for (std::size_t chunk = std::max<std::size_t>(1, steps.size() / 2);; chunk /= 2) {
        for (std::size_t at = 0; at < steps.size();) {
            std::vector<Step> fewer = steps;
            fewer.erase(
                fewer.begin() + static_cast<std::ptrdiff_t>(at),
                fewer.begin() + static_cast<std::ptrdiff_t>(std::min(at + chunk, fewer.size())));
            const auto still = run(fewer);
            if (still && still->what.substr(0, 12) == fault->what.substr(0, 12)) {
                if (still->step < fewer.size()) fewer.resize(still->step + 1);
                steps = std::move(fewer);
            } else {
                at += chunk;
            }
        }
        if (chunk <= 1) break;
    }
    return steps;
}

struct SessionsPlayed {
    std::size_t sessions = 0;
    std::size_t faults = 0;
};

// Plays seeded sessions of `perSession` steps, each on a fresh `User`, and calls `after` with
// the user after each; a failing session is shrunk and reported. Three faults end the run.
template <class User, class After>
SessionsPlayed playSeededSessions(std::size_t defaultSteps, std::size_t perSession, After after) {
    const auto fromEnvironment = [](const char* name, std::size_t fallback) -> std::size_t {
        const char* value = std::getenv(name);
        return value && *value ? std::stoull(value) : fallback;
    };
    const std::size_t steps = fromEnvironment("LODESTAR_RANDOM_STEPS", defaultSteps);
    const std::size_t firstSeed = fromEnvironment("LODESTAR_RANDOM_SEED", 1);
    SessionsPlayed played;
    played.sessions =
        std::getenv("LODESTAR_RANDOM_SEED") ? 1 : (steps + perSession - 1) / perSession;
    for (std::size_t k = 0; k < played.sessions && played.faults < 3; ++k) {
        const auto seed = static_cast<std::uint32_t>(firstSeed + k);
        User user(seed);
        const auto list = User::randomSteps(seed, perSession);
        const auto fault = user.run(list);
        after(user);
        if (!fault) continue;
        ++played.faults;
        const auto shortest = user.shrink(list);
        const auto again = user.run(shortest);
        ADD_FAILURE() << "seed " << seed << ", step " << fault->step << ": " << fault->what
                      << "\nshrunk to " << shortest.size() << " steps ("
                      << (again ? again->what : std::string("passes?")) << "):\n"
                      << User::asCode(seed, shortest);
    }
    return played;
}

}  // namespace lodestar::testing
