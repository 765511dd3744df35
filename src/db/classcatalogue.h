#pragma once

#include <span>

// The seventeen classes every meet has, written once when a meet file is built.
namespace ClassCatalogue {

struct ClassRow
{
    int number;
    const char *name;
    int maxEntries;
    const char *imagePath;
};

inline constexpr int RelayClass = 17;

std::span<const ClassRow> rows();

} // namespace ClassCatalogue
