#include "common/ridernumber.h"

#include <cmath>
#include <limits>

namespace RiderNumber {

std::optional<std::int16_t> convert(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    // Plain decimal notation only: no hexadecimal, no "inf" or "nan".
    for (const QChar c : trimmed)
        if (!(c.isDigit() || c == u'.' || c == u'+' || c == u'-' || c == u'e' || c == u'E'))
            return std::nullopt;
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // half to even
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

bool sameNumber(const QString &a, const QString &b)
{
    const auto x = convert(a);
    return x.has_value() && x == convert(b);
}

} // namespace RiderNumber
