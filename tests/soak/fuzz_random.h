#pragma once
// The fuzz run's random source. std::mt19937's output sequence is fixed by the C++ standard, but
// the library's distributions are not, so the ranges are drawn here: a seed gives the same calls
// with every compiler and library version.
#include <cstdint>
#include <random>
#include <vector>

namespace soak {
class TFuzzRandom {
 public:
  explicit TFuzzRandom(uint32_t seed) : engine_(seed) {}
  uint32_t Next() { return static_cast<uint32_t>(engine_()); }
  // Uniform in [0, n); n == 0 gives 0. Draws above the last whole multiple of n are thrown
  // away so that no value is favoured.
  uint32_t Below(uint32_t n) {
    if (n == 0) return 0;
    const uint64_t span = uint64_t{1} << 32;
    const uint64_t limit = span - span % n;
    uint64_t x;
    do x = Next();
    while (x >= limit);
    return static_cast<uint32_t>(x % n);
  }
  bool Percent(uint32_t percent) { return Below(100) < percent; }
  template <class T>
  const T& Pick(const std::vector<T>& items) {
    return items[Below(static_cast<uint32_t>(items.size()))];
  }

 private:
  std::mt19937 engine_;
};
}  // namespace soak
