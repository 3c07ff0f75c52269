#pragma once
// Sizes and seeds of the soak and fuzz runs: the test command runs the defaults, scripts/soak.sh
// hands larger ones through the environment.
#include <cstdint>

namespace soak {
// The decimal value of the environment variable `name`, or `fallback` when it is unset, empty or
// not a plain number.
uint64_t SettingOr(const char* name, uint64_t fallback);
}  // namespace soak
