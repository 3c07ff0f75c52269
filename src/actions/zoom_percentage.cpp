#include "actions/zoom_percentage.h"
#include <cmath>

int64_t ZoomFactorToPercentage(double factor) {
  const double percent = factor * 100.0;
  if (std::isnan(percent)) return 0;
  // 2^63 is exactly representable; anything at or beyond it would overflow the conversion.
  constexpr double kLimit = 9223372036854775808.0;
  if (percent >= kLimit) return INT64_MAX;
  if (percent <= -kLimit) return INT64_MIN;
  // Rounded by hand rather than through the floating-point environment, which the host
  // process owns. percent - floor(percent) is exact for every double.
  const double below = std::floor(percent);
  const double fraction = percent - below;
  if (fraction > 0.5) return static_cast<int64_t>(below) + 1;
  if (fraction < 0.5) return static_cast<int64_t>(below);
  const int64_t even = static_cast<int64_t>(below);
  return (even % 2 == 0) ? even : even + 1;
}
