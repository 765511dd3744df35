#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// Rider numbers are stored as text of at most three characters but mean a 16-bit whole number.
namespace RiderNumber {

inline constexpr int MaxLength = 3;

// The ordinary text-to-number conversion: blanks around the number allowed, a sign, a
// fraction rounded to the nearest whole number (a half to the even one), an exponent.
// Nothing for text that does not convert or does not fit in 16 bits.
std::optional<std::int16_t> convert(const QString &text);

// True when two stored numbers mean the same number ("07" and "7").
bool sameNumber(const QString &a, const QString &b);

} // namespace RiderNumber
