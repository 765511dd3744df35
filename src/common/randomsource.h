#pragma once

#include <random>

// The program's one random generator, seeded once per run from the system's entropy source.
// Every draw (number assignment, the order of go) comes from here, so draws made in quick
// succession are as independent as draws made apart.
namespace RandomSource {

inline std::mt19937 &generator()
{
    static std::mt19937 engine{std::random_device{}()};
    return engine;
}

} // namespace RandomSource
