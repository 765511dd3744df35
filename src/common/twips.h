#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cmath>
#include <cstdint>

// Screen positions and sizes are kept in twips, 15 to a device-independent pixel.
namespace Twips {

inline constexpr int PerPixel = 15;
// The part of a window's outer size that its borders and caption take. A window placed by its
// outer corner gives its inside the outer size less these.
inline constexpr int FrameWidth = 120;
inline constexpr int FrameHeight = 420;

// Half-to-even rounding, as the system rounds wherever a decimal becomes a whole number.
inline std::int64_t roundHalfEven(double value)
{
    return static_cast<std::int64_t>(std::nearbyint(value)); // default FE_TONEAREST is half-to-even
}

inline int toPixels(double twips)
{
    return static_cast<int>(roundHalfEven(twips / PerPixel));
}
inline std::int32_t fromPixels(double pixels)
{
    return static_cast<std::int32_t>(roundHalfEven(pixels * PerPixel));
}

inline QPoint point(double left, double top)
{
    return {toPixels(left), toPixels(top)};
}
inline QSize size(double width, double height)
{
    return {toPixels(width), toPixels(height)};
}
inline QRect rect(double left, double top, double width, double height)
{
    return {point(left, top), size(width, height)};
}

} // namespace Twips
